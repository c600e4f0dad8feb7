#!/bin/sh
# Installs the build into a temporary prefix and packs it as a .deb; checks the layout,
# the desktop entry, the icons, the MIME type, the AppStream metadata and the package.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/glimmeron \
    share/applications/org.example.glimmeron.desktop \
    share/metainfo/org.example.glimmeron.metainfo.xml \
    share/mime/packages/org.example.glimmeron.xml \
    share/icons/hicolor/scalable/apps/glimmeron.svg \
    share/doc/glimmeron/manual.html \
    share/man/man1/glimmeron.1.gz \
    share/doc/glimmeron/copyright \
    share/doc/glimmeron/changelog.gz; do
    [ -f "$prefix/$file" ] || { echo "FAIL: not installed: $file"; exit 1; }
done
# The icons drawn from the SVG: PNG files whose header gives their size.
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/glimmeron.png
    header=$(od -An -N24 -tx1 "$icon" | tr -d ' \n')
    [ "$header" = "89504e470d0a1a0a0000000d49484452$(printf '%08x%08x' "$size" "$size")" ] ||
        { echo "FAIL: $icon is not a $size px PNG: $header"; exit 1; }
done
# One MIME type: declared, named by the desktop entry, provided in the metadata.
entry=$prefix/share/applications/org.example.glimmeron.desktop
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$prefix/share/mime/packages/org.example.glimmeron.xml")
[ -n "$type" ] || { echo "FAIL: no MIME type installed"; exit 1; }
grep -qx "MimeType=$type;" "$entry" || { echo "FAIL: the desktop entry does not name $type"; exit 1; }
grep -qx "StartupWMClass=GLIMMERON" "$entry" || { echo "FAIL: no StartupWMClass"; exit 1; }
metainfo=$prefix/share/metainfo/org.example.glimmeron.metainfo.xml
grep -q "<mediatype>$type</mediatype>" "$metainfo" && grep -q "<screenshot type=\"default\">" "$metainfo" ||
    { echo "FAIL: the metadata lacks the MIME type or a screenshot"; exit 1; }
if command -v update-mime-database >/dev/null; then
    # Both cases, weighted below the default of 50: other programs' .dat files stay theirs.
    update-mime-database "$prefix/share/mime" >/dev/null
    for glob in "30:$type:*.dat" "30:$type:*.DAT:cs"; do
        grep -qxF "$glob" "$prefix/share/mime/globs2" || { echo "FAIL: no glob $glob"; exit 1; }
    done
else
    echo "update-mime-database is not installed: MIME type not checked"
fi
# The installed program draws a pattern: a picture of 600 px or more, a looping animation.
pattern="$(dirname "$0")/../../data/patterns/Police red and blue.DAT"
"$prefix/bin/glimmeron" --export-png "$pattern" "$work/p.png" 2>/dev/null
"$prefix/bin/glimmeron" --export-gif "$pattern" "$work/p.gif" 2>/dev/null
[ "$(od -An -tu4 --endian=big -j16 -N4 "$work/p.png")" -ge 600 ] || { echo "FAIL: picture"; exit 1; }
[ "$(head -c6 "$work/p.gif")" = GIF89a ] && grep -q NETSCAPE2.0 "$work/p.gif" &&
    [ "$(od -An -tu2 --endian=little -j6 -N2 "$work/p.gif")" -ge 480 ] || { echo "FAIL: animation"; exit 1; }
[ ! -e "$prefix/bin/manual.html" ] || { echo "FAIL: the manual is in bin/"; exit 1; }
[ "$("$prefix/bin/glimmeron" --version)" = "glimmeron 1.0" ] || { echo "FAIL: --version"; exit 1; }

if command -v mandoc >/dev/null; then
    mandoc -T lint "$(dirname "$0")/../../data/glimmeron.1" || { echo "FAIL: mandoc -T lint"; exit 1; }
else
    echo "mandoc is not installed: man page not checked"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.example.glimmeron.desktop"
else
    echo "desktop-file-validate is not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.example.glimmeron.metainfo.xml"
else
    echo "appstreamcli is not installed: metadata not validated"
fi

if command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
    (cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
    deb=$(ls "$work"/deb/*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    for needed in libqt6serialport6 libqt6widgets6 qt6-qpa-plugins; do
        case "$depends" in
        *"$needed"*) ;;
        *) echo "FAIL: the package does not depend on $needed: $depends"; exit 1 ;;
        esac
    done
    contents=$(dpkg-deb -c "$deb")
    for file in applications/org.example.glimmeron.desktop mime/packages/org.example.glimmeron.xml \
        icons/hicolor/256x256/apps/glimmeron.png; do
        echo "$contents" | grep -q "usr/share/$file" ||
            { echo "FAIL: the package lacks $file"; exit 1; }
    done
    echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb" || { echo "FAIL: lintian"; exit 1; }
    else
        echo "lintian is not installed: package not checked"
    fi
else
    echo "dpkg-dev is not installed: package not built"
fi
