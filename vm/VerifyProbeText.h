// The text side of the Verify probe: where its jar lies, the command line that
// starts it, and the judging of what it printed. The Verify program prints a
// header line and then one line per property named on its command line.
#pragma once

#include <map>
#include <string>

namespace kiv {

// Exact comparison, except that an expected "*" accepts everything, one ending
// in '*' accepts values starting with the text before its first '*', and one
// ending in "..." accepts values starting with the text before its trailing dots.
bool valueMatches(const std::wstring& printed, const std::wstring& expected);

// The probe's whole output against the expected properties, in map order: the
// header line is skipped, then each entry is compared with the next line (a
// CR before the LF stays part of the line). Once no line feed is left, every
// later entry is compared with that same last line. False when the trimmed
// output has no second line.
bool verifyAnswerMatches(const std::wstring& answer,
                         const std::map<std::wstring, std::wstring>& expected);

// "E" -classpath "J" Verify name1 name2 ... (names unquoted, in map order).
std::wstring verifyCommandLine(const std::wstring& executable, const std::wstring& jarPath,
                               const std::map<std::wstring, std::wstring>& properties);

// The jar beside the jvmspec files.
std::wstring verifyJarPath(const std::wstring& directory);

// Whether the directory text already names the jvmspecs folder (exact case,
// with or without a trailing backslash); only other folders get a second look.
bool endsWithJvmspecsFolder(const std::wstring& directory);

// The second place to look when the first has no jar: the jvmspecs folder
// below the directory; empty when the directory is the jvmspecs folder itself.
std::wstring nestedVerifyJarPath(const std::wstring& directory);

}  // namespace kiv
