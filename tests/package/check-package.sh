#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package from the build folder given with `cpack -G DEB` and checks its name,
# control fields and files; runs lintian on it and desktop-file-validate and appstreamcli (offline)
# on what it installs; and checks that the large icons are renderings of the scalable one.
# Fails on the first fault found.
set -euo pipefail
build=$(realpath "$1")
cd "$(dirname "$0")/../.."

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian desktop-file-validate appstreamcli \
    rsvg-convert compare; do
  command -v "$tool" > /dev/null || fail "$tool is missing; scripts/install-deps.sh installs it"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" > "$scratch/cpack.log" 2>&1) \
  || { cat "$scratch/cpack.log"; fail "cpack -G DEB failed"; }
deb=$scratch/out/fotolot_0.9.2.0_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made $(cd "$scratch/out" && echo *.deb), not $(basename "$deb")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = fotolot ] || fail "Package: $(field Package)"
[ "$(field Version)" = 0.9.2.0 ] || fail "Version: $(field Version)"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[ "$(field Recommends)" = xdg-utils ] || fail "Recommends: $(field Recommends)"
description=$(field Description)
[ "$(head -n 1 <<< "$description")" = "find photos by their camera settings" ] \
  || fail "Description's synopsis: $(head -n 1 <<< "$description")"
[ "$(wc -l <<< "$description")" -ge 10 ] || fail "no long description: $description"
# dpkg-shlibdeps names the libraries' packages with their lowest versions; the names are fixed.
depends=$(field Depends)
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
  [[ ", $depends" == *", $package (>= "* ]] || fail "Depends lacks $package: $depends"
done

# Every file and folder with its mode and owner: the program, its desktop data, no tests or
# benchmark.
dpkg-deb --contents "$deb" | awk '{ print $1, $2, $6 }' > "$scratch/contents"
diff -u - "$scratch/contents" << 'EOF_CONTENTS' || fail "files of the package differ (- expected, + made)"
drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/fotolot
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/applications/
-rw-r--r-- root/root ./usr/share/applications/org.example.fotolot.desktop
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/fotolot/
-rw-r--r-- root/root ./usr/share/doc/fotolot/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/fotolot/copyright
drwxr-xr-x root/root ./usr/share/icons/
drwxr-xr-x root/root ./usr/share/icons/hicolor/
drwxr-xr-x root/root ./usr/share/icons/hicolor/128x128/
drwxr-xr-x root/root ./usr/share/icons/hicolor/128x128/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/16x16/
drwxr-xr-x root/root ./usr/share/icons/hicolor/16x16/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/16x16/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/256x256/
drwxr-xr-x root/root ./usr/share/icons/hicolor/256x256/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/256x256/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/
drwxr-xr-x root/root ./usr/share/icons/hicolor/32x32/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/48x48/
drwxr-xr-x root/root ./usr/share/icons/hicolor/48x48/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/48x48/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/64x64/
drwxr-xr-x root/root ./usr/share/icons/hicolor/64x64/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/64x64/apps/org.example.fotolot.png
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/org.example.fotolot.svg
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/fotolot.1.gz
drwxr-xr-x root/root ./usr/share/metainfo/
-rw-r--r-- root/root ./usr/share/metainfo/org.example.fotolot.metainfo.xml
EOF_CONTENTS

# Informational tags are shown; an error or a warning fails.
lintian --display-info --fail-on error,warning "$deb" > "$scratch/lintian.log" 2>&1 \
  || { cat "$scratch/lintian.log"; fail "lintian found errors or warnings"; }
grep -v '^running with root privileges' "$scratch/lintian.log" || true

tree=$scratch/tree
dpkg-deb --extract "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/org.example.fotolot.desktop" \
  || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/usr/share/metainfo/org.example.fotolot.metainfo.xml" \
  || fail "appstreamcli validate"
# The whole tree: the metainfo finds its desktop entry by the id they share.
appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree"

bash scripts/render-icons.sh --check || fail "large icons out of date"
