// imagec: compiles the sprite sources (and the generated title picture) into the game's image
// bank. Usage:
//   imagec -o ImageBank.cpp [--picture INDEX FILE.ppm]... SOURCE.txt...
// Every fault is reported as "file:line: what" on stderr, and the exit status is then 1.

#include <cstdio>
#include <string>
#include <vector>

#include "BankLayout.h"
#include "BankWriter.h"
#include "Ppm.h"
#include "SpriteSource.h"

namespace {

int usage() {
    std::fputs("usage: imagec -o OUTPUT.cpp [--picture INDEX FILE.ppm]... SOURCE.txt...\n", stderr);
    return 1;
}

// Places a whole picture file at a bank index.
void readPicture(const std::string& indexWord, const std::string& path, std::vector<SSprite>& bank,
                 std::vector<std::string>& errors) {
    int index = -1;
    if (!indexWord.empty() && indexWord.size() < 4 &&
        indexWord.find_first_not_of("0123456789") == std::string::npos)
        index = std::stoi(indexWord);
    if (index < 0 || index >= kBankSize) {
        errors.push_back(path + ": bad image index \"" + indexWord + "\"");
        return;
    }
    SSprite s;
    std::string error;
    if (!readPpm(path, s, error)) {
        errors.push_back(error);
        return;
    }
    const SImageSize need = requiredSize(index);
    if (s.width != need.width || s.height != need.height) {
        errors.push_back(path + ": the picture is " + std::to_string(s.width) + " x " +
                         std::to_string(s.height) + ", image " + indexWord + " must be " +
                         std::to_string(need.width) + " x " + std::to_string(need.height));
        return;
    }
    if (bank[static_cast<size_t>(index)].defined) {
        errors.push_back(path + ": image " + indexWord + " is already defined at " +
                         bank[static_cast<size_t>(index)].origin());
        return;
    }
    const size_t slash = path.find_last_of('/');
    s.name = slash == std::string::npos ? path : path.substr(slash + 1);
    s.file = path;
    s.defined = true;
    bank[static_cast<size_t>(index)] = std::move(s);
}

}  // namespace

int main(int argc, char** argv) {
    std::string output;
    std::vector<std::pair<std::string, std::string>> pictures;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            output = argv[++i];
        } else if (arg == "--picture" && i + 2 < argc) {
            pictures.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            sources.push_back(arg);
        }
    }
    if (output.empty() || sources.empty()) return usage();

    std::vector<SSprite> bank(kBankSize);
    std::vector<std::string> errors;
    for (const auto& [index, path] : pictures) readPicture(index, path, bank, errors);
    for (const std::string& source : sources) readSpriteSource(source, bank, errors);
    if (errors.empty()) checkComplete(bank, errors);
    if (errors.empty()) {
        std::string error;
        if (!writeBank(output, bank, error)) errors.push_back(error);
    }
    for (const std::string& e : errors) std::fprintf(stderr, "imagec: %s\n", e.c_str());
    return errors.empty() ? 0 : 1;
}
