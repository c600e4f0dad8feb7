#!/usr/bin/env bash
# Builds the browser edition's static files into OUT, ready to host anywhere.
#   web/build.sh OUT
# Needs Debian's emscripten and librsvg2-bin (tools/setup-web.sh installs them).
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: web/build.sh OUT" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
mkdir -p "$1"
out=$(cd "$1" && pwd)

# Debian's emscripten finds its JavaScript helpers (acorn) among Debian's Node modules.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
obj="$root/build-web/obj" # compiled once, kept between builds
mkdir -p "$obj"
flags=(-std=c++20 -Os -Wall -Wextra -Werror -I"$root/src")
objects=()
pids=()
for source in "$root"/src/core/*.cpp "$here"/*.cpp; do
    object="$obj/$(basename "$source" .cpp).o"
    if [ ! -e "$object" ] || [ "$source" -nt "$object" ] ||
       [ -n "$(find "$root/src/core" "$here" -maxdepth 1 -name '*.h' -newer "$object" -print -quit)" ]; then
        em++ "${flags[@]}" -c "$source" -o "$object" &
        pids+=($!)
    fi
    objects+=("$object")
done
for pid in "${pids[@]}"; do wait "$pid"; done
em++ -Os --bind "${objects[@]}" -o "$out/glimmeron.js" \
    -s MODULARIZE=1 -s EXPORT_ES6=1 -s ENVIRONMENT=web -s EXPORT_NAME=createCore \
    -s ALLOW_MEMORY_GROWTH=1 -s FILESYSTEM=0 -s DYNAMIC_EXECUTION=0

cp "$here"/site/* "$out/"
cp "$root/docs/manual.html" "$out/manual.html"
cp "$root/data/glimmeron.svg" "$out/glimmeron.svg"
# The ready patterns, with an index of their names in the order the desktop lists them.
mkdir -p "$out/patterns"
cp "$root"/data/patterns/*.DAT "$out/patterns/"
(cd "$root/data/patterns" && ls -1 -- *.DAT | LC_ALL=C sort -f | sed 's/\.DAT$//') |
    node -e 'const names = require("fs").readFileSync(0, "utf8").split("\n").filter(Boolean);
             process.stdout.write(JSON.stringify(names) + "\n");' > "$out/patterns/index.json"
for size in 192 512; do
    rsvg-convert -w $size -h $size "$root/data/glimmeron.svg" -o "$out/icon-$size.png"
done

# The service worker's cache is named after the files it holds, so a new build replaces
# the old cache as soon as the browser sees it.
assets=(./ index.html style.css glimmeron.js glimmeron.wasm manifest.webmanifest
        glimmeron.svg icon-192.png icon-512.png manual.html)
for module in "$here"/site/*.mjs; do assets+=("$(basename "$module")"); done
for pattern in "$out"/patterns/*; do assets+=("patterns/$(basename "$pattern")"); done
version=$(cd "$out" && cat "${assets[@]:1}" | sha256sum | cut -c1-16)
list=$(printf '"%s", ' "${assets[@]}")
sed -i "s|@VERSION@|$version|; s|@ASSETS@|${list%, }|" "$out/sw.js"

size=$(cd "$out" && for f in "${assets[@]:1}" sw.js; do gzip -9c "$f"; done | wc -c)
echo "web edition in $out: $((size / 1024)) KB compressed"
