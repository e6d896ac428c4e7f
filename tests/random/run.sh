#!/usr/bin/env bash
# Random programs with known output: run.sh N [SEED] builds and checks N programs with the
# compiler of build/ (or $ZINTREL); failures are kept in random-failures/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
exec python3 "$here/run.py" "${ZINTREL:-$here/../../build/zintrel}" "${1:-50}" "${2:-1}"
