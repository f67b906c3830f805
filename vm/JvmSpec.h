// A jvmspec file: where a VM of one kind may be found and which Java system
// properties it must report. One object serves every jvmspec file of a run.
//
// Format, line by line: a line whose first character is '#' is a comment; a
// blank line is ignored; outside a block a line is tested against the keys in
// a fixed checking order and the first key found anywhere in it counts. A
// value key ("JVM_EXE:" ...) stores the trimmed text after the key; a block
// key ("JVM_PROPERTIES", "PLATFORM_HINT:", "PATH_HINT:") opens a block whose
// lines are entries until a line containing "/:" (or the end of the file).
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace kiv {

class JvmSpec {
public:
    // The stored values, in the order of their keys in the key table.
    enum class Field {
        description,
        jvmExe,
        classPath,
        classPathSeparator,
        system,
        systemSeparator,
        verbose,
        verboseGc,
        verboseClass,
        verboseJni,
        version,
        bootClassPath,
        noClassGc,
        initJavaHeap,
        maxJavaHeap,
        reduceOsSignals,
        checkJni,
        runhprofHelp,
        runhprofOption,
        debug,
        future,
    };
    static constexpr size_t fieldCount = static_cast<size_t>(Field::future) + 1;

    // Normalises the path, reads it as text (one byte per character) and
    // applies readText. Throws FileException ("windows could not open the
    // file specified") when the file cannot be opened.
    void read(const std::wstring& path);

    // Empties the properties and both hint lists, then applies the lines. The
    // stored values are kept: a key that this file lacks keeps the value an
    // earlier file gave it.
    void readText(const std::vector<std::wstring>& lines);

    std::wstring value(Field field) const { return values_[static_cast<size_t>(field)]; }

    std::wstring description() const { return value(Field::description); }
    std::wstring jvmExe() const { return value(Field::jvmExe); }
    std::wstring classPath() const { return value(Field::classPath); }
    std::wstring classPathSeparator() const { return value(Field::classPathSeparator); }
    std::wstring system() const { return value(Field::system); }
    std::wstring systemSeparator() const { return value(Field::systemSeparator); }
    std::wstring verbose() const { return value(Field::verbose); }
    std::wstring verboseGc() const { return value(Field::verboseGc); }
    std::wstring verboseClass() const { return value(Field::verboseClass); }
    std::wstring verboseJni() const { return value(Field::verboseJni); }
    std::wstring version() const { return value(Field::version); }
    std::wstring bootClassPath() const { return value(Field::bootClassPath); }
    std::wstring noClassGc() const { return value(Field::noClassGc); }
    std::wstring initJavaHeap() const { return value(Field::initJavaHeap); }
    std::wstring maxJavaHeap() const { return value(Field::maxJavaHeap); }
    std::wstring reduceOsSignals() const { return value(Field::reduceOsSignals); }
    std::wstring checkJni() const { return value(Field::checkJni); }
    std::wstring runhprofHelp() const { return value(Field::runhprofHelp); }
    std::wstring runhprofOption() const { return value(Field::runhprofOption); }
    std::wstring debug() const { return value(Field::debug); }
    std::wstring future() const { return value(Field::future); }

    // Properties the VM must report when probed, ordered by name.
    std::map<std::wstring, std::wstring> jvmProperties() const { return jvmProperties_; }
    // Registry values holding a VM home, such as \HKEY_LOCAL_MACHINE\SOFTWARE\Acme\Java\Home.
    std::vector<std::wstring> platformHints() const { return platformHints_; }
    // Directory paths of VM homes, relative to the installer (..\jre) or to a drive root.
    std::vector<std::wstring> pathHints() const { return pathHints_; }

private:
    enum class Block { none, jvmProperties, platformHints, pathHints };

    Block applyLineOutsideBlock(const std::wstring& line);
    void addBlockEntry(Block block, const std::wstring& line);
    void addProperty(const std::wstring& line);

    std::array<std::wstring, fieldCount> values_;
    std::map<std::wstring, std::wstring> jvmProperties_;
    std::vector<std::wstring> platformHints_;
    std::vector<std::wstring> pathHints_;
};

}  // namespace kiv
