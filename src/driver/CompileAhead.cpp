#include "driver/CompileAhead.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "support/Files.h"
#include "support/Messages.h"

namespace zintrel {

int CompileJobs() {
  const char* text = std::getenv("ZINTREL_JOBS");
  if (text == nullptr || *text == '\0') return 1;
  long jobs = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9' || jobs > MaxJobs) {
      jobs = 0;
      break;
    }
    jobs = jobs * 10 + (*c - '0');
  }
  if (jobs < 1 || jobs > MaxJobs)
    AbortWithMessage("ZINTREL_JOBS must be a number of jobs from 1 to " + std::to_string(MaxJobs) +
                     ", not '" + text + "'");
  return static_cast<int>(jobs);
}

namespace {

struct TCompileState {
  TPlannedCompile Planned;
  TChildResult Result;
  bool Started = false;
  bool Done = false;
  bool Taken = false;
};

struct TAhead {
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<TCompileState> Compiles;
  size_t Next = 0;       // the next compile a worker starts
  size_t NextTaken = 0;  // the next compile the build takes
  bool Stopping = false;
  std::vector<std::thread> Workers;

  void Work() {
    std::unique_lock<std::mutex> hold(Lock);
    while (!Stopping && Next < Compiles.size()) {
      TCompileState& state = Compiles[Next++];
      hold.unlock();
      TChildOptions options;
      TChildResult result;
      const bool started = RunChild(state.Planned.CommandLine, options, result);
      hold.lock();
      state.Result = std::move(result);
      state.Started = started;
      state.Done = true;
      Changed.notify_all();
    }
  }
};

TAhead* Ahead = nullptr;

}  // namespace

void TCompileAhead::Start(std::vector<TPlannedCompile> planned, int jobs) {
  if (jobs < 2 || planned.size() < 2 || Ahead != nullptr) return;
  Ahead = new TAhead;
  for (TPlannedCompile& compile : planned) Ahead->Compiles.push_back({std::move(compile), {}, false, false, false});
  const size_t workers = std::min(static_cast<size_t>(jobs), Ahead->Compiles.size());
  // An error ends the build wherever it is met: the workers are stopped first.
  AtExitProcess(&TCompileAhead::Stop);
  for (size_t i = 0; i < workers; ++i) Ahead->Workers.emplace_back([] { Ahead->Work(); });
}

bool TCompileAhead::Take(const std::string& commandLine, TChildResult& result, bool& started) {
  if (Ahead == nullptr) return false;
  std::unique_lock<std::mutex> hold(Ahead->Lock);
  if (Ahead->NextTaken >= Ahead->Compiles.size()) return false;
  TCompileState& state = Ahead->Compiles[Ahead->NextTaken];
  if (state.Planned.CommandLine != commandLine) {
    // Other tools (the merge of a file's objects) run in their turn, past the plan. A compile
    // the plan has later means the build went another way: from here on it compiles alone.
    bool planned = false;
    for (size_t i = Ahead->NextTaken + 1; i < Ahead->Compiles.size() && !planned; ++i)
      planned = Ahead->Compiles[i].Planned.CommandLine == commandLine;
    if (!planned) return false;
    hold.unlock();
    Stop();
    return false;
  }
  Ahead->Changed.wait(hold, [&state] { return state.Done; });
  ++Ahead->NextTaken;
  state.Taken = true;
  result = std::move(state.Result);
  started = state.Started;
  return true;
}

void TCompileAhead::Stop() {
  if (Ahead == nullptr) return;
  {
    std::lock_guard<std::mutex> hold(Ahead->Lock);
    Ahead->Stopping = true;
  }
  for (std::thread& worker : Ahead->Workers) worker.join();
  for (const TCompileState& state : Ahead->Compiles)
    if (state.Done && !state.Taken) RemoveFile(state.Planned.Output);
  delete Ahead;
  Ahead = nullptr;
}

}  // namespace zintrel
