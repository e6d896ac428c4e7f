#!/usr/bin/env bash
# Builds and runs the runtime library's C++ test programs the way generated programs are built:
# the system g++, the module root as include folder, -Wall -Wextra -O3, linked with -lgc.
# Any compiler output (a warning included) fails the test.
#
# usage: run.sh build OBJDIR SOURCE_ROOT       compile every runtime source into OBJDIR
#        run.sh case OBJDIR SOURCE_ROOT CASE   compile CASE against OBJDIR and run it
#
# A case is a C++ file whose lines starting with "//@ " direct the runs:
#   //@ compile-flags FLAGS   extra compiler flags
#   //@ run ARGS...           starts a run with these arguments (one run without arguments
#                             when the file has no run line)
#   //@ status N              expected exit status of the current run (default 0)
#   //@ stdout TEXT           one expected line of standard output (compared when given)
#   //@ stdout-raw FORMAT     expected standard output as a printf format
#   //@ stderr TEXT           one expected line of standard error (by default it must be empty)
#   //@ stdin TEXT            one line of standard input (default: none, end of input)
#   //@ stdin-raw FORMAT      standard input as a printf format
#   //@ env NAME=VALUE        an environment variable for the current run
set -u
mode="$1"; objdir="$2"; root="$3"
cxx="${CXX_FOR_RUNTIME:-g++}"
flags=(-Wall -Wextra -O3 -I "$root/mod")

compile() { # output file, then compiler arguments
  local out="$1"; shift
  local log
  log="$("$cxx" "${flags[@]}" "$@" -o "$out" 2>&1)"
  local rc=$?
  if [ $rc != 0 ] || [ -n "$log" ]; then
    echo "FAIL: g++ $* (status $rc) said:"; echo "$log"
    return 1
  fi
}

if [ "$mode" = build ]; then
  mkdir -p "$objdir"
  rm -f "$objdir"/*.o
  ok=1
  while IFS= read -r src; do
    compile "$objdir/$(basename "$src" .cpp).o" -c "$src" || ok=0
  done < <(find "$root/mod" -name '*.cpp' -not -path '*/.*' | sort)
  [ $ok = 1 ] && echo "runtime sources compiled without warnings"
  [ $ok = 1 ]; exit
fi

case_file="$4"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
extra=()
runs=0
# Expected output and the input of run i are kept in files, so that NUL bytes survive.
declare -a r_args r_status r_stdout_set r_env
new_run() {
  r_args[$runs]="$1"; r_status[$runs]=0; r_stdout_set[$runs]=0; r_env[$runs]=""
  : > "$tmp/expected-out$runs"; : > "$tmp/expected-err$runs"; : > "$tmp/stdin$runs"
  runs=$((runs + 1))
}
while IFS= read -r line || [ -n "$line" ]; do
  [[ "$line" == "//@ "* ]] || continue
  line="${line#//@ }"
  key="${line%% *}"; value=""
  [[ "$line" == *" "* ]] && value="${line#* }"
  if [ "$key" = compile-flags ]; then read -r -a extra <<< "$value"; continue; fi
  if [ "$key" = run ]; then new_run "$value"; continue; fi
  [ $runs = 0 ] && new_run ""
  i=$((runs - 1))
  case "$key" in
    status) r_status[$i]="$value" ;;
    stdout) printf '%s\n' "$value" >> "$tmp/expected-out$i"; r_stdout_set[$i]=1 ;;
    stdout-raw) printf "$value" >> "$tmp/expected-out$i"; r_stdout_set[$i]=1 ;;
    stderr) printf '%s\n' "$value" >> "$tmp/expected-err$i" ;;
    stdin) printf '%s\n' "$value" >> "$tmp/stdin$i" ;;
    stdin-raw) printf "$value" >> "$tmp/stdin$i" ;;
    env) r_env[$i]+="$value"$'\n' ;;
    *) echo "FAIL: unknown directive '$key' in $case_file"; exit 1 ;;
  esac
done < "$case_file"
[ $runs = 0 ] && new_run ""

# check.h sits next to this script.
compile "$tmp/program" -I "$(dirname "$0")" "${extra[@]}" "$case_file" "$objdir"/*.o -lgc || exit 1

failed=0
for ((i = 0; i < runs; i++)); do
  mkdir -p "$tmp/run$i"
  envs=()
  while IFS= read -r e; do [ -n "$e" ] && envs+=("$e"); done <<< "${r_env[$i]}"
  eval "args=(${r_args[$i]})"
  (cd "$tmp/run$i" && exec env "${envs[@]}" "$tmp/program" "${args[@]}") \
    < "$tmp/stdin$i" > "$tmp/out$i" 2> "$tmp/err$i"
  rc=$?
  label="run $((i + 1)) (${r_args[$i]:-no arguments})"
  ok=1
  if [ "$rc" != "${r_status[$i]}" ]; then
    echo "FAIL $label: exit status $rc, expected ${r_status[$i]}"; ok=0
  fi
  if [ "${r_stdout_set[$i]}" = 1 ] && ! cmp -s "$tmp/expected-out$i" "$tmp/out$i"; then
    echo "FAIL $label: standard output differs (expected / actual):"
    diff <(od -c "$tmp/expected-out$i") <(od -c "$tmp/out$i") | head -n 40
    ok=0
  fi
  if ! cmp -s "$tmp/expected-err$i" "$tmp/err$i"; then
    echo "FAIL $label: standard error differs (expected / actual):"
    head -n 20 "$tmp/expected-err$i"; echo "---"; head -n 40 "$tmp/err$i"
    ok=0
  fi
  if [ $ok = 1 ]; then echo "ok $label"; else failed=1; fi
done
exit $failed
