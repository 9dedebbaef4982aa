#!/usr/bin/env bash
# The main job: installs what is missing, builds, and plays a scenario on the simulated
# session (examples/one-tick.json unless another is named).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
if (($# == 0)); then set -- examples/one-tick.json; fi
exec build/tools/corvane-session "$@"
