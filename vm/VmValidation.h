// The two checks that judge a found VM by running it: the validator run of a
// composite valid-VM token and the Verify probe of a jvmspec record. Neither
// reports anything; a failure only makes the VM unacceptable.
#pragma once

#include <map>
#include <string>

namespace kiv {

class InstalledVm;

// Runs the application's "com.vorlix.util.jvm.Validator" on the VM with the
// arguments "1" and `argument`, using the class path of the VM's own options
// and the launcher's current directory, and waits for it without a limit.
// True exactly when it ends with exit code 0; a VM that cannot be started (any
// exception of the launch) counts as exit code -1.
bool validatorRun(InstalledVm& vm, const std::wstring& argument);

// Runs `executable` -classpath <jar> Verify <names of `expected`> with its
// output on a pipe, in the full path of `specDirectory`. The jar is
// specDirectory\Verify.jar, or else specDirectory\jvmspecs\Verify.jar unless
// the directory already is the jvmspecs folder. False without starting
// anything when no jar is found; false when the child cannot be started,
// runs longer than 5000 ms (it is then terminated), prints more than 1 MiB,
// or its whole output does not match `expected` (verifyAnswerMatches).
bool verifyProbe(const std::wstring& specDirectory, const std::wstring& executable,
                 const std::map<std::wstring, std::wstring>& expected);

}  // namespace kiv
