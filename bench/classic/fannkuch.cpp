// fannkuch-redux: flips of pancake stacks over every permutation of 1..n, with a checksum.
#include <cstdio>
#include <cstdlib>
#include <vector>

static int Fannkuch(int n, int& checksum) {
	std::vector<int> perm(n), perm1(n), count(n);
	int maxFlips = 0, permCount = 0;
	checksum = 0;
	for (int i = 0; i < n; i++) perm1[i] = i;
	int r = n;
	for (;;) {
		while (r != 1) {
			count[r - 1] = r;
			r--;
		}
		for (int i = 0; i < n; i++) perm[i] = perm1[i];
		int flips = 0;
		int k;
		while ((k = perm[0]) != 0) {
			int half = (k + 1) >> 1;
			for (int i = 0; i < half; i++) {
				int t = perm[i];
				perm[i] = perm[k - i];
				perm[k - i] = t;
			}
			flips++;
		}
		if (flips > maxFlips) maxFlips = flips;
		checksum += permCount % 2 == 0 ? flips : -flips;
		// The next permutation, in the order that rotates ever longer prefixes.
		for (;;) {
			if (r == n) return maxFlips;
			int perm0 = perm1[0];
			for (int i = 0; i < r; i++) perm1[i] = perm1[i + 1];
			perm1[r] = perm0;
			count[r]--;
			if (count[r] > 0) break;
			r++;
		}
		permCount++;
	}
}

int main(int argc, char** argv) {
	int n = argc > 1 ? atoi(argv[1]) : 10;
	int checksum;
	int flips = Fannkuch(n, checksum);
	printf("%d\nPfannkuchen(%d) = %d\n", checksum, n, flips);
}
