#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (into build-fuzz/) and runs them.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]   fuzz one target, or each in turn (default: all, 60 s)
#   scripts/fuzz.sh replay                   run every seed corpus once, as a regression run
#
# TARGET is settings_reader, scenario_reader or defaults_file; seeds are in fuzz/corpus/TARGET/.
# JOBS limits the build's parallel jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(settings_reader scenario_reader defaults_file)
what=${1:-all}
seconds=${2:-60}
if [[ "$what" =~ ^[0-9]+$ ]]; then seconds=$what; what=all; fi  # the older `fuzz.sh SECONDS`
if [[ "$what" != all && "$what" != replay && ! " ${targets[*]} " =~ " $what " ]]; then
    echo "usage: scripts/fuzz.sh [${targets[*]// /|}|all] [SECONDS] | replay" >&2
    exit 2
fi

scripts/deps.sh
TARGETS="${targets[*]/%/_fuzzer}" CXX=clang++ BUILD_DIR=build-fuzz BUILD_TYPE=RelWithDebInfo scripts/build.sh \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_SANITIZE=fuzz -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_QT=OFF

if [[ "$what" == replay ]]; then
    for target in "${targets[@]}"; do
        # -runs=0: every seed once, no fuzzing; any crash or escaped exception fails the run.
        if ! out=$(build-fuzz/fuzz/${target}_fuzzer -runs=0 fuzz/corpus/$target 2>&1); then
            echo "$out" >&2
            echo "$target: a seed fails" >&2
            exit 1
        fi
        echo "$target: $(ls fuzz/corpus/$target | wc -l) seeds replayed"
    done
    exit 0
fi
[[ "$what" == all ]] && run=("${targets[@]}") || run=("$what")
for target in "${run[@]}"; do
    work=$(mktemp -d)
    cp fuzz/corpus/$target/* "$work"/
    build-fuzz/fuzz/${target}_fuzzer -max_total_time="$seconds" -max_len=4096 "$work"
    rm -rf "$work"
done
