#!/usr/bin/env bash
# Checks the layers of the source tree (default: src/ beside this script) and exits non-zero,
# naming every offending include, when one is broken:
#   - system code (settings, scroll, app, preferences) includes only the C++ standard
#     library, nlohmann json, its own folders and platform interface headers: no Qt, no OS
#     header, no backend header (platform/sim, platform/live, platform/qt);
#   - the platform interface (every platform folder but the backends) includes no backend
#     and no Qt;
#   - no backend includes another, and only the Qt backend includes Qt.
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/../src" && pwd)}"
failures=0

report() {  # file:line:text, rule
    echo "layering: $1  ($2)"
    failures=$((failures + 1))
}

# Prints file:line:include-target for every #include of the given files.
includes() {
    grep -HnE '^[[:space:]]*#[[:space:]]*include' "$@" 2>/dev/null |
        sed -E 's/^([^:]+:[0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*(.*)$/\1:\2/' || true
}

files_in() {  # folder [excluded sub-folder ...]
    local dir="$1"
    shift
    local prune=()
    for sub in "$@"; do prune+=(-path "$dir/$sub" -prune -o); done
    find "$dir" "${prune[@]}" -type f \( -name '*.h' -o -name '*.cpp' \) -print 2>/dev/null
}

check() {  # rule, pattern of forbidden include targets, files...
    local rule="$1" pattern="$2"
    shift 2
    [ $# -eq 0 ] && return 0
    while IFS= read -r hit; do
        [ -n "$hit" ] && report "$hit" "$rule"
    done < <(includes "$@" | grep -E ":$pattern" || true)
}

backend='"platform/(sim|live|qt)/'
qt='<Q|<qt'

mapfile -t system < <(for d in settings scroll app preferences; do files_in "$src/$d"; done)
# System code: angle includes must be standard headers (lower-case names without an
# extension or a folder) or nlohmann json; quoted ones no backend.
check "system code includes a backend header" "$backend" "${system[@]}"
while IFS= read -r hit; do
    [ -n "$hit" ] && report "$hit" "system code includes Qt or an OS header"
done < <(includes "${system[@]}" | grep -E ':<' | grep -vE ':<([a-z_0-9]+|nlohmann/[^>]+)>' || true)

mapfile -t interface < <(files_in "$src/platform" sim live qt)
check "the platform interface includes a backend" "$backend" "${interface[@]}"
check "the platform interface includes Qt" "$qt" "${interface[@]}"

mapfile -t sim < <(files_in "$src/platform/sim")
mapfile -t live < <(files_in "$src/platform/live")
mapfile -t qtfiles < <(files_in "$src/platform/qt")
check "the simulated backend includes another backend" '"platform/(live|qt)/' "${sim[@]}"
check "the simulated backend includes Qt" "$qt" "${sim[@]}"
check "the live backend includes another backend" '"platform/(sim|qt)/' "${live[@]}"
check "the live backend includes Qt" "$qt" "${live[@]}"
check "the Qt backend includes another backend" '"platform/(sim|live)/' "${qtfiles[@]}"

if [ "$failures" -gt 0 ]; then
    echo "layering: $failures broken include(s)"
    exit 1
fi
echo "layering: ok (${#system[@]} system, ${#interface[@]} interface, ${#sim[@]} sim, ${#live[@]} live, ${#qtfiles[@]} qt files)"
