#!/usr/bin/env bash
# End-to-end runner: runs the real compiler on the cases of one folder and compares its whole
# standard output and exit status with the expected ones.
#
# usage: e2e.sh ZINTREL CASE_FOLDER_OR_FILE...
#
# A case is a file NAME.case made of header lines and sections:
#   args: main.zn -d        argument line (shell words), default "main.zn"
#   status: 255             expected exit status, default 0
#   mkdir: some/folder      a folder to create before the run
#   --- path/in/tmp.zn      a file: every following line, each ended by a line feed
#   --- path (printf)       a file given as a printf format, lines joined without line feeds
#                           (for NUL bytes, byte-order marks, carriage returns, no final newline)
#   --- path (shell)        a file written by the bash commands that follow (large inputs)
#   --- stdout              the expected standard output, to the end of the case file or to
#                           the next step
#   --- stdout (shell)      the expected standard output written by the bash commands that
#                           follow, run in the folder when the step runs ($PWD stands for $DIR)
#   === any text            starts the next step of an incremental build: the compiler runs
#                           again in the same folder; before that, the step's own header lines
#                           and files apply (args and exec stay, status starts again at 0,
#                           checks start again empty)
#   run: touch a.zn         (in a step's header) a bash command run in the folder first
#   check: ls .zintrel      a bash command run in the folder after the compiler; what it writes
#                           (output and errors) follows the compiler's output in the comparison
#   exec: tc/zintrel        the compiler to run instead of ZINTREL, relative to the folder;
#                           like args, it stays for the later steps
# The compiler runs in a new temporary folder holding the files; in the expected output $DIR
# stands for that folder. Lines before the first header starting with "#" are comments.
# Commands (run:, check:, shell files and outputs) see ZINTREL (the compiler), ZINTREL_DIR (its
# folder, holding the module tree "mod") and CASE_DIR (the folder of the case file). Everything
# runs in the C locale, so that the tools' messages are plain ASCII whatever the caller's.
set -u
export LC_ALL=C
zintrel="$(realpath "$1")"; shift
export ZINTREL="$zintrel" ZINTREL_DIR="${zintrel%/*}"
failed=0; total=0

run_case() {
  local case="$1" tmp out
  tmp="$(mktemp -d)"; out="$(mktemp)"
  local args="main.zn" status=0 section="" file="" mode="" expected="" have_stdout=0 content=""
  local ok=1 step=1 compiler="$zintrel" expected_mode="" checks=()
  export CASE_DIR; CASE_DIR="$(cd "$(dirname "$case")" && pwd)"
  flush() {
    if [ -n "$file" ]; then
      mkdir -p "$(dirname "$tmp/$file")"
      case "$mode" in
        printf) printf "$content" > "$tmp/$file" ;;
        shell) (cd "$tmp" && bash -c "$content") > "$tmp/$file" ;;
        *) printf '%s' "$content" > "$tmp/$file" ;;
      esac
    fi
    file=""; content=""
  }
  # Runs the compiler once and compares its output and status with the step's expectations.
  run_step() {
    if [ $have_stdout = 0 ]; then echo "FAIL $case: no --- stdout section (step $step)"; ok=0; return; fi
    local -a argv
    eval "argv=($args)"
    (cd "$tmp" && exec "$compiler" "${argv[@]}") > "$out" 2>&1 </dev/null
    local rc=$? check
    for check in ${checks[@]+"${checks[@]}"}; do (cd "$tmp" && bash -c "$check") >> "$out" 2>&1; done
    if [ "$expected_mode" = shell ]; then
      expected="$(cd "$tmp" && bash -c "$expected"; echo x)"; expected="${expected%x}"
      expected="${expected//"$tmp"/\$DIR}"
    fi
    local actual
    actual="$(cat "$out"; echo x)"; actual="${actual%x}"
    actual="${actual//"$tmp"/\$DIR}"
    if [ "$actual" != "$expected" ]; then
      ok=0
      echo "FAIL $case (step $step): standard output differs (expected / actual):"
      diff -u <(printf '%s' "$expected") <(printf '%s' "$actual") | tail -n +3 | head -n 60
    fi
    if [ "$rc" != "$status" ]; then
      ok=0; echo "FAIL $case (step $step): exit status $rc, expected $status"
    fi
  }
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ "$line" == "=== "* ]]; then
      flush; run_step
      step=$((step + 1)); section=""; expected=""; have_stdout=0; status=0
      expected_mode=""; checks=()
      continue
    fi
    if [[ "$line" == "--- "* ]]; then
      [ "$section" = stdout ] && { expected+="$line"$'\n'; continue; }
      flush
      local name="${line#--- }"
      if [ "$name" = stdout ]; then section=stdout; have_stdout=1; continue; fi
      if [ "$name" = "stdout (shell)" ]; then
        section=stdout; have_stdout=1; expected_mode=shell; continue
      fi
      section=file; mode=plain
      if [[ "$name" == *" (printf)" ]]; then name="${name% (printf)}"; mode=printf; fi
      if [[ "$name" == *" (shell)" ]]; then name="${name% (shell)}"; mode=shell; fi
      file="$name"; continue
    fi
    case "$section" in
      stdout) expected+="$line"$'\n' ;;
      file) if [ "$mode" = printf ]; then content+="$line"; else content+="$line"$'\n'; fi ;;
      *) case "$line" in
           args:*) args="${line#args:}" ;;
           status:*) status="${line#status:}"; status="${status// /}" ;;
           mkdir:*) d="${line#mkdir:}"; mkdir -p "$tmp/${d# }" ;;
           run:*) (cd "$tmp" && bash -c "${line#run:}") ;;
           check:*) checks+=("${line#check:}") ;;
           exec:*) compiler="${line#exec:}"; compiler="$tmp/${compiler# }" ;;
         esac ;;
    esac
  done < "$case"
  flush
  run_step
  rm -rf "$tmp" "$out"
  [ $ok = 1 ]
}

for target in "$@"; do
  if [ -d "$target" ]; then
    mapfile -t cases < <(find "$target" -name '*.case' | sort)
  else
    cases=("$target")
  fi
  for c in "${cases[@]}"; do
    total=$((total + 1))
    run_case "$c" || failed=$((failed + 1))
  done
done
echo "$((total - failed)) of $total end-to-end cases passed"
[ $failed = 0 ]
