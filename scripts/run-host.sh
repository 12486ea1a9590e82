#!/usr/bin/env bash
# Installs what is missing, builds, and runs the host application on a seeded
# SQLite database (created on first run). Arguments go to czhost, e.g.
#   scripts/run-host.sh --screenshot dialog.png
#   scripts/run-host.sh --database /tmp/site.db --user viewer --controller 3
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset plain >/dev/null
cmake --build --preset plain -j"$(nproc 2>/dev/null || echo 2)" --target czhost TamrikControlZoneObject
# Without a display, render offscreen.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}; fi
exec out/plain/bin/czhost "$@"
