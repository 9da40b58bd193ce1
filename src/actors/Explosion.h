#pragma once
// What every explosion shares (the rocket, the egg, the grenade, the berzerker): a ring that grows
// from the blast, and one hit for every live, unshielded actor filed in the 5 x 5 tiles around,
// clipped at the maze edges, not wrapped. Victims that explode in turn make their own blasts.

#include <cstdint>

class CGameObject;

// A ring of 20 pixels growing from the centre of the actor's box.
void addShockwave(const CGameObject& source, uint16_t colour);
// takeDamage(source) for every live actor with no shield in the tiles around the source, in
// identity order.
void blastAround(CGameObject& source);
// The rest of an exploding actor's death, once it is marked dead and its bang has sounded: out of
// the cells under both its positions, its score to the killer (a player number, or 0), the ring,
// the blast and a large burst in its colours.
void explode(CGameObject& source, int32_t killer, uint16_t ringColour);
