// Every text the launcher reads from a file, the registry, a server or its own
// command line goes through one of these functions. Each test feeds one of
// them thousands of generated texts made of the characters its grammar cares
// about; under the sanitizers of the host build any read or write out of
// bounds, overflow or crash fails the run, and the invariants below must hold
// for every input.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "installer/InstallerPlan.h"
#include "installer/ZipEntryInfo.h"
#include "installer/ZipEntryName.h"
#include "launch/ClassPath.h"
#include "launch/JavaCommandLine.h"
#include "launch/LaunchOptions.h"
#include "launcher/CommandLine.h"
#include "launcher/PropertyEscapes.h"
#include "launcher/PropertyFile.h"
#include "launcher/PropertyRules.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/TextMode.h"
#include "platform/TextTokenizer.h"
#include "vm/JvmSpec.h"
#include "vm/SpecHints.h"
#include "vm/ValidVmList.h"
#include "vm/VerifyProbeText.h"
#include "vm/VersionText.h"

namespace kiv {
namespace {

constexpr int kInputsPerTest = 3000;

// Texts built from pieces of the launcher's grammars, separators, escapes,
// digits at the edges of the integer types, and code units that are not
// characters on their own.
class HostileText {
public:
    explicit HostileText(uint32_t seed) : random_(seed) {}

    std::wstring next(size_t maxPieces = 12) {
        std::wstring text;
        const size_t pieces = pick(maxPieces + 1);
        for (size_t i = 0; i < pieces; ++i) {
            if (pick(3) == 0)
                text += randomCodeUnit();
            else
                text += kPieces[pick(sizeof kPieces / sizeof kPieces[0])];
        }
        return text;
    }

    std::string nextBytes(size_t maxLength = 64) {
        std::string bytes(pick(maxLength + 1), '\0');
        for (char& byte : bytes) byte = static_cast<char>(pick(256));
        return bytes;
    }

    size_t pick(size_t bound) {
        return bound == 0 ? 0 : std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
    }

private:
    wchar_t randomCodeUnit() {
        static const wchar_t kUnits[] = {L'\0', L'\x01', L'\x7f', L'\x80', L'\xff', L'\xd800',
                                         L'\xdc00', L'\xfffe', L'\xffff', L'\x3000', L'\xa0'};
        if (pick(2) == 0) return kUnits[pick(sizeof kUnits / sizeof kUnits[0])];
        return static_cast<wchar_t>(pick(0x80));
    }

    static constexpr const wchar_t* kPieces[] = {
        L"=", L":", L"#", L"!", L"\\", L"\\\\", L"\\u", L"\\u00e9", L"\\uZZ", L"\\U0001F600",
        L"\r", L"\n", L"\r\n", L" ", L"\t", L"\f", L"\"", L"\"\"", L"'", L"[", L"]", L"(",
        L")", L",", L";", L".", L"..", L"...", L"/", L"/../", L"\\..\\", L"C:", L"\\\\?\\",
        L"*", L"+", L"-", L"_", L"%", L"%PATH%", L"$ENV_CLASSPATH$", L"$", L"JRE", L"JDK",
        L"ALL", L"J1", L"J2", L"MSJ", L"1.4", L"1.4+", L"1.3.1_02", L"1.*", L"9", L"0",
        L"00000000000000000000", L"4294967296", L"2147483647", L"2147483648", L"-2147483649",
        L"99999999999", L"k", L"m", L"K", L"M", L"kiv.", L"kiv.nl.valid.vm.list",
        L"kiv.class.path", L"build.jvmspec.", L"JVM_EXE", L"CLASSPATH", L"http://", L"ftp://",
        L"@", L"?", L"&", L"~", L"CON", L"nul.txt", L"LPT1", L"-ydkivservice", L"KIV_VM",
        L"silent", L"HKEY_LOCAL_MACHINE", L"\\HKEY_CURRENT_USER\\", L".vm", L"java.exe",
        L"bin", L"jvmspecs",
    };

    std::mt19937 random_;
};

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A cleaned name names a place below the extraction folder: nothing absolute,
// no drive, no climbing component, no device and no control character.
void expectStaysBelowBase(const std::wstring& cleaned) {
    if (cleaned.empty()) return;
    EXPECT_FALSE(isSeparator(cleaned[0]));
    size_t start = 0;
    while (start <= cleaned.size()) {
        size_t end = start;
        while (end < cleaned.size() && !isSeparator(cleaned[end])) ++end;
        const std::wstring component = cleaned.substr(start, end - start);
        bool onlyDotsAndBlanks = true;
        size_t dots = 0;
        for (wchar_t c : component) {
            EXPECT_GE(c, 0x20) << "control character in " << wideToUtf8(cleaned);
            EXPECT_NE(c, L':') << wideToUtf8(cleaned);
            if (c == L'.')
                ++dots;
            else if (c != L' ')
                onlyDotsAndBlanks = false;
        }
        EXPECT_FALSE(onlyDotsAndBlanks && dots >= 2) << wideToUtf8(cleaned);
        start = end + 1;
    }
}

TEST(HostileInputTest, ZipEntryNamesNeverLeaveTheBaseFolder) {
    HostileText generate(1);
    for (int i = 0; i < kInputsPerTest; ++i) {
        const std::wstring stored = generate.next();
        const std::wstring cleaned = cleanEntryName(stored);
        expectStaysBelowBase(cleaned);
        if (!cleaned.empty()) {
            EXPECT_EQ(cleaned, cleanEntryName(cleaned)) << wideToUtf8(stored);
        }
    }
}

TEST(HostileInputTest, ZipExtraFieldIsReadWithinItsLength) {
    HostileText generate(2);
    for (int i = 0; i < kInputsPerTest; ++i) {
        std::string bytes = generate.nextBytes();
        // Half of the fields start like an extended timestamp, so its parser gets past the header.
        if (bytes.size() >= 2 && generate.pick(2) == 0) {
            bytes[0] = 0x55;
            bytes[1] = 0x54;
        }
        // Exactly as long as the field, so a read past its end is caught.
        std::vector<unsigned char> extra(bytes.begin(), bytes.end());
        parseExtendedTimestamp(extra.empty() ? nullptr : extra.data(), extra.size());
        entryAttributes(static_cast<uint16_t>(generate.pick(65536)),
                        static_cast<uint32_t>(generate.pick(UINT32_MAX)));
        decodeDosDateTime(static_cast<uint32_t>(generate.pick(UINT32_MAX)));
    }
}

TEST(HostileInputTest, PropertyFilesOfAnyBytesLoadAndAnswerEveryKey) {
    HostileText generate(3);
    for (int i = 0; i < kInputsPerTest; ++i) {
        PropertyFile file;
        const std::wstring decoded = i % 4 == 0 ? decodeTextMode(generate.nextBytes(200))
                                                : generate.next(40);
        file.loadText(decoded);
        splitTextLines(decoded);
        unescapePropertyText(decoded);
        encodeTextMode(escapePropertyText(decoded));
        file.mainClass();
        file.validVmList();
        file.launcherPlatform();
        file.heapInitial();
        file.heapMax();
        file.msvmMinVersion();
        file.consolePause();
        file.isSilentByDefault();
        file.withVmSearchOption();
        file.withoutVmSearchOption();
        const int32_t total = file.jvmspecTotal();
        for (int32_t n = 0; n < 3 && n <= total; ++n) file.jvmspecEntry(n);
        parseBoolean(decoded);
        parsePauseBoolean(decoded);
        parseInteger(decoded);
        parseSize(decoded);
    }
}

TEST(HostileInputTest, CommandLinesOfAnyTextParse) {
    HostileText generate(4);
    for (int i = 0; i < kInputsPerTest; ++i) {
        const std::wstring line = generate.next(20);
        const ParsedCommandLine parsed = parseCommandLine(line);
        if (parsed.serviceMode) {
            EXPECT_FALSE(parsed.serviceName.empty()) << wideToUtf8(line);
        }
        argumentAfter(parsed.arguments, L"KIV_VM");
        for (const std::wstring& argument : parsed.arguments) isPathCompletionCandidate(argument);
        if (!parsed.arguments.empty())
            silentFromArguments({parsed.arguments.begin() + 1, parsed.arguments.end()}, false);
    }
}

TEST(HostileInputTest, ValidVmListsOfAnyTextAreEvaluated) {
    HostileText generate(5);
    const VersionNumber versions[] = {VersionNumber(), VersionNumber(1, 1, 8),
                                      VersionNumber(6, 0, 31), VersionNumber(65535, 65535, 65535)};
    const std::function<bool(const std::wstring&)> validator = [](const std::wstring& argument) {
        return argument.size() % 2 == 0;
    };
    for (int i = 0; i < kInputsPerTest; ++i) {
        const std::wstring list = generate.next(16);
        for (const std::wstring& token : splitValidVmList(list)) {
            parseSpecToken(token);
            if (isVersionPattern(token)) versionMatches(versions[generate.pick(4)], token);
            matchesToken(token, static_cast<VmKind>(generate.pick(3)), versions[generate.pick(4)],
                         validator);
        }
        parseVersion(list);
    }
}

TEST(HostileInputTest, JvmspecFilesAndTheirHintsOfAnyTextAreRead) {
    HostileText generate(6);
    for (int i = 0; i < kInputsPerTest / 4; ++i) {
        std::vector<std::wstring> lines;
        for (size_t n = generate.pick(12); n > 0; --n) lines.push_back(generate.next(10));
        JvmSpec spec;
        spec.readText(lines);
        for (size_t field = 0; field < JvmSpec::fieldCount; ++field)
            spec.value(static_cast<JvmSpec::Field>(field));
        const std::wstring hint = generate.next(10);
        parseRegistryHint(hint);
        registryHintCandidate(hint, spec.jvmExe());
        hintDotPairs(hint);
        relativeHintCandidate(generate.next(6), hint, spec.jvmExe());
        driveHintCandidate(static_cast<wchar_t>(L'A' + generate.pick(26)), hint, spec.jvmExe());
    }
}

TEST(HostileInputTest, JavaCommandLinesAreBuiltFromAnyOptionText) {
    HostileText generate(7);
    for (int i = 0; i < kInputsPerTest / 4; ++i) {
        LaunchOptions options;
        options.mainClass = generate.next(4);
        options.gcExtent = generate.next(2);
        options.additionalOptions = generate.next(8);
        options.classPath = ClassPath(generate.next(10));
        options.applicationArguments = {generate.next(4), generate.next(4)};
        options.leadingArguments = {generate.next(4), generate.next(4)};
        options.heapInitial = static_cast<int32_t>(generate.pick(UINT32_MAX));
        options.heapMax = static_cast<int32_t>(generate.pick(UINT32_MAX));
        options.msvmMinVersion = static_cast<int32_t>(generate.pick(UINT32_MAX));
        options.verbose = generate.pick(2) == 0;
        options.debugging = generate.pick(2) == 0;
        applyVerbosity(generate.next(3), options);
        const std::wstring executable = generate.next(4);
        jreCommandLine(executable, options);
        javaCommandLine(executable, static_cast<unsigned>(generate.pick(20)), options);
        jviewCommandLine(executable, options);
        options.classPath.join();
    }
}

TEST(HostileInputTest, PathsUrlsTokensAndProbeAnswersOfAnyTextAreHandled) {
    HostileText generate(8);
    for (int i = 0; i < kInputsPerTest; ++i) {
        const std::wstring text = generate.next();
        normalizeSeparators(text);
        pathFileName(text, true);
        pathHasExtension(text);
        pathExtension(text);
        pathParent(text, L".");
        pathIsAbsolute(text);
        TextTokenizer(text, L" \t;=");
        isVmPackUrl(text);
        downloadFileName(text);
        planInstallerResolution(text, static_cast<int32_t>(generate.pick(40)) - 5,
                                static_cast<int32_t>(generate.pick(40)) - 5);
        endsWithJvmspecsFolder(text);
        nestedVerifyJarPath(text);
        const std::map<std::wstring, std::wstring> expected = {{generate.next(2), generate.next(2)}};
        verifyAnswerMatches(text, expected);
        valueMatches(text, generate.next(3));
        verifyCommandLine(text, generate.next(3), expected);
    }
}

}  // namespace
}  // namespace kiv
