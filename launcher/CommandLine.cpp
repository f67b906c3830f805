#include "launcher/CommandLine.h"

#include "platform/Text.h"
#include "platform/TextTokenizer.h"

namespace kiv {

namespace {

const wchar_t kQuote = L'"';

bool beginsWithQuote(const std::wstring& word) { return !word.empty() && word.front() == kQuote; }

// A closing quote must be a character of its own: a lone `"` opens a quoted run
// rather than closing itself.
bool endsWithClosingQuote(const std::wstring& word) {
    return word.size() >= 2 && word.back() == kQuote;
}

// Splits off a program name given in quotes, which may hold blanks. The name
// keeps its quotes; the joining pass strips them like any other quoted word.
std::wstring takeQuotedProgramName(const std::wstring& commandLine, std::wstring& rest) {
    rest = commandLine;
    if (!beginsWithQuote(commandLine)) return std::wstring();
    const size_t closing = commandLine.find(kQuote, 1);
    if (closing == std::wstring::npos) return std::wstring();
    rest = commandLine.substr(closing + 1);
    return commandLine.substr(0, closing + 1);
}

// The service switch and its name leave the list; "-i" protects the next word,
// so "-i -ydkivservice" passes both words on to the application.
void collectWords(const std::vector<std::wstring>& words, ParsedCommandLine& parsed) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (word == L"-ydkivservice") {
            if (i + 1 < words.size()) {
                parsed.serviceName = words[++i];
                parsed.serviceMode = true;
            }
        } else if (word == L"-i") {
            parsed.arguments.push_back(word);
            if (i + 1 < words.size()) parsed.arguments.push_back(words[++i]);
        } else {
            parsed.arguments.push_back(word);
        }
    }
}

// A quoted word holding an asterisk keeps its quotes so that the VM does not
// expand the wildcard; other quoted runs become one argument without quotes.
std::vector<std::wstring> joinQuotedWords(const std::vector<std::wstring>& words) {
    std::vector<std::wstring> joined;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (!beginsWithQuote(word) || word.find(L'*') != std::wstring::npos) {
            joined.push_back(word);
            continue;
        }
        std::wstring argument = word;
        while (!endsWithClosingQuote(argument) && i + 1 < words.size()) {
            argument += L' ';
            argument += words[++i];
        }
        argument.erase(0, 1);
        if (!argument.empty() && argument.back() == kQuote) argument.pop_back();
        joined.push_back(argument);
    }
    return joined;
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::wstring& commandLine) {
    std::wstring rest;
    const std::wstring programName = takeQuotedProgramName(commandLine, rest);

    ParsedCommandLine parsed;
    if (!programName.empty()) parsed.arguments.push_back(programName);
    collectWords(TextTokenizer(rest, L" ").tokens(), parsed);
    parsed.arguments = joinQuotedWords(parsed.arguments);
    return parsed;
}

bool isPathCompletionCandidate(const std::wstring& argument) {
    return !argument.empty() && argument.front() != L'/';
}

std::wstring argumentAfter(const std::vector<std::wstring>& arguments, const std::wstring& word) {
    for (size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == word) return arguments[i + 1];
    }
    return std::wstring();
}

bool silentFromArguments(const std::vector<std::wstring>& argvAfterProgramName,
                         bool propertyFileValue) {
    if (argvAfterProgramName.empty()) return propertyFileValue;
    return toLowerAscii(argvAfterProgramName.back()) == L"silent";
}

}  // namespace kiv
