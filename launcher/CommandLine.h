// The launcher's own reading of its command line. Windows hands a program one
// flat string; the launcher splits it by its own rules (not CommandLineToArgvW)
// so that quoted wildcards reach the Java side with their quotes, and so that the
// service switch and "-i" are recognised before any quote joining happens.
#pragma once

#include <string>
#include <vector>

namespace kiv {

struct ParsedCommandLine {
    std::vector<std::wstring> arguments;  // program name first, quotes joined
    bool serviceMode = false;             // "-ydkivservice" was followed by a name
    std::wstring serviceName;
};

// Splits at blanks (0x20 only; tabs are ordinary text), takes "-ydkivservice" and
// its name out, keeps the word after "-i" whatever it is, then joins quoted runs
// of words. Never fails: an unbalanced quote joins up to the last word. Paths are
// not completed here; that needs the file system (see isPathCompletionCandidate).
ParsedCommandLine parseCommandLine(const std::wstring& commandLine);

// Whether an argument may be replaced by its full path when it names an existing
// file or directory. Arguments starting with "/" are switches, not paths.
bool isPathCompletionCandidate(const std::wstring& argument);

// The argument after the first one equal to `word` (case-sensitive); empty when
// `word` is absent or is the last argument.
std::wstring argumentAfter(const std::vector<std::wstring>& arguments, const std::wstring& word);

// The last argument decides: silent when it is "silent" in any ASCII case, not
// silent otherwise. Without arguments the property file's value stands.
bool silentFromArguments(const std::vector<std::wstring>& argvAfterProgramName,
                         bool propertyFileValue);

}  // namespace kiv
