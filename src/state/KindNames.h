#pragma once
// The name of every kind of actor, as the level files name the monsters and the report names
// everything: "chicken" for kind 0, "bullet" for 16, "player" for 21.

#include <cstdint>
#include <string_view>

constexpr int32_t kKindCount = 25;

// Name of a kind number; empty outside 0..24.
std::string_view kindName(int32_t kind);
