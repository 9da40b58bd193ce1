#pragma once
// Math that gives the same bits on every compiler, library and machine. The sample bank is made
// at build time and the game's audio (replays hash it) must not change with the toolchain, so
// the synthesiser uses only +, -, *, / and exact library operations (floor, ldexp, frexp, sqrt),
// never the C library's sin or exp, whose last bits differ between versions.

namespace det {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kLn2 = 0.69314718055994530942;

double sin(double x);
double cos(double x);
double tan(double x);   // for |x| < pi/2
double exp2(double x);  // 2^x
double log2(double x);  // x > 0
double exp(double x);
double tanh(double x);
double dbToGain(double db);

// Equal temperament with A4 (MIDI note 69) at 440 Hz; fractional notes bend the pitch.
double noteToHz(double midiNote);
double hzToNote(double hz);

// A sine of one turn (phase 0..1) from a table: the oscillators call it once per sample.
double sinTurn(double phase);

}  // namespace det
