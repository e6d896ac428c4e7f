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
    TBesideWork work([&later] { later = "later"; });
    std::string earlier = "earlier";
    work.Finish();
    EXPECT_EQ(earlier + later, "earlierlater");
  }
  TBesideWork::UseThreads(true);
}

TEST(BesideDeathTest, TheCallersReportWinsAndTheWorksComesAtFinish) {
  for (bool threads : {true, false}) {
    TBesideWork::UseThreads(threads);
    // The work's report, held back while the caller's part goes on.
    EXPECT_EXIT(
        {
          MessagesToStderr();
          TBesideWork work([] { AbortWithMessage("second"); });
          usleep(20000);
          OutputCompilerMessage("first part done");
          work.Finish();
        },
        testing::ExitedWithCode(255), "^first part done\nsecond\n$");
    // The caller's report, made while the work has one held back.
    EXPECT_EXIT(
        {
          MessagesToStderr();
          TBesideWork work([] { AbortWithMessage("second"); });
          usleep(20000);
          AbortWithMessage("first");
        },
        testing::ExitedWithCode(255), "^first\n$");
  }
  TBesideWork::UseThreads(true);
}

}  // namespace
}  // namespace zintrel
