// Fuzz target: the dependency-record reader, and the checker on a program using what the record
// declares. The input is the record of lib.zn, read because the record and the file's other
// outputs are newer than lib.zn; main.zn imports lib.zn and uses its declarations.
#include <sys/time.h>

#include <cstdio>

#include "Harness.h"
#include "support/Files.h"

namespace {

// The file the seed records were written for; a record the reader refuses makes the build
// compile it from here instead.
constexpr const char* LibrarySource = R"(Global Count:Int = 1
Const Limit:Long = 10
Function Twice:Int(v:Int, w:Int = 2)
  Return v * w
EndFunction
Class Base
  Field Name:String
  Method Describe:String()
    Return Name
  EndMethod
EndClass
Class Counter Extends Base
  Private
  Field Steps:Int[]
  Public
  Global Made:Int
  Method Counter(start:Int)
    Steps = New Int[start]
  EndMethod
  Method Size:Int()
    Return Steps.Length
  EndMethod
EndClass
)";

constexpr const char* MainSource = R"(Import "lib.zn"
Local c:Counter = New Counter(Twice(Count))
Local n:Long = c.Size() + Limit + Counter.Made
Local s:String = c.Describe() + c.Name
)";

bool SetTime(const std::string& path, time_t seconds) {
  const timeval times[2] = {{seconds, 0}, {seconds, 0}};
  return utimes(path.c_str(), times) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zintrel;
  if (argc != 2) {
    std::fputs("usage: fuzz_record FOLDER/.zintrel/lib.dep\n", stderr);
    return 2;
  }
  TPaths::InitStartup();
  const std::string record = AbsolutePath(argv[1]);
  const std::string folder = FolderPart(FolderPart(record));
  if (FilePart(record) != "lib.dep" || FilePart(FolderPart(record)) != BUILD_FOLDER) {
    std::fputs("the record must be named .zintrel/lib.dep\n", stderr);
    return 2;
  }
  // The source long ago, the other outputs in the far future: every new input is read.
  bool ready = WriteTextLines(folder + "/lib.zn", {LibrarySource}) &&
               WriteTextLines(folder + "/main.zn", {MainSource}) &&
               SetTime(folder + "/lib.zn", 1000000000);
  for (const char* extension : {".h", ".cpp", ".o"}) {
    const std::string output = folder + "/" + BUILD_FOLDER + "/lib" + extension;
    ready = ready && WriteTextLines(output, {}) && SetTime(output, 4000000000);
  }
  if (!ready) {
    std::fputs("unable to prepare the program folder\n", stderr);
    return 2;
  }
  TCompiler compiler;
  fuzz::SetupAndFork(compiler, folder + "/main.zn");
  return fuzz::RunOnLargeStack(
      [](TCompiler& c) {
        c.Parse();
        c.SemanticAnalysis();
      },
      compiler);
}
