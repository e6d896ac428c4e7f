#include <gtest/gtest.h>

#include "support/Messages.h"

namespace zintrel {
namespace {

TEST(Messages, CrLfBecomesLfAndOneLfIsAppended) {
  testing::internal::CaptureStdout();
  OutputCompilerMessage("a\r\nb\rc\r\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "a\nb\rc\n\n");
}

TEST(Messages, AbortEndsWithStatus255) {
  EXPECT_EXIT(AbortWithMessage("boom"), testing::ExitedWithCode(255), "");
}

}  // namespace
}  // namespace zintrel
