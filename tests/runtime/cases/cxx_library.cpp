// C++ code that a program imports shares the collected heap: standard containers and
// streams allocate through it and keep working across collections, and the C library's own
// headers can be included next to the runtime's.
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/IO/zn_io.h"
#include "Zintrel/Math/zn_math.h"
#include <math.h>
#include <cmath>
#include <string.h>
#include <iostream>
#include <map>
#include <string>
#include <vector>
#include "check.h"

//@ stdout C++ 42
//@ stdout zintrel 42
//@ stdout mixed

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	std::vector<String*> strings;
	std::map<std::string, int> counts;
	for (int i = 0; i < 200000; i++) {
		strings.push_back((new String("s"))->Append(i));
		counts[std::to_string(i % 1000)] += 1;
		// Garbage between the kept values, to make the collector run.
		(new String("garbage"))->Append(i)->Append(new String(" more garbage"));
	}
	CHECK_EQ(strings.size(), 200000u);
	CHECK_TEXT(strings[123456], "s123456");
	CHECK_EQ(counts["999"], 200);
	CHECK_EQ(powf(2.0f, 0.5f), sqrtf(2.0f));
	CHECK_EQ(std::pow(2.0, 3.0), Pow(2.0, 3.0));
	std::cout << "C++ " << 42 << std::endl;
	Print((new String("zintrel "))->Append(42));
	printf("mix");
	Write(new String("ed"));
	std::cout << std::endl;
	return Finish();
}
