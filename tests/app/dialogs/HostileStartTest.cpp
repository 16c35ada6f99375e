// The real Tempulo.exe started on settings that another program or an
// older version left: a face of a sane size, a dialog on a page it has, and
// a clean tree written at the end.
#include "DialogDriver.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>

using namespace wintest;

TEST(HostileSettings, TheProgramStartsSaneAndWritesACleanTree)
{
    struct Raw {
        const wchar_t *sub, *name;
        DWORD type;
        std::wstring bytes; // the data, without a terminator
    };
    auto dword = [](DWORD v) { return std::wstring((const wchar_t *)&v, 2); };
    const struct {
        const char *what;
        std::vector<Raw> values;
        int scale; // the face against the default one; 0: no larger than the largest
    } cases[] = {
        {"absurd zoom and tab",
         {{L"Common", L"Zoom", REG_DWORD, dword(1000000)},
          {L"Common", L"TabIndex", REG_DWORD, dword(99)}},
         5},
        {"wrong types",
         {{L"Option", L"FormatNo", REG_SZ, L"3"},
          {L"Basis", L"Tag", REG_BINARY, L"x"},
          {L"Action", L"PrntScrnPath", REG_DWORD, dword(7)},
          {L"Action", L"ExtensionNo", REG_DWORD, dword(0xFFFFFFF0)},
          {L"Action", L"Event", REG_DWORD, dword(9)}},
         1},
        {"a giant font without a terminator",
         {{L"Option", L"FontType", REG_DWORD, dword(3)},
          {L"Font", L"Height", REG_DWORD, dword((DWORD)-1000000)},
          {L"Font", L"FaceName", REG_SZ, L"Courier New"}},
         0},
    };
    ResetTempuloSettings();
    RECT normal = Tempulo(L"").Rect();
    const SIZE face = {normal.right - normal.left, normal.bottom - normal.top};
    for (const auto &c : cases) {
        ResetTempuloSettings();
        for (const Raw &v : c.values)
            WriteRaw(std::wstring(TEMPULO_KEY) + L"\\" + v.sub, v.name, v.type, v.bytes.data(),
                     DWORD(v.bytes.size() * 2));
        Tempulo tempulo;
        ASSERT_NE(tempulo.window, nullptr) << c.what;
        const RECT r = tempulo.Rect();
        const int scale = c.scale ? c.scale : 5;
        EXPECT_TRUE(c.scale ? r.right - r.left == scale * face.cx : r.right - r.left > face.cx)
            << c.what;
        EXPECT_LE(r.right - r.left, scale * face.cx) << c.what;
        EXPECT_LE(r.bottom - r.top, scale * face.cy) << c.what;
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr) << c.what;
        EXPECT_TRUE(IsWindowVisible(dialog.pages[0])) << c.what;
        EXPECT_TRUE(dialog.Close(IDCANCEL));
        EXPECT_EQ(tempulo.Exit(), 0u) << c.what;
        // Each value back in its own form: a terminated text or four bytes.
        for (const Raw &v : c.values) {
            const RawValue stored = ReadRaw(std::wstring(TEMPULO_KEY) + L"\\" + v.sub, v.name);
            const bool text = !wcscmp(v.name, L"FaceName") || !wcscmp(v.name, L"PrntScrnPath");
            EXPECT_EQ(stored.type, text ? (DWORD)REG_SZ : (DWORD)REG_DWORD) << c.what;
            EXPECT_TRUE(text ? stored.data.size() >= 2 && !stored.data.back() &&
                                   !stored.data[stored.data.size() - 2]
                             : stored.data.size() == 4)
                << c.what;
        }
    }
    ResetTempuloSettings();
}
