#include "installer/ZipEntryName.h"

#include "platform/Text.h"

namespace kiv {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Position of the first "<sep>..<sep>" with either separator on each side.
std::size_t findClimbingSequence(const std::wstring& name) {
    for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
        if (isSeparator(name[i]) && name[i + 1] == L'.' && name[i + 2] == L'.' &&
            isSeparator(name[i + 3]))
            return i;
    }
    return std::wstring::npos;
}

// One pass of the cleaning rules; returns true when something was removed.
bool stripOnce(std::wstring& name) {
    if (name.size() >= 2 && name[1] == L':') {
        name.erase(0, 2);
        return true;
    }
    if (!name.empty() && isSeparator(name[0])) {
        name.erase(0, 1);
        return true;
    }
    if (name.size() >= 3 && name[0] == L'.' && name[1] == L'.' && isSeparator(name[2])) {
        name.erase(0, 3);
        return true;
    }
    const std::size_t climb = findClimbingSequence(name);
    if (climb != std::wstring::npos) {
        name.erase(0, climb + 4);
        return true;
    }
    return false;
}

// Windows trims trailing dots and spaces from path components, so ".. " and
// "..." can act as "..". A single "." names the current folder and stays.
bool isParentLike(const std::wstring& component) {
    std::size_t dots = 0;
    for (wchar_t c : component) {
        if (c == L'.')
            ++dots;
        else if (c != L' ')
            return false;
    }
    return dots >= 2;
}

// Opening "CON", "nul.txt" or "LPT1" in any folder reaches a device, not a file.
bool isDeviceName(const std::wstring& component) {
    std::wstring stem = toUpperAscii(component.substr(0, component.find(L'.')));
    while (!stem.empty() && stem.back() == L' ')
        stem.pop_back();
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" ||
        stem == L"CONIN$" || stem == L"CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'0' && stem[3] <= L'9';
}

bool isSafeComponent(const std::wstring& component) {
    if (isParentLike(component) || isDeviceName(component))
        return false;
    for (wchar_t c : component) {
        if (c < 0x20 || c == L':')
            return false;
    }
    return true;
}

// Safe, and names something below the base folder rather than the folder itself
// (a name made only of "." and separators does not).
bool namesSafePathBelowBase(const std::wstring& name) {
    bool namesSomething = false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !isSeparator(name[end]))
            ++end;
        const std::wstring component = name.substr(start, end - start);
        if (!isSafeComponent(component))
            return false;
        if (!component.empty() && component != L".")
            namesSomething = true;
        start = end + 1;
    }
    return namesSomething;
}

}  // namespace

bool fitsPathBuffer(const std::wstring& text) {
    return text.size() < kMaxPathChars;
}

std::wstring cleanEntryName(const std::wstring& decodedName) {
    std::wstring name = decodedName;
    while (stripOnce(name)) {
    }
    if (!namesSafePathBelowBase(name))
        return std::wstring();
    return name;
}

}  // namespace kiv
