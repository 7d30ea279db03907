#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, gui, integration).
# Extra arguments go to ctest, for example: scripts/test.sh -L unit
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/scripts/deps.sh"
BUILD_DIR=$build "$root/scripts/build.sh" ${CMAKE_ARGS:-}
cd "$build"
# The integration tests need an X server for the player; lend them a virtual one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j2 "$@"
fi
exec ctest --output-on-failure -j2 "$@"
