#!/usr/bin/env bash
# Sets up a fresh machine, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the fuzz targets deterministically and
# then every test program through ctest (window tests under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

bash scripts/install-deps.sh

# Source checks: one-way layer includes, the committed formatting, and no
# include circle inside the framework.
bash scripts/check-layers.sh
bash scripts/check-format.sh
python3 scripts/check-include-cycles.py . framework

# Fuzz targets: clang with libFuzzer; a fixed seed and run count each.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSERINE_FUZZ=ON -DTESSERINE_TESTS=OFF -DTESSERINE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_all
ctest --test-dir build-fuzz --output-on-failure

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
cmake --build build-sanitize -j"$jobs"

source scripts/xvfb-display.sh
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
