// Zintrel.System.
#include "zn_system.h"

#include <stdio.h>
#include <stdlib.h>
#include <time.h>

Array<String*, 1>* AppArgs() {
	int count = __zn::ArgumentCount();
	Array<String*, 1>* args = new Array<String*, 1>(-1, count);
	for (int i = 0; i < count; i++) *args->At(i) = new String(__zn::Argument(i));
	return args;
}

int64_t Millisecs() {
	struct timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

String* GetEnv(String* name) {
	const char* value = name != nullptr ? getenv(name->Data) : nullptr;
	return new String(value != nullptr ? value : "");
}

void Quit(int32_t code) {
	fflush(stdout);
	exit(code);
}
