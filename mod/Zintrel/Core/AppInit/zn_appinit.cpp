// Zintrel.Core.AppInit: program start-up.
#include "zn_appinit.h"

#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

// The handler must also run when the fault is a stack overflow, so it gets a stack of its own.
alignas(16) char HandlerStack[64 * 1024];

void InvalidAccess(int) {
	static const char message[] = "Runtime error: invalid memory access (Null object?)\n";
	fflush(stdout);
	ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
	(void)written;
	_exit(1);
}

void InstallFaultHandlers() {
	stack_t stack;
	memset(&stack, 0, sizeof stack);
	stack.ss_sp = HandlerStack;
	stack.ss_size = sizeof HandlerStack;
	sigaltstack(&stack, nullptr);

	struct sigaction action;
	memset(&action, 0, sizeof action);
	action.sa_handler = InvalidAccess;
	action.sa_flags = SA_ONSTACK;
	sigemptyset(&action.sa_mask);
	sigaction(SIGSEGV, &action, nullptr);
	sigaction(SIGBUS, &action, nullptr);
}

} // namespace

void __ZintrelAppInit(int argc, const char* argv[]) {
	// Run by the compiler (-x), whose user watches the output as it comes: by lines, not in
	// blocks as C buffers a pipe.
	if (getenv("ZINTREL_RUN") != nullptr) setvbuf(stdout, nullptr, _IOLBF, 0);
	__zn::StartRuntime(argc, argv);
	InstallFaultHandlers();
}
