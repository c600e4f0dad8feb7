#!/bin/sh
# Installs the build into a temporary prefix and packs it as a .deb; checks the layout,
# the desktop entry, the AppStream metadata and the package's dependencies.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/glimmeron \
    share/applications/org.example.glimmeron.desktop \
    share/metainfo/org.example.glimmeron.metainfo.xml \
    share/icons/hicolor/scalable/apps/glimmeron.svg \
    share/doc/glimmeron/manual.html \
    share/man/man1/glimmeron.1.gz \
    share/doc/glimmeron/copyright \
    share/doc/glimmeron/changelog.gz; do
    [ -f "$prefix/$file" ] || { echo "FAIL: not installed: $file"; exit 1; }
done
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
    dpkg-deb -c "$deb" | grep -q "usr/share/applications/org.example.glimmeron.desktop" ||
        { echo "FAIL: the package lacks the desktop entry"; exit 1; }
    echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb" || { echo "FAIL: lintian"; exit 1; }
    else
        echo "lintian is not installed: package not checked"
    fi
else
    echo "dpkg-dev is not installed: package not built"
fi
