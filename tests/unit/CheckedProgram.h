#pragma once
// Test support: runs the real driver phases over a source text written to a temporary file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver/Compiler.h"
#include "model/ProgramNode.h"

namespace zintrel::testing_support {

// The declarations every checked test program starts with.
inline const char* const CoreClasses =
    "Extern\n"
    "  Class Object\n"
    "  EndClass\n"
    "  Class String Extends Object Final\n"
    "  EndClass\n"
    "  Class Array Extends Object Final\n"
    "  EndClass\n"
    "EndExtern\n";

class CheckedProgram {
 public:
  // Parses and checks the text (after the core classes); the driver's messages are kept, unless
  // captureOutput is false (in death tests, where the messages are to reach the test).
  explicit CheckedProgram(const std::string& source, bool withCoreClasses = true,
                          bool captureOutput = true) {
    static int counter = 0;
    folder = std::filesystem::temp_directory_path() /
             ("zintrel-checked-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
    path = (folder / "main.zn").string();
    std::ofstream(path) << (withCoreClasses ? CoreClasses : "") << source;
    if (captureOutput) ::testing::internal::CaptureStdout();
    compiler.Setup({"a.out", "", "", "", "on", "cpp", ""}, path);
    compiler.Parse();
    compiler.SemanticAnalysis();
    if (captureOutput) output = ::testing::internal::GetCapturedStdout();
  }
  ~CheckedProgram() { std::filesystem::remove_all(folder); }

  TProgramNode* Root() const { return compiler.MainRoot; }
  TCompiler compiler;
  std::string path;
  std::string output;

 private:
  std::filesystem::path folder;
};

}  // namespace zintrel::testing_support
