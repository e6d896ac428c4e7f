#!/usr/bin/env bash
# Crash-safe builds: builds of a multi-file program are killed (SIGKILL to the compiler and the
# tools it runs) at many moments, and a normal build afterwards must give the same files, with
# the same contents, and the same program as a clean build.
#
# usage: kill_test.sh ZINTREL [--long]
#   The short run kills at a dozen moments spread over the build and at the moments chosen
#   files appear; --long sweeps the build in 0.05 s steps from every starting state.
#
# Builds start from three states: no build folder; a complete build of an older version of one
# file (its old object and record are there); a complete build with -d (objects built with other
# flags). All three must end as the clean build of the current sources does.
set -u
export LC_ALL=C
zintrel="$(realpath "$1")"
long=0; [ "${2-}" = --long ] && long=1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A killed g++ leaves its temporary files behind: they go here, not to the system's folder.
export TMPDIR="$work/tmp"
mkdir "$TMPDIR"
p="$work/p"
failures=0

# The program: a main file, a class hierarchy, a file with a C++ import, and a large file whose
# parsing takes long enough to be killed in. $1 is the version of the class file (1 or 2).
write_sources() {
  mkdir -p "$p/native"
  cat > "$p/main.zn" <<'ZN'
Import Zintrel.IO
Import "shapes.zn"
Import "util.zn"
Import "big.zn"
Local s:Shape = New Square(4)
Print("main: " + s.Describe() + ", twice " + Twice(s.Area()) + ", big " + BigSum())
ZN
  write_shapes "$1"
  cat > "$p/util.zn" <<'ZN'
Import "native/calc.h"
Import "native/calc.cpp"
Extern
	Function Triple:Int(v:Int)
EndExtern
Function Twice:Int(v:Int)
	Return Triple(v) - v
EndFunction
ZN
  printf '#include <stdint.h>\nint32_t Triple(int32_t v);\n' > "$p/native/calc.h"
  printf '#include "calc.h"\nint32_t Triple(int32_t v) { return 3 * v; }\n' > "$p/native/calc.cpp"
  {
    seq 1 200 | sed 's/.*/Global g&:Int = & * 3 + $1F/'
    printf 'Function BigSum:Int()\n\tLocal t:Int = 0\n'
    seq 1 200 | sed 's/.*/\tt = t + g&/'
    printf '\tReturn t\nEndFunction\n'
    seq 1 300000 | sed 's/.*/\/\/ a line only the lexer reads, number &/'
  } > "$p/big.zn"
}

write_shapes() {
  local area='side * side'
  [ "$1" = 1 ] && area='side + side'
  cat > "$p/shapes.zn" <<ZN
Import Zintrel.IO
Class Shape Abstract
	Field name:String
	Method Shape(n:String)
		name = n
	EndMethod
	Method Area:Int() Abstract
	Method Describe:String()
		Return name + " of area " + Area()
	EndMethod
EndClass
Class Square Extends Shape
	Field side:Int
	Method Square(size:Int)
		Super("square")
		side = size
	EndMethod
	Method Area:Int()
		Return $area
	EndMethod
EndClass
ZN
}

build() { (cd "$p" && "$zintrel" "$@" main.zn) > "$work/log" 2>&1; }

# Every file of the program's folder with a digest of its content (text files with their
# random include-guard numbers masked, the link record without its time), then the program's
# output.
snapshot() {
  (cd "$p" && find . -type f | sort | while IFS= read -r f; do
    case "$f" in
      *.o | *.a | *.zn | ./a.out) printf '%s %s\n' "$f" "$(md5sum < "$f")" ;;
      # The link record's second line is the time the link left on the program.
      *.link) printf '%s %s\n' "$f" "$(head -n 1 "$f" | md5sum)" ;;
      *) printf '%s %s\n' "$f" "$(sed -E 's/_00[0-9A-F]{6}/_00XXXXXX/g' "$f" | md5sum)" ;;
    esac
  done)
  echo "program output:"
  (cd "$p" && timeout 10 ./a.out 2>&1)
}

# Starting states, kept as copies of the program's folder.
rm -rf "$p"; write_sources 2
# The clean build, timed (milliseconds): to its end, and to its first header (the front end).
start=$(date +%s%N)
build &
while [ ! -e "$p/.zintrel/main.h" ] && kill -0 $! 2> /dev/null; do sleep 0.002; done
parsed=$(( ($(date +%s%N) - start) / 1000000 ))
wait $! || { echo "FAIL: the clean build failed:"; cat "$work/log"; exit 1; }
duration=$(( ($(date +%s%N) - start) / 1000000 ))
snapshot > "$work/reference"
grep -q '^main: square of area 16, twice 32, big 66500$' "$work/reference" ||
  { echo "FAIL: the clean build's program printed:"; sed -n '/^program output:/,$p' "$work/reference"; exit 1; }
rm -rf "$p"; write_sources 1; build && cp -a "$p" "$work/state-edited" || exit 1
rm -rf "$p"; write_sources 2; build -d && cp -a "$p" "$work/state-debug" || exit 1
rm -rf "$p"
states=(fresh edited debug)

prepare() {
  rm -rf "$p"
  case "$1" in
    fresh) write_sources 2 ;;
    # The newer class file is written after the build of the old one: newer than its record.
    edited) cp -a "$work/state-edited" "$p"; write_shapes 2 ;;
    debug) cp -a "$work/state-debug" "$p" ;;
  esac
}

tried=0; killed=0; late=()
# Kills one build from a state at a moment ("after MS" or "at GLOB", a file below the program's
# folder written anew), builds normally and compares with the clean build.
kill_point() {
  local state="$1" how="$2" what="$3" pid waited=0
  prepare "$state"
  touch "$work/marker"  # files the build writes are newer
  set -m  # the build gets a process group of its own, which the tools it starts share
  (cd "$p" && exec "$zintrel" main.zn) > /dev/null 2>&1 &
  pid=$!
  set +m
  if [ "$how" = after ]; then
    sleep "$(printf '%d.%03d' $((what / 1000)) $((what % 1000)))"
  else
    while kill -0 "$pid" 2> /dev/null && [ $waited -lt 5000 ] &&
      [ -z "$(find "$p" -maxdepth 2 -path "$p/$what" -newer "$work/marker" 2> /dev/null)" ]; do
      sleep 0.002; waited=$((waited + 1))
    done
  fi
  tried=$((tried + 1))
  if kill -KILL -- "-$pid" 2> /dev/null; then killed=$((killed + 1)); else late+=("$state $how $what"); fi
  wait "$pid" 2> /dev/null
  local point="$state build, killed $how $what"
  [ "$how" = after ] && point="$point ms"
  if ! build; then
    failures=$((failures + 1)); echo "FAIL ($point): the next build failed:"; head -20 "$work/log"
    return
  fi
  snapshot > "$work/actual"
  if ! diff "$work/reference" "$work/actual" > "$work/diff"; then
    failures=$((failures + 1)); echo "FAIL ($point): not the clean build's files or program:"
    head -20 "$work/diff"
  fi
}

# Moments a file is written anew: headers and records are being written, g++ writes objects,
# the project's code is compiled, the link writes the program. The front end comes first and is
# killed from every state: a build stopped there has changed nothing but, perhaps, the options.
events=(.zintrel/main.h '.zintrel/util.dep*' '.zintrel/main.o*' '.zintrel/big.o*'
  .zintrel/Projectmain.cpp '.zintrel/Projectmain.o*' a.out)
for state in "${states[@]}"; do kill_point "$state" after $((parsed / 2)); done
i=0
for event in "${events[@]}"; do
  if [ $long = 1 ]; then
    for state in "${states[@]}"; do kill_point "$state" at "$event"; done
  else
    kill_point "${states[i % 3]}" at "$event"; i=$((i + 1))
  fi
done
if [ $long = 1 ]; then
  for ((ms = 0; ms < duration; ms += 50)); do
    for state in "${states[@]}"; do kill_point "$state" after "$ms"; done
  done
else
  for ((k = 1; k <= 7; k++)); do
    kill_point "${states[i % 3]}" after $((duration * k / 8)); i=$((i + 1))
  done
fi
[ ${#late[@]} = 0 ] || printf 'ended before the kill: %s\n' "${late[@]}"
echo "kill test: clean build ${duration} ms (front end ${parsed} ms); $tried kill points, $killed builds killed before their end, $failures differences"
[ $failures = 0 ]
