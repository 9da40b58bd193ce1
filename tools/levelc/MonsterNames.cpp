#include "MonsterNames.h"

namespace {

struct SMonsterName {
    uint8_t type;
    std::string_view name;
    char faction;
};

constexpr SMonsterName kNames[] = {
    {0, "chicken", 'A'},   {1, "zombie", 'B'},    {2, "soldier", 'C'}, {3, "lemonshark", 'D'},
    {4, "scorp", 'A'},     {5, "beav", 'A'},      {6, "wizard", 'D'},  {7, "grim", 'B'},
    {8, "rocketeer", 'C'}, {9, "berzerker", 'D'}, {10, "biter", 'B'},  {11, "grenadeer", 'C'},
    {12, "lbug", 'A'},     {13, "eye", 'D'},      {14, "joust", 'C'},  {15, "ghost", 'B'},
    {22, "dummy", '-'},
};

}  // namespace

std::optional<uint8_t> monsterTypeByName(std::string_view name) {
    for (const SMonsterName& entry : kNames)
        if (entry.name == name) return entry.type;
    return std::nullopt;
}

std::string_view monsterName(uint8_t type) {
    for (const SMonsterName& entry : kNames)
        if (entry.type == type) return entry.name;
    return {};
}

char monsterFaction(uint8_t type) {
    for (const SMonsterName& entry : kNames)
        if (entry.type == type) return entry.faction;
    return '-';
}
