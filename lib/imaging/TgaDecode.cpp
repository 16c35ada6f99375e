#include "imaging/TgaDecode.h"

#include <cstring>
#include <new>

namespace tga {

namespace {

constexpr std::size_t HeaderSize = 18;
constexpr int TypeColorMapped = 1;
constexpr int TypeTrueColor = 2;
constexpr int TypeColorMappedRle = 9;
constexpr int TypeTrueColorRle = 10;
constexpr std::uint8_t OriginRight = 0x10;
constexpr std::uint8_t OriginTop = 0x20;

unsigned Word(const std::uint8_t *p)
{
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

// The palette of a colour-mapped image: `length` entries of `entryBytes`
// each, for the indices from `first` on.
struct ColorMap {
    const std::uint8_t *entries = nullptr;
    std::size_t first = 0;
    std::size_t length = 0;
    std::size_t entryBytes = 0;
};

// Places pixels in file order (left to right, rows in the order the
// descriptor gives) into the DIB layout; with a colour map the file's
// pixels are 8-bit indices into it.
class PixelSink {
public:
    PixelSink(DecodedImage &image, std::uint8_t descriptor, const ColorMap &map)
        : image_(image), map_(map), bytesPerPixel_(std::size_t(image.bitsPerPixel / 8)),
          fromTop_((descriptor & OriginTop) != 0), fromRight_((descriptor & OriginRight) != 0),
          remaining_(std::size_t(image.width) * std::size_t(image.height))
    {
        StartRow();
    }

    std::size_t Remaining() const { return remaining_; }

    // False for an index outside the colour map.
    bool Put(const std::uint8_t *pixel)
    {
        if (map_.entries) {
            if (*pixel < map_.first || *pixel - map_.first >= map_.length) return false;
            pixel = map_.entries + (*pixel - map_.first) * map_.entryBytes;
        }
        std::memcpy(row_ + column_ * bytesPerPixel_, pixel, bytesPerPixel_);
        --remaining_;
        if (++x_ == std::size_t(image_.width)) {
            x_ = 0;
            ++y_;
            if (remaining_ > 0) StartRow();
        }
        column_ = fromRight_ ? std::size_t(image_.width) - 1 - x_ : x_;
        return true;
    }

private:
    void StartRow()
    {
        // The bottom line comes first unless the descriptor says otherwise,
        // which is also the order of a DIB's rows.
        const std::size_t h = std::size_t(image_.height);
        const std::size_t dibRow = fromTop_ ? h - 1 - y_ : y_;
        row_ = image_.pixels.data() + dibRow * image_.stride;
        column_ = fromRight_ ? std::size_t(image_.width) - 1 - x_ : x_;
    }

    DecodedImage &image_;
    const ColorMap map_;
    const std::size_t bytesPerPixel_;
    const bool fromTop_;
    const bool fromRight_;
    std::size_t remaining_;
    std::size_t x_ = 0;
    std::size_t y_ = 0;
    std::size_t column_ = 0;
    std::uint8_t *row_ = nullptr;
};

bool DecodeRaw(const std::uint8_t *p, std::size_t available, PixelSink &sink, std::size_t bpp)
{
    if (available / bpp < sink.Remaining()) return false;
    while (sink.Remaining() > 0) {
        if (!sink.Put(p)) return false;
        p += bpp;
    }
    return true;
}

bool DecodeRle(const std::uint8_t *p, std::size_t available, PixelSink &sink, std::size_t bpp)
{
    const std::uint8_t *const end = p + available;
    while (sink.Remaining() > 0) {
        if (p == end) return false;
        const std::uint8_t header = *p++;
        std::size_t count = std::size_t(header & 0x7F) + 1;
        if (count > sink.Remaining()) count = sink.Remaining(); // a packet may announce more
        if (header & 0x80) {
            if (std::size_t(end - p) < bpp) return false;
            for (std::size_t i = 0; i < count; ++i)
                if (!sink.Put(p)) return false;
            p += bpp;
        } else {
            if (std::size_t(end - p) / bpp < count) return false;
            for (std::size_t i = 0; i < count; ++i, p += bpp)
                if (!sink.Put(p)) return false;
        }
    }
    return true;
}

bool DecodeInto(const std::uint8_t *data, std::size_t size, DecodedImage &out)
{
    if (!data || size < HeaderSize) return false;
    const std::size_t idLength = data[0];
    const int colorMapType = data[1];
    const int imageType = data[2];
    const std::size_t mapFirst = Word(data + 3);
    const std::size_t mapLength = Word(data + 5);
    const std::size_t mapEntryBits = data[7];
    const int width = int(Word(data + 12));
    const int height = int(Word(data + 14));
    const int bits = data[16];
    const std::uint8_t descriptor = data[17];

    const bool mapped = imageType == TypeColorMapped || imageType == TypeColorMappedRle;
    const bool rle = imageType == TypeTrueColorRle || imageType == TypeColorMappedRle;
    if (!mapped && imageType != TypeTrueColor && imageType != TypeTrueColorRle) return false;
    if (colorMapType > 1) return false;
    if (width == 0 || height == 0) return false;
    // Colour-mapped pixels are 8-bit indices into a map of 24- or 32-bit
    // entries, which then give the picture's depth.
    if (mapped && (colorMapType != 1 || bits != 8 || mapLength == 0 ||
                   (mapEntryBits != 24 && mapEntryBits != 32)))
        return false;
    if (!mapped && bits != 24 && bits != 32) return false;

    // Image identification and the colour map (used or not) sit between the
    // header and the pixels, in that order.
    ColorMap map;
    std::size_t offset = HeaderSize + idLength;
    if (colorMapType == 1) {
        map.entries = mapped ? data + offset : nullptr;
        map.first = mapFirst;
        map.length = mapLength;
        map.entryBytes = (mapEntryBits + 7) / 8;
        offset += mapLength * map.entryBytes;
    }
    if (offset > size) return false;
    const std::size_t available = size - offset;

    const std::size_t bpp = std::size_t(bits / 8); // in the file
    const std::size_t pixelCount = std::size_t(width) * std::size_t(height);
    // Refuse before allocating what the data cannot possibly fill: raw data
    // needs every pixel, and one run packet yields at most 128 pixels.
    if (!rle && available / bpp < pixelCount) return false;
    if (rle && (available / (bpp + 1)) * 128 < pixelCount) return false;

    const int outBits = mapped ? int(mapEntryBits) : bits;
    const std::size_t stride =
        (std::size_t(width) * std::size_t(outBits / 8) + 3) & ~std::size_t(3);
    if (stride > MaxDecodedBytes / std::size_t(height)) return false;

    out.width = width;
    out.height = height;
    out.bitsPerPixel = outBits;
    out.stride = stride;
    try {
        out.pixels.assign(stride * std::size_t(height), 0);
    } catch (const std::bad_alloc &) {
        return false;
    }

    PixelSink sink(out, descriptor, map);
    const std::uint8_t *pixels = data + offset;
    return rle ? DecodeRle(pixels, available, sink, bpp) : DecodeRaw(pixels, available, sink, bpp);
}

} // namespace

bool Decode(const std::uint8_t *data, std::size_t size, DecodedImage &out)
{
    out = DecodedImage();
    if (DecodeInto(data, size, out)) return true;
    out = DecodedImage();
    return false;
}

} // namespace tga
