#include "launch/JavaCommandLine.h"

#include "platform/PathText.h"
#include "platform/Text.h"

namespace kiv {

namespace {

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Items after the executable each bring their own leading blank.
void appendItem(std::wstring& line, const std::wstring& item) {
    line += L' ';
    line += item;
}

void appendIf(std::wstring& line, bool condition, const std::wstring& item) {
    if (condition) appendItem(line, item);
}

// Sizes are bytes in a signed 32-bit field; one that wrapped negative, or zero,
// means "not given".
void appendHeap(std::wstring& line, const wchar_t* switchText, int32_t bytes) {
    if (bytes > 0) appendItem(line, switchText + decimal(bytes));
}

// The VM splits its command line at blanks and tabs and drops an unquoted empty
// word, so such arguments are quoted to reach the Java program whole.
bool needsQuotes(const std::wstring& argument) {
    return argument.empty() || argument.find_first_of(L" \t") != std::wstring::npos;
}

bool takesShortClassPathSwitch(const std::wstring& executable) {
    const std::wstring name = pathFileName(executable, true);
    return name == L"jre.exe" || name == L"jrew.exe";
}

}  // namespace

std::wstring argumentTail(const LaunchOptions& options) {
    std::wstring tail;
    for (const std::wstring& leading : options.leadingArguments)
        tail += quoted(replaceAll(leading, L'\\', L"/")) + L' ';

    const auto& arguments = options.applicationArguments;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring doubled = replaceAll(arguments[i], L'\\', L"\\\\");
        tail += needsQuotes(doubled) ? quoted(doubled) : doubled;
        if (i + 1 < arguments.size()) tail += L' ';
    }
    return tail;
}

std::wstring jreCommandLine(const std::wstring& executable, const LaunchOptions& options) {
    std::wstring line = quoted(executable);
    appendHeap(line, L"-ms", options.heapInitial);
    appendHeap(line, L"-mx", options.heapMax);
    appendIf(line, options.verbose, L"-verbose");
    appendIf(line, options.debugging, L"-debug");
    appendIf(line, options.gcBackgroundThread, L"-noasyncgc");
    appendIf(line, options.compilerOff, L"-nojit");
    appendIf(line, !options.gcExtent.empty(), L"-noclassgc");
    appendIf(line, !options.additionalOptions.empty(), options.additionalOptions);
    appendItem(line, takesShortClassPathSwitch(executable) ? L"-cp" : L"-classpath");
    appendItem(line, quoted(options.classPath.join()));
    appendItem(line, options.mainClass);
    appendItem(line, argumentTail(options));
    return line;
}

std::wstring javaCommandLine(const std::wstring& executable, unsigned majorVersion,
                             const LaunchOptions& options) {
    std::wstring line = quoted(executable);
    appendIf(line, majorVersion >= 9, L"--add-opens java.base/jdk.internal.loader=ALL-UNNAMED");
    appendHeap(line, L"-Xms", options.heapInitial);
    appendHeap(line, L"-Xmx", options.heapMax);
    if (options.verbose) {
        appendItem(line, options.verboseKind.empty() ? std::wstring(L"-verbose")
                                                     : L"-verbose:" + options.verboseKind);
    }
    appendIf(line, options.debugging, L"-Xdebug");
    appendIf(line, options.gcBackgroundThread, L"-Xnoasyncgc");
    appendIf(line, options.compilerOff, L"-Djava.compiler=off");
    appendIf(line, !options.gcExtent.empty(), L"-Xnoclassgc");
    appendIf(line, !options.additionalOptions.empty(), options.additionalOptions);
    appendItem(line, L"-classpath " + quoted(options.classPath.join()));
    appendItem(line, options.mainClass);
    appendItem(line, argumentTail(options));
    return line;
}

std::wstring jviewCommandLine(const std::wstring& executable, const LaunchOptions& options) {
    std::wstring line = quoted(executable);
    appendItem(line, L"/cp");
    appendItem(line, quoted(options.classPath.join()));
    appendItem(line, options.mainClass);
    appendItem(line, argumentTail(options));
    return line;
}

std::wstring applyVerbosity(const std::wstring& rawValue, LaunchOptions& options) {
    options.verbose = !rawValue.empty();
    options.verboseKind.clear();
    if (!options.verbose) return std::wstring();

    const std::wstring value = toLowerAscii(rawValue);
    if (value == L"normal" || value == L"all") return std::wstring();
    if (value == L"gc" || value == L"class") {
        options.verboseKind = value;
        return std::wstring();
    }
    options.verbose = false;
    if (value == L"none") return std::wstring();
    return L"invalid verbosity selection '" + value + L"', disabling verbosity.\n";
}

}  // namespace kiv
