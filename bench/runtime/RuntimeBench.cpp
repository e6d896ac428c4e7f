// Runtime speed beside plain C++: building a short string from a literal and an Int, and
// writing and reading array elements through At. Prints nanoseconds per operation and the
// ratio to the plain C++ loop. Run by hand; the numbers vary with the machine and its load.
#include <stdint.h>
#include <stdio.h>
#include <chrono>
#include <string>
#include "Zintrel/Core/AppInit/zn_appinit.h"

namespace {

const int32_t Count = 1000000;
const int Repeats = 7;
const int32_t Side = 1000;

// Keeps results alive without costing more than a store.
volatile int64_t Sink;

template<typename F> double BestNanosPerOp(F body, int64_t ops) {
	double best = 1e300;
	for (int r = 0; r < Repeats; r++) {
		auto start = std::chrono::steady_clock::now();
		body();
		auto end = std::chrono::steady_clock::now();
		double ns = std::chrono::duration<double, std::nano>(end - start).count() / static_cast<double>(ops);
		if (ns < best) best = ns;
	}
	return best;
}

void Report(const char* what, double zintrel, double plain) {
	printf("%-44s %8.2f ns/op   plain C++ %8.2f ns/op   ratio %5.2f\n", what, zintrel, plain, zintrel / plain);
}

// g++ vectorises the plain array loops; bounds-checked loops cannot be (each access may end
// the program), so the plain loops are also measured compiled without vectorisation.
void Report(const char* what, double zintrel, double plain, double scalar) {
	Report(what, zintrel, plain);
	printf("%-44s %8s        plain C++, not vectorised %6.2f ns/op   ratio %5.2f\n", "", "", scalar, zintrel / scalar);
}

__attribute__((noinline)) void StringsZintrel() {
	int64_t total = 0;
	for (int32_t i = 0; i < Count; i += 1) {
		String* s = (new String("n="))->Append(i);
		total += (s)->_Length;
	}
	Sink = total;
}

__attribute__((noinline)) void StringsStd() {
	int64_t total = 0;
	for (int32_t i = 0; i < Count; i += 1) {
		std::string s = std::string("n=") + std::to_string(i);
		total += static_cast<int64_t>(s.size());
	}
	Sink = total;
}

// The loops of the form generated code has: For i = 0 Until n; a[i] = i; Next.
__attribute__((noinline)) void WriteZintrel(Array<int32_t, 1>* a) {
	for (int32_t i = 0; i < Count; i += 1) (*a->At(i)) = i;
}

__attribute__((noinline)) int64_t ReadZintrel(Array<int32_t, 1>* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Count; i += 1) sum = (sum + (*a->At(i)));
	return sum;
}

#define ZN_SCALAR __attribute__((noinline, optimize("no-tree-vectorize")))

ZN_SCALAR void WriteScalar(int32_t* a) {
	for (int32_t i = 0; i < Count; i += 1) a[i] = i;
}

ZN_SCALAR int64_t ReadScalar(const int32_t* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Count; i += 1) sum = sum + a[i];
	return sum;
}

ZN_SCALAR void Write2DScalar(int32_t* a) {
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) a[i * Side + j] = i + j;
}

ZN_SCALAR int64_t Read2DScalar(const int32_t* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) sum = sum + a[i * Side + j];
	return sum;
}

__attribute__((noinline)) void WritePlain(int32_t* a) {
	for (int32_t i = 0; i < Count; i += 1) a[i] = i;
}

__attribute__((noinline)) int64_t ReadPlain(const int32_t* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Count; i += 1) sum = sum + a[i];
	return sum;
}

__attribute__((noinline)) void Write2DZintrel(Array<int32_t, 2>* a) {
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) (*a->At(i, j)) = i + j;
}

__attribute__((noinline)) int64_t Read2DZintrel(Array<int32_t, 2>* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) sum = (sum + (*a->At(i, j)));
	return sum;
}

__attribute__((noinline)) void Write2DPlain(int32_t* a) {
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) a[i * Side + j] = i + j;
}

__attribute__((noinline)) int64_t Read2DPlain(const int32_t* a) {
	int64_t sum = 0;
	for (int32_t i = 0; i < Side; i += 1)
		for (int32_t j = 0; j < Side; j += 1) sum = sum + a[i * Side + j];
	return sum;
}

} // namespace

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Report("string: (new String(\"n=\"))->Append(i)", BestNanosPerOp(StringsZintrel, Count),
		BestNanosPerOp(StringsStd, Count));

	Array<int32_t, 1>* a = (new Array<int32_t, 1>(-1, Count));
	int32_t* plain = new int32_t[Count]();
	Report("array write (*a->At(i)) = i", BestNanosPerOp([&] { WriteZintrel(a); }, Count),
		BestNanosPerOp([&] { WritePlain(plain); }, Count), BestNanosPerOp([&] { WriteScalar(plain); }, Count));
	Report("array read sum += (*a->At(i))", BestNanosPerOp([&] { Sink = ReadZintrel(a); }, Count),
		BestNanosPerOp([&] { Sink = ReadPlain(plain); }, Count), BestNanosPerOp([&] { Sink = ReadScalar(plain); }, Count));

	Array<int32_t, 2>* b = (new Array<int32_t, 2>(-1, Side, Side));
	Report("2-D array write (*b->At(i, j)) = i + j", BestNanosPerOp([&] { Write2DZintrel(b); }, Count),
		BestNanosPerOp([&] { Write2DPlain(plain); }, Count), BestNanosPerOp([&] { Write2DScalar(plain); }, Count));
	Report("2-D array read sum += (*b->At(i, j))", BestNanosPerOp([&] { Sink = Read2DZintrel(b); }, Count),
		BestNanosPerOp([&] { Sink = Read2DPlain(plain); }, Count), BestNanosPerOp([&] { Sink = Read2DScalar(plain); }, Count));
	return 0;
}
