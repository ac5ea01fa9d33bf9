#!/usr/bin/env bash
# Starts the real game with a puzzle on a virtual X server, grabs the screen and checks that
# the three windows are there, stacked and painted.
set -euo pipefail
program=$1
check=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$check" make "$work/smoke.tgr"
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY xvfb-run -a -s "-screen 0 1024x768x24" \
    "$program" "$work/smoke.tgr" --settings "$work/tama05.ini" --screenshot "$work/shot.png"
"$check" check "$work/shot.png" "$work/smoke.tgr" "$(dirname "$program")"
