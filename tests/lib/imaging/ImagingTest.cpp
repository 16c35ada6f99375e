// The library's bitmap object and image files: pixel commands, drawing and
// capture; TGA files made by hand and by ImageMagick, every format saved and
// read back by ImageMagick, files and resources of other writers.
#include "imaging/CImage.h"
#include "imaging/CImageCommands.h"
#include "imaging/CSupportedGraphic.h"
#include "support/GdiCount.h"
#include "support/HostShell.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

using wintest::OutFile;

namespace {

const COLORREF R = RGB(255, 0, 0), G = RGB(0, 255, 0), B = RGB(0, 0, 255), Grey = RGB(9, 9, 9),
               W = RGB(255, 255, 255);
using Colours = std::vector<COLORREF>;
using Bytes = std::vector<BYTE>;

// All pixels as COLORREFs, top row first, whatever the depth and layout.
Colours Pixels(HBITMAP bitmap)
{
    Colours pixels;
    for (DWORD p : wintest::BitmapPixels(bitmap).pixels)
        pixels.push_back(RGB(p >> 16, p >> 8 & 0xFF, p & 0xFF));
    return pixels;
}

// The bitmap's bytes as GetBitmapBits gives them (top row first, rows
// padded to a WORD).
Bytes Bits(HBITMAP bitmap)
{
    BITMAP bm = {};
    GetObjectW(bitmap, sizeof(bm), &bm);
    Bytes bytes(((size_t(bm.bmWidth) * bm.bmBitsPixel + 15) / 16) * 2 * bm.bmHeight);
    GetBitmapBits(bitmap, LONG(bytes.size()), bytes.data());
    return bytes;
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

TEST(Image, CopiesOwnTheirPixelsAndAFailedCreationLeavesNoBitmap)
{
    CImage original;
    original.SetBackColor(RGB(1, 2, 3));
    ASSERT_TRUE(Fill(original, 2, {R, G, B, Grey}));
    CImage copy(&original);
    EXPECT_EQ(copy.GetBackColor(), RGB(1, 2, 3));
    ASSERT_TRUE(copy.Cmd_SwitchImageHorizontal()); // upside down
    EXPECT_EQ(Pixels(copy.GetHBitmap()), (Colours{B, Grey, R, G}));
    EXPECT_EQ(Pixels(original.GetHBitmap()), (Colours{R, G, B, Grey}));
    ASSERT_TRUE(original.Cmd_SetImageMonochrome());
    copy = original; // a 1-bit copy keeps its two colours
    EXPECT_EQ(Bits(copy.GetHBitmap()), Bits(original.GetHBitmap()));
    EXPECT_EQ(copy.GetDepth(), 1);

    EXPECT_FALSE(copy.CreateBitmap(nullptr, 0, 3, 32) || copy.GetHBitmap()) << "the old one goes";
    EXPECT_FALSE(copy.Cmd_SwitchImageHorizontal() || copy.Cmd_SetImageMonochrome());
}

TEST(Image, DrawsZoomedAndStretched)
{
    CImage image, canvas;
    image.SetBackColor(R);
    ASSERT_TRUE(image.CreateBitmap(nullptr, 101, 51, 32) &&
                canvas.CreateBitmap(nullptr, 300, 200, 32));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, canvas.GetHBitmap());
    // 50 x 25 at (10, 20): the size times the factor, truncated; then a
    // stretch to (200, 100)-(220, 110).
    ASSERT_TRUE(image.DrawBitmap(dc, 10, 20, 0.5) &&
                image.StretchBitmap(dc, RECT{200, 100, 220, 110}));
    Colours seen;
    for (POINT p : {POINT{10, 20}, {59, 44}, {60, 44}, {59, 45}, {9, 20}, {219, 109}, {220, 109}})
        seen.push_back(GetPixel(dc, p.x, p.y));
    EXPECT_EQ(seen, (Colours{R, R, 0, 0, 0, R, 0}));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST(Image, MaskPaintsTheBackgroundWhereTheColourBytesMatchTheKey)
{
    // (10, 30, 25) lies within 30 of black, (0, 0, 31) and white do not; 3 x 2
    // so that 24-bit rows are padded.
    const COLORREF key = RGB(10, 30, 25), kept = RGB(0, 0, 31), white = RGB(255, 255, 255);
    const Colours pixels = {key, kept, white, kept, white, key},
                  swapped = {RGB(25, 30, 10), RGB(31, 0, 0), white,
                             RGB(31, 0, 0),   white,         RGB(25, 30, 10)};
    // The fourth byte of 32-bit pixels (alpha, or whatever the source left
    // there; 0xFF after the exchange) must not decide.
    const std::pair<const char *, std::function<bool(CImage &)>> sources[] = {
        {"24-bit", [&](CImage &image) { return Fill(image, 3, pixels, 24); }},
        {"32-bit", [&](CImage &image) { return Fill(image, 3, pixels); }},
        {"red and blue exchanged", [&](CImage &image) {
             return Fill(image, 3, swapped) && image.Cmd_ConvertImagefromBGRtoRGB();
         }}};
    const int gdiObjects = wintest::GdiObjectCount();
    for (const auto &source : sources)
        for (bool invert : {false, true}) {
            CImage image;
            ASSERT_TRUE(source.second(image)) << source.first;
            image.SetBackColor(RGB(200, 128, 0)); // red and blue told apart
            image.Cmd_MaskImage(RGB(0, 0, 0), 30, invert);
            Colours expected;
            for (COLORREF c : pixels)
                expected.push_back((c == key) != invert ? RGB(200, 128, 0) : c);
            EXPECT_EQ(Pixels(image.GetHBitmap()), expected) << source.first << " " << invert;
        }
    EXPECT_EQ(wintest::GdiObjectCount(), gdiObjects);
}

TEST(ImageCommands, BlackAndWhiteMaskRule)
{
    const struct {
        BYTE bytes[3]; // blue, green, red
        COLORREF key;  // its low byte against byte 0
        short tolerance;
        bool invert;
        BYTE expected; // all three bytes afterwards; byte 3 stays
    } cases[] = {
        {{30, 30, 30}, 0x000000, 30, false, 0x00}, {{31, 0, 0}, 0x000000, 30, false, 0xFF},
        {{30, 30, 30}, 0x000000, 30, true, 0xFF},  {{0xFF, 0, 0}, 0x0000FF, 0, false, 0x00},
        {{0, 0, 0xFF}, 0x0000FF, 0, false, 0xFF},  {{0, 0, 0}, 0x000000, -1, false, 0xFF}};
    for (const auto &c : cases) {
        HBITMAP bitmap = nullptr;
        const BYTE pixel[4] = {c.bytes[0], c.bytes[1], c.bytes[2], 0x5A};
        DeleteDC(CImageCommands().CreateBitmapFromDIB(nullptr, bitmap, 1, 1, 32, pixel));
        BITMAP bm = {};
        GetObjectW(bitmap, sizeof(bm), &bm);
        ASSERT_TRUE(CImageCommands().CreateImageMask(bitmap, bm, c.key, c.tolerance, c.invert));
        EXPECT_EQ(Bits(bitmap), (Bytes{c.expected, c.expected, c.expected, 0x5A}))
            << int(c.bytes[0]) << "," << int(c.bytes[1]) << "," << int(c.bytes[2]) << " key "
            << c.key << " ~" << c.tolerance << (c.invert ? " inverted" : "");
        DeleteObject(bitmap);
    }
}

TEST(Image, ScreenShotsAndWindowSelectionsShowTheScreen)
{
    // A 64 x 48 window of one colour at (100, 120) on the session's screen.
    const COLORREF colour = RGB(30, 160, 90);
    WNDCLASSW cls = {};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hbrBackground = CreateSolidBrush(colour);
    cls.lpszClassName = L"ImageCaptureProbe";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 100,
                                  120, 64, 48, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(
        window &&
        wintest::WaitUntil(
            [&] {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageW(&msg);
                return wintest::CaptureScreen(RECT{130, 140, 131, 141}).pixels[0] == 0x1EA05A;
            },
            5000));
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    CImage shot, part;
    ASSERT_TRUE(shot.CreateScreenShot(false, width / 2, 0)); // only the width shrinks
    EXPECT_EQ(shot.GetWidth() * 10000 + shot.GetHeight(), width / 2 * 10000 + height);
    EXPECT_EQ(Pixels(shot.GetHBitmap())[140 * (width / 2) + 65], colour);
    ASSERT_TRUE(part.CreateBitmapFromSelection(window, RECT{2, 3, 12, 8}));
    EXPECT_EQ(Pixels(part.GetHBitmap()), Colours(10 * 5, colour));
    DestroyWindow(window);
    DeleteObject(cls.hbrBackground);
}

TEST(SupportedGraphic, NameCompletionAndThePathTest)
{
    using SG = CSupportedGraphic;
    SG g;
    std::wstring supported;
    EXPECT_STREQ(g.CheckSavefileName(SG::GraphicFormats, L"C:\\pics\\x", 4), L"C:\\pics\\x.png");
    EXPECT_STREQ(g.CheckSavefileName(SG::GraphicFormats, L"C:\\my.pics\\x", 4), L"C:\\my.pics\\x");
    EXPECT_STREQ(g.CheckSavefileName(SG::GraphicFormats, std::wstring(256, L'a').c_str(), 1), L"");
    for (const wchar_t *path : {L"C:\\A\\FOTO.JPEG", L"C:\\a.b\\x.tiff", L"FOTO.JPG",
                                L"C:\\A.jpg\\FOTO", L"C:\\x.jp", L"C:\\set.mab"})
        supported += g.IsSupportedFiletype(SG::GraphicFormats, path) ? L'+' : L'-';
    EXPECT_EQ(supported, L"++----");
    EXPECT_TRUE(g.IsSupportedFiletype(SG::AllFormats, L"C:\\set.mab"));
}

// A TGA file: header, identification field, colour map (entries of mapBits
// for the indices from `first` on) and body.
Bytes Tga(int type, int width, int height, int bits, const Bytes &body, BYTE descriptor = 0,
          const std::string &id = "", const Bytes &map = {}, int mapBits = 24, int first = 0)
{
    Bytes file(18 + id.size() + map.size() + body.size(), 0);
    file[0] = BYTE(id.size()), file[1] = !map.empty(), file[2] = BYTE(type);
    file[7] = BYTE(mapBits), file[16] = BYTE(bits), file[17] = descriptor;
    const int entries = int(map.size()) / (mapBits / 8);
    for (auto word : {std::make_pair(3, first), {5, entries}, {12, width}, {14, height}})
        file[word.first] = BYTE(word.second), file[word.first + 1] = BYTE(word.second >> 8);
    std::copy(id.begin(), id.end(), file.begin() + 18);
    std::copy(map.begin(), map.end(), file.begin() + 18 + long(id.size()));
    std::copy(body.begin(), body.end(), file.end() - long(body.size()));
    return file;
}

bool Load(CImage &image, const Bytes &bytes)
{
    static int n = 0;
    const OutFile file("crafted-" + std::to_string(++n) + ".tga");
    std::ofstream(file.windows.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return image.Load(file.windows.c_str());
}

// A missing host shell or ImageMagick fails these tests: the checks that
// need them must not pass by not running.
class HostTools : public ::testing::Test {
protected:
    void SetUp() override { Host("command -v convert identify"); }
    // Runs on the host with $OUT set to the output folder.
    void Host(const std::string &script)
    {
        std::string output;
        const std::string out = "OUT=" + wintest::ShellQuote(wintest::HostOutputPath(""));
        ASSERT_EQ(wintest::RunOnHost("set -e; " + out + "\n" + script, &output), 0)
            << "on the host: " << script << "\n"
            << output;
    }
    // What ImageMagick sees: "FORMAT WxH" and the colours of some pixels.
    std::string Seen(const std::string &name, std::initializer_list<POINT> points)
    {
        std::string format = "%m %wx%h";
        for (POINT p : points)
            format += " %[pixel:p{" + std::to_string(p.x) + "," + std::to_string(p.y) + "}]";
        Host("identify -format '" + format + "' \"$OUT/" + name + "[0]\" >\"$OUT/seen.txt\"");
        std::ostringstream seen;
        seen << std::ifstream(OutFile("seen.txt").windows.c_str()).rdbuf();
        return seen.str();
    }
};

TEST(TgaCrafted, RawRunLengthOriginsAndAlpha)
{
    // 3 x 2, bottom line first: red green blue / grey grey white. RLE
    // packets: raw 4 (across the line end), run 1, and a run of 6 of which
    // only one pixel is still needed.
    const Bytes raw = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9, 9, 9, 9, 255, 255, 255};
    const Bytes rle = {3, 0, 0,    255, 0, 255, 0,    255, 0,   0,  9,
                       9, 9, 0x80, 9,   9, 9,   0x85, 255, 255, 255};
    CImage plain, packed, mirrored, alpha;
    ASSERT_TRUE(Load(plain, Tga(2, 3, 2, 24, raw, 0, "made by hand")));
    ASSERT_TRUE(Load(packed, Tga(10, 3, 2, 24, rle)));
    ASSERT_TRUE(Load(mirrored, Tga(2, 3, 2, 24, raw, 0x30))); // from the top right
    ASSERT_TRUE(Load(alpha, Tga(2, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8})));
    EXPECT_EQ(Pixels(plain.GetHBitmap()), (Colours{Grey, Grey, W, R, G, B}));
    EXPECT_EQ(Pixels(packed.GetHBitmap()), (Colours{Grey, Grey, W, R, G, B}));
    EXPECT_EQ(Pixels(mirrored.GetHBitmap()), (Colours{B, G, R, W, Grey, Grey}));
    EXPECT_EQ(Bits(alpha.GetHBitmap()), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(TgaCrafted, ColourMappedWithAnIdentificationFieldDecodesThroughTheMap)
{
    // Entries for the indices 2 to 5: red, green, blue, grey; 3 x 2, bottom
    // line first: red green blue / grey grey red.
    const Bytes map = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};
    CImage raw, packed, alpha;
    ASSERT_TRUE(Load(raw, Tga(1, 3, 2, 8, {2, 3, 4, 5, 5, 2}, 0, "palette test", map, 24, 2)));
    ASSERT_TRUE(Load(packed, Tga(9, 3, 2, 8, {2, 2, 3, 4, 0x81, 5, 0, 2}, 0, "x", map, 24, 2)));
    ASSERT_TRUE(Load(alpha, Tga(1, 2, 1, 8, {1, 0}, 0, "id", {1, 2, 3, 0x40, 4, 5, 6, 0x80}, 32)));
    EXPECT_EQ(raw.GetDepth(), 24);
    EXPECT_EQ(Pixels(raw.GetHBitmap()), (Colours{Grey, Grey, R, R, G, B}));
    EXPECT_EQ(Pixels(packed.GetHBitmap()), (Colours{Grey, Grey, R, R, G, B}));
    EXPECT_EQ(Bits(alpha.GetHBitmap()), (Bytes{4, 5, 6, 0x80, 1, 2, 3, 0x40}));
}

TEST(TgaCrafted, BadFilesFailCleanly)
{
    Bytes idPastTheEnd = Tga(2, 1, 1, 24, {1, 2, 3});
    idPastTheEnd[0] = 200;
    const Bytes map = {1, 2, 3, 4, 5, 6};
    const std::pair<const char *, Bytes> cases[] = {
        {"one byte short", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5})},
        {"RLE runs out", Tga(10, 3, 1, 24, {0x81, 1, 2, 3})},
        {"huge claim", Tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4})},
        {"id past the end", idPastTheEnd},
        {"no colour map", Tga(1, 1, 1, 8, {0})},
        {"index beyond the map", Tga(1, 2, 1, 8, {1, 2}, 0, "", map)},
        {"index below the map", Tga(9, 2, 1, 8, {0x81, 0}, 0, "", map, 24, 1)},
        {"empty file", {}}};
    for (const auto &c : cases) {
        CImage image;
        ASSERT_TRUE(image.CreateBitmap(nullptr, 2, 2, 32));
        EXPECT_FALSE(Load(image, c.second)) << c.first;
        EXPECT_EQ(image.GetHBitmap(), nullptr) << c.first;
    }
}

TEST_F(HostTools, TgaVariantsOfImageMagickLoadWithTheRightPixels)
{
    // 7 x 3, so that 24-bit rows need padding; equal pixels make runs.
    std::string ppm = "P6\n7 3\n255\n";
    Colours pattern;
    for (int i = 0; i < 21; ++i) {
        pattern.push_back(i % 7 < 3 ? RGB(200, 30, 40) : RGB(i % 7 * 30, i / 7 * 70, 99));
        ppm +=
            {char(GetRValue(pattern[i])), char(GetGValue(pattern[i])), char(GetBValue(pattern[i]))};
    }
    std::ofstream(OutFile("pattern.ppm").windows.c_str(), std::ios::binary) << ppm;
    // ImageMagick writes the top line first whatever origin the header
    // announces: a bottom-left file needs the flip.
    const std::string up = "-flip -orient BottomLeft ";
    for (const std::string &options :
         {up + "-type TrueColor -compress RLE",
          up + "-alpha set -channel A -evaluate set 50% +channel -type TrueColorAlpha",
          std::string("-type TrueColor -orient TopLeft -set comment tempulo"),
          up + "-type Palette -set comment tempulo", up + "-type Palette -compress RLE"}) {
        Host("convert \"$OUT/pattern.ppm\" " + options + " \"$OUT/im.tga\"");
        CImage image;
        ASSERT_TRUE(image.Load(OutFile("im.tga").windows.c_str())) << options;
        EXPECT_EQ(Pixels(image.GetHBitmap()), pattern) << options;
        EXPECT_TRUE(image.GetDepth() == 24 || Bits(image.GetHBitmap())[3] == 0x80) << "alpha";
    }
}

TEST_F(HostTools, EveryWritableTypeGivesAFileImageMagickReadsAlike)
{
    // 40 x 24: red left, blue right, a green 8 x 8 block at the bottom right.
    CImage image;
    image.SetBackColor(B);
    ASSERT_TRUE(image.CreateBitmap(nullptr, 40, 24, 32));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.GetHBitmap());
    for (auto block : {std::make_pair(RECT{0, 0, 16, 24}, R), {RECT{32, 16, 40, 24}, G}}) {
        SetDCBrushColor(dc, block.second);
        FillRect(dc, &block.first, HBRUSH(GetStockObject(DC_BRUSH)));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    const std::wstring saved = wintest::OutputPath(L"saved");
    // Other types become an OLE bitmap picture: a Windows bitmap.
    for (const char *name : {"p.bmp", "p.gif", "p.png", "p.tif", "UPPER.PNG", "p.wmf"}) {
        ASSERT_TRUE(image.Save(saved.c_str(), wintest::Wide(name).c_str())) << name;
        const std::string seen = Seen(std::string("saved/") + name, {{4, 20}, {27, 4}, {36, 20}});
        EXPECT_EQ(seen.substr(seen.find(' ')), " 40x24 srgb(255,0,0) srgb(0,0,255) srgb(0,255,0)")
            << name;
    }
    EXPECT_EQ(Seen("saved/p.wmf", {}).substr(0, 3), "BMP");
    ASSERT_TRUE(image.Save(saved.c_str(), L"p.jpg"));
    EXPECT_EQ(Seen("saved/p.jpg", {}), "JPEG 40x24");
    // Save makes the folder and fills in the name's fields.
    const std::wstring folder = wintest::OutputPath(L"new\\deeper");
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{000}.png"));
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{000}.png"));
    EXPECT_EQ(Seen("new/deeper/Shot_002.png", {{36, 20}}), "PNG 40x24 srgb(0,255,0)");
    // Pixel rows through an encoder: 3 x 2 at 24 bits, bottom line first.
    const Bytes rows = {0, 0, 255, 0, 255, 0, 255, 0, 0,   0, 0, 0,
                        0, 0, 0,   0, 0,   0, 0,   0, 255, 0, 0, 0};
    ASSERT_TRUE(image.SaveFromDIB(saved.c_str(), L"rows.gif", 3, 2, 24, rows.data()));
    EXPECT_EQ(Seen("saved/rows.gif", {{0, 1}, {1, 1}, {2, 0}}),
              "GIF 3x2 srgb(255,0,0) srgb(0,255,0) srgb(255,0,0)");
}

TEST_F(HostTools, FilesAndResourcesOfOtherWritersLoadThroughTheirFormat)
{
    // Red top-left, green bottom-right, blue elsewhere: 5 x 3 in files,
    // 4 x 2 in the resources.
    Host("convert -size 5x3 xc:blue -fill red -draw 'point 0,0' -fill lime -draw 'point 4,2' "
         "\"$OUT/quad.ppm\"; for e in gif GIF bmp png; do convert \"$OUT/quad.ppm\" "
         "\"$OUT/quad.$e\"; done");
    for (const char *ext : {"gif", "GIF", "bmp"}) { // GIF through OLE, BMP through LoadImage
        CImage image;
        ASSERT_TRUE(image.Load(OutFile(std::string("quad.") + ext).windows.c_str())) << ext;
        EXPECT_EQ(Pixels(image.GetHBitmap()),
                  (Colours{R, B, B, B, B, B, B, B, B, B, B, B, B, B, G}));
    }
    CImage png; // read into memory only: no bitmap
    EXPECT_FALSE(png.Load(OutFile("quad.png").windows.c_str()));
    EXPECT_FALSE(png.Load((L"C:\\" + std::wstring(300, L'a') + L".bmp").c_str()));
    for (auto r : {std::make_pair(L"BITMAP", 1), {L"TGA", 2}, {L"GIF", 4}}) {
        CImage image;
        ASSERT_TRUE(image.LoadFromResource(r.first, r.second)) << r.second;
        EXPECT_EQ(Pixels(image.GetHBitmap()), (Colours{R, B, B, B, B, B, B, G})) << r.second;
    }
    EXPECT_TRUE(png.LoadFromResource(L"png", 3) && !png.GetHBitmap()); // read only
}

} // namespace
