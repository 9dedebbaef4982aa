#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the session driver.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/tools/corvane-session "$@"
