#!/usr/bin/env bash
# Build times of a generated 50-file program: a clean build, the compiler's own share of it
# (the same build with stand-in tools that only create their outputs), a rebuild with nothing
# changed and a rebuild after touching one file. Run by hand after building the compiler:
#   bash bench/build/build_bench.sh [build/zintrel] [files]
set -euo pipefail
zintrel="$(realpath "${1:-build/zintrel}")"
files="${2:-50}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Each file: a class with fields and methods, a function with loops, top-level code.
for ((i = 1; i <= files; i++)); do
  {
    echo "Import Zintrel.IO"
    [ "$i" -gt 1 ] && echo "Import \"f$((i - 1)).zn\""
    echo "Class Shape$i"
    echo "  Field x:Double, y:Double, n:Int"
    echo "  Method Shape$i(a:Double, b:Double)"
    echo "    x = a; y = b"
    echo "  EndMethod"
    for ((m = 1; m <= 8; m++)); do
      echo "  Method Step$m:Double(k:Int)"
      echo "    Local s:Double = 0"
      echo "    For Local j:Int = 1 To k"
      echo "      If j Mod 3 = 0 Then s = s + x * j Else s = s - y / (j + $m)"
      echo "    Next"
      echo "    n = n + 1"
      echo "    Return s"
      echo "  EndMethod"
    done
    echo "EndClass"
    echo "Function Run$i:Double(k:Int)"
    echo "  Local shape:Shape$i = New Shape$i(1.5d, 2.5d)"
    echo "  Local total:Double"
    echo "  While k > 0"
    echo "    total = total + shape.Step1(k) + shape.Step8(k)"
    echo "    k = k - 1"
    echo "  Wend"
    echo "  Return total"
    echo "EndFunction"
    echo "Global result$i:Double = Run$i(10)"
  } > "$work/f$i.zn"
done
{ echo "Import \"f$files.zn\""; echo "Import Zintrel.IO"; echo "Print(\"done\")"; } > "$work/main.zn"

# Stand-in tools: they create the files the real ones would and do nothing else.
mkdir -p "$work/fake"
cat > "$work/fake/g++" <<'TOOL'
#!/bin/sh
while [ $# -gt 0 ]; do [ "$1" = -o ] && { shift; : > "$1"; }; shift; done
TOOL
cp "$work/fake/g++" "$work/fake/ld"
printf '#!/bin/sh\n: > "$2"\n' > "$work/fake/ar"
chmod +x "$work/fake/"*

seconds() { local start end; start=$(date +%s.%N); "$@" > "$work/out.txt"; end=$(date +%s.%N); echo "$end - $start" | bc; }
clean() { rm -rf "$work"/.zintrel "$work/a.out"; }

lines=$(cat "$work"/*.zn | wc -l)
clean; own=$(PATH="$work/fake:$PATH" seconds "$zintrel" "$work/main.zn")
clean; full=$(seconds "$zintrel" "$work/main.zn")
grep -q "g++ Output" "$work/out.txt" && { echo "the build printed tool output:"; cat "$work/out.txt"; exit 1; }
same=$(seconds "$zintrel" "$work/main.zn")
compiled=$(grep -c '^Compiling' "$work/out.txt" || true)
touch "$work/f$((files / 2)).zn"
touched=$(seconds "$zintrel" "$work/main.zn")
recompiled=$(grep -c '^Compiling' "$work/out.txt" || true)

echo "program: $((files + 1)) files, $lines lines"
echo "clean build:                  ${full} s"
echo "compiler's own share:         ${own} s ($(echo "scale=1; 100 * $own / $full" | bc)%)"
echo "rebuild, nothing changed:     ${same} s (files compiled: $compiled)"
echo "rebuild, one file touched:    ${touched} s (files compiled: $recompiled)"
