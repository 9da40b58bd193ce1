#pragma once
// The names level files give the monster types of the factory.

#include <cstdint>
#include <optional>
#include <string_view>

// Type number of a monster name ("soldier" -> 2, "dummy" -> 22); none for an unknown name.
std::optional<uint8_t> monsterTypeByName(std::string_view name);
// Name of a type number; empty for a number the factory makes nothing of.
std::string_view monsterName(uint8_t type);
// The sixteen kinds that fight (0..15); the dummy (22) is only a target.
constexpr int32_t kFightingKinds = 16;
// Faction letter A..D of a fighting kind.
char monsterFaction(uint8_t type);
