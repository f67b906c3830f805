// The lines the launcher appends to the runtime property file for the Java
// application, rendered as text. Each line ends with "\n"; the file is written
// as a text stream, which stores CR LF.
#pragma once

#include <map>
#include <string>

namespace kiv {

// Three lines per variable, in map order: "kiv.nl.env." with the escaped name
// lower-cased, again upper-cased, and "kiv.nl.env.exact_case." with the name
// as it is; each with the escaped value. The case change is made after
// escaping (ASCII letters only), so the Java side finds "\u00e9" as "\U00E9"
// in the upper-case line: that is the key it has always been given.
std::wstring environmentLines(const std::map<std::wstring, std::wstring>& expandedByName);

// What the Java side reads when the Control key was held at start: the key
// state, and standard error and output sent to the console.
std::wstring consoleLines();

// "kiv.nl.current.vm=" and the escaped executable path of the chosen VM.
std::wstring currentVmLine(const std::wstring& executablePath);

}  // namespace kiv
