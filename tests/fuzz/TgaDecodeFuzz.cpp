// libFuzzer entry for the TGA decoder. Besides the sanitizers' own checks it
// asserts the promises the image loader builds on: a decoded picture has the
// size its header announces and exactly the bytes a padded DIB of that size
// needs.
#include "imaging/TgaDecode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    tga::DecodedImage image;
    if (!tga::Decode(data, size, image)) {
        if (!image.pixels.empty() || image.width != 0) std::abort();
        return 0;
    }
    if (size < 18) std::abort();
    const int width = data[12] | (data[13] << 8);
    const int height = data[14] | (data[15] << 8);
    if (image.width != width || image.height != height) std::abort();
    if (image.bitsPerPixel != 24 && image.bitsPerPixel != 32) std::abort();
    if (image.stride % 4 != 0 || image.stride < std::size_t(width) * (image.bitsPerPixel / 8))
        std::abort();
    if (image.pixels.size() != image.stride * std::size_t(height)) std::abort();
    return 0;
}
