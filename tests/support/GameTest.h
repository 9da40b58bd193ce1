#pragma once
// A fixture that gives every test a freshly started game: every singleton back to its initial
// state, the random generator seeded with 1.

#include <gtest/gtest.h>

// Returns every game-wide singleton to the state of a fresh start.
void resetGameSingletons();

class CGameTest : public ::testing::Test {
protected:
    void SetUp() override { resetGameSingletons(); }
    void TearDown() override { resetGameSingletons(); }
};

// A game in play rather than in the title's tutorial, on an empty maze.
class CPlayTest : public CGameTest {
protected:
    void SetUp() override;
};
