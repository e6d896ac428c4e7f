// Zintrel.Math, C++ side: functions on Double and a seedable random number generator.
// Pi is a constant of the module itself, not declared here.
#ifndef ZN_MATH_H
#define ZN_MATH_H

#include "../Core/zn_core.h"

// The compiler's built-ins, so that no C header adds its names to programs.

inline double Sqrt(double x) { return __builtin_sqrt(x); }
inline double Sin(double x) { return __builtin_sin(x); }
inline double Cos(double x) { return __builtin_cos(x); }
inline double Tan(double x) { return __builtin_tan(x); }
inline double ASin(double x) { return __builtin_asin(x); }
inline double ACos(double x) { return __builtin_acos(x); }
inline double ATan(double x) { return __builtin_atan(x); }
inline double Exp(double x) { return __builtin_exp(x); }
inline double Log(double x) { return __builtin_log(x); }
inline double Log10(double x) { return __builtin_log10(x); }
inline double Floor(double x) { return __builtin_floor(x); }
inline double Ceil(double x) { return __builtin_ceil(x); }
// Halves round away from zero.
inline double Round(double x) { return __builtin_round(x); }
inline double Abs(double x) { return __builtin_fabs(x); }
inline double ATan2(double y, double x) { return __builtin_atan2(y, x); }
inline double Pow(double x, double y) { return __builtin_pow(x, y); }
inline double Min(double a, double b) { return b < a ? b : a; }
inline double Max(double a, double b) { return b > a ? b : a; }

// xoshiro256** seeded through splitmix64; the sequence depends only on the seed, which is 0
// at start-up.
double Rnd();                              // in [0, 1)
int32_t Rand(int32_t low, int32_t high);   // low to high inclusive (in either order)
void SeedRnd(int64_t seed);

#endif
