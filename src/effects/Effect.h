#pragma once
// A short-lived picture on top of the maze that never touches the game: a particle burst, a
// laser beam, an explosion ring. The effect manager owns it and deletes it once it is done.

#include <cstdint>

class CEffect {
public:
    virtual ~CEffect() = default;
    // One step of the effect; sets done when it has run its course.
    virtual void update() = 0;
    virtual void draw(uint16_t* surface) = 0;

    bool done = false;
};
