#!/usr/bin/env bash
# Builds with line coverage, runs the whole suite (SQLite and a throwaway
# PostgreSQL server) and prints the line coverage of the zone core and the
# database layer, the figure a change of the tests must not lower, then of
# the whole component. HTML: out/coverage/html/index.html.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v gcovr >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends gcovr </dev/null
fi
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j"$(nproc 2>/dev/null || echo 2)"
find out/coverage -name '*.gcda' -delete
QT_QPA_PLATFORM=offscreen scripts/with-postgres.sh ctest --test-dir out/coverage -j"$(nproc 2>/dev/null || echo 2)" >/dev/null || echo "coverage: some tests failed" >&2
core=(-f 'platform/database/' -f 'diagnostics/(ErrorTrap|HostContext|MPublic)' -f 'reference/TimeZones'
      -f 'standard_zones/(ColumnLayout|SCZRecords|SCZSave|ZoneSave|ZoneLoad)' -f 'master_zones/(MCZRecords|MCZSave|ZoneNames|ConflictCheck)')
echo "== zone core and database layer =="
gcovr -r . --object-directory out/coverage "${core[@]}" --print-summary -o out/coverage/core.txt | tail -3
echo "== component, platform and host (tests, bench and generated code left out) =="
mkdir -p out/coverage/html
gcovr -r . --object-directory out/coverage -e 'tests/' -e 'bench/' -e 'out/' --print-summary --html-details -o out/coverage/html/index.html | tail -3
