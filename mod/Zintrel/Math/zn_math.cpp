// Zintrel.Math: the random number generator (xoshiro256**, state filled by splitmix64).
#include "zn_math.h"

namespace {

uint64_t State[4];
bool Seeded = false;

uint64_t SplitMix(uint64_t& x) {
	uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
	z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
	z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
	return z ^ (z >> 31);
}

uint64_t Rotate(uint64_t x, int k) {
	return (x << k) | (x >> (64 - k));
}

uint64_t Next() {
	if (!Seeded) SeedRnd(0);
	uint64_t result = Rotate(State[1] * 5, 7) * 9;
	uint64_t t = State[1] << 17;
	State[2] ^= State[0];
	State[3] ^= State[1];
	State[1] ^= State[2];
	State[0] ^= State[3];
	State[2] ^= t;
	State[3] = Rotate(State[3], 45);
	return result;
}

} // namespace

void SeedRnd(int64_t seed) {
	uint64_t x = static_cast<uint64_t>(seed);
	for (uint64_t& word : State) word = SplitMix(x);
	Seeded = true;
}

double Rnd() {
	return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

int32_t Rand(int32_t low, int32_t high) {
	if (low > high) {
		int32_t t = low;
		low = high;
		high = t;
	}
	uint64_t range = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
	// Rejection keeps every value equally likely.
	uint64_t limit = UINT64_MAX - UINT64_MAX % range;
	uint64_t r;
	do r = Next(); while (r >= limit);
	return static_cast<int32_t>(low + static_cast<int64_t>(r % range));
}
