#!/usr/bin/env bash
# The session's rule table, compiled to WebAssembly as the page's core is, run under Node.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build-web/tst_session"
mkdir -p "$out"
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
em++ -std=c++20 -O1 -Wall -Wextra -Werror -I"$root/src" "$root"/src/core/*.cpp \
    "$root/tests/core/tst_session.cpp" -o "$out/tst_session.js" -s ENVIRONMENT=node -s SINGLE_FILE=1 -s EXIT_RUNTIME=1
node "$out/tst_session.js"
