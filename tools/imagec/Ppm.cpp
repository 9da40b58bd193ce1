#include "Ppm.h"

#include <cctype>
#include <fstream>
#include <iterator>

uint16_t rgb565(unsigned r, unsigned g, unsigned b) {
    const unsigned r5 = (r * 31 + 127) / 255, g6 = (g * 63 + 127) / 255, b5 = (b * 31 + 127) / 255;
    return static_cast<uint16_t>(r5 << 11 | g6 << 5 | b5);
}

namespace {

// Reads the next header number, skipping white space and '#' comments. -1 when there is none.
long headerNumber(const std::string& data, size_t& pos) {
    while (pos < data.size()) {
        if (data[pos] == '#') {
            while (pos < data.size() && data[pos] != '\n') ++pos;
        } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    if (pos >= data.size() || !std::isdigit(static_cast<unsigned char>(data[pos]))) return -1;
    long value = 0;
    while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos]))) {
        value = value * 10 + (data[pos++] - '0');
        if (value > 100000) return -1;
    }
    return value;
}

}  // namespace

bool readPpm(const std::string& path, SSprite& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the picture";
        return false;
    }
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (data.size() < 2 || data[0] != 'P' || data[1] != '6') {
        error = path + ": not a binary PPM picture (P6)";
        return false;
    }
    size_t pos = 2;
    const long width = headerNumber(data, pos), height = headerNumber(data, pos);
    const long maxValue = headerNumber(data, pos);
    if (width <= 0 || height <= 0 || maxValue != 255 || pos >= data.size()) {
        error = path + ": bad PPM header (need a size and a maximum value of 255)";
        return false;
    }
    ++pos;  // the single white-space byte before the pixels
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (data.size() - pos < count * 3) {
        error = path + ": the picture is cut short";
        return false;
    }
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    out.pixels.resize(count);
    const auto* p = reinterpret_cast<const unsigned char*>(data.data() + pos);
    for (size_t i = 0; i < count; ++i, p += 3) out.pixels[i] = rgb565(p[0], p[1], p[2]);
    return true;
}
