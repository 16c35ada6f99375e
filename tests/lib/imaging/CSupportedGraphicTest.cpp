#include "imaging/CSupportedGraphic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Group = CSupportedGraphic::SupportedType;
const Group Graphic = CSupportedGraphic::GraphicFormats, Mandel = CSupportedGraphic::MandelFormat,
            All = CSupportedGraphic::AllFormats, NoGroup = Group(3);
using Texts = std::vector<std::wstring>;

// The pieces of a double-null-terminated filter, and its whole length.
Texts Pieces(const wchar_t *filter, size_t *length = nullptr)
{
    Texts pieces;
    const wchar_t *p = filter;
    for (; *p; p += pieces.back().size() + 1)
        pieces.emplace_back(p);
    if (length) *length = size_t(p - filter) + 1;
    return pieces;
}

TEST(SupportedGraphic, DialogFiltersSaveNamesAndExtensions)
{
    CSupportedGraphic g;
    size_t length = 0;
    const Texts open = Pieces(g.GetLoadDlgFilter(Graphic), &length);
    EXPECT_EQ(length, 466u);
    ASSERT_EQ(open.size(), 22u);
    EXPECT_EQ(open[6] + L"|" + open[7],
              L"JPEG File Interchange Format (*.jpg;*.jpeg)|*.jpg;*.jpeg");
    EXPECT_EQ(open[20] + L"|" + open[21],
              L"Alle unterstützten Formate|"
              L"*.bmp;*.gif;*.ico;*.jpg;*.jpeg;*.png;*.ppm;*.raw;*.tga;*.tif;*.tiff;*.wmf");
    Pieces(g.GetLoadDlgFilter(All), &length);
    EXPECT_EQ(length, 497u);
    EXPECT_EQ(Pieces(g.GetLoadDlgFilter(Mandel)),
              (Texts{L"Mandelbrot (*.mab)", L"*.mab", L"Alle unterstützten Formate", L"*.mab"}));
    const Texts save = Pieces(g.GetSaveDlgFilter(Graphic));
    ASSERT_EQ(save.size(), 12u); // no combined entry
    EXPECT_EQ(save[4], L"JPEG File Interchange Format (*.jpg)");
    EXPECT_STREQ(g.GetLoadDlgFilter(NoGroup), L"");
    EXPECT_STREQ(g.GetSaveDlgFilter(NoGroup), L"");

    EXPECT_STREQ(g.GetNameForSave(Graphic, 2), L"JPEG File Interchange Format (*.jpg)");
    EXPECT_STREQ(g.GetNameForSave(Graphic, 6), L"");
    EXPECT_STREQ(g.GetNameForSave(Graphic, -1), L"");
    std::wstring extensions;
    for (int i = 0; i < 6; ++i)
        extensions += g.GetFileFilterForSave(Graphic, i);
    EXPECT_EQ(extensions, L".bmp.gif.jpg.png.tif.wmf");
    EXPECT_STREQ(g.GetFileFilterForSave(All, 6), L".mab");
    EXPECT_STREQ(g.GetFileFilterForSave(NoGroup, 0), L"");
}

TEST(SupportedGraphic, SaveNameCompletionAndPathTest)
{
    CSupportedGraphic g;
    EXPECT_STREQ(g.CheckSavefileName(Graphic, L"C:\\pics\\shot", 4), L"C:\\pics\\shot.png");
    EXPECT_STREQ(g.CheckSavefileName(Graphic, L"C:\\pics\\shot", 0), L"C:\\pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(Graphic, L"C:\\pics\\shot", 7), L"C:\\pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(Graphic, L"C:\\pics\\shot.bmp", 4), L"C:\\pics\\shot.bmp");
    EXPECT_STREQ(g.CheckSavefileName(Graphic, L"C:\\my.pics\\shot", 4), L"C:\\my.pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(Mandel, L"C:\\m", 1), L"C:\\m.mab");
    EXPECT_STREQ(g.CheckSavefileName(NoGroup, L"C:\\pics\\shot", 1), L"");
    // A name that cannot take its extension is refused, not cut.
    const std::wstring fits(255, L'a'), tooLong(256, L'a');
    EXPECT_EQ(std::wstring(g.CheckSavefileName(Graphic, fits.c_str(), 1)), fits + L".bmp");
    EXPECT_STREQ(g.CheckSavefileName(Graphic, tooLong.c_str(), 1), L"");

    const struct {
        Group group;
        const wchar_t *path;
        bool supported;
    } paths[] = {{Graphic, L"C:\\Bilder\\FOTO.JPEG", true},
                 {Graphic, L"C:\\a.b\\x.tiff", true},
                 {Graphic, L"FOTO.JPG", false},
                 {Graphic, L"C:\\Bilder.jpg\\FOTO", false},
                 {Graphic, L"C:\\Bilder\\x.jp", false},
                 {Graphic, L"C:\\Bilder\\set.mab", false},
                 {Mandel, L"C:\\Bilder\\set.mab", true},
                 {All, L"C:\\Bilder\\set.mab", true},
                 {NoGroup, L"C:\\Bilder\\x.png", false}};
    for (const auto &p : paths)
        EXPECT_EQ(g.IsSupportedFiletype(p.group, p.path), p.supported) << p.group << " " << p.path;
}

} // namespace
