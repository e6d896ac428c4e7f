#!/usr/bin/env bash
# The Zintrel side of each core module must match its C++ side: every file a module code file
# imports exists next to it, and every extern function, method and field it declares has a C++
# declaration of that name in the module's headers (a mismatch would only show when a program
# using it fails to compile or link).
#
# usage: declarations.sh SOURCE_ROOT
set -u
root="$1"
failed=0; checked=0
while IFS= read -r code; do
  dir="$(dirname "$code")"
  headers=()
  while IFS= read -r h; do headers+=("$dir/$h"); done < <(sed -n 's/^Import "\(.*\.h\)"\r\?$/\1/p' "$code")
  while IFS= read -r f; do
    checked=$((checked + 1))
    [ -f "$dir/$f" ] || { echo "FAIL $code: imports missing file $f"; failed=1; }
  done < <(sed -n 's/^Import "\([^"]*\.[a-z]*\)"\r\?$/\1/p' "$code")
  in_extern=0
  while IFS= read -r line; do
    line="${line%$'\r'}"
    trimmed="$(sed 's/^[[:space:]]*//' <<< "$line")"
    case "$trimmed" in
      Extern) in_extern=1; continue ;;
      EndExtern) in_extern=0; continue ;;
    esac
    [ $in_extern = 1 ] || continue
    kind="${trimmed%% *}"; rest="${trimmed#* }"
    case "$kind" in
      Function|Method) name="$(sed 's/[:(].*//' <<< "$rest")"; pattern="\\b$name\\(" ;;
      Field) name="${rest%%:*}"; pattern="\\b$name(;|\\[)" ;;
      Class) name="${rest%% *}"; pattern="^struct $name\\b|^template<.*> *struct $name\\b" ;;
      *) continue ;;
    esac
    checked=$((checked + 1))
    if [ ${#headers[@]} = 0 ] || ! grep -Eq "$pattern" "${headers[@]}"; then
      echo "FAIL $code: $kind $name has no C++ declaration in ${headers[*]:-its headers}"; failed=1
    fi
  done < "$code"
done < <(find "$root/mod" -name '*.zn' -not -path '*/.*' | sort)
if [ $checked -lt 60 ]; then echo "FAIL: only $checked declarations and imports found"; failed=1; fi
[ $failed = 0 ] && echo "$checked declarations and imports match their C++ side"
exit $failed
