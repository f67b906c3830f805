// A folder tree for one test under %TEMP%, removed with everything in it when
// the object goes away, and the fixtures the build puts beside the test exe.
#pragma once

#include <string>

namespace kiv {
namespace test {

// <folder of the running test exe>\fixtures\<name>.
std::wstring fixturePath(const std::wstring& name);

class TempTree {
public:
    // Creates a new, uniquely named folder under the temporary directory.
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::wstring& root() const { return root_; }

    // root\relative; relative paths use backslashes.
    std::wstring path(const std::wstring& relative) const;

    // Each of these creates the missing folders on the way and returns the full path.
    std::wstring makeFolder(const std::wstring& relative) const;
    std::wstring writeFile(const std::wstring& relative, const std::string& bytes) const;
    std::wstring copyFixture(const std::wstring& fixtureName, const std::wstring& relative) const;

private:
    std::wstring root_;
};

// Wine signals a child's end a moment before it closes the child's handle to
// its current directory, and a folder removed in that moment stays behind.
// Waits (briefly) until the folder could be deleted.
void awaitFolderRelease(const std::wstring& folder);

}  // namespace test
}  // namespace kiv
