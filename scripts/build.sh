#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), with $JOBS parallel jobs (default: all
# cores); only $TARGETS when set (names separated by spaces). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
werror=OFF
if [[ -n "${CI:-}" ]]; then werror=ON; fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
      -DCORVANE_WERROR=${CORVANE_WERROR:-$werror} "$@" >/dev/null
cmake --build "$build_dir" -j"${JOBS:-$(nproc)}" ${TARGETS:+--target $TARGETS}
