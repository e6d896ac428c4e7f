#pragma once
// Every diagnostic of the compiler goes to standard output through these functions, one message
// at a time, flushed at once. Fatal reports end the process with status -1 (255).
#include <string>
#include <string_view>
#include <vector>

namespace zintrel {

// Writes the message with every CR LF turned into LF, then one LF, and flushes.
void OutputCompilerMessage(std::string_view message);

// A message written in pieces as they arrive (a running program's output): CR LF pairs become
// LF also across pieces, and End appends the one LF.
class TMessageStream {
 public:
  void Write(std::string_view piece);
  void End();

 private:
  bool PendingReturn = false;
};

// The lines every message so far has written, in order (not a running program's output).
const std::vector<std::string>& WrittenMessageLines();

// Outputs the message and ends the process with exit status -1. Nothing is cleaned up.
[[noreturn]] void AbortWithMessage(std::string_view message);

// Ends the process at once with the given status, after flushing standard output and calling
// the hook given to AtExitProcess, if any.
[[noreturn]] void ExitProcess(int status);
void AtExitProcess(void (*hook)());

// Called once at start-up. Under AddressSanitizer, keeps an error that ends the run from a very
// deep stack from printing a sanitizer warning; elsewhere it does nothing.
void PrepareDeepExit();

}  // namespace zintrel
