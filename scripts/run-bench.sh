#!/usr/bin/env bash
# Builds an optimised tree and runs the benchmarks (arguments go to Google Benchmark).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target czbench
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} exec out/release/bin/czbench "$@"
