#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks the layout the programs rely on: everything
# beside the programs in one folder, launchers that lead back to it, menu entries and metadata
# that the desktop's own validators accept, and the man page.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

programs=$prefix/lib/corvella
for p in corvella tamberlin corvella-admin; do
    [ -x "$programs/$p" ] || fail "$p is not in the program folder"
    [ -L "$prefix/bin/$p" ] || fail "no launcher for $p"
    [ "$(readlink -f "$prefix/bin/$p")" = "$(readlink -f "$programs/$p")" ] || fail "launcher $p leads elsewhere"
done
[ -f "$programs/Help/HelpCorvella.htm" ] || fail "help pages missing"
[ -L "$programs/Database" ] || fail "Database is not a link to the data folder"
[ "$(readlink "$programs/Database")" = "$prefix/var/lib/corvella" ] || fail "Database leads to $(readlink "$programs/Database")"
[ -d "$prefix/var/lib/corvella" ] || fail "data folder missing"
for l in Corvella.txt Tamberlin.txt; do
    [ "$(readlink "$programs/$l")" = "$prefix/etc/corvella/$l" ] || fail "$l is not a link to the configuration folder"
done

# A database made through the launcher's link lands in the data folder, and the program started
# through its launcher finds it there.
"$prefix/bin/corvella-admin" create --demo "$programs/Database/Corvella.mdb" > /dev/null
[ -f "$prefix/var/lib/corvella/Corvella.mdb" ] || fail "database not in the data folder"
"$prefix/bin/corvella-admin" check "$programs/Database/Corvella.mdb" > /dev/null || fail "check failed"

for app in Corvella Tamberlin; do
    desktop=$prefix/share/applications/org.corvella.$app.desktop
    desktop-file-validate "$desktop" || fail "$desktop"
    exec_name=$(sed -n 's/^Exec=//p' "$desktop")
    [ -e "$prefix/bin/$exec_name" ] || fail "$app's menu entry runs $exec_name, which is not installed"
    [ -f "$prefix/share/icons/hicolor/scalable/apps/org.corvella.$app.svg" ] || fail "$app icon missing"
    appstreamcli validate --no-net "$prefix/share/metainfo/org.corvella.$app.metainfo.xml" > /dev/null \
        || fail "$app metadata"
done
man -l "$prefix/share/man/man1/corvella-admin.1" > /dev/null 2>&1 || fail "man page does not render"
echo "install layout ok"
