// mandelbrot: the set's bitmap on [-1.5, 0.5] x [-1, 1], one bit per pixel, eight to a byte;
// prints a checksum of the bytes instead of the bitmap.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
	int n = argc > 1 ? atoi(argv[1]) : 4000;
	int64_t hash = 0, bytes = 0;
	for (int y = 0; y < n; y++) {
		double ci = 2.0 * y / n - 1.0;
		int bits = 0, bitCount = 0;
		for (int x = 0; x < n; x++) {
			double cr = 2.0 * x / n - 1.5;
			double zr = 0, zi = 0, tr = 0, ti = 0;
			int i = 0;
			while (i < 50 && tr + ti <= 4.0) {
				zi = 2.0 * zr * zi + ci;
				zr = tr - ti + cr;
				tr = zr * zr;
				ti = zi * zi;
				i++;
			}
			bits = bits << 1;
			if (tr + ti <= 4.0) bits = bits | 1;
			bitCount++;
			if (bitCount == 8 || x == n - 1) {
				bits = bits << (8 - bitCount);
				hash = (hash * 31 + bits) % 1000000007;
				bytes++;
				bits = 0;
				bitCount = 0;
			}
		}
	}
	printf("P4 %d %d bytes %lld checksum %lld\n", n, n, static_cast<long long>(bytes), static_cast<long long>(hash));
}
