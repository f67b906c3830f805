#include "vm/JvmSpec.h"

#include "platform/Text.h"

namespace kiv {

namespace {

const wchar_t* const blockEnd = L"/:";

struct ValueKey {
    const wchar_t* text;
    JvmSpec::Field field;
};

// The value keys in checking order, which follows the block keys. Since a key
// counts wherever it stands in the line, BOOT_CLASSPATH: must be tested before
// CLASSPATH:, which it contains.
const ValueKey valueKeys[] = {
    {L"DESC:", JvmSpec::Field::description},
    {L"JVM_EXE:", JvmSpec::Field::jvmExe},
    {L"BOOT_CLASSPATH:", JvmSpec::Field::bootClassPath},
    {L"CLASSPATH:", JvmSpec::Field::classPath},
    {L"CLASSPATH_SEPARATOR:", JvmSpec::Field::classPathSeparator},
    {L"SYSTEM:", JvmSpec::Field::system},
    {L"SYSTEM_SEPARATOR:", JvmSpec::Field::systemSeparator},
    {L"VERBOSE:", JvmSpec::Field::verbose},
    {L"VERBOSE_GC:", JvmSpec::Field::verboseGc},
    {L"VERBOSE_CLASS:", JvmSpec::Field::verboseClass},
    {L"VERBOSE_JNI:", JvmSpec::Field::verboseJni},
    {L"VERSION:", JvmSpec::Field::version},
    {L"NO_CLASS_GC:", JvmSpec::Field::noClassGc},
    {L"INIT_JAVA_HEAP:", JvmSpec::Field::initJavaHeap},
    {L"MAX_JAVA_HEAP:", JvmSpec::Field::maxJavaHeap},
    {L"REDUCE_OS_SIGNALS:", JvmSpec::Field::reduceOsSignals},
    {L"CHECK_JNI:", JvmSpec::Field::checkJni},
    {L"RUNHPROF_HELP:", JvmSpec::Field::runhprofHelp},
    {L"RUNHPROF_OPTION:", JvmSpec::Field::runhprofOption},
    {L"DEBUG:", JvmSpec::Field::debug},
    {L"FUTURE:", JvmSpec::Field::future},
};

bool contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

// A line both starting and ending with '"' loses them; a lone '"' is kept.
std::wstring withoutSurroundingQuotes(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

void JvmSpec::readText(const std::vector<std::wstring>& lines) {
    jvmProperties_.clear();
    platformHints_.clear();
    pathHints_.clear();

    Block block = Block::none;
    for (const std::wstring& line : lines) {
        if (!line.empty() && line.front() == L'#') continue;
        if (trimBlanks(line).empty()) continue;
        if (block == Block::none)
            block = applyLineOutsideBlock(line);
        else if (contains(line, blockEnd))
            block = Block::none;
        else
            addBlockEntry(block, line);
    }
}

JvmSpec::Block JvmSpec::applyLineOutsideBlock(const std::wstring& line) {
    if (contains(line, L"JVM_PROPERTIES")) return Block::jvmProperties;
    if (contains(line, L"PLATFORM_HINT:")) return Block::platformHints;
    if (contains(line, L"PATH_HINT:")) return Block::pathHints;
    for (const ValueKey& key : valueKeys) {
        const size_t at = line.find(key.text);
        if (at == std::wstring::npos) continue;
        const size_t valueStart = at + std::char_traits<wchar_t>::length(key.text);
        values_[static_cast<size_t>(key.field)] = trimBlanks(line.substr(valueStart));
        break;
    }
    return Block::none;
}

void JvmSpec::addBlockEntry(Block block, const std::wstring& line) {
    switch (block) {
    case Block::jvmProperties:
        addProperty(line);
        break;
    case Block::platformHints:
        platformHints_.push_back(trimBlanks(line));
        break;
    case Block::pathHints:
        pathHints_.push_back(trimBlanks(line));
        break;
    case Block::none:
        break;
    }
}

void JvmSpec::addProperty(const std::wstring& line) {
    const std::wstring entry = trimBlanks(withoutSurroundingQuotes(trimBlanks(line)));
    const size_t equals = entry.find(L'=');
    if (equals == std::wstring::npos) {
        jvmProperties_.emplace(entry, entry);  // emplace keeps an earlier value
        return;
    }
    jvmProperties_.emplace(trimBlanks(entry.substr(0, equals)),
                           trimBlanks(entry.substr(equals + 1)));
}

}  // namespace kiv
