// Pure parts of the environment snapshot: reading a Windows environment block
// into a name-ordered map, the "path" lookup and the class-path marker.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kiv {

// A block of NUL-terminated "NAME=VALUE" entries ending with an empty entry
// (as GetEnvironmentStringsW returns it). The name runs to the first "=";
// the per-drive entries "=C:=C:\dir" start with "=" and give the empty name
// with the text after that "=", so only the last of them stays. A later entry
// replaces an earlier one of the same name. A null block gives no entries.
std::map<std::wstring, std::wstring> parseEnvironmentBlock(const wchar_t* block);

// The class-path property with the first "$ENV_CLASSPATH$" replaced by the
// CLASSPATH value; later markers stay as written.
std::wstring resolveClassPathText(const std::wstring& classPathValue,
                                  const std::wstring& classPathEnvironmentValue);

// The directories of a ";"-separated list, without empty entries except a
// leading one.
std::vector<std::wstring> splitPathList(const std::wstring& expandedValue);

// The first name in map order that reads "path" in any ASCII letter case
// ("PATH" sorts before "Path" and "path"), or nothing when there is none.
std::optional<std::wstring> findPathVariableName(
    const std::map<std::wstring, std::wstring>& environment);

}  // namespace kiv
