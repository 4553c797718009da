#!/usr/bin/env bash
# The install tree as a packager makes it: cmake --install into DESTDIR, with the
# install directories relative to the prefix and absolute. The link in bin leads
# to the program, the help page lies beside it, and the desktop entry and the
# AppStream metainfo validate without a word.
# Usage: install_test.sh SOURCE_DIR TSUMUGI TSUMUGI_CLI
set -euo pipefail
src=$1 program=$2 cli=$3
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
    cp "$program" "$cli" "$build/"   # the programs as built; installing copies them only
    DESTDIR=$dest cmake --install "$build" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install"; }

    [[ $bindir = /* ]] || bindir=$prefix/$bindir
    [[ $libexecdir = /* ]] || libexecdir=$prefix/$libexecdir
    link=$dest$bindir/tsumugi
    [ -L "$link" ] || fail "no link $link"
    [[ $(readlink "$link") != /* ]] || fail "the link is absolute: $(readlink "$link")"
    [ "$(realpath "$link")" = "$(realpath "$dest$libexecdir/tsumugi/tsumugi")" ] ||
        fail "$link leads to $(realpath -m "$link")"
    cmp -s "$link" "$program" || fail "the link leads to another program"
    [ -f "$dest$libexecdir/tsumugi/helphelp.htm" ] || fail "no help page beside the program"
    [ -x "$dest$bindir/tsumugi-cli" ] || fail "no tsumugi-cli"
    share=$dest$prefix/share
    for f in applications/tsumugi.desktop icons/hicolor/scalable/apps/tsumugi.svg \
        metainfo/org.example.tsumugi.metainfo.xml man/man1/tsumugi.1 doc/tsumugi/LICENSE; do
        [ -s "$share/$f" ] || fail "not installed: share/$f"
    done
    out=$(desktop-file-validate "$share/applications/tsumugi.desktop" 2>&1) || fail "desktop entry: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    out=$(appstreamcli validate --no-net --pedantic "$share/metainfo/org.example.tsumugi.metainfo.xml" 2>&1) ||
        fail "metainfo: $out"
    [ "$out" = "✔ Validation was successful." ] || fail "appstreamcli: $out"
    if command -v groff >/dev/null; then
        out=$(groff -k -man -Tutf8 -ww -z "$share/man/man1/tsumugi.1" 2>&1)
        [ -z "$out" ] || fail "man page: $out"
    fi
    echo "ok"
done
grep -qx 'StartupWMClass=tsumugi' "$src/app/tsumugi.desktop" || fail "the desktop entry names no window class tsumugi"
echo "all install trees good"
