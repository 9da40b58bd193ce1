#include "rules/MonsterFactory.h"

#include "actors/Biters.h"
#include "actors/Chargers.h"
#include "actors/Shooters.h"
#include "actors/Specialists.h"
#include "state/Random.h"
#include "world/Level.h"

CBaseMonster* createMonster(int32_t type) {
    CBaseMonster* monster = nullptr;
    switch (type) {
        case kKindChicken:
            monster = new CMChicken;
            break;
        case kKindZombie:
            monster = new CMZombie;
            break;
        case kKindSoldier:
            monster = new CMSoldier;
            break;
        case kKindLemonShark:
            monster = new CMLemonShark;
            break;
        case kKindScorp:
            monster = new CMScorp;
            break;
        case kKindBeav:
            monster = new CMBeav;
            break;
        case kKindWizard:
            monster = new CMWizard;
            break;
        case kKindGrim:
            monster = new CMGrim;
            break;
        case kKindRocketeer:
            monster = new CMRocketeer;
            break;
        case kKindBerzerker:
            monster = new CMBerzerker;
            break;
        case kKindBiter:
            monster = new CMBiter;
            break;
        case kKindGrenadeer:
            monster = new CMGrenadeer;
            break;
        case kKindLBug:
            monster = new CMLBug;
            break;
        case kKindEye:
            monster = new CMEye;
            break;
        case kKindJoust:
            monster = new CMJoust;
            break;
        case kKindGhost:
            monster = new CMGhost;
            break;
        case kKindDummy:
            monster = new CMDummy;
            break;
        default:
            return nullptr;  // no class of that number
    }
    monster->setup();
    return monster;
}

CBaseMonster* createRandomMonster(const CLevel& level) {
    const SMapRecord* map = level.currentMap;
    if (!map || map->monsterTypeCount == 0) return nullptr;
    return createMonster(map->monsterTypes[gameRand() % map->monsterTypeCount]);
}
