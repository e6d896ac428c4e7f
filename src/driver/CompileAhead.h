#pragma once
// Compiles run ahead of the build when the user allows several at once (ZINTREL_JOBS): the
// build's compile command lines, known before the first runs, start in the build's order on up
// to that many worker threads. The build itself still runs one step after the other, taking
// each compile's result when it comes to it, so every message, decision and file is what a
// build of one job at a time gives.
#include <string>
#include <vector>

#include "support/Process.h"

namespace zintrel {

struct TPlannedCompile {
  std::string CommandLine;
  std::string Output;  // the file it writes, removed when the build never takes its result
};

// The number of compiles that may run at once, from ZINTREL_JOBS (1 when it is not set); a
// value that is not a whole number from 1 to MaxJobs ends the build with a message.
int CompileJobs();
constexpr int MaxJobs = 256;

class TCompileAhead {
 public:
  // Starts the planned compiles on `jobs` threads. Nothing runs for fewer than two jobs.
  static void Start(std::vector<TPlannedCompile> planned, int jobs);
  // When the command line is the next planned one not yet taken, waits for it to end and
  // answers true, with its result and whether it could be started at all.
  static bool Take(const std::string& commandLine, TChildResult& result, bool& started);
  // Starts nothing more, waits for the compiles still running and removes the output of every
  // compile whose result was not taken. Called before the process ends.
  static void Stop();
};

}  // namespace zintrel
