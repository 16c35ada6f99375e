#include "ImagingTest.h"

#include "imaging/CImage.h"
#include "imaging/IImageState.h"

using namespace imagingtest;

namespace {

const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 255, 0);

// 40 x 24: red left half, blue right half, a green 8 x 8 block at the
// bottom right. Blocks on 8-pixel boundaries survive JPEG well enough.
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

void ExpectPattern(const Seen &seen, int tolerance)
{
    ASSERT_EQ(seen.width, 40);
    ASSERT_EQ(seen.height, 24);
    EXPECT_PRED3(Near, seen.At(4, 4), Red, tolerance);
    EXPECT_PRED3(Near, seen.At(4, 20), Red, tolerance);
    EXPECT_PRED3(Near, seen.At(27, 4), Blue, tolerance);
    EXPECT_PRED3(Near, seen.At(36, 20), Green, tolerance);
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override { SKIP_WITHOUT_HOST_SHELL(); }
    // The output folder in Windows form, without the trailing backslash.
    static std::wstring Folder(const wchar_t *sub)
    {
        std::wstring folder = wintest::OutputPath(sub);
        return folder;
    }
};

struct SaveCase {
    const char *name;
    const char *format; // as ImageMagick reports it
    int tolerance;
};

TEST_F(ImageFiles, EveryWritableTypeGivesAValidFileOfTheRightSizeAndColours)
{
    CImage image;
    DrawPattern(image);
    const std::wstring folder = Folder(L"saved");
    const SaveCase cases[] = {
        {"pattern.bmp", "BMP", 0},
        {"pattern.gif", "GIF", 0},
        {"pattern.jpg", "JPEG", 40},
        {"pattern.png", "PNG", 0},
        {"pattern.tif", "TIFF", 0},
        {"UPPER.PNG", "PNG", 0},
        // Unknown types are written as an OLE bitmap picture: a Windows bitmap.
        {"pattern.wmf", "BMP", 0},
        {"pattern.ico", "BMP", 0},
    };
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(image.Save(folder.c_str(), Wide(c.name).c_str()));
        EXPECT_TRUE(image.IsStoreImplemented());
        Seen seen;
        if (!ReadWithImageMagick(OutFile(std::string("saved/") + c.name), seen)) continue;
        EXPECT_EQ(seen.format.substr(0, 3), std::string(c.format).substr(0, 3)); // BMP3 too
        ExpectPattern(seen, c.tolerance);
    }
}

TEST_F(ImageFiles, TypesWithoutAWriterFailAndLeaveNoFile)
{
    CImage image;
    DrawPattern(image);
    const std::wstring folder = Folder(L"saved");
    for (const wchar_t *name : {L"nothing.tga", L"nothing.ppm", L"nothing.raw"}) {
        EXPECT_FALSE(image.Save(folder.c_str(), name)) << name;
        EXPECT_FALSE(image.IsStoreImplemented()) << name;
        EXPECT_EQ(GetFileAttributesW((folder + L"\\" + name).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    CImage empty;
    EXPECT_FALSE(empty.Save(folder.c_str(), L"empty.png"));
}

TEST_F(ImageFiles, SaveCreatesTheFolderAndExpandsTheNameFields)
{
    CImage image;
    DrawPattern(image);
    const std::wstring folder = Folder(L"new\\deeper\\still");
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{yyyy}_{000}.jpg"));
    ASSERT_TRUE(image.Save(folder.c_str(), L"Shot_{yyyy}_{000}.jpg"));
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string second = "new/deeper/still/Shot_" + std::to_string(now.wYear) + "_002.jpg";
    Seen seen;
    ASSERT_TRUE(ReadWithImageMagick(OutFile(second), seen));
    EXPECT_EQ(seen.format, "JPEG");
    ExpectPattern(seen, 40);

    EXPECT_FALSE(image.Save(L"", L"x.png"));
    EXPECT_FALSE(image.Save(folder.c_str(), std::wstring(300, L'a').append(L".png").c_str()));
}

TEST_F(ImageFiles, PixelRowsAreWrittenByTheEncoderOfTheName)
{
    // 3 x 2 at 24 bits, bottom line first, rows padded to 12 bytes.
    const std::vector<BYTE> rows = {0,   0,   255, 0, 255, 0, 255, 0, 0,   0, 0, 0,
                                    255, 255, 255, 0, 0,   0, 0,   0, 255, 0, 0, 0};
    CImage image;
    const std::wstring folder = Folder(L"saved");
    ASSERT_TRUE(image.SaveFromDIB(folder.c_str(), L"rows.png", 3, 2, 24, rows.data()));
    Seen seen;
    ASSERT_TRUE(ReadWithImageMagick(OutFile("saved/rows.png"), seen));
    EXPECT_EQ(seen.format, "PNG");
    ASSERT_EQ(seen.width, 3);
    EXPECT_EQ(seen.At(0, 1), Red);
    EXPECT_EQ(seen.At(2, 1), Blue);
    EXPECT_EQ(seen.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(seen.At(2, 0), Red);

    ASSERT_TRUE(image.SaveFromDIB(folder.c_str(), L"rows.gif", 3, 2, 24, rows.data()));
    ASSERT_TRUE(ReadWithImageMagick(OutFile("saved/rows.gif"), seen));
    EXPECT_EQ(seen.format, "GIF");
    EXPECT_EQ(seen.At(1, 1), Green);
    // The OLE picture writer takes bitmaps only.
    EXPECT_FALSE(image.SaveFromDIB(folder.c_str(), L"rows.wmf", 3, 2, 24, rows.data()));
    EXPECT_FALSE(image.SaveFromDIB(folder.c_str(), L"rows.png", 3, 2, 24, nullptr));
}

TEST_F(ImageFiles, FilesOfOtherWritersLoadThroughTheirFormat)
{
    const OutFile ppm("quad-source.ppm");
    const std::string q = wintest::ShellQuote(ppm.host);
    // 5 x 3: red, then blue; the bottom-right pixel green.
    std::string data = "P6\n5 3\n255\n";
    for (int i = 0; i < 15; ++i)
        data += i == 0    ? std::string("\xFF\0\0", 3)
                : i == 14 ? std::string("\0\xFF\0", 3)
                          : std::string("\0\0\xFF", 3);
    ASSERT_TRUE(WriteBytes(ppm.windows, std::vector<BYTE>(data.begin(), data.end())));
    std::string output;
    const std::string base = ppm.host.substr(0, ppm.host.size() - 4);
    ASSERT_EQ(wintest::RunOnHost("for e in gif GIF bmp png; do convert " + q + " " +
                                     wintest::ShellQuote(base) + ".$e || exit 1; done",
                                 &output),
              0)
        << output;

    for (const char *ext : {"gif", "GIF", "bmp"}) {
        SCOPED_TRACE(ext);
        CImage image;
        ASSERT_TRUE(image.Load(OutFile(std::string("quad-source.") + ext).windows.c_str()));
        EXPECT_EQ(image.GetWidth(), 5);
        EXPECT_EQ(image.GetHeight(), 3);
        if (std::string(ext) != "bmp") {
            EXPECT_EQ(image.GetDepth(), 32); // OLE picture
        }
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), Red);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 2, 1), Blue);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 4, 2), Green);
    }

    // PNG is only read into memory: no bitmap.
    CImage png;
    EXPECT_FALSE(png.Load(OutFile("quad-source.png").windows.c_str()));
    EXPECT_EQ(png.GetHBitmap(), nullptr);
    CImage missing;
    EXPECT_FALSE(missing.Load(OutFile("no-such-file.gif").windows.c_str()));
    EXPECT_FALSE(missing.Load((std::wstring(L"C:\\") + std::wstring(300, L'a') + L".bmp").c_str()));
}

TEST(ImageResources, EachTypeNameChoosesItsLoader)
{
    for (UINT id : {1u, 2u, 4u}) {
        const wchar_t *type = id == 1 ? L"BITMAP" : id == 2 ? L"TGA" : L"GIF";
        SCOPED_TRACE(id);
        CImage image;
        ASSERT_TRUE(image.LoadFromResource(type, id));
        ASSERT_NE(image.GetHBitmap(), nullptr);
        EXPECT_EQ(image.GetWidth(), 4);
        EXPECT_EQ(image.GetHeight(), 2);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 0, 0), Red);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 1, 0), Blue);
        EXPECT_EQ(PixelAt(image.GetHBitmap(), 3, 1), Green);
    }

    CImage image;
    EXPECT_TRUE(image.LoadFromResource(GetModuleHandleW(nullptr), RT_BITMAP, 1));
    EXPECT_EQ(image.GetWidth(), 4);
    // A format that only reads the bytes succeeds without a bitmap.
    EXPECT_TRUE(image.LoadFromResource(L"png", 3));
    EXPECT_EQ(image.GetHBitmap(), nullptr);
    EXPECT_FALSE(image.LoadFromResource(L"BITMAP", 99));
    EXPECT_FALSE(image.LoadFromResource(L"TGA", 0x10002));
    EXPECT_FALSE(image.LoadFromResource(L"GIF", 1)); // no such resource of that type
}

TEST(ImageStates, LoadingAndSavingPickDifferentClassesForOneType)
{
    // Loading "gif" goes through OLE pictures, which cannot write pixel
    // rows; saving "gif" goes through the GDI+ encoder, which can.
    const std::vector<BYTE> row = {0, 0, 255, 0};
    const std::wstring folder = wintest::OutputPath(L"");
    if (folder.empty()) GTEST_SKIP();
    IImageState *loader = CreateImageState(L"gif", false);
    IImageState *saver = CreateImageState(L"gif", true);
    EXPECT_FALSE(loader->StoreDIB((folder + L"state-load.gif").c_str(), 1, 1, 24, row.data()));
    EXPECT_TRUE(saver->StoreDIB((folder + L"state-save.gif").c_str(), 1, 1, 24, row.data()));
    delete loader;
    delete saver;
    // Names are matched exactly: the image lower-cases them first.
    IImageState *upper = CreateImageState(L"TGA", false);
    EXPECT_TRUE(upper->CanStore()); // the OLE picture class, not the TGA reader
    delete upper;
}

} // namespace
