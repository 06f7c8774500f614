#include "platform/png_image.h"

#include "platform/shared_library.h"

#include <png.h>

namespace {

constexpr int RgbBytes = 3;
constexpr const char* PngLibraryName = "libpng16.so.16";

using WriteToMemory = decltype(&png_image_write_to_memory);

// Loaded by the first encoding (the writer thread's first screenshot), and never at exec.
// Without it each encoding fails; the first says why on stderr.
WriteToMemory pngWriter() {
    static const WriteToMemory writer = [] {
        static SharedLibrary library(PngLibraryName);
        WriteToMemory found = nullptr;
        if (!library.bind(found, "png_image_write_to_memory")) {
            library.sayMissing("screenshots are not saved");
        }
        return found;
    }();
    return writer;
}

} // namespace

std::string encodePng(int width, int height, const std::vector<unsigned char>& bottomUpRgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (width <= 0 || height <= 0 ||
        bottomUpRgb.size() != static_cast<std::size_t>(width) * height * RgbBytes) {
        return "";
    }
    const WriteToMemory write = pngWriter();
    if (write == nullptr) {
        return "";
    }
    // A negative stride says the rows run bottom up.
    const png_int_32 stride = -width * RgbBytes;
    png_alloc_size_t size = 0;
    if (!write(&image, nullptr, &size, 0, bottomUpRgb.data(), stride, nullptr)) {
        return "";
    }
    std::string bytes(size, '\0');
    if (!write(&image, bytes.data(), &size, 0, bottomUpRgb.data(), stride, nullptr)) {
        return "";
    }
    bytes.resize(size);
    return bytes;
}
