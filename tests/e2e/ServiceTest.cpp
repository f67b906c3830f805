// The launcher run as a Windows service by the service control manager, with a
// stand-in VM recording what it was given. Each test registers a service of its
// own name and always deletes it again.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "platform/Handle.h"
#include "support/LauncherApp.h"

using kiv::KernelHandle;
using namespace kivtest;

namespace {

// Every wait is a bounded poll: about 20 s.
constexpr DWORD kPollIntervalMs = 100;
constexpr int kPollCount = 200;

template <typename Condition>
bool pollUntil(Condition condition) {
    for (int i = 0; i < kPollCount; ++i) {
        if (condition()) return true;
        Sleep(kPollIntervalMs);
    }
    return condition();
}

std::wstring uniqueServiceName() {
    static unsigned counter = 0;
    return L"KivTestService" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter);
}

DWORD exitCodeOf(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

// The VM is the child of the service's process that runs the stand-in; a
// console of its own may add other children under Wine.
KernelHandle openVmProcess(DWORD serviceProcessId, const std::wstring& vmFileName) {
    KernelHandle found;
    pollUntil([&] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32W entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
             more = Process32NextW(snapshot, &entry)) {
            if (entry.th32ParentProcessID == serviceProcessId &&
                lstrcmpiW(entry.szExeFile, vmFileName.c_str()) == 0)
                found.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                        entry.th32ProcessID));
        }
        CloseHandle(snapshot);
        return static_cast<bool>(found);
    });
    return found;
}

// One service registered for one test, its binary the application's launcher
// with the service switch. The destructor stops it if needed, waits for its
// process to end and deletes it, whatever the test's outcome.
class ScopedService {
public:
    ScopedService(const std::wstring& exePath, const std::wstring& name) {
        manager_ = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        if (manager_ == nullptr) return;
        const std::wstring binary = L"\"" + exePath + L"\" -ydkivservice " + name;
        service_ =
            CreateServiceW(manager_, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                           binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    }

    ~ScopedService() {
        if (service_ != nullptr) {
            // Wine keeps showing the last reported state of a service whose
            // process has died, and gives the process up on a second stop
            // request; waiting for STOPPED would then be in vain.
            const bool processGone =
                !process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
            if (status().dwCurrentState != SERVICE_STOPPED) {
                control(SERVICE_CONTROL_STOP);
                if (processGone)
                    control(SERVICE_CONTROL_STOP);
                else
                    waitForState(SERVICE_STOPPED);
            }
            DeleteService(service_);
            CloseServiceHandle(service_);
        }
        if (process_) WaitForSingleObject(process_.get(), kPollIntervalMs * kPollCount);
        if (manager_ != nullptr) CloseServiceHandle(manager_);
    }

    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;

    bool created() const { return service_ != nullptr; }

    // Starts the service and opens its process, so that its exit code can be
    // read after the control manager has forgotten it. A process that has
    // already ended again leaves process() null.
    bool start() {
        if (!StartServiceW(service_, 0, nullptr)) return false;
        const DWORD processId = status().dwProcessId;
        if (processId != 0)
            process_.reset(
                OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        return true;
    }

    SERVICE_STATUS_PROCESS status() const {
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        QueryServiceStatusEx(service_, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                             sizeof status, &needed);
        return status;
    }

    bool waitForState(DWORD state) const {
        return pollUntil([&] { return status().dwCurrentState == state; });
    }

    // 0 when the control was delivered and answered with success, else the
    // error ControlService reported.
    DWORD control(DWORD code) const {
        SERVICE_STATUS ignored = {};
        if (ControlService(service_, code, &ignored)) return 0;
        return GetLastError();
    }

    HANDLE process() const { return process_.get(); }
    DWORD processId() const { return GetProcessId(process_.get()); }

    bool processEnded() const {
        return !process_ ||
               WaitForSingleObject(process_.get(), kPollIntervalMs * kPollCount) == WAIT_OBJECT_0;
    }

private:
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
    KernelHandle process_;
};

// The VM path is written with doubled backslashes: a backslash and "u"
// ("C:\users") would otherwise be read as a \u escape.
std::string kivNamingVm(const std::wstring& vm) {
    std::string escapedVm;
    for (char c : narrow(vm)) escapedVm += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return "kiv.nl.java.launcher.main.class=com.example.Main\n"
           "kiv.class.path=lib\\app.jar\n"
           "kiv.nl.current.vm=" +
           escapedVm + "\n";
}

// An application folder with a stand-in VM named in its property file, and a
// service registered for its launcher. The service is declared last, so it and
// its process are gone before the folder is removed.
struct ServiceApp {
    explicit ServiceApp(const std::string& vmConfig)
        : vm(app.installVm(L"jdk\\bin", vmConfig)), service(app.exePath(), uniqueServiceName()) {
        app.writeKiv(kivNamingVm(vm));
        app.writeFile(L"app\\lib\\app.jar", "");
    }

    std::vector<Record> vmRecords() const { return app.records(L"jdk\\bin"); }

    LauncherApp app;
    std::wstring vm;
    ScopedService service;
};

// Starts the service and waits until it runs with its VM, whose process it opens.
void startUntilVmRuns(ServiceApp& s, KernelHandle& vm) {
    ASSERT_TRUE(s.service.created()) << GetLastError();
    ASSERT_TRUE(s.service.start()) << GetLastError();
    ASSERT_TRUE(s.service.waitForState(SERVICE_RUNNING));
    ASSERT_NE(s.service.process(), nullptr);
    vm = openVmProcess(s.service.processId(), L"java.exe");
    ASSERT_TRUE(vm);
}

}  // namespace

TEST(ServiceRun, ReportsRunningAndGivesTheVmXrs) {
    ServiceApp s("sleep=60000\n");
    ASSERT_TRUE(s.service.created()) << GetLastError();
    ASSERT_TRUE(s.service.start()) << GetLastError();
    ASSERT_TRUE(s.service.waitForState(SERVICE_RUNNING));
    EXPECT_EQ(s.service.status().dwControlsAccepted, static_cast<DWORD>(SERVICE_ACCEPT_STOP));

    ASSERT_TRUE(pollUntil([&] { return !s.vmRecords().empty(); }));
    const std::string commandLine = s.vmRecords()[0].at("cmdline");
    // " -Xrs" carries its own blank, so with no other additional options the
    // line holds two blanks before it.
    EXPECT_NE(commandLine.find("\"" + narrow(s.vm) + "\""), std::string::npos) << commandLine;
    EXPECT_NE(commandLine.find("  -Xrs -classpath "), std::string::npos) << commandLine;
}

TEST(ServiceRun, StopRequestTerminatesTheVmAndReportsStopped) {
    // exit=7: a VM that ended by itself would say so.
    ServiceApp s("sleep=60000\nexit=7\n");
    KernelHandle vm;
    ASSERT_NO_FATAL_FAILURE(startUntilVmRuns(s, vm));

    // Under Wine the control manager may find the service's process gone
    // before it has read the handler's reply: the pipe is then broken.
    const DWORD stop = s.service.control(SERVICE_CONTROL_STOP);
    EXPECT_TRUE(stop == NO_ERROR || stop == ERROR_BROKEN_PIPE) << stop;

    ASSERT_TRUE(s.service.waitForState(SERVICE_STOPPED));
    EXPECT_EQ(s.service.status().dwWin32ExitCode, static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(WaitForSingleObject(vm.get(), kPollIntervalMs * kPollCount), WAIT_OBJECT_0);
    EXPECT_EQ(exitCodeOf(vm.get()), 0u);
    ASSERT_TRUE(s.service.processEnded());
    EXPECT_EQ(exitCodeOf(s.service.process()), 0u);
}

// A VM that ends with 0 stops the service with a STOPPED report; any other code
// ends the service's process with that code and no report of its own. Windows
// then marks the service as ended unexpectedly; Wine's control manager keeps
// showing RUNNING, so only "not reported as a clean stop" is checked there.
TEST(ServiceRun, VmThatEndsByItselfEndsTheServiceProcessWithItsExitCode) {
    struct Case {
        const char* name;
        std::string config;
        DWORD processExitCode;
    };
    // The VM runs long enough for the test to open the service's process.
    const Case cases[] = {
        {"exit 0", "sleep=3000\nexit=0\n", 0},
        {"exit 3", "sleep=3000\nexit=3\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ServiceApp s(c.config);
        ASSERT_TRUE(s.service.created()) << GetLastError();
        ASSERT_TRUE(s.service.start()) << GetLastError();
        ASSERT_NE(s.service.process(), nullptr);

        ASSERT_TRUE(s.service.processEnded());
        EXPECT_EQ(exitCodeOf(s.service.process()), c.processExitCode);
        EXPECT_EQ(s.vmRecords().size(), 1u);
        const SERVICE_STATUS_PROCESS status = s.service.status();
        if (c.processExitCode == 0) {
            EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
            EXPECT_EQ(status.dwWin32ExitCode, static_cast<DWORD>(NO_ERROR));
        } else {
            EXPECT_TRUE(status.dwCurrentState != SERVICE_STOPPED ||
                        status.dwWin32ExitCode != NO_ERROR)
                << "reported as a clean stop";
        }
    }
}

// Only stopping is announced as accepted, so the control manager refuses a pause
// itself (ERROR_INVALID_SERVICE_CONTROL). An interrogation and a user-defined
// code do reach the handler, which answers ERROR_CALL_NOT_IMPLEMENTED inside the
// process; the control manager answers a plain handler's caller itself. None of
// them changes the service or its VM.
TEST(ServiceRun, ControlsOtherThanStopChangeNothing) {
    ServiceApp s("sleep=60000\n");
    KernelHandle vm;
    ASSERT_NO_FATAL_FAILURE(startUntilVmRuns(s, vm));

    EXPECT_EQ(s.service.control(SERVICE_CONTROL_PAUSE),
              static_cast<DWORD>(ERROR_INVALID_SERVICE_CONTROL));
    EXPECT_EQ(s.service.control(SERVICE_CONTROL_INTERROGATE), 0u);
    EXPECT_EQ(s.service.control(200), 0u);

    EXPECT_EQ(s.service.status().dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(WaitForSingleObject(vm.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(s.service.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

// A run sequence that finds no VM ends the service cleanly, with the failure in
// its exit codes, instead of leaving it starting for ever.
TEST(ServiceRun, RunWithoutVmReportsStoppedWithAServiceSpecificError) {
    ServiceApp s("");
    ASSERT_TRUE(s.service.created()) << GetLastError();
    s.app.writeKiv(kivNamingVm(s.app.root() + L"\\missing\\java.exe"));
    ASSERT_TRUE(s.service.start()) << GetLastError();

    ASSERT_TRUE(s.service.waitForState(SERVICE_STOPPED));
    const SERVICE_STATUS_PROCESS status = s.service.status();
    EXPECT_EQ(status.dwWin32ExitCode, static_cast<DWORD>(ERROR_SERVICE_SPECIFIC_ERROR));
    EXPECT_EQ(status.dwServiceSpecificExitCode, 1u);
    ASSERT_TRUE(s.service.processEnded());
    EXPECT_TRUE(s.vmRecords().empty());
}

// Outside the control manager the dispatcher cannot connect: the launcher ends
// at once and starts nothing. A name that does not fit the service table is
// refused before anything else happens.
TEST(ServiceSwitchFromConsole, EndsAtOnceWithoutStartingTheVm) {
    struct Case {
        const char* name;
        std::wstring serviceName;
        DWORD exitCode;
        std::string err;
    };
    const Case cases[] = {
        {"not started by the control manager", L"KivConsoleService", 0, ""},
        {"name of 300 characters", std::wstring(300, L'n'), 1,
         "Halvorn Error: the service name after -ydkivservice has 300 characters; at most 255 are "
         "allowed\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherApp app;
        const std::wstring vm = app.installVm(L"jdk\\bin");
        app.writeKiv(kivNamingVm(vm));
        ProgramRunOptions options;
        options.timeoutMs = kPollIntervalMs * kPollCount;

        const ProgramResult result = app.run(L"-ydkivservice " + c.serviceName, options);

        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(app.records(L"jdk\\bin").empty());
    }
}
