// Move-only owners of Win32 resources, one type per kind of handle, each with
// its own invalid value and close function. Closing keeps the thread's last
// error, so an owner that goes out of scope on a failure path never overwrites
// the error code about to be reported.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/RegistryApi.h"

namespace kiv {

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }

    Type release() {
        Type value = value_;
        value_ = Traits::invalid();
        return value;
    }

    void reset(Type value = Traits::invalid()) {
        if (value_ != Traits::invalid()) {
            const DWORD lastError = GetLastError();
            Traits::close(value_);
            SetLastError(lastError);
        }
        value_ = value;
    }

    // For APIs that return the handle through an out parameter.
    Type* put() {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::invalid();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Type handle) { CloseHandle(handle); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type invalid() { return nullptr; }
    static void close(Type handle) { CloseHandle(handle); }
};

struct RegistryHandleTraits {
    using Type = HKEY;
    static Type invalid() { return nullptr; }
    static void close(Type key) { advapi32::RegCloseKey(key); }
};

struct MappedViewTraits {
    using Type = const void*;
    static Type invalid() { return nullptr; }
    static void close(Type view) { UnmapViewOfFile(view); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type invalid() { return nullptr; }
    static void close(Type module) { FreeLibrary(module); }
};

// Files, pipes and anything CreateFile returns: invalid is INVALID_HANDLE_VALUE.
using FileHandle = UniqueResource<FileHandleTraits>;
// Processes, threads, events, mappings: invalid is NULL.
using KernelHandle = UniqueResource<KernelHandleTraits>;
using RegistryHandle = UniqueResource<RegistryHandleTraits>;
using MappedView = UniqueResource<MappedViewTraits>;
using LoadedModule = UniqueResource<ModuleTraits>;

}  // namespace kiv
