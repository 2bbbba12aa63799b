#!/usr/bin/env bash
# Sets up the machine, builds Taskwick and starts it from the build tree's runnable folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release
cmake --build --preset release
exec build/release/stage/bin/taskwick
