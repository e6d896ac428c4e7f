// Matrix norm: the largest singular value of the infinite matrix A(i, j) = 1 / ((i + j)(i + j + 1) / 2 + i + 1), by power iteration.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

static double A(int i, int j) {
	return 1.0 / ((i + j) * (i + j + 1) / 2 + i + 1);
}

static void MultiplyAv(const std::vector<double>& v, std::vector<double>& av) {
	int n = static_cast<int>(v.size());
	for (int i = 0; i < n; i++) {
		double sum = 0;
		for (int j = 0; j < n; j++) sum += A(i, j) * v[j];
		av[i] = sum;
	}
}

static void MultiplyAtv(const std::vector<double>& v, std::vector<double>& atv) {
	int n = static_cast<int>(v.size());
	for (int i = 0; i < n; i++) {
		double sum = 0;
		for (int j = 0; j < n; j++) sum += A(j, i) * v[j];
		atv[i] = sum;
	}
}

static void MultiplyAtAv(const std::vector<double>& v, std::vector<double>& tmp, std::vector<double>& out) {
	MultiplyAv(v, tmp);
	MultiplyAtv(tmp, out);
}

int main(int argc, char** argv) {
	int n = argc > 1 ? atoi(argv[1]) : 4000;
	std::vector<double> u(n, 1.0), v(n), tmp(n);
	for (int k = 0; k < 10; k++) {
		MultiplyAtAv(u, tmp, v);
		MultiplyAtAv(v, tmp, u);
	}
	double vBv = 0, vv = 0;
	for (int i = 0; i < n; i++) {
		vBv += u[i] * v[i];
		vv += v[i] * v[i];
	}
	printf("%.9f\n", std::sqrt(vBv / vv));
}
