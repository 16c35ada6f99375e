// Truevision TGA decoding over a byte buffer. Standard C++ only, so that the
// same code runs inside the library and in a native fuzzing harness.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tga {

// A decoded picture laid out as a bottom-up Windows DIB: the first row in
// memory is the bottom line, every row padded to a multiple of 4 bytes,
// pixels in blue-green-red(-alpha) order.
struct DecodedImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // 24 or 32
    std::size_t stride = 0;
    std::vector<std::uint8_t> pixels;
};

// Largest decoded picture accepted: a header may claim up to 65535 x 65535
// pixels, which a run-length file of a few kilobytes could otherwise make us
// allocate.
constexpr std::size_t MaxDecodedBytes = std::size_t(512) * 1024 * 1024;

// Decodes uncompressed (type 2) and run-length encoded (type 10) true-colour
// images of 24 or 32 bits per pixel, and colour-mapped ones (types 1 and 9)
// with 8-bit indices into a map of 24- or 32-bit entries. Honours the
// image-identification field, the colour map that follows it (skipped for
// true-colour images) and the origin bits of the image descriptor. Returns false, with `out`
// emptied, for anything else, for truncated data and for pictures larger than MaxDecodedBytes;
// never reads outside [data, data + size).
bool Decode(const std::uint8_t *data, std::size_t size, DecodedImage &out);

} // namespace tga
