// Running Linux programs (ImageMagick) from a test inside Wine, to check
// files with a reader that has nothing to do with Windows.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

// Unix path of a file in the test output folder (see OutputPath); empty
// when the harness set none.
std::string HostOutputPath(const std::string &fileName);

// Whether host programs can be run: under Wine with an output folder.
bool HostShellAvailable();

// Runs a /bin/sh script on the host and waits for it. Wine starts Linux
// programs but does not wait for them, so the script reports its end
// through a file in the output folder. Returns the exit status, or -1 when
// the script could not be started or did not end in time; stdout and stderr
// go to *output.
int RunOnHost(const std::string &script, std::string *output = nullptr, DWORD timeoutMs = 60000);

// A text in single quotes for the shell.
std::string ShellQuote(const std::string &text);

// An ASCII text as a wide one.
std::wstring Wide(const std::string &text);

// A file of the test output folder, seen from both sides.
struct OutFile {
    explicit OutFile(const std::string &name);
    std::wstring windows;
    std::string host;
};

} // namespace wintest
