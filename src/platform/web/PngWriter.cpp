// The browser's writePng: the page has no libpng, and a picture written into the tab's own files
// would reach nobody, so the options that write pictures say so instead.

#include "platform/PngWriter.h"

bool writePng(const std::string& path, const uint16_t*, int, int, int, std::string& error) {
    error = path + ": pictures cannot be written in the browser";
    return false;
}
