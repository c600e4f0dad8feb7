#!/usr/bin/env bash
# Installs the Debian packages named that are missing: as root with apt-get, otherwise
# through sudo, otherwise it prints the line to run and fails.
# Usage: tools/install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

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
