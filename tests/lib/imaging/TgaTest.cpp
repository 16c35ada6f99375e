// TGA files, crafted by hand and written by ImageMagick, loaded through CImage.
#include "ImagingTest.h"

#include "imaging/CImage.h"

using namespace imagingtest;

namespace {

bool LoadTga(CImage &image, const std::vector<BYTE> &bytes)
{
    static int n = 0;
    const OutFile file("crafted-" + std::to_string(++n) + ".tga");
    EXPECT_TRUE(WriteBytes(file.windows, bytes));
    return image.Load(file.windows.c_str());
}

class TgaCrafted : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (wintest::OutputPath(L"x").empty()) GTEST_SKIP() << "no output folder";
    }
};

TEST_F(TgaCrafted, OnePictureLoadsAlikeRawAndRunLengthEncodedInBlueFirstOrder)
{
    CImage image;
    ASSERT_TRUE(LoadTga(image, Tga(2, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8})));
    EXPECT_EQ(image.GetDepth(), 32);
    EXPECT_EQ(Bits(image.GetHBitmap()), (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8}));

    // 3 x 2, bottom line first: red green blue / grey grey white. The
    // packets: raw 4 (across the line end), run 1, and a run of 6 of which
    // only one pixel is still needed.
    const std::vector<BYTE> raw = {0, 0, 255, 0, 255, 0, 255, 0,   0,
                                   9, 9, 9,   9, 9,   9, 255, 255, 255};
    const std::vector<BYTE> rle = {0x03, 0, 0,    255, 0, 255, 0,    255, 0,   0,  9,
                                   9,    9, 0x80, 9,   9, 9,   0x85, 255, 255, 255};
    CImage plain, packed;
    ASSERT_TRUE(LoadTga(plain, Tga(2, 3, 2, 24, raw)));
    ASSERT_TRUE(LoadTga(packed, Tga(10, 3, 2, 24, rle)));
    EXPECT_EQ(Bits(plain.GetHBitmap()), Bits(packed.GetHBitmap()));
    EXPECT_EQ(PixelAt(packed.GetHBitmap(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(packed.GetHBitmap(), 1, 0), RGB(9, 9, 9));
    EXPECT_EQ(PixelAt(packed.GetHBitmap(), 2, 0), RGB(255, 255, 255));
}

TEST_F(TgaCrafted, OriginBitsAndIdentificationFieldAreHonoured)
{
    const std::vector<BYTE> rows = {0, 0, 255, 255, 0, 0}; // red, then blue
    CImage bottomUp, topDown, mirrored;
    ASSERT_TRUE(LoadTga(bottomUp, Tga(2, 1, 2, 24, rows, 0x00, "made by hand")));
    EXPECT_EQ(PixelAt(bottomUp.GetHBitmap(), 0, 1), RGB(255, 0, 0));
    ASSERT_TRUE(LoadTga(topDown, Tga(2, 1, 2, 24, rows, 0x20)));
    EXPECT_EQ(PixelAt(topDown.GetHBitmap(), 0, 0), RGB(255, 0, 0));
    ASSERT_TRUE(LoadTga(mirrored, Tga(2, 2, 1, 24, rows, 0x10)));
    EXPECT_EQ(PixelAt(mirrored.GetHBitmap(), 0, 0), RGB(0, 0, 255));
}

TEST_F(TgaCrafted, BadFilesFailCleanly)
{
    std::vector<BYTE> idPastTheEnd = Tga(2, 1, 1, 24, {1, 2, 3});
    idPastTheEnd[0] = 200;
    const std::vector<std::pair<const char *, std::vector<BYTE>>> cases = {
        {"16 bits", Tga(2, 1, 1, 16, {1, 2})},
        {"width 0", Tga(2, 0, 1, 24, {1, 2, 3})},
        {"colour-mapped", Tga(1, 1, 1, 24, {1, 2, 3})},
        {"grey", Tga(3, 1, 1, 24, {1, 2, 3})},
        {"short header", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24}},
        {"one byte short", Tga(2, 2, 1, 24, {1, 2, 3, 4, 5})},
        {"RLE pixel short", Tga(10, 2, 1, 24, {0x81, 1, 2})},
        {"RLE runs out", Tga(10, 3, 1, 24, {0x81, 1, 2, 3})},
        {"huge claim", Tga(10, 65535, 65535, 32, {0xFF, 1, 2, 3, 4})},
        {"id past the end", idPastTheEnd},
        {"empty file", {}},
    };
    for (const auto &c : cases) {
        CImage image;
        ASSERT_TRUE(image.CreateBitmap(nullptr, 2, 2, 32));
        EXPECT_FALSE(LoadTga(image, c.second)) << c.first;
        EXPECT_EQ(image.GetHBitmap(), nullptr) << c.first;
        EXPECT_EQ(image.GetWidth(), 0) << c.first;
    }
}

// 7 x 3: 21-byte rows at 24 bits need padding; the left three pixels of a
// row are equal, which the RLE encoder turns into runs.
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
    for (int i = 0; i < w * h; ++i) {
        const COLORREF c = Pattern(i % w, i / w);
        ppm += {char(GetRValue(c)), char(GetGValue(c)), char(GetBValue(c))};
    }
    ASSERT_TRUE(WriteBytes(source.windows, std::vector<BYTE>(ppm.begin(), ppm.end())));

    // ImageMagick writes the rows in memory order, top line first, whatever
    // origin the header announces: a bottom-left file needs the flip.
    const std::string up = "-flip -orient BottomLeft ";
    const std::string half =
        "-alpha set -channel A -evaluate set 50% +channel -type TrueColorAlpha";
    const std::vector<std::pair<std::string, std::string>> variants = {
        {"im24.tga", up + "-type TrueColor"},
        {"im24rle.tga", up + "-type TrueColor -compress RLE"},
        {"im32.tga", up + half},
        {"im32rle.tga", up + half + " -compress RLE"},
        {"im24top.tga", "-type TrueColor -orient TopLeft -set comment tempulo"},
    };
    std::string script = "set -e\n";
    for (const auto &v : variants)
        script += "convert " + wintest::ShellQuote(source.host) + " " + v.second + " " +
                  wintest::ShellQuote(OutFile(v.first).host) + "\n";
    std::string output;
    ASSERT_EQ(wintest::RunOnHost(script, &output), 0) << output;

    for (const auto &v : variants) {
        SCOPED_TRACE(v.first);
        // ImageMagick itself, once it applies the file's origin, sees the pattern.
        Seen seen;
        ASSERT_TRUE(ReadWithImageMagick(OutFile(v.first), seen, "-auto-orient"));
        EXPECT_EQ(seen.At(w - 1, 0), Pattern(w - 1, 0));
        CImage image;
        ASSERT_TRUE(image.Load(OutFile(v.first).windows.c_str()));
        ASSERT_EQ(image.GetWidth(), w);
        ASSERT_EQ(image.GetHeight(), h);
        for (int i = 0; i < w * h; ++i)
            EXPECT_EQ(PixelAt(image.GetHBitmap(), i % w, i / w), Pattern(i % w, i / w)) << i;
        if (image.GetDepth() == 32) {
            EXPECT_EQ(Bits(image.GetHBitmap())[3], 0x80); // alpha kept
        }
        // Cut short, the same file fails instead of loading garbage.
        std::ifstream in(OutFile(v.first).windows.c_str(), std::ios::binary);
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        bytes.resize(bytes.size() - 2);
        EXPECT_FALSE(LoadTga(image, bytes));
    }
}

} // namespace
