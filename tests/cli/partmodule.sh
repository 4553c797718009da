#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli without its part module, or beside one it cannot use: a STEP and
# a 3MF export are refused with the module's path and the reason, while the
# drawings, STL and the other commands work as before; beside the module built
# with it, both part files are made.
# Usage: partmodule.sh TSUMUGI_CLI PART_MODULE OTHER_INTERFACE_MODULE INTERFACE_ONLY_MODULE
source "$(dirname "$0")/lib.sh"
built_module=$2 other_interface=$3 interface_only=$4
mkdir -p "$work/bin"
cp "$cli" "$work/bin/tsumugi-cli"
cli=$work/bin/tsumugi-cli
module=$work/bin/libtsumugi-parts.so

# $1: the reason dlerror gives, or the one of the version check.
refused() {
    local format ext
    for format in STEP 3MF; do
        ext=${format,,}
        expect 1 "tsumugi-cli: refused: $format ファイルを作れません。モジュール $module を読み込めません ($1)" -- \
            export -m 2 -z 20 -o "$work/part.$ext"
        [ ! -e "$work/part.$ext" ] || fail "$format: a file was left by a refused export"
    done
}
works() {
    local ext
    for ext in dxf svg stl; do
        "$cli" export -m 2 -z 20 -o "$work/part.$ext" >/dev/null && [ -s "$work/part.$ext" ] || fail "$ext without a usable module"
    done
    "$cli" gear -m 2 -z 20 >/dev/null || fail "gear without a usable module"
}

refused "$module: cannot open shared object file: No such file or directory"
works
printf "%s\n" "a text file, long enough for the header of a library, under the name of the module" >"$module"
refused "$module: invalid ELF header"
: >"$module"
refused "$module: file too short"
cp "$interface_only" "$module"
refused "$module: undefined symbol: tsumugi_parts_step"
cp "$other_interface" "$module"
refused "インタフェースの版 2、このプログラムは 1"
works

cp "$built_module" "$module"
"$cli" export -m 2 -z 20 -o "$work/part.step" >/dev/null && head -n 1 "$work/part.step" | grep -qx 'ISO-10303-21;' ||
    fail "no STEP file beside the module"
"$cli" export -m 2 -z 20 -o "$work/part.3mf" >/dev/null && [ "$(head -c 2 "$work/part.3mf")" = PK ] ||
    fail "no 3MF package beside the module"
finish
