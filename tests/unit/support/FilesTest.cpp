// Files appear whole: until a write is complete, readers see the old content, and nothing is
// left behind under the temporary name.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/Files.h"

namespace zintrel {
namespace {

TEST(Files, WritesReplaceAFileOnlyWhenComplete) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(::testing::TempDir()) / "zintrel-files-test";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string path = (folder / "a.dep").string();
  std::string bytes;

  ASSERT_TRUE(WriteFileBytes(path, "old\n"));
  TLineWriter writer;
  ASSERT_TRUE(writer.Open(path));
  writer.WriteLine("new");
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "old\n");  // still the old record while the new one is written
  ASSERT_TRUE(writer.Close());
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "new\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

  // A text written in pieces: long enough to go out in chunks before Close. Until then the
  // old file stays; a writer given up, or the process ending, leaves nothing behind.
  const std::string source = (folder / "a.cpp").string();
  ASSERT_TRUE(WriteFileBytes(source, "old\n"));
  std::string expected;
  {
    TTextFileWriter text;
    text.Open(source);
    for (int piece = 0; piece < 12000; ++piece) {
      text.Text += "line " + std::to_string(piece) + " of the generated source\n";
      expected += "line " + std::to_string(piece) + " of the generated source\n";
      text.Pause();
    }
    EXPECT_LT(text.Text.size(), expected.size());  // some went to the file already
    ASSERT_TRUE(ReadFileBytes(source, bytes));
    EXPECT_EQ(bytes, "old\n");
    ASSERT_TRUE(text.Close());
  }
  ASSERT_TRUE(ReadFileBytes(source, bytes));
  EXPECT_EQ(bytes, expected);
  for (const bool byExit : {false, true}) {
    auto text = std::make_unique<TTextFileWriter>();
    text->Open(source);
    text->Text = expected + expected;
    text->Pause();
    ASSERT_TRUE(fs::exists(PartName(source)));
    if (byExit) RemoveUnfinishedFiles();
    else text.reset();
    EXPECT_FALSE(fs::exists(PartName(source)));
  }
  ASSERT_TRUE(ReadFileBytes(source, bytes));
  EXPECT_EQ(bytes, expected);
  TTextFileWriter unwritable;
  unwritable.Open((folder / "missing" / "b.cpp").string());
  unwritable.Text = "x";
  EXPECT_FALSE(unwritable.Close());

  EXPECT_FALSE(WriteFileBytes((folder / "missing" / "b.h").string(), "x"));
  EXPECT_FALSE(ReadFileBytes(folder.string(), bytes));  // a folder is no file
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zintrel
