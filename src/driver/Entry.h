#pragma once

namespace zintrel {

// The whole run of the compiler: start-up, command line, builds. Returns the exit status.
int RunCompiler(int argc, char** argv);

}  // namespace zintrel
