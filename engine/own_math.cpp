#include "engine/own_math.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

// Arithmetic on double-double values (an unevaluated sum hi + lo) carries the last steps of
// each function to about 106 bits, so that the one rounding at the end is nearly always the
// correct one. The tables are computed by the compiler from their series with the same
// arithmetic: exact IEEE operations in every compiler, no table typed in.
namespace {

struct Double2 {
    double hi;
    double lo;
};

// a + b exactly, for any a and b.
constexpr Double2 twoSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    return {s, (a - (s - bPart)) + (b - bPart)};
}

// a + b exactly, when |a| >= |b| or a is zero.
constexpr Double2 fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a as two halves of at most 26 bits each, whose products are exact (Dekker).
constexpr Double2 split(double a) {
    constexpr double Splitter = 134217729.0; // 2^27 + 1
    const double c = Splitter * a;
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b exactly, barring overflow and underflow.
constexpr Double2 twoProduct(double a, double b) {
    const double p = a * b;
    const Double2 as = split(a);
    const Double2 bs = split(b);
    return {p, ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo};
}

constexpr Double2 add(Double2 a, Double2 b) {
    const Double2 s = twoSum(a.hi, b.hi);
    const Double2 t = twoSum(a.lo, b.lo);
    const Double2 u = fastTwoSum(s.hi, s.lo + t.hi);
    return fastTwoSum(u.hi, u.lo + t.lo);
}

constexpr Double2 multiply(Double2 a, Double2 b) {
    const Double2 p = twoProduct(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr Double2 multiply(Double2 a, double b) {
    return multiply(a, Double2{b, 0.0});
}

constexpr Double2 divide(Double2 a, Double2 b) {
    const double q = a.hi / b.hi;
    const Double2 p = twoProduct(q, b.hi);
    const double rest = (((a.hi - p.hi) - p.lo) + a.lo) - q * b.lo;
    return fastTwoSum(q, rest / b.hi);
}

constexpr Double2 negated(Double2 a) {
    return {-a.hi, -a.lo};
}

// std::fabs for constant expressions.
constexpr double magnitude(double a) {
    return a < 0.0 ? -a : a;
}

constexpr Double2 PiOver2{0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr Double2 Pi{0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
constexpr Double2 Zero{0.0, 0.0};
constexpr double Infinity = std::numeric_limits<double>::infinity();
// A series is summed until its terms fall below this part of the sum.
constexpr double SeriesEnd = 0x1p-110;

// ---- The tables: sin and cos at i/128 for 0 <= i <= 101, atan at i/128 for 0 <= i <= 128.

constexpr int TableSteps = 128;
constexpr double TableStep = 1.0 / TableSteps;
// pi/4 is 100.5 steps; the reduction may overshoot pi/4 by a rounding.
constexpr int SinTableSize = 102;
constexpr int AtanTableSize = TableSteps + 1;

struct SinCosRow {
    Double2 sn;
    Double2 cs;
};

// The Taylor series of sin x (first = x, start = 1) or cos x (first = 1, start = 0).
constexpr Double2 taylor(double x, double first, int start) {
    const double square = x * x; // exact: x is i/128
    Double2 term{first, 0.0};
    Double2 sum = term;
    for (int n = start + 2; magnitude(term.hi) > SeriesEnd; n += 2) {
        term = multiply(term, -square);
        term = divide(term, Double2{double(n - 1) * n, 0.0});
        sum = add(sum, term);
    }
    return sum;
}

constexpr std::array<SinCosRow, SinTableSize> makeSinCosTable() {
    std::array<SinCosRow, SinTableSize> table{};
    for (int i = 0; i < SinTableSize; ++i) {
        const double x = i * TableStep;
        table[i] = {taylor(x, x, 1), taylor(x, 1.0, 0)};
    }
    return table;
}

// atan x = x/(1+x^2) * sum over n of (2n)!! / (2n+1)!! * (x^2/(1+x^2))^n (Euler), whose ratio
// is at most 1/2 for x <= 1.
constexpr Double2 eulerAtan(double x) {
    const double square = x * x;               // exact: x is i/128
    const double onePlusSquare = 1.0 + square; // exact likewise
    const Double2 ratio = divide(Double2{square, 0.0}, Double2{onePlusSquare, 0.0});
    Double2 term = divide(Double2{x, 0.0}, Double2{onePlusSquare, 0.0});
    Double2 sum = term;
    for (int n = 1; term.hi > SeriesEnd * sum.hi; ++n) {
        term = multiply(multiply(term, ratio), double(2 * n));
        term = divide(term, Double2{double(2 * n + 1), 0.0});
        sum = add(sum, term);
    }
    return sum;
}

constexpr std::array<Double2, AtanTableSize> makeAtanTable() {
    std::array<Double2, AtanTableSize> table{};
    for (int i = 1; i < AtanTableSize; ++i) {
        table[i] = eulerAtan(i * TableStep);
    }
    return table;
}

constexpr std::array<SinCosRow, SinTableSize> SinCosTable = makeSinCosTable();
constexpr std::array<Double2, AtanTableSize> AtanTable = makeAtanTable();

// The table point nearest to t >= 0: the index rounds t * 128 to nearest (ties up), exactly.
int nearestStep(double t) {
    const double scaled = t * TableSteps; // exact
    const int below = static_cast<int>(scaled);
    return scaled - below >= 0.5 ? below + 1 : below;
}

// ---- Argument reduction: x = quadrant * pi/2 + r, |r| <= pi/4 (or a rounding more).

struct Reduced {
    Double2 r;
    int quadrant;
};

constexpr double QuarterPi = 0x1.921fb54442d18p-1;
constexpr double TwoOverPi = 0x1.45f306dc9c883p-1;
// Adding and taking away 1.5 * 2^52 rounds a double below 2^51 to the nearest integer.
constexpr double RoundingShift = 0x1.8p52;
// pi/2 in three parts of 33 bits and a fourth: their products with a quadrant below 2^20
// are exact.
constexpr double MediumLimit = 0x1p20;
constexpr double PiOver2Part1 = 0x1.921fb544p+0;
constexpr double PiOver2Part2 = 0x1.0b4611a6p-34;
constexpr double PiOver2Part3 = 0x1.3198a2ep-69;
constexpr double PiOver2Part4 = 0x1.b839a252049c1p-104;

// Cody and Waite: |x| < 2^20, every step exact but the last part's product, which is far below
// the result's last bit.
Reduced reduceMedium(double x) {
    const double k = (x * TwoOverPi + RoundingShift) - RoundingShift;
    const double first = x - k * PiOver2Part1; // exact: within a factor of 2 of x
    const Double2 second = twoSum(first, -k * PiOver2Part2);
    const Double2 third = twoSum(second.hi, -k * PiOver2Part3);
    const Double2 r = twoSum(third.hi, (third.lo + second.lo) - k * PiOver2Part4);
    return {r, static_cast<int>(k)};
}

// 2/pi in binary, 32 bits a word: enough for the largest double.
constexpr std::uint32_t TwoOverPiBits[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB};
constexpr int WordBits = 32;
// The window of 2/pi multiplied: 256 bits reach 2^-170 of a quadrant below the point.
constexpr int WindowWords = 8;
constexpr int ProductWords = WindowWords + 2;
constexpr int MantissaBits = 53;

// A whole number below 2^(32 ProductWords), least significant word first.
struct Wide {
    std::uint32_t word[ProductWords] = {};

    int bit(int i) const { return int(word[i / WordBits] >> (i % WordBits)) & 1; }
    // Keeps the bits below bit `i`.
    void keepBelow(int i) {
        const int top = i / WordBits;
        word[top] &= (std::uint32_t(1) << (i % WordBits)) - 1;
        for (int k = top + 1; k < ProductWords; ++k) {
            word[k] = 0;
        }
    }
    // 2^i minus the value, for a value below 2^i.
    void negateBelow(int i) {
        std::uint64_t carry = 1;
        for (std::uint32_t& w : word) {
            const std::uint64_t sum = std::uint64_t(~w) + carry;
            w = std::uint32_t(sum);
            carry = sum >> WordBits;
        }
        keepBelow(i);
    }
    // The value times 2^-i, as a double-double.
    Double2 scaled(int i) const {
        Double2 sum = Zero;
        for (int k = ProductWords - 1; k >= 0; --k) {
            const Double2 s = twoSum(sum.hi, std::ldexp(double(word[k]), k * WordBits - i));
            sum = {s.hi, sum.lo + s.lo};
        }
        return fastTwoSum(sum.hi, sum.lo);
    }
};

// mantissa times the window of 2/pi that starts at word `first`.
Wide windowProduct(std::uint64_t mantissa, int first) {
    Wide p;
    const std::uint64_t halves[2] = {mantissa & 0xFFFFFFFFu, mantissa >> WordBits};
    for (int h = 0; h < 2; ++h) {
        std::uint64_t carry = 0;
        for (int j = 0; j < WindowWords; ++j) {
            const std::uint64_t bits = TwoOverPiBits[first + WindowWords - 1 - j];
            const std::uint64_t t = bits * halves[h] + p.word[h + j] + carry;
            p.word[h + j] = std::uint32_t(t);
            carry = t >> WordBits;
        }
        p.word[h + WindowWords] = std::uint32_t(carry);
    }
    return p;
}

// Payne and Hanek, for |x| >= 2^20: x = mantissa * 2^e, and only the bits of 2/pi from weight
// 2^(1-e) down give x * 2/pi modulo 4, so x times that window is exact where it counts.
Reduced reduceLarge(double ax) {
    int exponent = 0;
    const double fraction = std::frexp(ax, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, MantissaBits));
    const int e = exponent - MantissaBits;
    const int first = e >= 2 ? (e - 2) / WordBits : 0;
    Wide p = windowProduct(mantissa, first);
    // The bit of p that weighs one quarter turn; the two above it count quadrants.
    const int point = WordBits * (first + WindowWords) - e;
    int quadrant = p.bit(point) + 2 * p.bit(point + 1);
    const bool overHalf = p.bit(point - 1) != 0;
    p.keepBelow(point);
    if (overHalf) {
        // Past half a quadrant: the next one, less the rest.
        ++quadrant;
        p.negateBelow(point);
    }
    const Double2 f = p.scaled(point);
    const Double2 r = multiply(f, PiOver2);
    return {overHalf ? negated(r) : r, quadrant};
}

// For finite x.
Reduced reduce(double x) {
    const double ax = std::fabs(x);
    if (ax <= QuarterPi) {
        return {{x, 0.0}, 0};
    }
    if (ax < MediumLimit) {
        return reduceMedium(x);
    }
    const Reduced large = reduceLarge(ax);
    return x < 0.0 ? Reduced{negated(large.r), -large.quadrant} : large;
}

// ---- sin and cos of a reduced argument.

// Below this, sin x rounds to x and cos x to 1.
constexpr double TinyAngle = 0x1p-27;

// (-1)^(n/2) / n!: the Taylor coefficients of sin and cos.
constexpr double taylorCoefficient(int n) {
    double factorial = 1.0;
    for (int k = 2; k <= n; ++k) {
        factorial *= k; // exact up to 22!
    }
    return (n / 2 % 2 != 0 ? -1.0 : 1.0) / factorial;
}

constexpr int SinTermCount = 7;
constexpr int CosTermCount = 8;

// The coefficients of r^(first), r^(first + 2), ...
template <int Count> constexpr std::array<double, Count> taylorCoefficients(int first) {
    std::array<double, Count> c{};
    for (int k = 0; k < Count; ++k) {
        c[k] = taylorCoefficient(first + 2 * k);
    }
    return c;
}

// Of (sin r - r) / r^3 and (cos r - 1) / r^2 in powers of r^2, to r^15 and r^16: less than
// 2^-54 is left at pi/4.
constexpr std::array<double, SinTermCount> SinTerms = taylorCoefficients<SinTermCount>(3);
constexpr std::array<double, CosTermCount> CosTerms = taylorCoefficients<CosTermCount>(2);

// |r| split at its nearest table point p: |r| = p + dHi + dLo, with |d| <= 1/256.
struct Step {
    const SinCosRow* row;
    bool negative; // r < 0
    double dHi;    // exact
    double dLo;
    double d;       // dHi + dLo, rounded: for the small terms
    double sinTail; // sin d - d
    double cosTail; // cos d - 1
};

Step stepOf(const Reduced& reduced) {
    const bool negative = reduced.r.hi < 0.0;
    const Double2 r = negative ? negated(reduced.r) : reduced.r;
    const int i = nearestStep(r.hi);
    const double dHi = r.hi - i * TableStep; // exact: within a factor of 2 of r.hi, or i = 0
    const double d = dHi + r.lo;
    const double z = d * d;
    return {&SinCosTable[i],
            negative,
            dHi,
            r.lo,
            d,
            d * z * (SinTerms[0] + z * (SinTerms[1] + z * SinTerms[2])),
            z * (CosTerms[0] + z * (CosTerms[1] + z * CosTerms[2]))};
}

// a cos d + b sin d: with (a, b) = (sin p, cos p) that is sin(p + d), with (cos p, -sin p)
// cos(p + d). Only the large product and sum are carried exactly; the rest is small.
double turnedExactly(Double2 a, Double2 b, const Step& s) {
    const Double2 p = twoProduct(b.hi, s.dHi);
    const Double2 head = twoSum(a.hi, p.hi);
    const double small =
        head.lo + p.lo + a.lo + b.hi * s.dLo + b.lo * s.d + b.hi * s.sinTail + a.hi * s.cosTail;
    return head.hi + small;
}

// sin(r + quadrant * pi/2): sin r, cos r, -sin r or -cos r.
double quadrantSine(const Step& s, int quadrant) {
    const SinCosRow& row = *s.row;
    double v = 0.0;
    if (quadrant & 1) {
        v = turnedExactly(row.cs, negated(row.sn), s);
    } else {
        v = turnedExactly(row.sn, row.cs, s);
        v = s.negative ? -v : v;
    }
    return quadrant & 2 ? -v : v;
}

// ---- The float entry points: a plain double evaluation whose error is far below this part of
// its value (and below the full evaluation's one ulp), so that when nothing within the bound
// rounds to another float, the full evaluation rounds to the same one.

constexpr double RoughBound = 0x1p-48;
// Below this a roughly reduced argument could have lost too much to its cancellation.
constexpr double RoughSmallest = 0x1p-30;

// v rounded to float, if the whole interval of v's error bound rounds to it.
bool roundsSurely(double v, float& f) {
    const double bound = std::fabs(v) * RoughBound;
    f = float(v);
    return float(v - bound) == f && float(v + bound) == f;
}

// Multiplying by these flips a sign exactly, without a branch.
constexpr double Signs[2] = {1.0, -1.0};

// sin x and cos x for a float x in plain double (polynomials in Estrin's order, so that their
// terms are computed side by side), or false where that is not accurate enough to round.
bool roughSinCos(double x, float& sn, float& cs) {
    // Tiny angles take the full path, which keeps sin(-0) = -0.
    if (!(std::fabs(x) < MediumLimit) || std::fabs(x) < TinyAngle) {
        return false;
    }
    // Cody and Waite to about 2^-52 of r; no reduction at all (k = 0) up to pi/4.
    const double k = (x * TwoOverPi + RoundingShift) - RoundingShift;
    const double r = ((x - k * PiOver2Part1) - k * PiOver2Part2) - k * PiOver2Part3;
    if (std::fabs(r) < RoughSmallest && k != 0.0) {
        return false;
    }
    const double z = r * r;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const auto& s = SinTerms;
    const auto& c = CosTerms;
    const double sinPart =
        (s[0] + s[1] * z) + z2 * (s[2] + s[3] * z) + z4 * ((s[4] + s[5] * z) + z2 * s[6]);
    const double cosPart = (c[0] + c[1] * z) + z2 * (c[2] + c[3] * z) +
                           z4 * ((c[4] + c[5] * z) + z2 * (c[6] + c[7] * z));
    const double sinR = r + r * z * sinPart;
    const double cosR = 1.0 + z * cosPart;
    // sin(r + q pi/2) and cos(r + q pi/2) for q = k mod 4.
    const int q = static_cast<int>(k);
    const bool odd = (q & 1) != 0;
    const double halfTurn = Signs[(q >> 1) & 1]; // sin(r + pi) = -sin r, and cos likewise
    return roundsSurely((odd ? cosR : sinR) * halfTurn, sn) &&
           roundsSurely((odd ? -sinR : cosR) * halfTurn, cs);
}

// ---- atan2.

constexpr double AtanC3 = -1.0 / 3;
constexpr double AtanC5 = 1.0 / 5;
constexpr double AtanC7 = -1.0 / 7;
constexpr double AtanC9 = 1.0 / 9;
// Below this ratio atan t rounds to t.
constexpr double TinyRatio = 0x1p-60;
// Outside these bounds both arguments are scaled by a power of 2 (exactly), so that no
// product below overflows or loses its exactness to underflow.
constexpr double ScaleAbove = 0x1p400;
constexpr double ScaleBelow = 0x1p-400;
constexpr double ScaleDown = 0x1p-600;
constexpr double ScaleUp = 0x1p600;
constexpr double ThreeQuartersPi = 0x1.2d97c7f3321d2p+1;

// atan(n / d) for 0 < d and d * 2^-60 <= n <= d: atan c + atan((n - c d) / (d + c n)) with c
// the table point nearest n / d, which leaves a quotient below 1/256 in size.
Double2 atanOfRatio(double n, double d) {
    if (d > ScaleAbove || d < ScaleBelow) {
        const double scale = d > ScaleAbove ? ScaleDown : ScaleUp;
        n *= scale;
        d *= scale;
    }
    const int i = nearestStep(n / d);
    const double c = i * TableStep;
    const Double2 cd = twoProduct(c, d);
    const Double2 numeratorHead = twoSum(n, -cd.hi);
    const Double2 numerator{numeratorHead.hi, numeratorHead.lo - cd.lo};
    const Double2 cn = twoProduct(c, n);
    const Double2 denominatorHead = twoSum(d, cn.hi);
    const Double2 denominator{denominatorHead.hi, denominatorHead.lo + cn.lo};
    const Double2 u = divide(numerator, denominator);
    const double z = u.hi * u.hi;
    const double tail = u.hi * z * (AtanC3 + z * (AtanC5 + z * (AtanC7 + z * AtanC9)));
    const Double2 head = twoSum(AtanTable[i].hi, u.hi);
    return {head.hi, head.lo + AtanTable[i].lo + u.lo + tail};
}

// atan(n / d) for float 0 < n <= d in plain double. Their being floats makes c d, c n, and the
// numerator and denominator exact; only the quotient and the sums round. The table point c
// comes from the quotient in single precision (it only needs to be the nearest or next).
double roughAtanOfRatio(double n, double d) {
    const float t = float(n) / float(d);
    const double steps = (double(t) * TableSteps + RoundingShift) - RoundingShift;
    const double c = steps * TableStep;
    const double u = (n - c * d) / (d + c * n);
    const double z = u * u;
    const double tail = u * z * ((AtanC3 + z * AtanC5) + z * z * AtanC7);
    const Double2& a = AtanTable[static_cast<int>(steps)];
    return a.hi + (u + (a.lo + tail));
}

// The angle of (ax, ay), both >= 0, when one is zero or infinite; false otherwise.
bool edgeAngle(double ax, double ay, bool left, double& angle) {
    if (ay == 0.0 || (ax == Infinity && ay < Infinity)) {
        angle = left ? Pi.hi : 0.0;
    } else if (ax == 0.0 || (ay == Infinity && ax < Infinity)) {
        angle = PiOver2.hi;
    } else if (ax == Infinity) {
        angle = left ? ThreeQuartersPi : QuarterPi;
    } else {
        return false;
    }
    return true;
}

// Where (ax, ay), both >= 0, lies: the smaller over the larger is n / d, whose angle a the
// octant turns into the point's angle, in [0, pi].
struct Octant {
    bool steep; // ay > ax
    bool left;  // x < 0 (or -0)
    double n;
    double d;

    Octant(double ax, double ay, bool left)
        : steep(ay > ax), left(left), n(steep ? ax : ay), d(steep ? ay : ax) {}
    // Right and flat: a; steep: pi/2 - a or pi/2 + a; left and flat: pi - a.
    Double2 base() const { return steep ? PiOver2 : (left ? Pi : Zero); }
    bool adds() const { return steep == left; }
};

// The angle of (ax, ay) for finite, nonzero ax, ay >= 0.
double octantAngle(double ax, double ay, bool left) {
    const Octant o(ax, ay, left);
    const Double2 a = o.n < o.d * TinyRatio ? Double2{o.n / o.d, 0.0} : atanOfRatio(o.n, o.d);
    const Double2 base = o.base();
    const Double2 turn = o.adds() ? a : negated(a);
    const Double2 head = twoSum(base.hi, turn.hi);
    return head.hi + ((head.lo + base.lo) + turn.lo);
}

} // namespace

double ownSin(double x) {
    return ownSinCos(x).sn;
}

double ownCos(double x) {
    return ownSinCos(x).cs;
}

SinCos ownSinCos(double x) {
    if (!(std::fabs(x) < Infinity)) {
        return {x - x, x - x};
    }
    if (std::fabs(x) < TinyAngle) {
        return {x, 1.0};
    }
    const Reduced r = reduce(x);
    const Step s = stepOf(r);
    return {quadrantSine(s, r.quadrant), quadrantSine(s, r.quadrant + 1)};
}

SinCosFloat ownSinCosFloat(float x) {
    SinCosFloat f{};
    if (roughSinCos(x, f.sn, f.cs)) {
        return f;
    }
    const SinCos exact = ownSinCos(x);
    return {float(exact.sn), float(exact.cs)};
}

double ownAtan2(double y, double x) {
    if (x != x || y != y) {
        return x + y;
    }
    const bool left = std::signbit(x);
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    double angle = 0.0;
    if (!edgeAngle(ax, ay, left, angle)) {
        angle = octantAngle(ax, ay, left);
    }
    return std::signbit(y) ? -angle : angle;
}

float ownAtan2Float(float y, float x) {
    const Octant o(std::fabs(x), std::fabs(y), std::signbit(x));
    // Zeros, infinities and NaNs take the full path, which knows their angles.
    if (o.n > 0.0 && o.d < Infinity) {
        const double a = roughAtanOfRatio(o.n, o.d);
        const Double2 base = o.base();
        const double v = base.hi + ((o.adds() ? a : -a) + base.lo);
        float f = 0.0f;
        if (roundsSurely(std::signbit(y) ? -v : v, f)) {
            return f;
        }
    }
    return float(ownAtan2(y, x));
}

double integerPower(double x, int n) {
    Double2 p{1.0, 0.0};
    for (int k = 0; k < n; ++k) {
        p = multiply(p, x);
    }
    return p.hi + p.lo;
}
