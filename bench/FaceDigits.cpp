#include "bench/FaceDigits.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace bench {

namespace {

// Channels summed: a step of more than this between two colours is ink.
const int InkContrast = 96;

int Contrast(DWORD a, DWORD b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8)
        sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return sum;
}

} // namespace

FaceDigits::Shape FaceDigits::ShapeOf(const DWORD *pixels, int stride, int width, int height)
{
    std::map<DWORD, int> frequency;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ++frequency[pixels[y * stride + x]];
    DWORD background = 0;
    int most = 0;
    for (const auto &f : frequency)
        if (f.second > most) background = f.first, most = f.second;

    Shape shape;
    shape.width = width;
    shape.height = height;
    shape.ink.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            shape.ink[size_t(y) * width + x] =
                Contrast(pixels[y * stride + x], background) > InkContrast;
    return shape;
}

bool FaceDigits::Load(const std::wstring &programPath)
{
    digits_.clear();
    HMODULE module = LoadLibraryExW(programPath.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return false;
    std::vector<Shape> shapes;
    for (int digit = 0; digit < 10; ++digit) {
        HBITMAP bitmap = (HBITMAP)LoadImageW(module, MAKEINTRESOURCEW(FirstDigitId + digit),
                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        if (!bitmap) break;
        const wintest::Capture image = wintest::BitmapPixels(bitmap);
        DeleteObject(bitmap);
        if (image.pixels.empty()) break;
        shapes.push_back(ShapeOf(image.pixels.data(), image.width, image.width, image.height));
    }
    FreeLibrary(module);
    if (shapes.size() == 10) digits_ = shapes;
    return Loaded();
}

int FaceDigits::Read(const wintest::Capture &picture, int x, int y) const
{
    if (!Loaded() || x < 0 || y < 0) return -1;
    const int width = std::min(digits_[0].width, picture.width - x);
    const int height = std::min(digits_[0].height, picture.height - y);
    if (width <= 0 || height <= 0) return -1;
    const Shape seen =
        ShapeOf(&picture.pixels[size_t(y) * picture.width + x], picture.width, width, height);
    if (std::count(seen.ink.begin(), seen.ink.end(), 1) == 0) return -1;

    // The image the program drew matches but for a few pixels; anything
    // else (a half-drawn cell, a zoomed face) fits no digit that well.
    int best = -1, bestMisses = width * height / 50 + 1;
    for (int digit = 0; digit < 10; ++digit) {
        const Shape &d = digits_[digit];
        if (d.width < width || d.height < height) continue;
        int misses = 0;
        for (int row = 0; row < height; ++row)
            for (int col = 0; col < width; ++col)
                misses += seen.ink[size_t(row) * width + col] != d.ink[size_t(row) * d.width + col];
        if (misses < bestMisses) best = digit, bestMisses = misses;
    }
    return best;
}

int FaceDigits::ReadPair(const wintest::Capture &picture, int tensX, int unitsX, int y) const
{
    const int tens = Read(picture, tensX, y), units = Read(picture, unitsX, y);
    return tens < 0 || units < 0 ? -1 : tens * 10 + units;
}

} // namespace bench
