#pragma once

// The simulation's own sine, cosine, arc tangent and integer power. A C library's versions may
// differ from one another, and from one processor to the next, in the last bit; these are
// plain IEEE double arithmetic from one source, so every build of the game (compiled with FMA
// contraction off) gets the same bits on every machine.
//
// Accuracy: before the final rounding the error is below about 2^-68 of the result, so the
// result is the correctly rounded value in all but about one case in 2^15 and otherwise one
// ulp off it. Every argument is handled, however large: its reduction by pi/2 is exact.
// Special values follow C's sin, cos and atan2 (signed zeros included).

struct SinCos {
    double sn;
    double cs;
};

double ownSin(double x);
double ownCos(double x);
// Both from one argument reduction: what a rotation needs.
SinCos ownSinCos(double x);
double ownAtan2(double y, double x);

// For float arguments, the results rounded to float: exactly float(ownSin(x)) and the others,
// but faster. A plain double evaluation answers unless its value lies too near the midpoint
// between two floats; then the full evaluation does.
struct SinCosFloat {
    float sn;
    float cs;
};
SinCosFloat ownSinCosFloat(float x);
float ownAtan2Float(float y, float x);

// x to the power n >= 0, evaluated in double-double: correctly rounded when x is a float and
// n <= 3 (the products are exact), and for n up to 6 in all but astronomically rare cases.
double integerPower(double x, int n);
