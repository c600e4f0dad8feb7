#!/usr/bin/env bash
# Shared by ./run --web and ./test: install what the browser edition needs, then build it.
# Usage: tools/setup-web.sh OUT [--tests]   (--tests: also Chromium)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$1
packages=(emscripten librsvg2-bin)
[ "${2:-}" = --tests ] && packages+=(chromium)
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
"$root/tools/install-packages.sh" "${packages[@]}"
# The GIF encoder goes into the site; the DevTools client is only for the tests, which
# drive Debian's Chromium.
(cd "$root/web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
"$root/web/build.sh" "$out"
