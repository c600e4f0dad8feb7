#!/usr/bin/env bash
# Shared by ./run and ./test: install what is missing, then configure and build.
# Usage: tools/setup.sh BUILD_DIR BUILD_TYPE [extra cmake args...]
# GLIMMERON_TARGET names the one target to build (default: all of them).
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev libgif-dev librsvg2-bin)
[ -n "${GLIMMERON_EXTRA_PACKAGES:-}" ] && read -r -a extra <<<"$GLIMMERON_EXTRA_PACKAGES" && packages+=("${extra[@]}")

"$(dirname "$0")/install-packages.sh" "${packages[@]}"

build_dir=$1
build_type=$2
shift 2
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@" >/dev/null
cmake --build "$build_dir" ${GLIMMERON_TARGET:+--target "$GLIMMERON_TARGET"}
