#include "platform/Pointer.h"

#include "platform/Buttons.h"

namespace {

struct STarget {
    int id;
    int32_t x0, y0, x1, y1;
};

// A menu has at most four items, the high-score table ten entries.
constexpr int kMaxTargets = 12;

struct STargets {
    STarget target[kMaxTargets];
    int count = 0;
};

STargets gDrawn;  // for the picture being drawn
STargets gShown;  // of the picture shown

}  // namespace

void addPointerTarget(int id, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (id < 1 || id > kMaxPointerTarget || gDrawn.count == kMaxTargets) return;
    gDrawn.target[gDrawn.count++] = {id, x0, y0, x1, y1};
}

void showPointerTargets() {
    gShown = gDrawn;
    gDrawn.count = 0;
}

int pointerTargetAt(int32_t x, int32_t y) {
    for (int i = 0; i < gShown.count; ++i) {
        const STarget& t = gShown.target[i];
        if (x >= t.x0 && x < t.x1 && y >= t.y0 && y < t.y1) return t.id;
    }
    return 0;
}

bool pointerTargetsShown() {
    return gShown.count > 0;
}

void clearPointerTargets() {
    gDrawn.count = 0;
    gShown.count = 0;
}
