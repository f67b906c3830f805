#include "platform/RegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "launcher/Errors.h"
#include "platform/Handle.h"
#include "support/RegistryFixture.h"

namespace kiv {
namespace {

const std::wstring kBase = L"SOFTWARE\\KivTests\\RegistryKeyTest";

std::wstring viewText(RegistryView view) {
    return view == RegistryView::Bits32 ? L"32" : L"64";
}

RegistryAccess readAccessFor(RegistryView view) {
    return view == RegistryView::Bits32 ? kKeyRead32 : kKeyRead64;
}

class RegistryKeyTest : public ::testing::Test {
protected:
    static std::wstring below(const std::wstring& leaf) { return kBase + L"\\" + leaf; }

    // A value of any type in the process's own view; the key is created if missing.
    static void setValue(const std::wstring& path, const std::wstring& name, DWORD type,
                         const void* data, size_t bytes) {
        RegistryHandle key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name.c_str(), 0, type,
                                                static_cast<const BYTE*>(data),
                                                static_cast<DWORD>(bytes)));
    }

    // Text with its terminating NUL; embedded NULs in `text` are kept.
    static void setText(const std::wstring& path, const std::wstring& name, DWORD type,
                        const std::wstring& text) {
        setValue(path, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }

    ScopedRegistryTree cleanup_{{kBase}};
};

TEST_F(RegistryKeyTest, NamedRootsAndAccessMasksAreTheSystemsValues) {
    // Compared as the system defines them, so a 64-bit build catches a root
    // that is zero-extended instead of sign-extended.
    EXPECT_EQ(kHkeyClassesRoot, reinterpret_cast<RegistryRoot>(HKEY_CLASSES_ROOT));
    EXPECT_EQ(kHkeyCurrentUser, reinterpret_cast<RegistryRoot>(HKEY_CURRENT_USER));
    EXPECT_EQ(kHkeyLocalMachine, reinterpret_cast<RegistryRoot>(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(kHkeyUsers, reinterpret_cast<RegistryRoot>(HKEY_USERS));
    EXPECT_EQ(kHkeyPerformanceData, reinterpret_cast<RegistryRoot>(HKEY_PERFORMANCE_DATA));
    EXPECT_EQ(kHkeyPerformanceText, reinterpret_cast<RegistryRoot>(HKEY_PERFORMANCE_TEXT));
    EXPECT_EQ(kHkeyPerformanceNlsText, reinterpret_cast<RegistryRoot>(HKEY_PERFORMANCE_NLSTEXT));
    EXPECT_EQ(kHkeyCurrentConfig, reinterpret_cast<RegistryRoot>(HKEY_CURRENT_CONFIG));
    EXPECT_EQ(kHkeyDynData, reinterpret_cast<RegistryRoot>(HKEY_DYN_DATA));
    EXPECT_EQ(kKeyRead, static_cast<RegistryAccess>(KEY_READ));
    EXPECT_EQ(kKeyRead64, static_cast<RegistryAccess>(KEY_READ | KEY_WOW64_64KEY));
    EXPECT_EQ(kKeyRead32, static_cast<RegistryAccess>(KEY_READ | KEY_WOW64_32KEY));
}

TEST_F(RegistryKeyTest, OpenFallsBackToTheProcessViewButNeverIntoTheOther) {
    // Each key exists in one view only and holds a value naming that view, so
    // a successful open also tells which view it reached. The tests run as a
    // 64-bit program, whose plain opens resolve in the 64-bit view: a key only
    // there, asked for with KEY_WOW64_32KEY, misses in step 2 and is found by
    // step 3 (query-and-enumerate rights without a view flag). The mirror
    // case, a 32-bit launcher under WOW64 asking for the 64-bit view of a key
    // that only its own 32-bit view holds, is the same row with the views
    // swapped; Wine's 32-bit loader cannot run on this machine, so what the
    // 64-bit build shows of it is the other half: no step falls back into the
    // view that is not the process's own.
    const RegistryView own = processRegistryView();
    const RegistryView other = otherRegistryView(own);
    struct Case {
        const char* label;
        RegistryView existsIn;
        RegistryAccess access;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"own view asked for by flag", own, readAccessFor(own), true},
        {"other view asked for by flag", other, readAccessFor(other), true},
        {"plain read of the own view", own, kKeyRead, true},
        {"other view's flag, key only in own view: step 3", own, readAccessFor(other), true},
        {"plain read, key only in other view", other, kKeyRead, false},
        {"own view's flag, key only in other view", other, readAccessFor(own), false},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.label);
        const std::wstring path = below(L"Ladder" + std::to_wstring(i));
        ASSERT_TRUE(createRegistryKey(c.existsIn, path, {{L"view", viewText(c.existsIn)}}));
        if (c.opens) {
            RegistryKey key(path, c.access);
            EXPECT_TRUE(key.isOpen());
            EXPECT_EQ(key.name(), path);
            EXPECT_EQ(key.queryString(L"view"), viewText(c.existsIn));
        } else {
            try {
                RegistryKey key(path, c.access);
                ADD_FAILURE() << "opened a key that only the other view holds";
            } catch (const KeyException& e) {
                EXPECT_EQ(e.key(), path);
            }
        }
    }
}

TEST_F(RegistryKeyTest, FailedOpenThrowsTheRealErrorAndThePathTried) {
    ASSERT_TRUE(createRegistryKey(processRegistryView(), kBase));
    struct Case {
        const char* label;
        RegistryRoot root;
        std::wstring path;
        DWORD error;
    };
    const std::vector<Case> cases = {
        {"missing leaf", kHkeyLocalMachine, below(L"Missing"), ERROR_FILE_NOT_FOUND},
        {"missing parent", kHkeyLocalMachine, below(L"No\\Such\\Key"), ERROR_FILE_NOT_FOUND},
        {"no root (unknown root name)", 0, L"SOFTWARE", ERROR_INVALID_HANDLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // Opened first, so the failure must also leave the reopened key closed.
        RegistryKey key(kBase, kKeyRead);
        // A stale last error must not become the message: the registry calls
        // return their error rather than setting it.
        SetLastError(ERROR_ACCESS_DENIED);
        try {
            key.open(c.root, c.path, kKeyRead);
            ADD_FAILURE() << "open succeeded";
        } catch (const KeyException& e) {
            EXPECT_EQ(e.key(), c.path);
            EXPECT_EQ(e.message(), systemErrorText(c.error));
        }
        EXPECT_FALSE(key.isOpen());
    }
}

TEST_F(RegistryKeyTest, StringValuesComeBackWithoutTheirNuls) {
    const std::wstring path = below(L"Values");
    const std::wstring longest(255, L'x');  // 512 bytes with its NUL: fills the buffer
    const std::wstring beyondLatin1 = L"Caf\u00e9 \u65e5\u672c \u0416 \xD83D\xDE00";
    struct Case {
        std::wstring name;
        DWORD type;
        std::wstring stored;  // written with one terminating NUL
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {L"JavaHome", REG_SZ, L"C:\\Program Files\\Java\\jre1.8.0_191",
         L"C:\\Program Files\\Java\\jre1.8.0_191"},
        {L"", REG_SZ, L"the default value", L"the default value"},
        {L"Expand", REG_EXPAND_SZ, L"%JAVA_HOME%\\bin", L"%JAVA_HOME%\\bin"},
        {L"Multi", REG_MULTI_SZ, std::wstring(L"a\0b\0", 4), L"ab"},
        {L"Longest", REG_SZ, longest, longest},
        {L"BeyondLatin1", REG_SZ, beyondLatin1, beyondLatin1},
        {L"Empty", REG_SZ, L"", L""},
    };
    for (const Case& c : cases) setText(path, c.name, c.type, c.stored);

    RegistryKey key(path, kKeyRead);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.name);
        EXPECT_EQ(key.queryString(c.name), c.expected);
    }
}

TEST_F(RegistryKeyTest, UnreadableOrNonStringValuesThrowWithTheKeyName) {
    const std::wstring path = below(L"BadValues");
    const DWORD number = 42;
    const std::vector<BYTE> bigBinary(600, 0x41);
    setValue(path, L"Dword", REG_DWORD, &number, sizeof(number));
    setValue(path, L"Binary", REG_BINARY, &number, sizeof(number));
    setValue(path, L"BigBinary", REG_BINARY, bigBinary.data(), bigBinary.size());
    setText(path, L"Long", REG_SZ, std::wstring(300, L'y'));
    setText(path, L"OneTooLong", REG_SZ, std::wstring(256, L'z'));  // 514 bytes

    struct Case {
        const wchar_t* name;
        const wchar_t* message;
    };
    const std::vector<Case> cases = {
        {L"Dword", L"value not a string"},
        {L"Binary", L"value not a string"},
        {L"BigBinary", L"key query failed"},  // too large is checked before the type
        {L"Long", L"key query failed"},
        {L"OneTooLong", L"key query failed"},
        {L"Missing", L"key query failed"},
    };
    RegistryKey key(path, kKeyRead);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.name);
        try {
            key.queryString(c.name);
            ADD_FAILURE() << "no exception";
        } catch (const KeyException& e) {
            EXPECT_EQ(e.message(), c.message);
            EXPECT_EQ(e.key(), path);
        }
    }
}

TEST_F(RegistryKeyTest, SubkeysAreListedInTheSystemsOrderAndOpenBelowTheirParent) {
    ASSERT_TRUE(createRegistryKey(processRegistryView(), below(L"Empty")));
    EXPECT_TRUE(RegistryKey(below(L"Empty"), kKeyRead).subkeyNames().empty());

    // Created out of order: the registry keeps subkeys sorted without regard
    // to case, and the list follows the system's enumeration, not creation.
    const std::wstring parentPath = below(L"Vms");
    const std::wstring beyondLatin1 = L"Caf\u00e9\u65e5\u672c\u0416";
    for (const wchar_t* name : {L"jre1.8", L"Zulu", L"1.8", L"alpha", beyondLatin1.c_str()}) {
        ASSERT_TRUE(createRegistryKey(processRegistryView(), parentPath + L"\\" + name,
                                      {{L"self", name}}));
    }
    RegistryKey parent(parentPath, kKeyRead);
    const std::vector<std::wstring> names = parent.subkeyNames();
    EXPECT_EQ(names, (std::vector<std::wstring>{L"1.8", L"alpha", beyondLatin1, L"jre1.8",
                                                 L"Zulu"}));

    for (const std::wstring& name : names) {
        SCOPED_TRACE(testing::Message() << "subkey " << name);
        RegistryKey child(parent, kKeyRead, name);
        EXPECT_EQ(child.name(), parentPath + L"\\" + name);
        EXPECT_EQ(child.queryString(L"self"), name);
    }
}

// Windows forgets a handle's view for keys opened below it: a subkey opened
// with plain access must be asked for in the parent's view again.
TEST_F(RegistryKeyTest, ASubkeyOpensInItsParentsViewUnlessItNamesOne) {
    const RegistryView own = processRegistryView();
    const RegistryView other = otherRegistryView(own);
    const RegistryAccess ownFlag = readAccessFor(own) & kViewFlags;
    const RegistryAccess otherFlag = readAccessFor(other) & kViewFlags;
    struct Case {
        const char* label;
        RegistryView existsIn;
        RegistryAccess parentAccess;
        RegistryAccess childAccess;
        RegistryAccess parentView;
        RegistryAccess childView;
    };
    const std::vector<Case> cases = {
        {"plain parent, plain child", own, kKeyRead, kKeyRead, 0, 0},
        {"own view's flag carried to the child", own, readAccessFor(own), kKeyRead, ownFlag, ownFlag},
        {"other view's flag carried to the child", other, readAccessFor(other), kKeyRead, otherFlag,
         otherFlag},
        {"a child that names a view keeps it", own, kKeyRead, readAccessFor(own), 0, ownFlag},
        {"a parent found without a flag passes on the own view", own, readAccessFor(other), kKeyRead,
         0, 0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.label);
        const std::wstring path = below(L"Views" + std::to_wstring(i));
        ASSERT_TRUE(createRegistryKey(c.existsIn, path + L"\\child", {{L"view", viewText(c.existsIn)}}));
        const RegistryKey parent(path, c.parentAccess);
        EXPECT_EQ(parent.view(), c.parentView);
        const RegistryKey child(parent, c.childAccess, L"child");
        EXPECT_EQ(child.view(), c.childView);
        EXPECT_EQ(child.queryString(L"view"), viewText(c.existsIn));
    }
}

TEST_F(RegistryKeyTest, PathBeyondLatin1IsKeptAsTheName) {
    const std::wstring path = below(L"\u0416\u65e5\xD83D\xDE00 Java");
    ASSERT_TRUE(createRegistryKey(processRegistryView(), path, {{L"JavaHome", L"C:\\jre"}}));
    RegistryKey key(path, kKeyRead64);
    EXPECT_EQ(key.name(), path);
    EXPECT_EQ(key.queryString(L"JavaHome"), L"C:\\jre");
}

TEST_F(RegistryKeyTest, ClosedKeysRefuseEveryQuery) {
    ASSERT_TRUE(createRegistryKey(processRegistryView(), kBase, {{L"v", L"x"}}));
    RegistryKey closedAfterUse(kBase, kKeyRead);
    closedAfterUse.close();
    closedAfterUse.close();  // closing twice is harmless
    RegistryKey neverOpened;

    for (const RegistryKey* key : {&closedAfterUse, &neverOpened}) {
        EXPECT_FALSE(key->isOpen());
        EXPECT_EQ(key->handle(), 0u);
        const auto expectNotOpen = [](const KeyException& e) {
            EXPECT_EQ(e.message(), L"key not open");
            EXPECT_EQ(e.key(), L"");
        };
        try {
            key->queryString(L"v");
            ADD_FAILURE() << "queryString on a closed key";
        } catch (const KeyException& e) {
            expectNotOpen(e);
        }
        try {
            key->subkeyNames();
            ADD_FAILURE() << "subkeyNames on a closed key";
        } catch (const KeyException& e) {
            expectNotOpen(e);
        }
        try {
            RegistryKey child(*key, kKeyRead, L"Anything");
            ADD_FAILURE() << "opened below a closed key";
        } catch (const KeyException& e) {
            expectNotOpen(e);
        }
    }
}

TEST_F(RegistryKeyTest, ErrorTextsAreOneLineAndKeepTheLastError) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    const std::wstring text = lastErrorText();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(text, systemErrorText(ERROR_FILE_NOT_FOUND));
    ASSERT_FALSE(text.empty());
    EXPECT_LT(text.size(), 128u);
    EXPECT_EQ(text.find_first_of(L"\r\n"), std::wstring::npos);

    // Bit 29 marks application-defined codes: the system has no text for them.
    EXPECT_EQ(systemErrorText(0x2000ABCD), L"error 536914893");
}

}  // namespace
}  // namespace kiv
