#include <gtest/gtest.h>

#include "driver/CommandLine.h"
#include "support/Paths.h"

namespace zintrel {
namespace {

struct Parsed {
  int32_t Result;
  std::string Output;
  CLI Cli;
};

Parsed ParseArgs(std::vector<std::string> args) {
  Parsed p;
  p.Cli.AddCompilerOptions();
  args.insert(args.begin(), "/opt/zintrel/zintrel");
  testing::internal::CaptureStdout();
  p.Result = p.Cli.ParseCommandLine(args);
  p.Output = testing::internal::GetCapturedStdout();
  return p;
}

TEST(CommandLine, UsageText) {
  CLI cli;
  cli.AddCompilerOptions();
  EXPECT_EQ(cli.GetUsageDescription(),
            "compiler [-o|--output <param>] [-d|--debug] [-h|--help] [-x|--execute] "
            "[-r|--recompile] [-t|--target <param>] [-m|--module] FILE \n"
            "-o, --output\t\tSpecifies output file name (default: \"a.out\")\n"
            "-d, --debug\t\tEnables debug mode\n"
            "-h, --help\t\tDisplays this information\n"
            "-x, --execute\t\tExecute the program after compilation\n"
            "-r, --recompile\t\tForces complete recompilation\n"
            "-t, --target\t\tSelect a target language (default: \"cpp\")\n"
            "-m, --module\t\tCompile a specific module\n");
}

TEST(CommandLine, DescriptionsOfOddOptions) {
  CLIArgument longOnly = CLIArgument::Create("", "name", "Text", 1, 0, "", 0);
  EXPECT_EQ(longOnly.GetShortDescription(), "--name <param>");
  EXPECT_EQ(longOnly.GetLongDescription(), "--name\t\tText (default: \"\")");
  CLIArgument shortOnly = CLIArgument::Create("q", "", "Quiet", 0, 1, "", 0);
  EXPECT_EQ(shortOnly.GetShortDescription(), "[-q]");
  EXPECT_EQ(shortOnly.GetNames(), "-q");
  EXPECT_FALSE(shortOnly.HasName(""));
  EXPECT_FALSE(shortOnly.HasName("Q"));
}

TEST(CommandLine, DefaultsAndInput) {
  Parsed p = ParseArgs({"prog.zn"});
  ASSERT_EQ(p.Result, 1);
  EXPECT_EQ(p.Output, "");
  EXPECT_EQ(p.Cli.Config, (std::vector<std::string>{"a.out", "", "", "", "", "cpp", ""}));
  EXPECT_EQ(p.Cli.InputFile, "prog.zn");
  EXPECT_EQ(p.Cli.InputFilePath, AbsolutePath("prog.zn"));
}

TEST(CommandLine, EveryDebugSpellingSelectsDebug) {
  for (const char* spelling : {"-d", "--d", "d", "-debug", "--debug", "debug"}) {
    Parsed p = ParseArgs({spelling, "prog.zn"});
    ASSERT_EQ(p.Result, 1) << spelling;
    EXPECT_EQ(p.Cli.Config[CONFIG_DEBUG], "on") << spelling;
    EXPECT_EQ(p.Cli.InputFile, "prog.zn");
  }
  Parsed capital = ParseArgs({"Debug", "prog.zn"});
  ASSERT_EQ(capital.Result, 1);
  EXPECT_EQ(capital.Cli.Config[CONFIG_DEBUG], "");
  EXPECT_EQ(capital.Cli.InputFile, "Debug");  // nothing consumed: the first argument is the input
  Parsed threeDashes = ParseArgs({"---d", "prog.zn"});
  EXPECT_EQ(threeDashes.Cli.Config[CONFIG_DEBUG], "");
}

TEST(CommandLine, InputIsAfterTheLastConsumedArgument) {
  Parsed late = ParseArgs({"prog.zn", "-d"});
  EXPECT_EQ(late.Result, 0);
  EXPECT_EQ(late.Output, "Command line error, input file omitted!\n");

  Parsed extra = ParseArgs({"-r", "prog.zn", "other", "stuff"});
  ASSERT_EQ(extra.Result, 1);
  EXPECT_EQ(extra.Cli.InputFile, "prog.zn");
  EXPECT_EQ(extra.Cli.Config[CONFIG_RECOMPILE], "on");

  Parsed none = ParseArgs({});
  EXPECT_EQ(none.Result, 0);
  EXPECT_EQ(none.Output, "Command line error, input file omitted!\n");
}

TEST(CommandLine, ValuesAreScannedLikeOtherArguments) {
  Parsed p = ParseArgs({"-o", "x", "prog.zn"});
  ASSERT_EQ(p.Result, 1);
  EXPECT_EQ(p.Cli.Config[CONFIG_OUTPUT], "x");
  EXPECT_EQ(p.Cli.Config[CONFIG_EXECUTE], "on");
  EXPECT_EQ(p.Cli.InputFile, "prog.zn");

  Parsed twice = ParseArgs({"-t", "c", "--target", "cpp2", "prog.zn"});
  ASSERT_EQ(twice.Result, 1);
  EXPECT_EQ(twice.Cli.Config[CONFIG_TARGET], "cpp2");  // the last occurrence wins
  EXPECT_EQ(twice.Cli.InputFile, "prog.zn");

  Parsed value = ParseArgs({"-o", "-d", "prog.zn"});
  ASSERT_EQ(value.Result, 1);
  EXPECT_EQ(value.Cli.Config[CONFIG_OUTPUT], "-d");  // the value keeps its dash
  EXPECT_EQ(value.Cli.Config[CONFIG_DEBUG], "on");
}

TEST(CommandLine, MissingParameter) {
  Parsed p = ParseArgs({"-o"});
  EXPECT_EQ(p.Result, 0);
  EXPECT_EQ(p.Output, "Command line error, -o|--output needs a parameter!\n");
  Parsed t = ParseArgs({"prog.zn", "--target"});
  EXPECT_EQ(t.Result, 0);
  EXPECT_EQ(t.Output, "Command line error, -t|--target needs a parameter!\n");
}

}  // namespace
}  // namespace zintrel
