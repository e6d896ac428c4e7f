// Checks for the runtime test programs: each failure goes to standard error with its line,
// and Finish() makes the exit status 1 when any check failed.
#ifndef ZN_TEST_CHECK_H
#define ZN_TEST_CHECK_H

#include <stdio.h>
#include <string.h>

#include "Zintrel/Core/zn_core.h"

static int CheckFailures = 0;

static inline void CheckFailed(int line, const char* what) {
	fprintf(stderr, "line %d: check failed: %s\n", line, what);
	CheckFailures++;
}

#define CHECK(...) \
	do { if (!(__VA_ARGS__)) CheckFailed(__LINE__, #__VA_ARGS__); } while (0)

#define CHECK_EQ(actual, expected) \
	do { \
		auto checkActual = (actual); \
		auto checkExpected = (expected); \
		if (!(checkActual == checkExpected)) CheckFailed(__LINE__, #actual " == " #expected); \
	} while (0)

// A String against a literal, NUL bytes included.
#define CHECK_TEXT(string, literal) \
	CheckText(__LINE__, #string, (string), literal, sizeof(literal) - 1)

static inline void CheckText(int line, const char* what, String* s, const char* expected, size_t length) {
	if (s == nullptr) {
		fprintf(stderr, "line %d: %s is Null, expected \"%s\"\n", line, what, expected);
		CheckFailures++;
	} else if (static_cast<size_t>(s->_Length) != length || memcmp(s->Data, expected, length) != 0 ||
			s->Data[length] != 0) {
		fprintf(stderr, "line %d: %s is \"", line, what);
		fwrite(s->Data, 1, s->_Length > 0 ? static_cast<size_t>(s->_Length) : 0, stderr);
		fprintf(stderr, "\" (%d bytes), expected \"%s\" (%zu bytes)\n", s->_Length, expected, length);
		CheckFailures++;
	}
}

static inline int Finish() {
	fflush(stdout);
	return CheckFailures == 0 ? 0 : 1;
}

#endif
