#!/usr/bin/env bash
# Sets up a fresh machine, builds the Release configuration and starts the
# editor on the current X display.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTESSERINE_TESTS=OFF >/dev/null
cmake --build build -j"$jobs"

exec build/app/tesserine "$@"
