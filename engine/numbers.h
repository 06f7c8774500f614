#pragma once

// Constants as a single-precision program has them: pi and one sixth rounded to float first,
// then widened to double for the arithmetic.
inline constexpr double FullTurnF = 6.2831854820251465; // 2 pi with pi in single precision
inline constexpr double OneSixthF = 0.1666666716337204; // 1/6 in single precision
