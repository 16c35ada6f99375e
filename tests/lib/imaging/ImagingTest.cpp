#include "imaging/CImage.h"
#include "imaging/CSupportedGraphic.h"
#include "support/GdiCount.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const COLORREF R = RGB(255, 0, 0), G = RGB(0, 255, 0), B = RGB(0, 0, 255), Grey = RGB(9, 9, 9),
               W = RGB(255, 255, 255);
using Colours = std::vector<COLORREF>;
using Bytes = std::vector<BYTE>;

// All pixels as COLORREFs, top row first, whatever the depth and layout.
Colours Pixels(CImage &image)
{
    Colours pixels;
    for (DWORD p : wintest::BitmapPixels(image.GetHBitmap()).pixels)
        pixels.push_back(RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF));
    return pixels;
}

// An image of the given pixels, top row first.
bool Fill(CImage &image, int width, const Colours &pixels, int depth = 32)
{
    if (!image.CreateBitmap(nullptr, width, int(pixels.size()) / width, depth)) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.GetHBitmap());
    for (size_t i = 0; i < pixels.size(); ++i)
        SetPixelV(dc, int(i) % width, int(i) / width, pixels[i]);
    SelectObject(dc, old);
    DeleteDC(dc);
    return true;
}

TEST(Image, CopiesResourcesAndMasks)
{
    CImage original;
    original.SetBackColor(RGB(1, 2, 3));
    ASSERT_TRUE(Fill(original, 2, {R, G, B, Grey}));
    CImage copy(&original);
    EXPECT_EQ(copy.GetBackColor(), RGB(1, 2, 3));
    ASSERT_TRUE(copy.Cmd_SwitchImageHorizontal()); // upside down
    EXPECT_EQ(Pixels(copy), (Colours{B, Grey, R, G}));
    EXPECT_EQ(Pixels(original), (Colours{R, G, B, Grey}));
    copy = original;
    EXPECT_EQ(Pixels(copy), (Colours{R, G, B, Grey}));
    EXPECT_FALSE(copy.CreateBitmap(nullptr, 0, 3, 32) || copy.GetHBitmap()) << "the old one goes";
    EXPECT_FALSE(copy.Cmd_SwitchImageHorizontal() || copy.Cmd_SetImageMonochrome());

    // 4 x 2 (ImagingTest.rc): red top-left, green bottom-right, blue elsewhere.
    for (auto r : {std::make_pair(L"BITMAP", 1), {L"TGA", 2}, {L"GIF", 4}}) {
        CImage image;
        ASSERT_TRUE(image.LoadFromResource(r.first, r.second)) << r.second;
        EXPECT_EQ(Pixels(image), (Colours{R, B, B, B, B, B, B, G})) << r.second;
    }
    CImage png;
    EXPECT_TRUE(png.LoadFromResource(L"png", 3) && !png.GetHBitmap()) << "read only";

    // The key's red meets a pixel's first byte (blue), and so on: RGB(40, 0, 0)
    // matches RGB(0, 30, 70) within 30, not RGB(0, 0, 71). 24-bit rows get padded.
    const COLORREF key = RGB(40, 0, 0), hit = RGB(0, 30, 70), miss = RGB(0, 0, 71),
                   back = RGB(200, 128, 0);
    const Colours pixels = {hit, miss, W, miss, W, hit};
    const Colours swapped = {RGB(70, 30, 0), RGB(71, 0, 0), W, RGB(71, 0, 0), W, RGB(70, 30, 0)};
    const int gdiObjects = wintest::GdiObjectCount();
    // 24 bits, 32 bits, and 32 bits with a fourth byte of 0xFF, which must not decide.
    for (int source = 0; source < 3; ++source)
        for (bool invert : {false, true}) {
            CImage painted, mask;
            for (CImage *image : {&painted, &mask})
                ASSERT_TRUE(source < 2 ? Fill(*image, 3, pixels, source ? 32 : 24)
                                       : Fill(*image, 3, swapped) &&
                                             image->Cmd_ConvertImagefromBGRtoRGB());
            painted.SetBackColor(back);
            painted.Cmd_MaskImage(key, 30, invert);
            mask.Cmd_CreateImageMask(key, 30, invert);
            Colours expected, blackAndWhite;
            for (COLORREF c : pixels) {
                expected.push_back((c == hit) != invert ? back : c);
                blackAndWhite.push_back((c == hit) != invert ? 0 : W);
            }
            EXPECT_EQ(Pixels(painted), expected) << source << " " << invert;
            EXPECT_EQ(Pixels(mask), blackAndWhite) << source << " " << invert;
        }
    EXPECT_EQ(wintest::GdiObjectCount(), gdiObjects);
}

// A TGA file: header, identification field, colour map (from index `first`) and body.
Bytes Tga(int type, int width, int height, int bits, const Bytes &body, BYTE descriptor = 0,
          const std::string &id = "", const Bytes &map = {}, int first = 0)
{
    Bytes file(18 + id.size() + map.size() + body.size(), 0);
    file[0] = BYTE(id.size()), file[1] = !map.empty(), file[2] = BYTE(type);
    file[7] = 24, file[16] = BYTE(bits), file[17] = descriptor;
    const int entries = int(map.size()) / 3;
    for (auto word : {std::make_pair(3, first), {5, entries}, {12, width}, {14, height}})
        file[word.first] = BYTE(word.second), file[word.first + 1] = BYTE(word.second >> 8);
    std::copy(id.begin(), id.end(), file.begin() + 18);
    std::copy(map.begin(), map.end(), file.begin() + 18 + long(id.size()));
    std::copy(body.begin(), body.end(), file.end() - long(body.size()));
    return file;
}

bool Load(CImage &image, const Bytes &bytes)
{
    const std::wstring path = wintest::OutputPath(L"crafted.tga");
    std::ofstream(path.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return image.Load(path.c_str());
}

TEST(ImageFiles, TgaDecodingSavesAndNames)
{
    // 3 x 2, bottom line first: red green blue / grey grey white. RLE
    // packets: raw 4 (across the line end), run 1, and a run of 6 of which
    // only one pixel is still needed. The colour map holds the indices 2 to
    // 5: red, green, blue, grey (white is replaced by red there).
    const Bytes raw = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9, 9, 9, 9, 255, 255, 255},
                rle = {3, 0, 0,    255, 0, 255, 0,    255, 0,   0,  9,
                       9, 9, 0x80, 9,   9, 9,   0x85, 255, 255, 255},
                map = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};
    const std::pair<Bytes, Colours> good[] = {
        {Tga(2, 3, 2, 24, raw, 0, "made by hand"), {Grey, Grey, W, R, G, B}},
        {Tga(10, 3, 2, 24, rle), {Grey, Grey, W, R, G, B}},
        {Tga(2, 3, 2, 24, raw, 0x30), {B, G, R, W, Grey, Grey}}, // from the top right
        {Tga(1, 3, 2, 8, {2, 3, 4, 5, 5, 2}, 0, "palette", map, 2), {Grey, Grey, R, R, G, B}},
        {Tga(9, 3, 2, 8, {2, 2, 3, 4, 0x81, 5, 0, 2}, 0, "x", map, 2), {Grey, Grey, R, R, G, B}},
        {Tga(2, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8}), {RGB(3, 2, 1), RGB(7, 6, 5)}}};
    for (const auto &c : good) {
        CImage image;
        ASSERT_TRUE(Load(image, c.first)) << &c - good;
        EXPECT_EQ(Pixels(image), c.second) << &c - good;
        EXPECT_EQ(image.GetDepth(), c.first[16] == 32 ? 32 : 24) << &c - good;
    }
    Bytes idPastTheEnd = Tga(2, 1, 1, 24, {1, 2, 3});
    idPastTheEnd[0] = 200;
    const std::pair<const char *, Bytes> bad[] = {
        {"one byte short", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5})},
        {"RLE runs out", Tga(10, 3, 1, 24, {0x81, 1, 2, 3})},
        {"huge claim", Tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4})},
        {"id past the end", idPastTheEnd},
        {"index beyond the map", Tga(1, 2, 1, 8, {1, 2}, 0, "", {1, 2, 3, 4, 5, 6})},
        {"index below the map", Tga(9, 2, 1, 8, {0x81, 0}, 0, "", {1, 2, 3, 4, 5, 6}, 1)},
        {"empty file", {}}};
    for (const auto &c : bad) {
        CImage image;
        ASSERT_TRUE(image.CreateBitmap(nullptr, 2, 2, 32));
        EXPECT_FALSE(Load(image, c.second) || image.GetHBitmap()) << c.first;
    }

    CImage image;
    ASSERT_TRUE(image.LoadFromResource(L"BITMAP", 1));
    // Save makes the folder and fills in fields; other types become Windows
    // bitmaps. The ctest step after this test reads the files with ImageMagick.
    const std::wstring folder = wintest::OutputPath(L"saved-images\\deeper");
    ASSERT_TRUE(image.Save(folder.c_str(), L"S{0}.png") && image.Save(folder.c_str(), L"S{0}.png"));
    const std::pair<const wchar_t *, std::string> saves[] = {
        {L"p.bmp", "BM"},      {L"p.gif", "GIF8"},         {L"UPPER.PNG", "\x89PNG"},
        {L"p.tif", "II*"},     {L"p.jpg", "\xFF\xD8\xFF"}, {L"p.wmf", "BM"},
        {L"S2.png", "\x89PNG"}};
    for (const auto &c : saves) {
        const std::wstring path = folder + L"\\" + c.first;
        EXPECT_TRUE(c.first[0] == L'S' || image.Save(folder.c_str(), c.first)) << c.first;
        std::string head(4, '\0');
        std::ifstream(path.c_str(), std::ios::binary).read(&head[0], 4);
        EXPECT_EQ(head.substr(0, c.second.size()), c.second) << c.first;
    }
    for (const wchar_t *name : {L"p.bmp", L"p.gif"}) { // through LoadImage and OLE
        CImage back;
        ASSERT_TRUE(back.Load((folder + L"\\" + name).c_str()));
        EXPECT_EQ(Pixels(back), Pixels(image)) << name;
    }
    EXPECT_FALSE(image.Load((folder + L"\\UPPER.PNG").c_str())) << "read into memory only";
    EXPECT_FALSE(image.Load((L"C:\\" + std::wstring(300, L'a') + L".bmp").c_str()));
    using SG = CSupportedGraphic;
    SG g;
    std::wstring supported;
    EXPECT_STREQ(g.CheckSavefileName(SG::GraphicFormats, L"C:\\pics\\x", 4), L"C:\\pics\\x.png");
    EXPECT_STREQ(g.CheckSavefileName(SG::GraphicFormats, std::wstring(256, L'a').c_str(), 1), L"");
    for (const wchar_t *path : {L"C:\\A\\FOTO.JPEG", L"C:\\a.b\\x.tiff", L"FOTO.JPG",
                                L"C:\\A.jpg\\FOTO", L"C:\\x.jp", L"C:\\set.mab"})
        supported += g.IsSupportedFiletype(SG::GraphicFormats, path) ? L'+' : L'-';
    EXPECT_EQ(supported, L"++----");
    EXPECT_TRUE(g.IsSupportedFiletype(SG::AllFormats, L"C:\\set.mab"));
}

} // namespace
