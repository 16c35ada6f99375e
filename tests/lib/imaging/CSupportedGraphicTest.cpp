#include "imaging/CSupportedGraphic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Group = CSupportedGraphic::SupportedType;
const Group NoGroup = Group(3);

// The pieces of a double-null-terminated filter, and its whole length.
std::vector<std::wstring> Pieces(const wchar_t *filter, size_t *length = nullptr)
{
    std::vector<std::wstring> pieces;
    const wchar_t *p = filter;
    while (*p) {
        pieces.emplace_back(p);
        p += pieces.back().size() + 1;
    }
    if (length) *length = size_t(p - filter) + 1;
    return pieces;
}

TEST(SupportedGraphic, CountsPerGroup)
{
    CSupportedGraphic g;
    EXPECT_EQ(g.CountTypesForLoad(CSupportedGraphic::AllFormats), 11);
    EXPECT_EQ(g.CountTypesForLoad(CSupportedGraphic::GraphicFormats), 10);
    EXPECT_EQ(g.CountTypesForLoad(CSupportedGraphic::MandelFormat), 1);
    EXPECT_EQ(g.CountTypesForSave(CSupportedGraphic::AllFormats), 7);
    EXPECT_EQ(g.CountTypesForSave(CSupportedGraphic::GraphicFormats), 6);
    EXPECT_EQ(g.CountTypesForSave(NoGroup), 0);
    EXPECT_EQ(g.CountTypesForLoad(NoGroup), 0);
}

TEST(SupportedGraphic, OpenFilterListsEveryTypeThenTheCombinedPattern)
{
    CSupportedGraphic g;
    size_t length = 0;
    const std::vector<std::wstring> expected = {
        L"Windows Bitmap (*.bmp)",
        L"*.bmp",
        L"Graphics Interchange (*.gif)",
        L"*.gif",
        L"Windows Icon (*.ico)",
        L"*.ico",
        L"JPEG File Interchange Format (*.jpg;*.jpeg)",
        L"*.jpg;*.jpeg",
        L"Portable Network Graphics (*.png)",
        L"*.png",
        L"Portable Pixelmap (*.ppm)",
        L"*.ppm",
        L"Raw Dateiformat (*.raw)",
        L"*.raw",
        L"Truevision Targa (*.tga)",
        L"*.tga",
        L"Tagged Image Fileformat (*.tif;*.tiff)",
        L"*.tif;*.tiff",
        L"Windows Metafile (*.wmf)",
        L"*.wmf",
        L"Alle unterstützten Formate",
        L"*.bmp;*.gif;*.ico;*.jpg;*.jpeg;*.png;*.ppm;*.raw;*.tga;*.tif;*.tiff;*.wmf"};
    EXPECT_EQ(Pieces(g.GetLoadDlgFilter(CSupportedGraphic::GraphicFormats), &length), expected);
    EXPECT_EQ(length, 466u);

    const std::vector<std::wstring> all =
        Pieces(g.GetLoadDlgFilter(CSupportedGraphic::AllFormats), &length);
    EXPECT_EQ(length, 497u);
    ASSERT_EQ(all.size(), 24u);
    EXPECT_EQ(all[20], L"Mandelbrot (*.mab)");
    EXPECT_EQ(all[23].substr(all[23].size() - 6), L";*.mab");

    EXPECT_EQ(Pieces(g.GetLoadDlgFilter(CSupportedGraphic::MandelFormat)),
              (std::vector<std::wstring>{L"Mandelbrot (*.mab)", L"*.mab",
                                         L"Alle unterstützten Formate", L"*.mab"}));
    EXPECT_STREQ(g.GetLoadDlgFilter(NoGroup), L"");
}

TEST(SupportedGraphic, SaveFilterNamesAndExtensions)
{
    CSupportedGraphic g;
    EXPECT_EQ(Pieces(g.GetSaveDlgFilter(CSupportedGraphic::GraphicFormats)),
              (std::vector<std::wstring>{L"Windows Bitmap (*.bmp)", L"*.bmp",
                                         L"Graphics Interchange (*.gif)", L"*.gif",
                                         L"JPEG File Interchange Format (*.jpg)", L"*.jpg",
                                         L"Portable Network Graphics (*.png)", L"*.png",
                                         L"Tagged Image Fileformat (*.tif)", L"*.tif",
                                         L"Windows Metafile (*.wmf)", L"*.wmf"}));
    EXPECT_STREQ(g.GetSaveDlgFilter(NoGroup), L"");

    EXPECT_STREQ(g.GetNameForSave(CSupportedGraphic::GraphicFormats, 2),
                 L"JPEG File Interchange Format (*.jpg)");
    EXPECT_STREQ(g.GetNameForSave(CSupportedGraphic::GraphicFormats, 6), L"");
    EXPECT_STREQ(g.GetNameForSave(CSupportedGraphic::GraphicFormats, -1), L"");
    const wchar_t *byIndex[] = {L".bmp", L".gif", L".jpg", L".png", L".tif", L".wmf"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(g.GetFileFilterForSave(CSupportedGraphic::GraphicFormats, i), byIndex[i]);
    EXPECT_STREQ(g.GetFileFilterForSave(CSupportedGraphic::AllFormats, 6), L".mab");
    EXPECT_STREQ(g.GetFileFilterForSave(CSupportedGraphic::GraphicFormats, 6), L"");
    EXPECT_STREQ(g.GetFileFilterForSave(NoGroup, 0), L"");
}

TEST(SupportedGraphic, SaveNameCompletion)
{
    CSupportedGraphic g;
    const Group graphic = CSupportedGraphic::GraphicFormats;
    EXPECT_STREQ(g.CheckSavefileName(graphic, L"C:\\pics\\shot", 4), L"C:\\pics\\shot.png");
    EXPECT_STREQ(g.CheckSavefileName(graphic, L"C:\\pics\\shot", 0), L"C:\\pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(graphic, L"C:\\pics\\shot", 7), L"C:\\pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(graphic, L"C:\\pics\\shot.bmp", 4), L"C:\\pics\\shot.bmp");
    EXPECT_STREQ(g.CheckSavefileName(graphic, L"C:\\my.pics\\shot", 4), L"C:\\my.pics\\shot");
    EXPECT_STREQ(g.CheckSavefileName(CSupportedGraphic::MandelFormat, L"C:\\m", 1), L"C:\\m.mab");
    EXPECT_STREQ(g.CheckSavefileName(NoGroup, L"C:\\pics\\shot", 1), L"");

    // A name that cannot take its extension is refused, not cut.
    const std::wstring fits(255, L'a'), tooLong(256, L'a');
    EXPECT_EQ(std::wstring(g.CheckSavefileName(graphic, fits.c_str(), 1)), fits + L".bmp");
    EXPECT_STREQ(g.CheckSavefileName(graphic, tooLong.c_str(), 1), L"");
}

TEST(SupportedGraphic, PathTest)
{
    CSupportedGraphic g;
    const Group graphic = CSupportedGraphic::GraphicFormats;
    EXPECT_TRUE(g.IsSupportedFiletype(graphic, L"C:\\Bilder\\FOTO.JPEG"));
    EXPECT_TRUE(g.IsSupportedFiletype(graphic, L"C:\\a.b\\x.tiff"));
    EXPECT_FALSE(g.IsSupportedFiletype(graphic, L"FOTO.JPG"));
    EXPECT_FALSE(g.IsSupportedFiletype(graphic, L"C:\\Bilder\\FOTO"));
    EXPECT_FALSE(g.IsSupportedFiletype(graphic, L"C:\\Bilder.jpg\\FOTO"));
    EXPECT_FALSE(g.IsSupportedFiletype(graphic, L"C:\\Bilder\\x.jp"));
    EXPECT_FALSE(g.IsSupportedFiletype(graphic, L"C:\\Bilder\\set.mab"));
    EXPECT_TRUE(g.IsSupportedFiletype(CSupportedGraphic::MandelFormat, L"C:\\Bilder\\set.mab"));
    EXPECT_FALSE(g.IsSupportedFiletype(CSupportedGraphic::MandelFormat, L"C:\\Bilder\\x.png"));
    EXPECT_TRUE(g.IsSupportedFiletype(CSupportedGraphic::AllFormats, L"C:\\Bilder\\set.mab"));
    EXPECT_FALSE(g.IsSupportedFiletype(NoGroup, L"C:\\Bilder\\x.png"));
}

} // namespace
