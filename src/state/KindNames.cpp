#include "state/KindNames.h"

namespace {

constexpr std::string_view kNames[kKindCount] = {
    "chicken", "zombie",    "soldier",   "lemonshark", "scorp",      "beav",   "wizard",
    "grim",    "rocketeer", "berzerker", "biter",      "grenadeer",  "lbug",   "eye",
    "joust",   "ghost",     "bullet",    "spit",       "telebullet", "rocket", "grenade",
    "player",  "dummy",     "disk",      "egg"};

}  // namespace

std::string_view kindName(int32_t kind) {
    return kind >= 0 && kind < kKindCount ? kNames[kind] : std::string_view();
}
