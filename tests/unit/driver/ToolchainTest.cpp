// The toolchain's command lines, character for character, and running a child on its pipes.
#include <gtest/gtest.h>

#include "driver/Toolchain.h"
#include "support/Messages.h"
#include "support/Process.h"

namespace zintrel {
namespace {

TEST(Toolchain, CommandLinesAsTheToolsReceiveThem) {
  const std::string m = "-I " + Quote("/m");
  const std::vector<std::pair<std::string, std::string>> lines = {
      {CompileCommandLine(Quote("/p/.zintrel/t.cpp") + " -o " + Quote("/p/.zintrel/t.o"), m, false),
       "g++ -Wall -fwrapv -frounding-math -I \"/m\" -c -O3 \"/p/.zintrel/t.cpp\" -o \"/p/.zintrel/t.o\""},
      {CompileCommandLine(Quote("/p/s.c") + " -o " + Quote("/p/s.o"), m + " ", true),
       "g++ -Wall -fwrapv -frounding-math -I \"/m\"  -c -g \"/p/s.c\" -o \"/p/s.o\""},
      {PartialLinkCommandLine(ObjectList({"t-PreIncremental.o", "s.o"}), Quote("t.o")),
       "ld -i \"t-PreIncremental.o\" \"s.o\"  -o \"t.o\""},
      {LinkCommandLine(ObjectList({"a.o", "m.a", "lib.a"}) + "-l\"m\" ", Quote("out")),
       "g++ \"a.o\" \"m.a\" \"lib.a\" -l\"m\"  -o \"out\""},
      {ArchiveCommandLine(ObjectList({"a.o", "b.o"}), Quote("m.a")), "ar -r \"m.a\" \"a.o\" \"b.o\" "},
  };
  for (const auto& [line, expected] : lines) EXPECT_EQ(line, expected);
  EXPECT_FALSE(SafeInCommandLine("/p/a\"b.zn"));
  EXPECT_TRUE(SafeInCommandLine("/p/a b/ü.zn"));
}

TEST(Toolchain, CommandLinesSplitAtBlanksOutsideQuotes) {
  EXPECT_EQ(SplitCommandLine("g++  \"a b.cpp\" -l\"m\" \"\" x"),
            (std::vector<std::string>{"g++", "a b.cpp", "-lm", "", "x"}));
}

TEST(Toolchain, ChildrenReportTheirStreamAndHowTheyEnded) {
  TChildOptions tool;
  TChildResult result;
  ASSERT_TRUE(RunChild("sh -c \"echo out; echo err >&2; exit 3\"", tool, result));
  EXPECT_EQ(result.Text, "err\n");
  EXPECT_EQ(result.Status, 3);

  TChildOptions program;
  program.CollectError = false;
  std::string pieces;
  program.OnText = [&pieces](std::string_view piece) { pieces += piece; };
  ASSERT_TRUE(RunChild("sh -c \"printf 'a\\r\\nb'; kill -SEGV $$\"", program, result));
  EXPECT_EQ(result.Text, "a\r\nb");
  EXPECT_EQ(pieces, result.Text);
  EXPECT_EQ(SignalName(result.Signal), "SIGSEGV");

  EXPECT_FALSE(RunChild("no-such-tool-zintrel -v", tool, result));

  // Megabytes on both streams: the collected one is read as it comes, the other dropped.
  ASSERT_TRUE(RunChild("sh -c \"head -c 5000000 /dev/zero; head -c 3000000 /dev/zero >&2\"", tool,
                       result));
  EXPECT_EQ(result.Text.size(), 3000000u);
}

TEST(Toolchain, StreamedOutputTurnsCarriageReturnLineFeedIntoLineFeed) {
  ::testing::internal::CaptureStdout();
  TMessageStream stream;
  for (std::string_view piece : {"a\r", "\nb\r", "c\r"}) stream.Write(piece);
  stream.End();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "a\nb\rc\r\n");
}

}  // namespace
}  // namespace zintrel
