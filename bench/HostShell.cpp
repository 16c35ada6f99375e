#include "bench/HostShell.h"

#include "support/WinTest.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bench {

using wintest::Env;
using wintest::OutputPath;
using wintest::WaitUntil;

std::string HostOutputPath(const std::string &fileName)
{
    const std::wstring dir = Env(L"TEST_OUTPUT_DIR");
    if (dir.empty() || dir[0] != L'/') return std::string();
    return std::string(dir.begin(), dir.end()) + (dir.back() == L'/' ? "" : "/") + fileName;
}

OutFile::OutFile(const std::string &name)
    : windows(OutputPath(std::wstring(name.begin(), name.end()).c_str())),
      host(HostOutputPath(name))
{
}

bool HostShellAvailable()
{
    return !HostOutputPath("x").empty() &&
           GetFileAttributesW(L"Z:\\bin\\sh") != INVALID_FILE_ATTRIBUTES;
}

std::string ShellQuote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int RunOnHost(const std::string &script, std::string *output, DWORD timeoutMs)
{
    static int counter = 0;
    if (!HostShellAvailable()) return -1;
    const OutFile sh("host-" + std::to_string(GetCurrentProcessId()) + "-" +
                     std::to_string(++counter) + ".sh"),
        out(sh.host.substr(sh.host.rfind('/') + 1) + ".out"),
        rc(sh.host.substr(sh.host.rfind('/') + 1) + ".rc");
    std::ofstream(sh.windows.c_str(), std::ios::binary)
        << "export PATH=/usr/bin:/bin\n( " << script << "\n) >" << ShellQuote(out.host)
        << " 2>&1\necho $? >" << ShellQuote(rc.host + ".tmp") << " && mv "
        << ShellQuote(rc.host + ".tmp") << " " << ShellQuote(rc.host) << "\n";
    std::wstring line = L"sh \"" + std::wstring(sh.host.begin(), sh.host.end()) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!WaitUntil(
            [&] { return GetFileAttributesW(rc.windows.c_str()) != INVALID_FILE_ATTRIBUTES; },
            timeoutMs))
        return -1;
    std::ostringstream text, status;
    text << std::ifstream(out.windows.c_str(), std::ios::binary).rdbuf();
    status << std::ifstream(rc.windows.c_str()).rdbuf();
    if (output) *output = text.str();
    for (const OutFile *file : {&sh, &out, &rc})
        DeleteFileW(file->windows.c_str());
    return std::atoi(status.str().c_str());
}

} // namespace bench
