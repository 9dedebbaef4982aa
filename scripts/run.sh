#!/usr/bin/env bash
# The main job: installs what is missing, builds, and plays a scenario on the simulated
# session (examples/one-tick.json unless another is named). A relative path names a file from
# the folder this is run in.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
if (($# == 0)); then set -- "$root/examples/one-tick.json"; fi
exec "$root/build/tools/corvane-session" "$@"
