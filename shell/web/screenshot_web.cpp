// The screenshot in the page: the picture just drawn, offered as a PNG file to download.
#include "player/screenshot.h"

#include "platform/png_download.h"

void takeScreenshot(int width, int height, const PictureReader& readPicture) {
    if (width > 0 && height > 0) {
        offerPngDownload(screenshotFileName(), width, height, readPicture(width, height));
    }
}
