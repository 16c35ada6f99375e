// Saving through every format, checked by ImageMagick, and loading files and
// resources of other writers.
#include "ImagingTest.h"

#include "imaging/CImage.h"

using namespace imagingtest;

namespace {

const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 255, 0);

// 40 x 24: red left, blue right, a green 8 x 8 block at the bottom right.
// Blocks on 8-pixel boundaries survive JPEG well enough.
void DrawPattern(CImage &image)
{
    image.SetBackColor(Blue);
    ASSERT_TRUE(image.CreateBitmap(nullptr, 40, 24, 32));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, image.GetHBitmap());
    HBRUSH red = CreateSolidBrush(Red), green = CreateSolidBrush(Green);
    RECT left = {0, 0, 16, 24}, block = {32, 16, 40, 24};
    FillRect(dc, &left, red);
    FillRect(dc, &block, green);
    DeleteObject(red);
    DeleteObject(green);
    SelectObject(dc, old);
    DeleteDC(dc);
}

void ExpectPattern(const OutFile &file, const char *format, int tolerance)
{
    Seen seen;
    if (!ReadWithImageMagick(file, seen)) return;
    EXPECT_EQ(seen.format.substr(0, 3), std::string(format).substr(0, 3)); // BMP3 too
    ASSERT_EQ(std::vector<int>({seen.width, seen.height}), std::vector<int>({40, 24}));
    EXPECT_PRED3(Near, seen.At(4, 20), Red, tolerance);
    EXPECT_PRED3(Near, seen.At(27, 4), Blue, tolerance);
    EXPECT_PRED3(Near, seen.At(36, 20), Green, tolerance);
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override { SKIP_WITHOUT_HOST_SHELL(); }
    const std::wstring saved = wintest::OutputPath(L"saved");
};

TEST_F(ImageFiles, EveryWritableTypeGivesAValidFileOfTheRightSizeAndColours)
{
    CImage image;
    DrawPattern(image);
    const struct {
        const char *name, *format; // as ImageMagick reports it
        int tolerance;
    } cases[] = {{"pattern.bmp", "BMP", 0},
                 {"pattern.gif", "GIF", 0},
                 {"pattern.jpg", "JPEG", 40},
                 {"pattern.png", "PNG", 0},
                 {"pattern.tif", "TIFF", 0},
                 {"UPPER.PNG", "PNG", 0},
                 // Other types become an OLE bitmap picture: a Windows bitmap.
                 {"pattern.wmf", "BMP", 0},
                 {"pattern.ico", "BMP", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(image.Save(saved.c_str(), Wide(c.name).c_str()));
        EXPECT_TRUE(image.IsStoreImplemented());
        ExpectPattern(OutFile(std::string("saved/") + c.name), c.format, c.tolerance);
    }
    for (const wchar_t *name : {L"nothing.tga", L"nothing.ppm", L"nothing.raw"}) {
        EXPECT_FALSE(image.Save(saved.c_str(), name)) << name;
        EXPECT_FALSE(image.IsStoreImplemented()) << name;
        EXPECT_EQ(GetFileAttributesW((saved + L"\\" + name).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_FALSE(CImage().Save(saved.c_str(), L"empty.png"));

    // Save creates the folder and expands the name fields.
    const std::wstring folder = wintest::OutputPath(L"new\\deeper\\still");
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{yyyy}_{000}.jpg"));
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{yyyy}_{000}.jpg"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    ExpectPattern(OutFile("new/deeper/still/Shot_" + std::to_string(now.wYear) + "_002.jpg"),
                  "JPEG", 40);
    EXPECT_FALSE(image.Save(L"", L"x.png"));
    EXPECT_FALSE(image.Save(folder.c_str(), std::wstring(300, L'a').append(L".png").c_str()));
}

TEST_F(ImageFiles, PixelRowsAreWrittenByTheEncoderOfTheName)
{
    // 3 x 2 at 24 bits, bottom line first (red green blue), rows padded.
    const std::vector<BYTE> rows = {0,   0,   255, 0, 255, 0, 255, 0, 0,   0, 0, 0,
                                    255, 255, 255, 0, 0,   0, 0,   0, 255, 0, 0, 0};
    CImage image;
    for (const char *name : {"rows.png", "rows.gif"}) {
        ASSERT_TRUE(image.SaveFromDIB(saved.c_str(), Wide(name).c_str(), 3, 2, 24, rows.data()));
        Seen seen;
        ASSERT_TRUE(ReadWithImageMagick(OutFile(std::string("saved/") + name), seen));
        ASSERT_EQ(seen.width, 3);
        EXPECT_EQ(std::vector<COLORREF>({seen.At(0, 1), seen.At(1, 1), seen.At(2, 0)}),
                  std::vector<COLORREF>({Red, Green, Red}))
            << name;
    }
    // The OLE picture writer takes bitmaps only.
    EXPECT_FALSE(image.SaveFromDIB(saved.c_str(), L"rows.wmf", 3, 2, 24, rows.data()));
    EXPECT_FALSE(image.SaveFromDIB(saved.c_str(), L"rows.png", 3, 2, 24, nullptr));
}

// 5 x 3 from files, 4 x 2 from resources: red top-left, green bottom-right,
// blue elsewhere.
void ExpectQuad(CImage &image, int width, int height)
{
    ASSERT_EQ(std::vector<int>({image.GetWidth(), image.GetHeight()}),
              std::vector<int>({width, height}));
    EXPECT_EQ(
        std::vector<COLORREF>({PixelAt(image.GetHBitmap(), 0, 0), PixelAt(image.GetHBitmap(), 1, 1),
                               PixelAt(image.GetHBitmap(), width - 1, height - 1)}),
        std::vector<COLORREF>({Red, Blue, Green}));
}

TEST_F(ImageFiles, FilesOfOtherWritersLoadThroughTheirFormat)
{
    const OutFile ppm("quad-source.ppm");
    std::string data = "P6\n5 3\n255\n";
    for (int i = 0; i < 15; ++i)
        data +=
            i == 0 ? std::string("\xFF\0\0", 3) : std::string(i == 14 ? "\0\xFF\0" : "\0\0\xFF", 3);
    ASSERT_TRUE(WriteBytes(ppm.windows, std::vector<BYTE>(data.begin(), data.end())));
    const std::string base = wintest::ShellQuote(ppm.host.substr(0, ppm.host.size() - 4));
    std::string output;
    ASSERT_EQ(wintest::RunOnHost("for e in gif GIF bmp png; do convert " +
                                     wintest::ShellQuote(ppm.host) + " " + base +
                                     ".$e || exit 1; done",
                                 &output),
              0)
        << output;
    for (const char *ext : {"gif", "GIF", "bmp"}) { // GIF through OLE, BMP through LoadImage
        SCOPED_TRACE(ext);
        CImage image;
        ASSERT_TRUE(image.Load(OutFile(std::string("quad-source.") + ext).windows.c_str()));
        ExpectQuad(image, 5, 3);
    }
    CImage png; // read into memory only: no bitmap
    EXPECT_FALSE(png.Load(OutFile("quad-source.png").windows.c_str()));
    EXPECT_EQ(png.GetHBitmap(), nullptr);
    EXPECT_FALSE(png.Load(OutFile("no-such-file.gif").windows.c_str()));
    EXPECT_FALSE(png.Load((L"C:\\" + std::wstring(300, L'a') + L".bmp").c_str()));
}

TEST(ImageResources, EachTypeNameChoosesItsLoader)
{
    const std::pair<const wchar_t *, UINT> pictures[] = {{L"BITMAP", 1}, {L"TGA", 2}, {L"GIF", 4}};
    for (const auto &p : pictures) {
        SCOPED_TRACE(p.second);
        CImage image;
        ASSERT_TRUE(image.LoadFromResource(p.first, p.second));
        ExpectQuad(image, 4, 2);
    }
    CImage image;
    EXPECT_TRUE(image.LoadFromResource(GetModuleHandleW(nullptr), RT_BITMAP, 1));
    EXPECT_EQ(image.GetWidth(), 4);
    EXPECT_TRUE(image.LoadFromResource(L"png", 3)); // only read: true, no bitmap
    EXPECT_EQ(image.GetHBitmap(), nullptr);
    EXPECT_FALSE(image.LoadFromResource(L"BITMAP", 99));
    EXPECT_FALSE(image.LoadFromResource(L"TGA", 0x10002));
    EXPECT_FALSE(image.LoadFromResource(L"GIF", 1));
}

} // namespace
