#!/usr/bin/env bash
# Usage: scripts/run-fuzz.sh [SECONDS] [-- extra libFuzzer options]
# Builds the libFuzzer target with clang 14 (ASan + UBSan, in out/fuzz) and
# runs it for SECONDS (default 150) from the checked-in seed corpus. New
# inputs go to a scratch folder, never into the corpus; a crash or sanitizer
# report fails the run and leaves the input in out/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-150}
shift || true
[ "${1:-}" = "--" ] && shift

cmake -S . -B out/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMRIK_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build out/fuzz --target zone_fuzz -j"$(nproc 2>/dev/null || echo 2)"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/zone-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen
# Short allocation stacks, a small quarantine, no fill of new blocks: more runs in the same time.
export ASAN_OPTIONS="abort_on_error=0:detect_leaks=1:malloc_context_size=3:quarantine_size_mb=32:max_malloc_fill_size=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
echo "== fuzzing the zone rows for ${seconds}s =="
out/fuzz/bin/zone_fuzz -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix=out/fuzz/ "$@" "$scratch" tests/fuzz/corpus
