#include "platform/PngWriter.h"

#include <png.h>

#include <vector>

#include "platform/Files.h"

namespace {

// libpng's output goes to a byte vector.
void appendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void flushNothing(png_structp) {}

// The libpng calls, which report errors by longjmp: only plain values live in this frame, so
// nothing is clobbered by the jump. False when libpng gave up.
bool encode(png_structp png, png_infop info, std::vector<uint8_t>* file, const uint16_t* pixels,
            int width, int height, int scale, png_bytep row) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_set_write_fn(png, file, appendBytes, flushNothing);
    const int outWidth = width * scale;
    png_set_IHDR(png, info, static_cast<png_uint_32>(outWidth),
                 static_cast<png_uint_32>(height * scale), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint16_t* src = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < outWidth; ++x) rgb565ToRgb8(src[x / scale], &row[x * 3]);
        for (int k = 0; k < scale; ++k) png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool writePng(const std::string& path, const uint16_t* pixels, int width, int height, int scale,
              std::string& error) {
    if (width <= 0 || height <= 0 || scale <= 0) {
        error = "empty picture";
        return false;
    }
    // Encoded in memory, then written in one go: a full disk never leaves half a picture.
    std::vector<uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(static_cast<size_t>(width) * scale * 3);
    const bool ok =
        png && info && encode(png, info, &file, pixels, width, height, scale, row.data());
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (!ok) {
        error = path + ": cannot encode PNG";
        return false;
    }
    return writeFileAtomically(path, file.data(), file.size(), error);
}
