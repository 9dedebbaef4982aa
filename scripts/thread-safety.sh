#!/usr/bin/env bash
# Builds the libraries and tools with clang and its thread-safety analysis as errors, into
# build-tsa/ (or $BUILD_DIR): a guarded field touched without its lock fails the build.
# Tests and benchmarks add nothing to the analysis and are left out; no optimisation or
# debug information either, and NDEBUG stays unset so the debug thread checks are analysed
# too. Only the thread-safety analysis fails the build here: other warnings of clang, which
# differ from gcc's, are shown but left to the gcc builds of CI that treat them as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build_dir=${BUILD_DIR:-build-tsa}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=clang++ \
      -DCORVANE_THREAD_SAFETY=ON -DCORVANE_WERROR=OFF \
      -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build "$build_dir" -j"${JOBS:-$(nproc)}"
