#!/usr/bin/env bash
# Builds an optimised tree and runs the benchmarks against SQLite files and a
# throwaway PostgreSQL server started as the tests start it. Prints each figure
# beside its floor and writes them as JSON (out/release/czbench.json unless
# --czbench_json=FILE is given); other arguments go to Google Benchmark, e.g.
# --benchmark_filter=open or --czbench_repetitions=10.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc 2>/dev/null || echo 2)" --target czbench
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec scripts/with-postgres.sh out/release/bin/czbench --czbench_json=out/release/czbench.json "$@"
