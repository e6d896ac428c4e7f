// Zintrel.System.
#include "zn_system.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

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

namespace {

// A text C reads whole: not Null and without a NUL byte, at which C would stop.
bool WholeForC(String* text) {
	return text != nullptr && memchr(text->Data, 0, static_cast<size_t>(text->_Length)) == nullptr;
}

} // namespace

String* GetEnv(String* name) {
	const char* value = WholeForC(name) ? getenv(name->Data) : nullptr;
	return new String(value != nullptr ? value : "");
}

bool SetEnv(String* name, String* value) {
	if (!WholeForC(name) || name->_Length == 0 || strchr(name->Data, '=') != nullptr) return false;
	if (value != nullptr && !WholeForC(value)) return false;
	return setenv(name->Data, value != nullptr ? value->Data : "", 1) == 0;
}

Array<String*, 1>* Environment() {
	int32_t count = 0;
	while (environ[count] != nullptr) count++;
	Array<String*, 1>* variables = new Array<String*, 1>(-1, count);
	for (int32_t i = 0; i < count; i++) *variables->At(i) = new String(environ[i]);
	return variables;
}

void Quit(int32_t code) {
	fflush(stdout);
	exit(code);
}
