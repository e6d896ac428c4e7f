// Files appear whole: until a write is complete, readers see the old content, and nothing is
// left behind under the temporary name.
#include <gtest/gtest.h>

#include <filesystem>

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

  EXPECT_FALSE(WriteFileBytes((folder / "missing" / "b.h").string(), "x"));
  EXPECT_FALSE(ReadFileBytes(folder.string(), bytes));  // a folder is no file
  fs::remove_all(folder);
}

}  // namespace
}  // namespace zintrel
