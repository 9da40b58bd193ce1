// Whatever bytes the keys file holds, the game's reader ends with every action pressed by up to
// four keys it knows (none is allowed: "locator ="), listed first, says each problem in one line
// that names the file, and keeps keys that write out and read back the same.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "ScratchFile.h"
#include "platform/Controls.h"
#include "platform/Messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CScratchFile file(CControls::kFileName);
    file.hold(data, size);
    CControls& controls = CControls::instance();
    controls.setDefaults();
    for (const std::string& problem : loadControls(file.path()))
        if (problem.rfind(file.path() + ":", 0) != 0 ||
            printable(problem).find('\n') != std::string::npos)
            __builtin_trap();
    // A file this small is read, never taken for one that cannot be (which nothing would fuzz).
    if (size < 4096 && controls.path != file.path()) __builtin_trap();

    for (const auto& list : controls.keys) {
        int count = 0;
        while (count < CControls::kMaxKeysPerAction && list[count] != 0) {
            if (keyName(list[count]).empty()) __builtin_trap();
            ++count;
        }
        for (int i = count; i < CControls::kMaxKeysPerAction; ++i)
            if (list[i] != 0) __builtin_trap();
    }

    uint8_t kept[kButtonCount][CControls::kMaxKeysPerAction];
    std::memcpy(kept, controls.keys, sizeof kept);
    const std::string text = controls.text();
    controls.setDefaults();
    if (!controls.parse(text, "again").empty()) __builtin_trap();
    if (std::memcmp(kept, controls.keys, sizeof kept) != 0) __builtin_trap();
    return 0;
}
