#!/usr/bin/env bash
# Installs the Debian packages the build needs that are missing (apt-get update once, and
# only when something is missing).
set -euo pipefail

packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev qt6-base-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
