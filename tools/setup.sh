#!/usr/bin/env bash
# Shared by ./run and ./test: install what is missing, then configure and build.
# Usage: tools/setup.sh BUILD_DIR BUILD_TYPE [extra cmake args...]
# GLIMMERON_TARGET names the one target to build (default: all of them).
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev libgif-dev librsvg2-bin)
[ -n "${GLIMMERON_EXTRA_PACKAGES:-}" ] && read -r -a extra <<<"$GLIMMERON_EXTRA_PACKAGES" && packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        apt_get=(apt-get)
    elif command -v sudo >/dev/null 2>&1; then
        apt_get=(sudo apt-get)
    else
        echo "These packages are missing: ${missing[*]}"
        echo "Install them as root, then run this again:"
        echo "  apt-get update && apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    "${apt_get[@]}" -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive "${apt_get[@]}" -o DPkg::Lock::Timeout=900 install -y -qq "${missing[@]}"
fi

build_dir=$1
build_type=$2
shift 2
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
cmake --build "$build_dir" ${GLIMMERON_TARGET:+--target "$GLIMMERON_TARGET"}
