#include "support/GdiCount.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

namespace {

HWND HolderWindow(DWORD processId)
{
    HWND found = nullptr;
    wintest::WaitUntil(
        [&] {
            for (HWND w = nullptr;
                 (w = FindWindowExW(HWND_MESSAGE, w, L"GdiHolder", nullptr)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == processId) return (found = w) != nullptr;
            }
            return false;
        },
        20000);
    return found;
}

} // namespace

TEST(GdiObjectCount, FollowsObjectsThatAnotherProcessCreatesAndDeletes)
{
    wintest::Program holder(wintest::BesideTestProgram(L"gdi_holder.exe"));
    ASSERT_TRUE(holder.Started());
    HWND window = HolderWindow(holder.Id());
    ASSERT_TRUE(window) << "gdi_holder exit code " << holder.WaitForExit(0) << " (259: running)";
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, holder.Id());
    ASSERT_TRUE(process);

    const int before = wintest::GdiObjectCount(process);
    const int own = wintest::GdiObjectCount();
    ASSERT_GT(before, 0);
    ASSERT_EQ(SendMessageW(window, WM_APP, 40, 0), 40);
    EXPECT_EQ(wintest::GdiObjectCount(process), before + 40);
    EXPECT_EQ(wintest::GdiObjectCount(), own) << "the other process's objects counted as ours";
    SendMessageW(window, WM_APP + 1, 0, 0);
    EXPECT_EQ(wintest::GdiObjectCount(process), before);

    CloseHandle(process);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(holder.WaitForExit(10000), 0u);
}

TEST(GdiObjectCount, WithoutReadAccessTheCountIsUnknown)
{
    wintest::Program holder(wintest::BesideTestProgram(L"gdi_holder.exe"));
    ASSERT_TRUE(HolderWindow(holder.Id()));
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, holder.Id());
    ASSERT_TRUE(process);
    EXPECT_EQ(wintest::GdiObjectCount(process), -1);
    CloseHandle(process);
}

TEST(GdiObjectCount, CountsThisProcessOwnObjectsAsBefore)
{
    const int before = wintest::GdiObjectCount();
    ASSERT_GT(before, 0);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(wintest::GdiObjectCount(), before + 1);
    DeleteObject(brush);
    EXPECT_EQ(wintest::GdiObjectCount(), before);
}
