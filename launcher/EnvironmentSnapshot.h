// The process environment, taken once on first use and never refreshed.
#pragma once

#include <map>
#include <string>

#include "launch/ClassPath.h"

namespace kiv {

class EnvironmentSnapshot {
public:
    static EnvironmentSnapshot& instance();

    explicit EnvironmentSnapshot(std::map<std::wstring, std::wstring> variables)
        : variables_(std::move(variables)) {}

    const std::map<std::wstring, std::wstring>& variables() const { return variables_; }

    // The value with %VAR% references expanded; empty for an absent name.
    std::wstring expandedValue(const std::wstring& name) const;

    // The directories of the variable named "path" in any letter case.
    ClassPath pathList() const;

    // Three lines per variable into the runtime property file.
    void writeToRuntimeFile() const;

private:
    std::map<std::wstring, std::wstring> variables_;
};

}  // namespace kiv
