#include "support/Beside.h"

#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <utility>

#include "support/Messages.h"

namespace zintrel {

namespace {
// The work the current thread does for another, if any.
thread_local TBesideWork* CurrentWork = nullptr;
bool ThreadsUsed = true;
// Counted in every process forked from this one, which has none of its threads.
std::atomic<unsigned> ForkCount{0};
void CountFork() { ForkCount.fetch_add(1); }
}  // namespace

bool TBesideWork::Available() {
  static const bool available = [] {
    cpu_set_t set;
    return sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) >= 2;
  }();
  return available && ThreadsUsed;
}

void TBesideWork::UseThreads(bool use) { ThreadsUsed = use; }

TBesideWork::TBesideWork(std::function<void(TBesideWork&)> work) : Work(std::move(work)) {
  if (!Available()) return;
  static const bool counted = pthread_atfork(nullptr, nullptr, CountFork) == 0;
  (void)counted;
  Forks = ForkCount.load();
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return;
  // As deep as the compiler's own walks may go: its pages are only taken when used. The work
  // may ask OnThread at once: the answer is set before the thread starts.
  Threaded = true;
  if (pthread_attr_setstacksize(&attributes, size_t{1} << 30) != 0 ||
      pthread_create(&Thread, &attributes, Run, this) != 0)
    Threaded = false;
  pthread_attr_destroy(&attributes);
}

TBesideWork::~TBesideWork() {
  if (Work) Finish();
}

void* TBesideWork::Run(void* self) {
  auto* work = static_cast<TBesideWork*>(self);
  CurrentWork = work;
  work->Work(*work);
  pthread_mutex_lock(&work->Lock);
  work->Finished = true;
  pthread_cond_broadcast(&work->Done);
  pthread_mutex_unlock(&work->Lock);
  return nullptr;
}

bool TBesideWork::WaitUntilFinished() {
  pthread_mutex_lock(&Lock);
  while (!Finished) pthread_cond_wait(&Done, &Lock);
  const bool reported = Reported;
  pthread_mutex_unlock(&Lock);
  return reported;
}

bool TBesideWork::OnThread() const { return Threaded && Forks == ForkCount.load(); }

void TBesideWork::Finish() {
  if (!Work) return;
  if (!OnThread()) {
    std::function<void(TBesideWork&)> work = std::move(Work);
    Work = nullptr;
    work(*this);
    return;
  }
  const bool reported = WaitUntilFinished();
  Work = nullptr;
  // The thread of a held-back report never ends; the report ends the process.
  if (reported) AbortWithMessage(Report);
  pthread_join(Thread, nullptr);
}

void TBesideWork::Abandon() {
  if (!Work) return;
  if (!OnThread()) {
    Work = nullptr;
    return;
  }
  const bool reported = WaitUntilFinished();
  Work = nullptr;
  if (reported) {
    pthread_detach(Thread);
  } else {
    pthread_join(Thread, nullptr);
  }
}

void TBesideWork::Share(const std::function<void()>& change) {
  // Without the thread, the lock may be one a thread of the process forked from held.
  if (!OnThread()) return change();
  pthread_mutex_lock(&Lock);
  change();
  pthread_cond_broadcast(&Done);
  pthread_mutex_unlock(&Lock);
}

bool TBesideWork::WaitFor(const std::function<bool()>& condition) {
  // Without a thread nothing is shared before Finish.
  if (!OnThread()) return condition();
  pthread_mutex_lock(&Lock);
  bool holds = condition();
  while (!holds && !Finished) {
    pthread_cond_wait(&Done, &Lock);
    holds = condition();
  }
  pthread_mutex_unlock(&Lock);
  return holds;
}

bool TBesideWork::HoldBackReport(std::string_view message) {
  TBesideWork* work = CurrentWork;
  if (work == nullptr) return false;
  pthread_mutex_lock(&work->Lock);
  work->Report = message;
  work->Reported = true;
  work->Finished = true;
  pthread_cond_broadcast(&work->Done);
  pthread_mutex_unlock(&work->Lock);
  for (;;) pause();
}

}  // namespace zintrel
