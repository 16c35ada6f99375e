// The real Tempulo.exe started on settings that another program or an
// older version left: it shows a face of a sane size, its dialog opens, and
// what it writes at the end is a clean tree.
#include "DialogDriver.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

struct Raw {
    const wchar_t *sub, *name;
    DWORD type;
    std::vector<BYTE> data;
};

Raw Dword(const wchar_t *sub, const wchar_t *name, DWORD value)
{
    const BYTE *p = (const BYTE *)&value;
    return {sub, name, REG_DWORD, {p, p + 4}};
}

Raw Bytes(const wchar_t *sub, const wchar_t *name, DWORD type, const std::wstring &text)
{
    const BYTE *p = (const BYTE *)text.data();
    return {sub, name, type, {p, p + text.size() * 2}}; // no terminator
}

TEST(HostileSettings, TheProgramStartsSaneAndWritesACleanTree)
{
    const std::wstring key = TEMPULO_KEY;
    const struct {
        const char *what;
        std::vector<Raw> values;
        // The face as a multiple of the default one; 0: no larger than the
        // largest digit face.
        int scale;
    } cases[] = {
        {"absurd zoom and tab",
         {Dword(L"Common", L"Zoom", 1000000), Dword(L"Common", L"TabIndex", 99)},
         5},
        {"wrong types everywhere",
         {Bytes(L"Option", L"FormatNo", REG_SZ, L"3"), Bytes(L"Basis", L"Tag", REG_BINARY, L"x"),
          Dword(L"Action", L"PrntScrnPath", 7), Bytes(L"Font", L"FaceName", REG_BINARY, L"Arial"),
          Dword(L"Action", L"ExtensionNo", 0xFFFFFFF0), Dword(L"Action", L"Event", 9)},
         1},
        {"a giant font without its terminator",
         {Dword(L"Option", L"FontType", 3), Dword(L"Font", L"Height", (DWORD)-1000000),
          Bytes(L"Font", L"FaceName", REG_SZ, L"Courier New")},
         0},
    };
    ResetTempuloSettings();
    SIZE normal;
    {
        Tempulo tempulo;
        const RECT r = tempulo.Rect();
        normal = {r.right - r.left, r.bottom - r.top};
        EXPECT_EQ(tempulo.Exit(), 0u);
    }
    for (const auto &c : cases) {
        ResetTempuloSettings();
        for (const Raw &v : c.values)
            WriteRaw(key + L"\\" + v.sub, v.name, v.type, v.data.data(), (DWORD)v.data.size());
        Tempulo tempulo;
        ASSERT_NE(tempulo.window, nullptr) << c.what;
        const RECT r = tempulo.Rect();
        if (c.scale) {
            EXPECT_EQ(r.right - r.left, c.scale * normal.cx) << c.what;
            EXPECT_EQ(r.bottom - r.top, c.scale * normal.cy) << c.what;
        } else {
            EXPECT_GT(r.right - r.left, normal.cx) << c.what << ": a face of the big font";
            EXPECT_LE(r.right - r.left, 5 * normal.cx) << c.what;
            EXPECT_LE(r.bottom - r.top, 5 * normal.cy) << c.what;
        }
        // The dialog opens on a page it has.
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr) << c.what;
        EXPECT_TRUE(IsWindowVisible(dialog.pages[0])) << c.what;
        EXPECT_TRUE(dialog.Close(IDCANCEL));
        EXPECT_EQ(tempulo.Exit(), 0u) << c.what;

        // Every value written back in its own form: a terminated text or a
        // number of four bytes.
        for (const Raw &v : c.values) {
            const RawValue stored = ReadRaw(key + L"\\" + v.sub, v.name);
            const bool text = !wcscmp(v.name, L"FaceName") || !wcscmp(v.name, L"PrntScrnPath");
            EXPECT_EQ(stored.type, text ? (DWORD)REG_SZ : (DWORD)REG_DWORD) << c.what;
            EXPECT_TRUE(text ? stored.data.size() >= 2 && !stored.data.back() &&
                                   !stored.data[stored.data.size() - 2]
                             : stored.data.size() == 4)
                << c.what;
        }
    }
    EXPECT_EQ(ReadTempuloSetting(L"Common", L"Zoom"), 1) << "the last start had no zoom";
    ResetTempuloSettings();
}

} // namespace
