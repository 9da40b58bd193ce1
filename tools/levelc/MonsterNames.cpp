#include "MonsterNames.h"

#include "state/KindNames.h"
#include "world/MapRecord.h"

namespace {

constexpr char kFaction[kFightingKinds + 1] = "ABCDAADBCDBCADCB";

}  // namespace

std::optional<uint8_t> monsterTypeByName(std::string_view name) {
    for (int32_t type = 0; type < kKindCount; ++type)
        if (makesMonster(static_cast<uint8_t>(type)) && kindName(type) == name)
            return static_cast<uint8_t>(type);
    return std::nullopt;
}

std::string_view monsterName(uint8_t type) {
    return makesMonster(type) ? kindName(type) : std::string_view();
}

char monsterFaction(uint8_t type) {
    return type < kFightingKinds ? kFaction[type] : '-';
}
