#include "platform/png_download.h"

#include <emscripten/emscripten.h>

namespace {

// clang-format off
EM_JS(void, offerPicture, (const char* name, int width, int height, const unsigned char* rgb), {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    const image = context.createImageData(width, height);
    for (let y = 0; y < height; ++y) {
        const from = rgb + (height - 1 - y) * width * 3;
        for (let x = 0; x < width; ++x) {
            const to = (y * width + x) * 4;
            image.data[to] = HEAPU8[from + x * 3];
            image.data[to + 1] = HEAPU8[from + x * 3 + 1];
            image.data[to + 2] = HEAPU8[from + x * 3 + 2];
            image.data[to + 3] = 255;
        }
    }
    context.putImageData(image, 0, 0);
    const fileName = UTF8ToString(name);
    canvas.toBlob((blob) => {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = fileName;
        document.body.appendChild(link);
        link.click();
        link.remove();
        // The download has its own copy by then.
        setTimeout(() => URL.revokeObjectURL(link.href), 60000);
        err('tumbra: saved ' + fileName + ' (a download)');
    }, 'image/png');
});
// clang-format on

} // namespace

void offerPngDownload(const std::string& name, int width, int height,
                      const std::vector<unsigned char>& bottomUpRgb) {
    if (width > 0 && height > 0 &&
        bottomUpRgb.size() >= static_cast<std::size_t>(width) * height * 3) {
        offerPicture(name.c_str(), width, height, bottomUpRgb.data());
    }
}
