#include "ImagingTest.h"

#include "imaging/CImage.h"

using namespace imagingtest;

namespace {

std::vector<BYTE> Tga(int type, int width, int height, int bits, const std::vector<BYTE> &body,
                      BYTE descriptor = 0, const std::string &id = "")
{
    std::vector<BYTE> file = {BYTE(id.size()),
                              0,
                              BYTE(type),
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              0,
                              BYTE(width),
                              BYTE(width >> 8),
                              BYTE(height),
                              BYTE(height >> 8),
                              BYTE(bits),
                              descriptor};
    for (char c : id)
        file.push_back(BYTE(c));
    for (BYTE b : body)
        file.push_back(b);
    return file;
}

// Loads the bytes as a .tga file through CImage.
bool LoadTga(CImage &image, const std::vector<BYTE> &bytes)
{
    static int n = 0;
    const OutFile file("crafted-" + std::to_string(++n) + ".tga");
    EXPECT_TRUE(WriteBytes(file.windows, bytes));
    const bool loaded = image.Load(file.windows.c_str());
    DeleteFileW(file.windows.c_str());
    return loaded;
}

class TgaCrafted : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (wintest::OutputPath(L"x").empty()) GTEST_SKIP() << "no output folder";
    }
};

TEST_F(TgaCrafted, PixelsKeepTheFilesBlueFirstOrder)
{
    // TGA stores blue, green, red (alpha) like a DIB: nothing is exchanged.
    CImage image;
    ASSERT_TRUE(LoadTga(image, Tga(2, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8})));
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetHeight(), 1);
    EXPECT_EQ(image.GetDepth(), 32);
    EXPECT_EQ(Bits(image.GetHBitmap()), (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), RGB(3, 2, 1));
}

TEST_F(TgaCrafted, RunAndRawPacketsAndAnOverlongLastPacket)
{
    CImage image;
    ASSERT_TRUE(LoadTga(image, Tga(10, 4, 1, 24,
                                   {0x81, 0x10, 0x20, 0x30,     // run of 2
                                    0x00, 0x40, 0x50, 0x60,     // 1 raw
                                    0xFF, 0x70, 0x80, 0x90}))); // run of 128, 1 needed
    const HBITMAP b = image.GetHBitmap();
    EXPECT_EQ(PixelAt(b, 0, 0), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(PixelAt(b, 1, 0), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(PixelAt(b, 2, 0), RGB(0x60, 0x50, 0x40));
    EXPECT_EQ(PixelAt(b, 3, 0), RGB(0x90, 0x80, 0x70));
}

TEST_F(TgaCrafted, OneNonSquarePictureLoadsAlikeStoredEitherWay)
{
    // 3 x 2, bottom line first: red green blue / white black grey; the
    // packets run across the line end.
    const std::vector<BYTE> raw = {0,   0,   255, 0, 255, 0, 255, 0,   0,
                                   255, 255, 255, 0, 0,   0, 128, 128, 128};
    const std::vector<BYTE> rle = {0x03, 0,   0,   255,  0, 255, 0, 255, 0,   0,
                                   255,  255, 255, 0x01, 0, 0,   0, 128, 128, 128};
    CImage plain, packed;
    ASSERT_TRUE(LoadTga(plain, Tga(2, 3, 2, 24, raw)));
    ASSERT_TRUE(LoadTga(packed, Tga(10, 3, 2, 24, rle)));
    EXPECT_EQ(Bits(plain.GetHBitmap()), Bits(packed.GetHBitmap()));
    EXPECT_EQ(PixelAt(plain.GetHBitmap(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(plain.GetHBitmap(), 2, 0), RGB(128, 128, 128));
}

TEST_F(TgaCrafted, OriginBitsAndIdentificationFieldAreHonoured)
{
    const std::vector<BYTE> rows = {0, 0, 255, 255, 0, 0}; // red, then blue
    CImage bottomUp, topDown, mirrored;
    ASSERT_TRUE(LoadTga(bottomUp, Tga(2, 1, 2, 24, rows, 0x00, "made by hand")));
    EXPECT_EQ(PixelAt(bottomUp.GetHBitmap(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bottomUp.GetHBitmap(), 0, 0), RGB(0, 0, 255));
    ASSERT_TRUE(LoadTga(topDown, Tga(2, 1, 2, 24, rows, 0x20)));
    EXPECT_EQ(PixelAt(topDown.GetHBitmap(), 0, 0), RGB(255, 0, 0));
    ASSERT_TRUE(LoadTga(mirrored, Tga(2, 2, 1, 24, rows, 0x10)));
    EXPECT_EQ(PixelAt(mirrored.GetHBitmap(), 0, 0), RGB(0, 0, 255));
}

TEST_F(TgaCrafted, BadFilesFailCleanly)
{
    const std::vector<BYTE> pixel = {1, 2, 3};
    const std::vector<std::pair<const char *, std::vector<BYTE>>> cases = {
        {"16 bits", Tga(2, 1, 1, 16, {1, 2})},
        {"width 0", Tga(2, 0, 1, 24, pixel)},
        {"height 0", Tga(2, 1, 0, 24, pixel)},
        {"colour-mapped", Tga(1, 1, 1, 24, pixel)},
        {"grey", Tga(3, 1, 1, 24, pixel)},
        {"grey RLE", Tga(11, 1, 1, 24, pixel)},
        {"short header", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24}},
        {"one byte short", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5})},
        {"RLE pixel short", Tga(10, 2, 1, 24, {0x81, 1, 2})},
        {"RLE runs out", Tga(10, 3, 1, 24, {0x81, 1, 2, 3})},
        {"huge claim", Tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4})},
        {"empty file", {}},
    };
    for (const auto &c : cases) {
        CImage image;
        ASSERT_TRUE(image.CreateBitmap(nullptr, 2, 2, 32));
        EXPECT_FALSE(LoadTga(image, c.second)) << c.first;
        EXPECT_EQ(image.GetHBitmap(), nullptr) << c.first;
        EXPECT_EQ(image.GetWidth(), 0) << c.first;
    }
    CImage image;
    std::vector<BYTE> idTooLong = Tga(2, 1, 1, 24, pixel);
    idTooLong[0] = 200;
    EXPECT_FALSE(LoadTga(image, idTooLong));
}

// --- files written by ImageMagick -----------------------------------------------

// 7 x 3: 21-byte rows at 24 bits, so DIB rows need padding; the left three
// pixels of every row are equal, which the RLE encoder turns into runs.
COLORREF Pattern(int x, int y)
{
    return x < 3 ? RGB(200, 30, 40) : RGB(x * 30, y * 70 + 5, 255 - x * 20);
}

TEST(TgaFromImageMagick, EveryVariantLoadsWithTheRightPixels)
{
    SKIP_WITHOUT_HOST_SHELL();
    const int w = 7, h = 3;
    const OutFile source("pattern.ppm");
    std::string ppm = "P6\n7 3\n255\n";
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = Pattern(x, y);
            ppm += {char(GetRValue(c)), char(GetGValue(c)), char(GetBValue(c))};
        }
    ASSERT_TRUE(WriteBytes(source.windows, std::vector<BYTE>(ppm.begin(), ppm.end())));

    // ImageMagick writes the rows in memory order, top line first, whatever
    // origin the header announces: a bottom-left file needs the flip.
    const std::string bottomUp = "-flip -orient BottomLeft ";
    const std::string half =
        bottomUp + "-alpha set -channel A -evaluate set 50% +channel -type TrueColorAlpha";
    const std::vector<std::pair<std::string, std::string>> variants = {
        {"im24.tga", bottomUp + "-type TrueColor"},
        {"im24rle.tga", bottomUp + "-type TrueColor -compress RLE"},
        {"im32.tga", half},
        {"im32rle.tga", half + " -compress RLE"},
        {"im24top.tga", "-type TrueColor -orient TopLeft -set comment tempulo"},
    };
    std::string script;
    for (const auto &v : variants)
        script += "convert " + wintest::ShellQuote(source.host) + " " + v.second + " " +
                  wintest::ShellQuote(OutFile(v.first).host) + " && ";
    std::string output;
    ASSERT_EQ(wintest::RunOnHost(script + "true", &output), 0) << output;

    for (const auto &v : variants) {
        SCOPED_TRACE(v.first);
        // ImageMagick itself, once it applies the file's origin, sees the pattern.
        Seen seen;
        ASSERT_TRUE(ReadWithImageMagick(OutFile(v.first), seen, "-auto-orient"));
        EXPECT_EQ(seen.At(0, 0), Pattern(0, 0));
        EXPECT_EQ(seen.At(w - 1, h - 1), Pattern(w - 1, h - 1));
        CImage image;
        ASSERT_TRUE(image.Load(OutFile(v.first).windows.c_str()));
        ASSERT_EQ(image.GetWidth(), w);
        ASSERT_EQ(image.GetHeight(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(PixelAt(image.GetHBitmap(), x, y), Pattern(x, y)) << x << "," << y;
        if (image.GetDepth() == 32) {
            EXPECT_EQ(Bits(image.GetHBitmap())[3], 0x80); // alpha kept
        }
    }

    // Cut short, the same files fail instead of loading garbage.
    for (const char *name : {"im24.tga", "im32rle.tga"}) {
        const OutFile whole(name);
        std::ifstream in(whole.windows.c_str(), std::ios::binary);
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 30u);
        bytes.resize(bytes.size() - 2);
        CImage image;
        EXPECT_FALSE(LoadTga(image, bytes)) << name;
    }
}

} // namespace
