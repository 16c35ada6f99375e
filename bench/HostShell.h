// Running Linux programs from a benchmark inside Wine, to read what only
// the host sees of a process.
#pragma once

#include <windows.h>

#include <string>

namespace bench {

// Unix path of a file in the output folder; whether host programs can run.
std::string HostOutputPath(const std::string &fileName);
bool HostShellAvailable();
// Runs a /bin/sh script on the host and waits for it (Wine does not wait
// for Linux programs: the script reports its end through a file). The exit
// status, or -1 when it did not start or end in time; stdout and stderr go
// to *output.
int RunOnHost(const std::string &script, std::string *output = nullptr, DWORD timeoutMs = 60000);
std::string ShellQuote(const std::string &text);

// A file of the test output folder, seen from both sides.
struct OutFile {
    explicit OutFile(const std::string &name);
    std::wstring windows;
    std::string host;
};

} // namespace bench
