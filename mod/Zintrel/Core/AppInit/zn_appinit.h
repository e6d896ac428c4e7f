// Zintrel.Core.AppInit, C++ side: the start-up function that every program's main calls first.
#ifndef ZN_APPINIT_H
#define ZN_APPINIT_H

#include "../zn_core.h"

// Completes the collector's set-up, keeps the arguments for Zintrel.System and installs the
// reporting of invalid memory accesses.
void __ZintrelAppInit(int argc, const char* argv[]);

#endif
