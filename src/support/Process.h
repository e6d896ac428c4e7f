#pragma once
// Child processes: the toolchain and the built program run one at a time, started from one
// command-line string (split like a shell splits double quotes, but no shell runs), and waited
// for on their pipes, so a waiting compiler takes no processor time away from g++.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zintrel {

// The arguments of a command line: blanks separate them, a double-quoted run is part of one
// argument with the quotes removed.
std::vector<std::string> SplitCommandLine(std::string_view line);

struct TChildOptions {
  // Which of the child's streams is collected: its standard error (tools) or output (programs).
  bool CollectError = true;
  // The child reads the compiler's standard input and writes its other stream to the
  // compiler's; otherwise its input is empty and the other stream is dropped.
  bool Inherit = false;
  // Called with each piece of the collected stream as it arrives, when given.
  std::function<void(std::string_view)> OnText;
  // With Inherit, the other stream comes through a pipe too and each piece goes here, in the
  // order the child wrote the two streams, instead of straight to the compiler's.
  std::function<void(std::string_view)> OnOtherText;
};

struct TChildResult {
  std::string Text;   // everything the collected stream carried
  int Status = 0;     // the exit status, when the child exited
  int Signal = 0;     // the signal that ended the child, or 0
};

// Runs the command line and waits for the child to end. False when it could not be started
// (no such program); result then holds nothing.
bool RunChild(const std::string& commandLine, const TChildOptions& options, TChildResult& result);

// The name of a signal ("SIGSEGV"), or its number as text when it has none.
std::string SignalName(int signal);

}  // namespace zintrel
