// Work on the second processor: its results, with or without a thread, and its fatal report,
// which never wins over one the calling thread makes first.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "support/Beside.h"
#include "support/Messages.h"

namespace zintrel {
namespace {

void MessagesToStderr() {
  std::fflush(stdout);
  dup2(2, 1);
}

TEST(Beside, WorkIsDoneByFinishWithOrWithoutAThread) {
  for (bool threads : {true, false}) {
    TBesideWork::UseThreads(threads);
    std::string later;
    TBesideWork work([&later](TBesideWork&) { later = "later"; });
    std::string earlier = "earlier";
    work.Finish();
    EXPECT_EQ(earlier + later, "earlierlater");
  }
  TBesideWork::UseThreads(true);
}

TEST(Beside, PiecesAreHandedOverInTurn) {
  int made = 0, taken = 0;  // the last piece made by the work, and taken by the caller
  std::string seen;
  TBesideWork work([&made, &taken](TBesideWork& self) {
    for (int next = 1; next <= 50; ++next) {
      self.WaitFor([&] { return taken == next - 1; });
      self.Share([&] { made = next; });
    }
  });
  if (!work.OnThread()) GTEST_SKIP() << "one processor";
  for (int next = 1; next <= 50; ++next) {
    ASSERT_TRUE(work.WaitFor([&] { return made == next; }));
    seen += std::to_string(next) + " ";
    work.Share([&] { taken = next; });
  }
  work.Finish();
  EXPECT_EQ(seen.size(), 141u);
  // Once the work has ended, a wait for what it never shares ends too.
  EXPECT_FALSE(work.WaitFor([] { return false; }));
}

TEST(Beside, AnAbandonedWorkEndsAndItsReportIsDropped) {
  std::string result;
  {
    TBesideWork work([&result](TBesideWork&) { result = "done"; });
    work.Abandon();
  }
  EXPECT_EQ(result, TBesideWork::Available() ? "done" : "");
  testing::internal::CaptureStdout();
  TBesideWork failed([](TBesideWork&) { AbortWithMessage("never shown"); });
  failed.Abandon();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(BesideDeathTest, TheCallersReportWinsAndTheWorksComesAtFinish) {
  for (bool threads : {true, false}) {
    TBesideWork::UseThreads(threads);
    // The work's report, held back while the caller's part goes on.
    EXPECT_EXIT(
        {
          MessagesToStderr();
          TBesideWork work([](TBesideWork&) { AbortWithMessage("second"); });
          usleep(20000);
          OutputCompilerMessage("first part done");
          work.Finish();
        },
        testing::ExitedWithCode(255), "^first part done\nsecond\n$");
    // The caller's report, made while the work has one held back.
    EXPECT_EXIT(
        {
          MessagesToStderr();
          TBesideWork work([](TBesideWork&) { AbortWithMessage("second"); });
          usleep(20000);
          AbortWithMessage("first");
        },
        testing::ExitedWithCode(255), "^first\n$");
  }
  TBesideWork::UseThreads(true);
  // The work's report while the caller waits for a piece of it: the wait ends, and Finish gives
  // the report.
  EXPECT_EXIT(
      {
        MessagesToStderr();
        TBesideWork work([](TBesideWork&) { AbortWithMessage("in the work"); });
        if (!work.WaitFor([] { return false; })) OutputCompilerMessage("no piece");
        work.Finish();
      },
      testing::ExitedWithCode(255), "^no piece\nin the work\n$");
  TBesideWork::UseThreads(true);
}

}  // namespace
}  // namespace zintrel
