#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The install tree as a packager makes it: cmake --install into DESTDIR, with the
# install directories relative to the prefix and absolute. The link in bin leads
# to the program, the help page and the part module lie beside it (the installed
# tsumugi-cli finds the module through the link and makes a STEP file), and the
# desktop entry and the AppStream metainfo validate without a word.
# Usage: install_test.sh SOURCE_DIR TSUMUGI TSUMUGI_CLI PART_MODULE
set -euo pipefail
src=$1 program=$2 cli=$3 module=$4
tmp=$(mktemp -d /tmp/tsumugi-install.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# prefix, bindir, libexecdir: where bin/tsumugi and the program end up
cases=(
    "/usr bin libexec"
    "/usr/local games lib/x86_64-linux-gnu"
    "/usr /opt/tsumugi/bin /opt/tsumugi/lib"
    "/opt/t /usr/bin lib"
)
for c in "${cases[@]}"; do
    read -r prefix bindir libexecdir <<<"$c"
    echo "== prefix $prefix, bin $bindir, libexec $libexecdir"
    build=$tmp/build dest=$tmp/dest
    rm -rf "$build" "$dest"
    cmake -S "$src" -B "$build" -G Ninja -DTSUMUGI_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_INSTALL_BINDIR="$bindir" -DCMAKE_INSTALL_LIBEXECDIR="$libexecdir" >"$tmp/configure.log" ||
        { cat "$tmp/configure.log"; fail "configure"; }
    cp "$program" "$cli" "$module" "$build/"   # the programs as built; installing copies them only
    DESTDIR=$dest cmake --install "$build" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install"; }

    [[ $bindir = /* ]] || bindir=$prefix/$bindir
    [[ $libexecdir = /* ]] || libexecdir=$prefix/$libexecdir
    link=$dest$bindir/tsumugi share=$dest$prefix/share
    [[ -L $link && $(readlink "$link") != /* ]] || fail "no relative link $link"
    cmp -s "$link" "$program" && [ -x "$dest$bindir/tsumugi-cli" ] || fail "$link leads to $(realpath -m "$link")"
    for f in "$dest$libexecdir/tsumugi/helphelp.htm" "$dest$libexecdir/tsumugi/libtsumugi-parts.so" "$share"/{applications/tsumugi.desktop,man/man1/tsumugi.1,man/man1/tsumugi-cli.1} \
        "$share"/{icons/hicolor/scalable/apps/tsumugi.svg,metainfo/org.example.tsumugi.metainfo.xml,doc/tsumugi/LICENSE}; do
        [ -s "$f" ] || fail "not installed: $f"
    done
    "$dest$bindir/tsumugi-cli" export -m 2 -z 20 -o "$tmp/part.step" >/dev/null &&
        [ "$(head -n 1 "$tmp/part.step")" = "ISO-10303-21;" ] || fail "the installed tsumugi-cli makes no STEP file"
    out=$(desktop-file-validate "$share/applications/tsumugi.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
    out=$(appstreamcli validate --no-net --pedantic "$share/metainfo/org.example.tsumugi.metainfo.xml" 2>&1) &&
        [ "$out" = "✔ Validation was successful." ] || fail "metainfo: $out"
    for page in tsumugi tsumugi-cli; do
        out=$(groff -k -man -Tutf8 -ww -z "$share/man/man1/$page.1" 2>&1) && [ -z "$out" ] || fail "man page $page: $out"
    done
    echo "ok"
done
grep -qx 'StartupWMClass=tsumugi' "$src/app/tsumugi.desktop" || fail "the desktop entry names no window class tsumugi"
echo "all install trees good"
