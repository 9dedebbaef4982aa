#!/usr/bin/env bash
# Writes PNG pictures of the permission window, of a HUD message, of the status menu, of the
# move offer, of each tab of the settings window (the Scrolling tab also with its Advanced sheet
# and block-keys popover, the Exceptions tab with its picker and a row's sheet) and of the About
# window into pictures/ (not tracked by git), drawn offscreen on the simulated session.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/tools/corvane-pictures "${1:-pictures}"
