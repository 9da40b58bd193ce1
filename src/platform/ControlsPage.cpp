#include "platform/ControlsPage.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Messages.h"

namespace {

CControlsPage* gInstance = nullptr;

constexpr const char* kActionLabels[CControls::kActionCount] = {
    "UP",         "DOWN", "LEFT",    "RIGHT", "UP LEFT", "UP RIGHT",  "DOWN LEFT",
    "DOWN RIGHT", "FIRE", "LOCATOR", "MENU",  "SELECT",  "VOLUME UP", "VOLUME DOWN"};

constexpr int32_t kFullVolume = 256;

// A key's name in the page's capitals.
std::string shownName(int usage) {
    std::string name(keyName(usage));
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name.empty() ? "THAT KEY" : name;
}

void say(char (&line)[64], const std::string& text) {
    std::snprintf(line, sizeof line, "%s", text.c_str());
}

}  // namespace

CControlsPage& CControlsPage::instance() {
    if (!gInstance) gInstance = new CControlsPage;
    return *gInstance;
}

void CControlsPage::resetInstance() {
    delete gInstance;
    gInstance = nullptr;
}

int CControlsPage::itemAt(int32_t x, int32_t y) {
    if (x < 0 || x >= 320) return -1;
    for (int item = 0; item < kItems; ++item) {
        const int32_t centre = rowY(item);
        if (y >= centre - kRowHeight / 2 && y < centre + kRowHeight / 2) return item;
    }
    return -1;
}

const char* CControlsPage::actionLabel(int action) {
    return kActionLabels[action];
}

void CControlsPage::open() {
    isOpen = true;
    cursor = kVolumeItem;
    binding = false;
    volumeWanted = -1;
    pressedItem_ = -1;
    said[0][0] = said[1][0] = '\0';
    std::memcpy(keysAtOpen_, CControls::instance().keys, sizeof keysAtOpen_);
}

void CControlsPage::close() {
    isOpen = false;
    binding = false;
    volumeWanted = -1;
    CControls& controls = CControls::instance();
    if (std::memcmp(keysAtOpen_, controls.keys, sizeof keysAtOpen_) == 0 || controls.path.empty())
        return;
    std::string error;
    if (controls.save(error)) {
        ++saves;
        note = "KEYS SAVED";
    } else {
        reportLine("keys not saved: " + error);
        note = "KEYS NOT SAVED";
    }
}

ButtonMask CControlsPage::step(const SInput& in) {
    // The mouse: pointing highlights an item (not while a key is awaited: the action stays),
    // a press and release on one item chooses it, a press on the bar sets the volume there.
    const int pointed = in.pointerIn ? itemAt(in.pointerX, in.pointerY) : -1;
    if (in.pointerMoved && pointed >= 0 && !binding) cursor = pointed;
    if (in.pointerPressed) {
        if (binding) {
            binding = false;
            say(said[0], "NO KEY CHANGED");
            said[1][0] = '\0';
        }
        pressedItem_ = pointed;
        if (pointed >= 0) cursor = pointed;
    }
    if (in.pointerDown && pressedItem_ == kVolumeItem && pointed == kVolumeItem)
        volumeWanted = std::clamp((in.pointerX - kBarLeft) * 2, 0, kFullVolume);
    if (in.pointerReleased) {
        const int item = pressedItem_;
        pressedItem_ = -1;
        if (item >= 0 && item != kVolumeItem && item == pointed) choose(item);
    }

    if (binding) {
        if (in.back && in.newKeyCount == 0) {  // F1 or a controller's B or Y: no key after all
            binding = false;
            say(said[0], "NO KEY CHANGED");
            said[1][0] = '\0';
        } else if (in.newKeyCount > 0) {
            bindKey(in.newKeys[0]);
        }
        return isOpen ? kControlsOpen | volumeButtons(in) : 0;
    }
    if (in.back) {
        close();
        return 0;
    }
    if (in.pressed & buttonBit(kButtonUp)) cursor = cursor == 0 ? kItems - 1 : cursor - 1;
    if (in.pressed & (buttonBit(kButtonDown) | buttonBit(kButtonSelect)))
        cursor = cursor == kItems - 1 ? 0 : cursor + 1;
    if (in.choose) choose(cursor);
    return isOpen ? kControlsOpen | volumeButtons(in) : 0;
}

ButtonMask CControlsPage::volumeButtons(const SInput& in) {
    constexpr ButtonMask kUp = buttonBit(kButtonVolumeUp);
    constexpr ButtonMask kDown = buttonBit(kButtonVolumeDown);
    // While a key is awaited the volume keys are keys like any other.
    ButtonMask buttons = binding ? 0 : in.held & (kUp | kDown);
    if (cursor == kVolumeItem && !binding) {
        if (in.held & buttonBit(kButtonRight)) buttons |= kUp;
        if (in.held & buttonBit(kButtonLeft)) buttons |= kDown;
    }
    // A click on the bar: a step a poll toward it, as the volume keys go.
    if (volumeWanted >= 0 && volumeSource) {
        const int32_t now = volumeSource();
        if (now < volumeWanted) buttons |= kUp;
        if (now > volumeWanted) buttons |= kDown;
        if (now == volumeWanted && !in.pointerDown) volumeWanted = -1;
    }
    return buttons;
}

void CControlsPage::choose(int item) {
    said[0][0] = said[1][0] = '\0';
    if (item == kDoneItem) {
        close();
    } else if (item == kDefaultsItem) {
        CControls::instance().setDefaults();
        say(said[0], "EVERY ACTION HAS ITS DEFAULT KEYS");
    } else if (item >= kFirstActionItem) {
        binding = true;
        say(said[0], std::string("PRESS A KEY FOR ") + kActionLabels[item - kFirstActionItem]);
        say(said[1], "ONE OF ITS OWN KEYS IS TAKEN OFF IT");
    }
}

void CControlsPage::bindKey(int usage) {
    CControls& controls = CControls::instance();
    const int action = cursor - kFirstActionItem;
    const EButton button = CControls::actionButton(action);
    const std::string key = shownName(usage);
    const std::string label = kActionLabels[action];
    const CControls::SBound bound = controls.bind(button, usage);
    said[1][0] = '\0';
    if (bound.refused) {  // keep waiting for one that can be
        say(said[0], key + " CANNOT BE BOUND: ANOTHER KEY");
        return;
    }
    binding = false;
    if (bound.removed) {
        say(said[0], key + " TAKEN OFF " + label);
        if (controls.keys[button][0] == 0) say(said[1], label + " HAS NO KEY NOW");
        return;
    }
    std::string more;
    if (bound.dropped != 0) more = "IN PLACE OF " + shownName(bound.dropped) + " (FOUR AT MOST)";
    if (bound.takenFrom == kButtonCount) {
        say(said[0], key + " ADDED TO " + label);
    } else {
        int from = 0;
        while (CControls::actionButton(from) != bound.takenFrom) ++from;
        say(said[0], key + " TAKEN FROM " + kActionLabels[from] + " FOR " + label);
        if (controls.keys[bound.takenFrom][0] == 0)
            more += (more.empty() ? "" : ", ") + std::string(kActionLabels[from]) + " HAS NO KEY";
    }
    say(said[1], more);
}
