#pragma once
// Work handed to the second processor while the calling thread goes on with its own part: the
// C++ text of a long program's classes and functions, while it is checked. The work runs on a
// thread with a stack as large as the compiler's own. Where the process may use one processor
// only, or no thread can be made, it runs on the calling thread when it is finished, after the
// caller's own part, as if no thread had been asked for.
//
// The caller's part comes first in the program, so a fatal report it makes must win over one
// the work makes. The work's report is held back until Finish: the work's thread stops there,
// and Finish gives the report as the caller's own.
#include <functional>
#include <string>
#include <string_view>

#include <pthread.h>

namespace zintrel {

class TBesideWork {
 public:
  // Whether a second processor is there to take work (and threads are not turned off).
  static bool Available();
  // Turns threads off and on: tests compare work done on a thread with the same work without.
  static void UseThreads(bool use);
  // Starts the work, on a thread of its own when a processor is available. The work is given
  // its TBesideWork, for handing results over in pieces.
  explicit TBesideWork(std::function<void(TBesideWork&)> work);
  TBesideWork(const TBesideWork&) = delete;
  TBesideWork& operator=(const TBesideWork&) = delete;
  // Finishes the work when Finish was not called.
  ~TBesideWork();
  // Waits until the work is done (or does it now, without a thread); gives its fatal report, if
  // it made one, as a report of the calling thread.
  void Finish();
  // Waits until the work is done, or has a report held back, which is dropped: for work whose
  // results nobody asks for any more. (The thread of a dropped report sleeps until the process
  // ends.)
  void Abandon();
  // Whether the work runs on a thread of its own. In a process forked from this one (a test's
  // death test) the thread is not there: the work then counts as made without one.
  bool OnThread() const;
  // For results handed over in pieces, on either side: makes the change under the work's lock
  // and wakes the other side.
  void Share(const std::function<void()>& change);
  // Waits until the condition holds, looked at under the work's lock whenever the other side
  // shares a change. Answers false when the work has ended first (Finish then gives its report).
  bool WaitFor(const std::function<bool()>& condition);
  // For the one path of fatal reports: on a thread of such work, keeps the report for Finish and
  // never returns; elsewhere answers false.
  static bool HoldBackReport(std::string_view message);

 private:
  static void* Run(void* self);
  // Waits until the work's thread has ended its work or held back a report; true for a report.
  bool WaitUntilFinished();
  std::function<void(TBesideWork&)> Work;
  pthread_t Thread{};
  bool Threaded = false;
  unsigned Forks = 0;  // the forks of the process before the work was made
  bool Finished = false;  // the work's thread has ended its work, or held back a report
  bool Reported = false;
  std::string Report;
  pthread_mutex_t Lock = PTHREAD_MUTEX_INITIALIZER;
  pthread_cond_t Done = PTHREAD_COND_INITIALIZER;
};

}  // namespace zintrel
