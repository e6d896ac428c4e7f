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
// Sets a variable for the program and the processes it starts; false for a name that cannot be
// one ("", or holding "=") and for a name or value holding a NUL byte.
bool SetEnv(String* name, String* value);
// Every variable as "NAME=value", in the order the environment holds them.
Array<String*, 1>* Environment();

#endif
