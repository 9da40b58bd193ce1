#pragma once
// The level start: from a map record to a level being played.

class CLevel;

// Clears the world but for the player, advances the level to the next one, puts the player at
// its start and six disks about, and starts the level's music.
void startLevel(CLevel& level);
