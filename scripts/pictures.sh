#!/usr/bin/env bash
# Writes PNG pictures of the permission window, of a HUD message, of the status menu and of
# the move offer, the General tab, the Updates tab, the Scrolling tab (with its Advanced sheet
# and block-keys popover) and the Exceptions tab (with its picker and a row's sheet) into
# pictures/ (not tracked by git), drawn offscreen on the simulated session.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/tools/corvane-pictures "${1:-pictures}"
