// Zintrel.System, C++ side: program arguments, clock, environment, ending the program.
#ifndef ZN_SYSTEM_H
#define ZN_SYSTEM_H

#include "../Core/zn_core.h"

// The program's arguments; element 0 is the program path.
Array<String*, 1>* AppArgs();
// Milliseconds of a monotonic clock.
int64_t Millisecs();
// "" when the variable is not set.
String* GetEnv(String* name);
// Flushes output and ends the process with the given status.
[[noreturn]] void Quit(int32_t code = 0);

#endif
