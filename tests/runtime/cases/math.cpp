// Zintrel.Math: the Double functions and the seedable random numbers.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/Math/zn_math.h"
#include "check.h"

// The module's constant as the generated header defines it.
const double Pi = 3.141592653589793;

static bool Near(double a, double b) { return Abs(a - b) <= 1e-12 * (Abs(b) > 1.0 ? Abs(b) : 1.0); }

static void Functions() {
	CHECK_TEXT((new String(""))->Append(Pi), "3.141592653589793");
	CHECK_EQ(Sqrt(2.25), 1.5);
	CHECK(Near(Sin(Pi / 2), 1.0));
	CHECK(Near(Cos(Pi), -1.0));
	CHECK(Near(Tan(Pi / 4), 1.0));
	CHECK(Near(ASin(1.0), Pi / 2));
	CHECK(Near(ACos(-1.0), Pi));
	CHECK(Near(ATan(1.0), Pi / 4));
	CHECK(Near(ATan2(-1.0, -1.0), -3 * Pi / 4));
	CHECK(Near(Exp(1.0), 2.718281828459045));
	CHECK(Near(Log(Exp(3.0)), 3.0));
	CHECK_EQ(Log10(1000.0), 3.0);
	CHECK_EQ(Pow(2.0, 10.0), 1024.0);
	CHECK_EQ(Pow(9.0, 0.5), 3.0);
	CHECK_EQ(Floor(-1.5), -2.0);
	CHECK_EQ(Ceil(-1.5), -1.0);
	CHECK_EQ(Floor(2.7), 2.0);
	CHECK_EQ(Ceil(2.1), 3.0);
	// Halves round away from zero.
	CHECK_EQ(Round(2.5), 3.0);
	CHECK_EQ(Round(-2.5), -3.0);
	CHECK_EQ(Round(0.5), 1.0);
	CHECK_EQ(Round(1.4999), 1.0);
	CHECK_EQ(Abs(-3.25), 3.25);
	CHECK_EQ(Min(1.0, -2.0), -2.0);
	CHECK_EQ(Max(1.0, -2.0), 1.0);
	CHECK(Sqrt(-1.0) != Sqrt(-1.0));
	// Int arguments convert as a C++ call would.
	CHECK_EQ(Sqrt(16), 4.0);
	CHECK_EQ(powf (2, 3), 8.0f);
}

static void Random() {
	// The sequence after start-up is that of seed 0.
	double first[5];
	for (int i = 0; i < 5; i++) first[i] = Rnd();
	SeedRnd(0);
	for (int i = 0; i < 5; i++) CHECK_EQ(Rnd(), first[i]);
	// The same seed repeats the sequence; another seed does not.
	SeedRnd(12345);
	double a[100];
	for (int i = 0; i < 100; i++) a[i] = Rnd();
	SeedRnd(12345);
	bool same = true;
	for (int i = 0; i < 100; i++) same = same && Rnd() == a[i];
	CHECK(same);
	SeedRnd(12346);
	CHECK(Rnd() != a[0]);
	SeedRnd(-1);
	// Values in [0, 1), spread over the interval.
	double low = 1.0, high = 0.0, sum = 0.0;
	for (int i = 0; i < 100000; i++) {
		double r = Rnd();
		CHECK(r >= 0.0 && r < 1.0);
		low = r < low ? r : low;
		high = r > high ? r : high;
		sum += r;
	}
	CHECK(low < 0.001 && high > 0.999);
	CHECK(sum / 100000 > 0.49 && sum / 100000 < 0.51);
	// Rand is inclusive at both ends and reaches every value.
	int seen[7] = {0, 0, 0, 0, 0, 0, 0};
	for (int i = 0; i < 7000; i++) {
		int32_t r = Rand(-3, 3);
		CHECK(r >= -3 && r <= 3);
		if (r >= -3 && r <= 3) seen[r + 3]++;
	}
	for (int k = 0; k < 7; k++) CHECK(seen[k] > 800);
	CHECK_EQ(Rand(5, 5), 5);
	int32_t swapped = Rand(10, 8);
	CHECK(swapped >= 8 && swapped <= 10);
	int32_t wide = Rand(INT32_MIN, INT32_MAX);
	(void)wide;
	SeedRnd(7);
	int32_t r1 = Rand(1, 1000000);
	SeedRnd(7);
	CHECK_EQ(Rand(1, 1000000), r1);
}

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Functions();
	Random();
	return Finish();
}
