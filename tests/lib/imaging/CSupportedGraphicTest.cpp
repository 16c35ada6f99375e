#include "imaging/CSupportedGraphic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Group = CSupportedGraphic::SupportedType;
const Group Graphic = CSupportedGraphic::GraphicFormats, Mandel = CSupportedGraphic::MandelFormat,
            All = CSupportedGraphic::AllFormats, NoGroup = Group(3);

// The pieces of a double-null-terminated filter, and its whole length.
std::vector<std::wstring> Pieces(const wchar_t *filter, size_t *length = nullptr)
{
    std::vector<std::wstring> pieces;
    const wchar_t *p = filter;
    for (; *p; p += pieces.back().size() + 1)
        pieces.emplace_back(p);
    if (length) *length = size_t(p - filter) + 1;
    return pieces;
}

TEST(SupportedGraphic, DialogFilters)
{
    CSupportedGraphic g;
    size_t length = 0;
    const std::vector<std::wstring> open = Pieces(g.GetLoadDlgFilter(Graphic), &length);
    EXPECT_EQ(length, 466u);
    ASSERT_EQ(open.size(), 22u);
    EXPECT_EQ(open[6], L"JPEG File Interchange Format (*.jpg;*.jpeg)");
    EXPECT_EQ(open[7], L"*.jpg;*.jpeg");
    EXPECT_EQ(open[12], L"Raw Dateiformat (*.raw)");
    EXPECT_EQ(open[20], L"Alle unterstützten Formate");
    EXPECT_EQ(open[21],
              L"*.bmp;*.gif;*.ico;*.jpg;*.jpeg;*.png;*.ppm;*.raw;*.tga;*.tif;*.tiff;*.wmf");
    Pieces(g.GetLoadDlgFilter(All), &length);
    EXPECT_EQ(length, 497u);
    EXPECT_EQ(Pieces(g.GetLoadDlgFilter(Mandel)),
              (std::vector<std::wstring>{L"Mandelbrot (*.mab)", L"*.mab",
                                         L"Alle unterstützten Formate", L"*.mab"}));

    const std::vector<std::wstring> save = Pieces(g.GetSaveDlgFilter(Graphic));
    ASSERT_EQ(save.size(), 12u); // no combined entry
    EXPECT_EQ(save[4], L"JPEG File Interchange Format (*.jpg)");
    EXPECT_EQ(save[9], L"*.tif");
    EXPECT_STREQ(g.GetLoadDlgFilter(NoGroup), L"");
    EXPECT_STREQ(g.GetSaveDlgFilter(NoGroup), L"");
}

TEST(SupportedGraphic, SaveNamesAndExtensionsByIndex)
{
    CSupportedGraphic g;
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

TEST(SupportedGraphic, SaveNameCompletion)
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
}

TEST(SupportedGraphic, PathTest)
{
    CSupportedGraphic g;
    EXPECT_TRUE(g.IsSupportedFiletype(Graphic, L"C:\\Bilder\\FOTO.JPEG"));
    EXPECT_TRUE(g.IsSupportedFiletype(Graphic, L"C:\\a.b\\x.tiff"));
    EXPECT_FALSE(g.IsSupportedFiletype(Graphic, L"FOTO.JPG"));
    EXPECT_FALSE(g.IsSupportedFiletype(Graphic, L"C:\\Bilder.jpg\\FOTO"));
    EXPECT_FALSE(g.IsSupportedFiletype(Graphic, L"C:\\Bilder\\x.jp"));
    EXPECT_FALSE(g.IsSupportedFiletype(Graphic, L"C:\\Bilder\\set.mab"));
    EXPECT_TRUE(g.IsSupportedFiletype(Mandel, L"C:\\Bilder\\set.mab"));
    EXPECT_TRUE(g.IsSupportedFiletype(All, L"C:\\Bilder\\set.mab"));
    EXPECT_FALSE(g.IsSupportedFiletype(NoGroup, L"C:\\Bilder\\x.png"));
}

} // namespace
