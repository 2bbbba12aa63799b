#!/usr/bin/env bash
# Sets up the machine, builds Taskwick and runs every test (core, ui and e2e).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset dev
cmake --build --preset dev
ctest --preset dev
