#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds both sides, runs host then Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/bootstrap.sh

cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

cmake --preset windows >/dev/null
cmake --build --preset windows
trap 'tools/wine-run.sh --root build/windows/wine --stop' EXIT
ctest --preset windows
