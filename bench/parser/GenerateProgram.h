#pragma once
// The generated program both parser benchmarks run on: classes with visibility sections,
// functions with loops, branches, Select, one-line Ifs, continuations, comments and every kind
// of literal.
#include <string>

namespace zintrel::bench {

// Joins pieces by appending (also keeps g++ 12 from a false -Wrestrict on "text" + string).
template <typename... Pieces>
std::string Cat(const Pieces&... pieces) {
  std::string out;
  (out += ... += pieces);
  return out;
}

// Appends one class and two functions; returns the number of lines written.
inline int AppendUnit(std::string& out, int n) {
  const std::string id = std::to_string(n);
  const char* const lines[] = {
      "// shapes and their helpers\n",
      "Class TShape@ Extends TBase, IDrawable\n",
      "\tField x:Float, y:Float = 1.5\n",
      "\tField tag:String = \"shape\"\n",
      "Private\n",
      "\tField cache:Int[] = New Int[16]\n",
      "\tGlobal count:Int = 0\n",
      "Public\n",
      "\tMethod Area:Double(scale:Double = 1.0d)\n",
      "\t\tReturn x * y * scale + Double(count Mod 7)\n",
      "\tEndMethod\n",
      "\tMethod Draw(target:TCanvas)\n",
      "\t\tIf target = Null Then Return\n",
      "\t\ttarget.Plot(Int(x), Int(y), $ff00ff)\n",
      "\tEnd Method\n",
      "EndClass\n",
      "\n",
      "Function Compute@:Int(a:Int, b:Int[], c:Long = 10L)\n",
      "\tLocal total:Int = 0, i:Int, f:Float = 0.25\n",
      "\tFor Local k:Int = 0 Until Len(b) Step 1\n",
      "\t\tIf Not b[k] > a And k <> 3 Then total = total + b[k] Else total = total - 1\n",
      "\tNext\n",
      "\tWhile total > 100 Or a >= 0\n",
      "\t\ttotal = total / 2 - (a Shl 1) ..\n",
      "\t\t\t+ (total & %1010) ~ 3\n",
      "\t\ta = a - 1\n",
      "\tWend\n",
      "\tSelect total Mod 4\n",
      "\tCase 0\n",
      "\t\tPrint(\"zero\")\n",
      "\tCase 1\n",
      "\t\ttotal = -total\n",
      "\tDefault\n",
      "\t\tLocal s:TShape@ = New TShape@\n",
      "\t\ttotal = total + Int(s.Area(2.0d))\n",
      "\tEndSelect\n",
      "\tFor i = 0 To 9\n",
      "\t\tIf i = 5 Then Exit ElseIf i = 2 Then Continue\n",
      "\tNext\n",
      "\tReturn total\n",
      "EndFunction\n",
      "\n",
      "Function Main@()\n",
      "\tLocal values:Int[] = [1, 2, 3, 4]\n",
      "\tRepeat\n",
      "\t\tvalues[0] = Compute@(values[1], values) * 2 ^ 2\n",
      "\tUntil values[0] > 1000 Or values[0] < -1000\n",
      "EndFunction\n",
      "\n",
  };
  int count = 0;
  for (const char* line : lines) {
    std::string text = line;
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
      text.replace(at, 1, id);
    out += text;
    ++count;
  }
  return count;
}

inline std::string Generate(int lines, int& written) {
  std::string out = "Import Zintrel.Core.*\nImport \"helpers.zn\"\nGlobal frames:Int = 0\n\n";
  written = 4;
  for (int n = 0; written < lines; ++n) written += AppendUnit(out, n);
  return out;
}

}  // namespace zintrel::bench
