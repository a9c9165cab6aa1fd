#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "settings/Paths_win.h"
#include "support/TestFolder_win.h"

using namespace WorkSpace;
using WorkSpace::Testing::ReadBytes;
using WorkSpace::Testing::TestFolder;

namespace {

constexpr const wchar_t* kReportVariable = L"VELTRANO_REPORT_SETTINGS_PATH";

// Started again by the test below with another program name, this binary
// writes the settings path it worked out into the named file and ends before
// any test runs.
const bool kReportedSettingsPath = [] {
    wchar_t report[MAX_PATH] = {};
    if (GetEnvironmentVariableW(kReportVariable, report, MAX_PATH) == 0) return false;
    const std::wstring path = SettingsFilePath();
    HANDLE file = CreateFileW(report, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    WriteFile(file, path.data(), DWORD(path.size() * sizeof(wchar_t)), &put, nullptr);
    CloseHandle(file);
    ExitProcess(0);
}();

std::wstring ModuleFile() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return name;
}

// Starts this binary with `commandLine` in `folder` and returns the settings
// path it reported.
std::wstring ReportedPath(const std::wstring& commandLine, const std::wstring& folder, const TestFolder& out) {
    const std::wstring report = out.File(L"report.txt");
    DeleteFileW(report.c_str());
    SetEnvironmentVariableW(kReportVariable, report.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    const bool started = CreateProcessW(ModuleFile().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    SetEnvironmentVariableW(kReportVariable, nullptr);
    if (!started) return L"<not started>";
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string bytes = ReadBytes(report);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

}  // namespace

TEST(SettingsPath, ShortOrRelativeProgramNamesStillNameTheFileBesideTheSaver) {
    ASSERT_FALSE(kReportedSettingsPath);
    TestFolder out;
    const std::wstring module = ModuleFile();
    const std::wstring folder = ModuleDirectory();
    const std::wstring name = module.substr(folder.size());
    const std::wstring expected = folder + name.substr(0, name.size() - 3) + L"scr.settings";
    const std::wstring parent = folder.substr(0, folder.find_last_of(L'\\', folder.size() - 2) + 1);
    const std::wstring leaf = folder.substr(parent.size());
    struct Case { std::wstring commandLine; std::wstring folder; };
    const Case cases[] = {
        {L"\"" + module + L"\" /s", folder},  // the full path, as the platform starts savers
        {L"x /s", folder},                    // too short to cut: the module's own name
        {L"\"\" /s", parent},
        {name + L" /s", folder},              // relative: fixed against the folder it started in
        {leaf + name + L" /c", parent},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReportedPath(c.commandLine, c.folder, out), expected)
            << std::string(c.commandLine.begin(), c.commandLine.end());
    }
}
