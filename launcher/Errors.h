// The launcher's exception classes. None carries a narrow description: what()
// answers "Unknown exception", and main reports the wide message instead.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace kiv {

class LauncherException : public std::exception {
public:
    const char* what() const noexcept override { return "Unknown exception"; }
};

// Stop the launch and show this message.
class TerminalError : public LauncherException {
public:
    explicit TerminalError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& message() const { return message_; }

private:
    std::wstring message_;
};

class StringTableException : public LauncherException {
public:
    StringTableException() : message_(L"invalid key") {}
    const std::wstring& message() const { return message_; }

private:
    std::wstring message_;
};

class FileException : public LauncherException {
public:
    FileException(std::wstring message, std::wstring filePath)
        : filePath_(std::move(filePath)), message_(std::move(message)) {}
    const std::wstring& filePath() const { return filePath_; }
    const std::wstring& message() const { return message_; }

private:
    std::wstring filePath_;
    std::wstring message_;
};

class RegistryException : public LauncherException {
public:
    explicit RegistryException(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& message() const { return message_; }

private:
    std::wstring message_;
};

class KeyException : public RegistryException {
public:
    KeyException(std::wstring message, std::wstring key)
        : RegistryException(std::move(message)), key_(std::move(key)) {}
    const std::wstring& key() const { return key_; }

private:
    std::wstring key_;
};

}  // namespace kiv
