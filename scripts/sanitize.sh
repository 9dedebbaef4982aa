#!/usr/bin/env bash
# Builds and tests with sanitizers: `scripts/sanitize.sh asan` (AddressSanitizer with
# UndefinedBehaviorSanitizer) or `scripts/sanitize.sh tsan` (ThreadSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/sanitize.sh asan|tsan}
shift
scripts/deps.sh
BUILD_DIR=build-$kind BUILD_TYPE=Debug scripts/build.sh -DCORVANE_SANITIZE="$kind" -DCORVANE_BUILD_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1
export TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/scripts/tsan.supp"
# A run that used a suppression says nothing of it, so a tool's standard error stays its own.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp print_suppressions=0"
ctest --test-dir "build-$kind" --output-on-failure -j"$(nproc)" "$@"
