#pragma once
// What the lower layers ask of the actors above them (the mixer where sounds are heard from, the
// actor base whose kill scores and what a carrier drops) goes through hooks they declare. Every
// program that builds a game wires them here, once, at start-up: never from a static initialiser,
// which a static library drops along with an object file nobody references.

// Sets every hook; the same for every program (the game, the tests, the benchmarks, the fuzzers).
void wireGameHooks();
