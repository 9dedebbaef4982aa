#!/usr/bin/env bash
# Writes PNG pictures of the permission window, of a HUD message, of the status menu, of the
# move offer, of each tab of the settings window (the Scrolling tab also with its Advanced sheet
# and block-keys popover, the Exceptions tab with its picker and a row's sheet) and of the About
# window into DIR (a relative one from the folder this is run in), or into pictures/ of the
# repository (not tracked by git) without one, drawn offscreen on the simulated session.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
exec "$root/build/tools/corvane-pictures" "${1:-$root/pictures}"
