#include "bench/FaceDigits.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const int Width = 24, Height = 37;

// Seven-segment digits: the closest pair (8 and 0, 8 and 9, ...) differs by
// one bar, the hardest case for telling digits apart.
const RECT Segments[7] = {{5, 2, 19, 5},  {17, 4, 20, 18}, {17, 19, 20, 33}, {5, 31, 19, 34},
                          {4, 19, 7, 33}, {4, 4, 7, 18},   {5, 17, 19, 20}};
const char *const Lit[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                             "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};

bool Ink(int digit, int x, int y)
{
    for (const char *s = Lit[digit]; *s; ++s) {
        const RECT &r = Segments[*s - 'a'];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    }
    return false;
}

// A BITMAP resource as the program carries it: 8 bits a pixel, bottom row
// first, a palette of black and red.
std::vector<BYTE> DigitResource(int digit)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = Width;
    header.biHeight = Height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 2;
    const RGBQUAD palette[2] = {{0, 0, 0, 0}, {0, 0, 255, 0}};
    std::vector<BYTE> data((const BYTE *)&header, (const BYTE *)&header + sizeof(header));
    data.insert(data.end(), (const BYTE *)palette, (const BYTE *)palette + sizeof(palette));
    for (int y = Height - 1; y >= 0; --y)
        for (int x = 0; x < Width; ++x) // 24 bytes: rows need no padding
            data.push_back(Ink(digit, x, y) ? 1 : 0);
    return data;
}

// The face as the screen shows it: black, seconds in the default cells,
// the last two columns and rows cut off by the client area.
wintest::Capture Face(int tens, int units, DWORD colour)
{
    wintest::Capture face;
    face.width = 289;
    face.height = 35;
    face.pixels.assign(size_t(face.width) * face.height, 0);
    auto draw = [&](int digit, int left) {
        for (int y = 0; y < Height && y < face.height; ++y)
            for (int x = 0; x < Width && left + x < face.width; ++x)
                if (Ink(digit, x, y)) face.pixels[size_t(y) * face.width + left + x] = colour;
    };
    draw(tens, bench::SecondsTensX);
    draw(units, bench::SecondsUnitsX);
    return face;
}

class FaceDigitsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The floor program, with digit images written into a copy of it.
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        program_ = std::wstring(folder) + L"face-digits-" + std::to_wstring(GetCurrentProcessId()) +
                   L".exe";
        ASSERT_TRUE(CopyFileW(wintest::BesideTestProgram(L"floor_popup.exe").c_str(),
                              program_.c_str(), FALSE));
        HANDLE update = BeginUpdateResourceW(program_.c_str(), FALSE);
        ASSERT_TRUE(update);
        for (int digit = 0; digit < 10; ++digit) {
            std::vector<BYTE> data = DigitResource(digit);
            ASSERT_TRUE(UpdateResourceW(
                update, RT_BITMAP, MAKEINTRESOURCEW(bench::FaceDigits::FirstDigitId + digit),
                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), data.data(), DWORD(data.size())));
        }
        ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    }
    void TearDown() override { DeleteFileW(program_.c_str()); }

    std::wstring program_;
};

} // namespace

TEST_F(FaceDigitsTest, ReadsEveryDigitInFullAndInTheClippedCellWhateverItsColour)
{
    bench::FaceDigits digits;
    ASSERT_TRUE(digits.Load(program_));
    for (int d = 0; d < 10; ++d) {
        const int value = d * 10 + (9 - d);
        EXPECT_EQ(
            digits.ReadPair(Face(d, 9 - d, 0xFF0000), bench::SecondsTensX, bench::SecondsUnitsX, 0),
            value);
        EXPECT_EQ(
            digits.ReadPair(Face(d, 9 - d, 0xFFC040), bench::SecondsTensX, bench::SecondsUnitsX, 0),
            value);
    }
}

TEST_F(FaceDigitsTest, BlankOrHalfDrawnCellsReadAsNothing)
{
    bench::FaceDigits digits;
    ASSERT_TRUE(digits.Load(program_));
    wintest::Capture face = Face(8, 8, 0xFF0000);
    EXPECT_EQ(digits.Read(face, 0, 0), -1);
    // The lower half of the units cell still shows the old picture.
    for (int y = 18; y < face.height; ++y)
        for (int x = bench::SecondsUnitsX; x < face.width; ++x)
            face.pixels[size_t(y) * face.width + x] = 0;
    EXPECT_EQ(digits.Read(face, bench::SecondsUnitsX, 0), -1);
    EXPECT_EQ(digits.ReadPair(face, bench::SecondsTensX, bench::SecondsUnitsX, 0), -1);
}

TEST(FaceDigits, ProgramWithoutDigitImagesLoadsNothing)
{
    bench::FaceDigits digits;
    EXPECT_FALSE(digits.Load(wintest::BesideTestProgram(L"floor_popup.exe")));
    EXPECT_FALSE(digits.Load(wintest::BesideTestProgram(L"no-such-program.exe")));
    EXPECT_FALSE(digits.Loaded());
    EXPECT_EQ(digits.Read(Face(1, 2, 0xFF0000), bench::SecondsTensX, 0), -1);
}
