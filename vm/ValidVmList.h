// The grammar of kiv.nl.valid.vm.list and the predicate that tells whether a
// VM satisfies one of its tokens.
//
// A token is a keyword ("ALL", "J1", "J2", "JDK", "JRE", "JDK_J1", "JDK_J2",
// "JRE_J1", "JRE_J2", "MSJ") or a composite of '_'-separated parts: a kind
// (JRE, JDK or ALL), a version pattern (1.4+, 1.3*, 1.4.2_05) and a
// validation argument handed to the validator program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/VersionNumber.h"
#include "vm/VmKind.h"

namespace kiv {

// Splits at U+0020 only; runs of blanks are one separator, tabs are token text.
std::vector<std::wstring> splitValidVmList(const std::wstring& list);

struct SpecToken {
    std::wstring kind;      // "JRE", "JDK", "ALL" or empty
    std::wstring version;   // a version pattern, or empty
    std::wstring argument;  // the validation argument, or empty
};

// Splits a composite token at '_'. A later kind or argument replaces an
// earlier one; version parts are joined with '_' so 1.4.2_05 stays whole.
SpecToken parseSpecToken(const std::wstring& token);

// Digits, '*' anywhere, '.' neither first nor last nor doubled, '+' only last.
// The empty text is a pattern.
bool isVersionPattern(const std::wstring& text);

// "P+" is "at least P"; "P*" fixes the major (and the minor when P names one)
// and never matches when P names a micro; a plain P fixes major and minor, and
// the micro too when P names one.
bool versionMatches(VersionNumber vm, const std::wstring& pattern);

// Whether a VM of this kind and version satisfies the token (any letter case).
// `validatorRun` runs the validator program with the argument and answers
// whether it ended with exit code 0; it is called only for a composite token
// that carries an argument, and before anything else about that token is
// tested. An empty `validatorRun` counts as a failed run.
bool matchesToken(const std::wstring& token, VmKind kind, VersionNumber version,
                  const std::function<bool(const std::wstring& argument)>& validatorRun);

}  // namespace kiv
