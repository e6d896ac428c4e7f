// The runtime headers put only the runtime's own names into a program's global namespace:
// globals named like C library functions must compile, in C++20 as well as the default mode.
//@ compile-flags -std=c++20
#include <stdint.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/IO/zn_io.h"
#include "Zintrel/Math/zn_math.h"
#include "Zintrel/System/zn_system.h"

//@ stdout 3 1 2.5 -1 8.0 ok

int32_t index = 3;
int32_t y0 = 1;
double random = 2.5;
int32_t rindex = -1;

int main(int argc, const char *argv[]) {
	__ZintrelAppInit(argc, argv);
	Print((((((((((new String(""))->Append(index))->Append(new String(" ")))->Append(y0))->Append(new String(" ")))
		->Append(random))->Append(new String(" ")))->Append(rindex))->Append(new String(" ")))->Append(powf (2, 3))
		->Append(new String(" ok")));
	return 0;
}
