// Lexer throughput on a generated source file of realistic shape: classes, functions, locals,
// expressions, strings, comments and numbers.
// Usage: lexer_bench [megabytes [keep]] (default 12 MB; "keep" leaves the generated files).
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "frontend/Lexer.h"

namespace {

using namespace zintrel;

struct Random {
  uint64_t State = 0x9E3779B97F4A7C15u;
  uint32_t Next() {
    State ^= State << 13;
    State ^= State >> 7;
    State ^= State << 17;
    return static_cast<uint32_t>(State >> 11);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }
};

const char* const Names[] = {"count", "Index", "total", "buffer", "playerName", "x", "y",
                             "velocity", "Result", "item", "node", "left", "right", "value_2",
                             "scale", "offset", "Width", "height", "list", "tmp"};
const char* const Types[] = {"Int", "Float", "Double", "String", "Long", "Bool", "UByte",
                             "TNode", "Short", "ULong"};

// Joins pieces by appending (also keeps g++ 12 from a false -Wrestrict on "text" + string).
template <typename... Pieces>
std::string Cat(const Pieces&... pieces) {
  std::string out;
  (out += ... += pieces);
  return out;
}

std::string Name(Random& random) { return Names[random.Below(20)]; }

std::string Number(Random& random) {
  switch (random.Below(6)) {
    case 0: return std::to_string(random.Below(100000));
    case 1: return Cat(std::to_string(random.Below(1000)), ".", std::to_string(random.Below(1000)));
    case 2: return Cat("$", std::to_string(random.Below(9000) + 1000), "ff");
    case 3: return Cat(std::to_string(random.Below(256)), "UB");
    case 4: return Cat(std::to_string(random.Below(100000)), "L");
    default: return Cat(std::to_string(random.Below(100)), ".25d");
  }
}

std::string Expression(Random& random, int depth = 0) {
  static const char* const Ops[] = {" + ", " - ", " * ", " / ", " Mod ", " And ", " Or ",
                                    " >= ", " <> ", " = ", " < ", " Shl "};
  std::string e;
  switch (random.Below(depth > 2 ? 2 : 5)) {
    case 0: e = Name(random); break;
    case 1: e = Number(random); break;
    case 2: e = Cat("(", Expression(random, depth + 1), ")"); break;
    case 3: {
      std::string object = Name(random), method = Name(random);
      e = Cat(object, ".", method, "(", Expression(random, depth + 1), ")");
      break;
    }
    default: {
      std::string array = Name(random);
      e = Cat(array, "[", Expression(random, depth + 1), "]");
      break;
    }
  }
  if (random.Below(3) != 0) {
    e += Ops[random.Below(12)];
    e += Expression(random, depth + 1);
  }
  return e;
}

void AppendFunction(std::string& out, Random& random, int index, const std::string& indent) {
  out += Cat(indent, "Function Compute", std::to_string(index), ":", Types[random.Below(10)]);
  out += Cat("(a:Int, b:", Types[random.Below(10)], ")\n");
  std::string inner = Cat(indent, "\t");
  int statements = 6 + static_cast<int>(random.Below(10));
  for (int s = 0; s < statements; ++s) {
    switch (random.Below(8)) {
      case 0:
        out += Cat(inner, "Local ", Name(random), ":", Types[random.Below(10)]);
        out += Cat(" = ", Expression(random), "\n");
        break;
      case 1:
        out += Cat(inner, "If ", Expression(random), " Then\n");
        out += Cat(inner, "\t", Name(random), " = ", Expression(random), "\n");
        out += Cat(inner, "Else\n", inner, "\tPrint \"value out of range: please check the input\"\n");
        out += Cat(inner, "End If\n");
        break;
      case 2:
        out += Cat(inner, "// adjust the running total before the next pass over the list\n");
        break;
      case 3:
        out += Cat(inner, "/* The loop below walks every item once;\n", inner,
                   "   it must not change the list while it runs. */\n");
        out += Cat(inner, "For Local i:Int = 0 To ", Number(random), "\n");
        out += Cat(inner, "\t", Name(random), " :+ ", Expression(random), "\n", inner, "Next\n");
        break;
      case 4:
        out += Cat(inner, "While ", Expression(random), "\n");
        out += Cat(inner, "\t", Name(random), " = ", Name(random), " + 1\n", inner, "Wend\n");
        break;
      case 5:
        out += Cat(inner, "Print(\"", Name(random), " = \" + String(", Expression(random), "))\n");
        break;
      case 6:
        out += Cat(inner, Name(random), " = ", Expression(random), " ..\n");
        out += Cat(inner, "\t+ ", Expression(random), "\n");
        break;
      default:
        out += Cat(inner, "Return ", Expression(random), "\n");
        break;
    }
  }
  out += Cat(indent, "End Function\n\n");
}

std::string Generate(size_t bytes) {
  Random random;
  std::string out;
  out.reserve(bytes + 4096);
  out += "Import Zintrel.Core.*\nImport \"helpers.zin\"\n\n";
  int index = 0;
  while (out.size() < bytes) {
    out += Cat("Class TShape", std::to_string(index), " Extends TBase\n");
    out += "\tField x:Float, y:Float\n\tField name:String = \"shape\"\n";
    out += "\tGlobal count:Int = 0\n\tConst LIMIT:Int = $7fffffff\n\n";
    out += "\tMethod Draw()\n\t\tPrint \"drawing \" + name\n\tEnd Method\n\n";
    AppendFunction(out, random, index++, "\t");
    out += "End Class\n\n";
    for (int f = 0; f < 4; ++f) AppendFunction(out, random, index++, "");
    out += Cat("Global table:Int[] = New Int[", std::to_string(random.Below(500)), "]\n\n");
  }
  return out;
}

struct Run {
  double Seconds;
  uint64_t Tokens;
};

Run LoadAndScan(const std::string& path) {
  auto start = std::chrono::steady_clock::now();
  TLexer::Load(path);
  uint64_t tokens = 0;
  while (TLexer::GetNextTokenStatic() != tok::TOK_EOF) ++tokens;
  auto end = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(end - start).count(), tokens};
}

void Measure(const char* label, const std::string& path, size_t size) {
  const int runs = 5;
  double best = 1e9, total = 0;
  uint64_t tokens = 0;
  for (int i = 0; i < runs; ++i) {
    Run run = LoadAndScan(path);
    best = std::min(best, run.Seconds);
    total += run.Seconds;
    tokens = run.Tokens;
  }
  double mb = static_cast<double>(size) / 1e6;
  std::printf("%-18s %.1f MB, %llu tokens: best %.1f MB/s, mean %.1f MB/s (load + scan)\n", label,
              mb, static_cast<unsigned long long>(tokens), mb / best, mb * runs / total);
}

}  // namespace

int main(int argc, char** argv) {
  size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 12;
  if (megabytes < 1) megabytes = 1;
  std::string source = Generate(megabytes * 1000 * 1000);

  LocationRecord record;
  TLexer::TokenLocation = &record;

  std::filesystem::path folder = std::filesystem::temp_directory_path();
  std::string stem = Cat("zintrel_lexer_bench_", std::to_string(getpid()));
  std::string plain = (folder / Cat(stem, ".zin")).string();
  std::string utf8 = (folder / Cat(stem, "_bom.zin")).string();
  std::ofstream(plain, std::ios::binary) << source;
  std::ofstream(utf8, std::ios::binary) << "\xEF\xBB\xBF" << source;

  Measure("8-bit text", plain, source.size());
  Measure("UTF-8 with mark", utf8, source.size() + 3);

  if (argc > 2 && std::string(argv[2]) == "keep") {
    std::printf("kept %s and %s\n", plain.c_str(), utf8.c_str());
  } else {
    std::filesystem::remove(plain);
    std::filesystem::remove(utf8);
  }
  return 0;
}
