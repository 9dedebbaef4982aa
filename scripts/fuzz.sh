#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs the settings reader fuzzer for a while:
# `scripts/fuzz.sh [seconds]` (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/deps.sh
CXX=clang++ BUILD_DIR=build-fuzz BUILD_TYPE=RelWithDebInfo scripts/build.sh \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_SANITIZE=fuzz -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_QT=OFF
work=$(mktemp -d)
cp fuzz/corpus/* "$work"/
build-fuzz/fuzz/settings_reader_fuzzer -max_total_time="$seconds" -max_len=4096 "$work"
