#!/usr/bin/env bash
# Installs what is missing, builds the project twice (plain, and with
# AddressSanitizer + UBSan) and runs the whole test suite on both builds,
# against SQLite files and a throwaway PostgreSQL server started here; then
# fuzzes the zone rows for a few minutes (clang, ASan + UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
# Sanitizer runs stop at the first report; LSan knows Qt's and fontconfig's process-lifetime caches.
export ASAN_OPTIONS="abort_on_error=0:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
for variant in plain asan; do
  dir="out/$variant"
  # CI holds the code to no warnings at all.
  cmake --preset "$variant" -DTAMRIK_WERROR=ON >/dev/null
  cmake --build --preset "$variant" -j"$jobs"
  echo "== tests ($variant build) =="
  scripts/with-postgres.sh ctest --test-dir "$dir" --output-on-failure -j"$jobs" || status=1
done
scripts/run-fuzz.sh "${TAMRIK_FUZZ_SECONDS:-150}" || status=1
exit "$status"
