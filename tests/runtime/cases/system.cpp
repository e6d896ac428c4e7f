// Zintrel.System: arguments, clock, environment, Quit.
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <time.h>
#include "Zintrel/Core/AppInit/zn_appinit.h"
#include "Zintrel/IO/zn_io.h"
#include "Zintrel/System/zn_system.h"
#include "check.h"

//@ run args "two words" "" last
//@ env ZINTREL_TEST_VALUE=set to this
//@ stdout 5
//@ stdout [two words][][last]
//@ stdout set to this|
//@ run quit
//@ status 3
//@ stdout-raw pending
//@ run quit-default
//@ stdout-raw pending
//@ run clock
//@ stdout clock ok

int main(int argc, const char* argv[]) {
	__ZintrelAppInit(argc, argv);
	Array<String*, 1>* args = AppArgs();
	CHECK_EQ((args)->Length, argc);
	CHECK((*args->At(0))->EndsWith(new String("/program")));
	String* what = (args)->Length > 1 ? (*args->At(1)) : new String("");
	if (what->Equals(new String("args"))) {
		Print((new String(""))->Append((args)->Length));
		String* joined = new String("");
		for (int32_t i = 2; i < (args)->Length; i += 1) joined = ((joined)->Append(new String("[")))->Append(*args->At(i))->Append(new String("]"));
		Print(joined);
		Print((GetEnv(new String("ZINTREL_TEST_VALUE")))->Append(GetEnv(new String("ZINTREL_TEST_UNSET")))->Append(new String("|")));
	}
	if (what->Equals(new String("quit"))) {
		// Quit flushes what is still buffered.
		Write(new String("pending"));
		Quit(3);
	}
	if (what->Equals(new String("quit-default"))) {
		printf("pending");
		Quit();
	}
	if (what->Equals(new String("clock"))) {
		int64_t start = Millisecs();
		struct timespec pause = {0, 30 * 1000000};
		nanosleep(&pause, nullptr);
		int64_t end = Millisecs();
		CHECK(end - start >= 30 && end - start < 5000);
		CHECK(start > 0);
		Print(new String("clock ok"));
	}
	return Finish();
}
