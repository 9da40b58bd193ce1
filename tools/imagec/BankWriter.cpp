#include "BankWriter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

bool writeBank(const std::string& path, const std::vector<SSprite>& bank, std::string& error) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary);
        if (!out) {
            error = temporary + ": cannot write";
            return false;
        }
        out << "// Made by imagec from the sprite sources under assets/images/. Do not edit.\n"
               "#include <cstdint>\n\n#include \"render/ImageBank.h\"\n\nnamespace {\n";
        char hex[8];
        for (size_t i = 0; i < bank.size(); ++i) {
            const SSprite& s = bank[i];
            // A picture file lies in the build tree: name it alone, so the output is the same
            // in every build folder.
            out << "\n// " << i << " " << s.name << " (" << (s.line > 0 ? s.origin() : "picture")
                << ")\n"
                << "const uint16_t kPixels" << i << "[" << s.pixels.size() << "] = {";
            for (size_t p = 0; p < s.pixels.size(); ++p) {
                // One line per pixel row of a sprite, sixteen pixels a line for the title.
                if (p % std::min<size_t>(static_cast<size_t>(s.width), 16) == 0) out << "\n   ";
                std::snprintf(hex, sizeof hex, " 0x%04X", s.pixels[p]);
                out << hex << ",";
            }
            out << "\n};\n";
        }
        out << "\n}  // namespace\n\nstatic_assert(kImageCount == " << bank.size()
            << ");\n\nconst SImage kImageBank[kImageCount] = {\n";
        for (size_t i = 0; i < bank.size(); ++i)
            out << "    {" << bank[i].width << ", " << bank[i].height << ", kPixels" << i << "},\n";
        out << "};\n";
        out.flush();
        if (!out) {
            error = temporary + ": cannot write";
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": cannot replace";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
