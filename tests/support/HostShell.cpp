#include "support/HostShell.h"

#include "support/WinTest.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace wintest {

namespace {

std::string ReadFile(const std::wstring &path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string HostOutputPath(const std::string &fileName)
{
    const std::wstring dir = Env(L"TEST_OUTPUT_DIR");
    if (dir.empty() || dir[0] != L'/') return std::string();
    std::string unixDir(dir.begin(), dir.end());
    if (unixDir.back() != '/') unixDir += '/';
    return unixDir + fileName;
}

std::wstring Wide(const std::string &text)
{
    return std::wstring(text.begin(), text.end());
}

OutFile::OutFile(const std::string &name)
    : windows(OutputPath(Wide(name).c_str())), host(HostOutputPath(name))
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
    if (!HostShellAvailable()) return -1;
    static int counter = 0;
    const std::string base =
        "host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    const std::string scriptFile = base + ".sh", outFile = base + ".out", doneFile = base + ".rc";
    {
        std::ofstream out(OutputPath(Wide(scriptFile).c_str()).c_str(), std::ios::binary);
        out << "export PATH=/usr/bin:/bin\n"
            << "( " << script << "\n) >" << ShellQuote(HostOutputPath(outFile)) << " 2>&1\n"
            << "echo $? >" << ShellQuote(HostOutputPath(doneFile) + ".tmp") << " && mv "
            << ShellQuote(HostOutputPath(doneFile) + ".tmp") << " "
            << ShellQuote(HostOutputPath(doneFile)) << "\n";
        if (!out) return -1;
    }

    std::wstring commandLine = L"sh \"" + Wide(HostOutputPath(scriptFile)) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    const std::wstring done = OutputPath(Wide(doneFile).c_str());
    if (!WaitUntil([&] { return GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   timeoutMs))
        return -1;
    const std::wstring outPath = OutputPath(Wide(outFile).c_str());
    if (output) *output = ReadFile(outPath);
    const int status = std::atoi(ReadFile(done).c_str());
    DeleteFileW(done.c_str());
    DeleteFileW(outPath.c_str());
    DeleteFileW(OutputPath(Wide(scriptFile).c_str()).c_str());
    return status;
}

} // namespace wintest
