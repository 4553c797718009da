#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What every command-line test script shares. Source it with the built
# tsumugi-cli as $1:
#   cli          the program
#   work         a scratch folder, removed at exit
#   fail MSG     counts a failure
#   check NAME GOT WANT
#   expect CODE STDERR -- ARGS...   runs the program (standard input from
#                $input when set) into $work/out and $work/err, and checks the
#                exit code and the whole of standard error
#   run_table FILE   every line "CODE|ARGS|STDERR" of FILE through expect
#                (ARGS split at blanks; STDERR may use $work)
#   use_locale NAME  makes the locale (e.g. de_DE.UTF-8) if the system lacks it
#   finish       prints the count and exits 0 or 1
#   sanitized    true when $cli is a sanitizer build
set -uo pipefail
cli=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
unset LANG LC_MESSAGES LC_NUMERIC
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { [ "$2" = "$3" ] || fail "$1: got [$2] want [$3]"; }
# ldd's whole listing is read first: under pipefail a grep -q that stops at the
# match can leave ldd writing into a closed pipe and the pipeline failing.
sanitized() { local libs; libs=$(ldd "$cli" 2>/dev/null); [[ $libs == *libasan* ]]; }

expect() {
    local code=$1 err=$2
    shift 3
    "$cli" "$@" <"${input:-/dev/null}" >"$work/out" 2>"$work/err"
    local got=$?
    [ "$got" = "$code" ] || fail "$* exits $got, not $code ($(head -c 300 "$work/err"))"
    [ "$(cat "$work/err")" = "$err" ] || fail "$* says '$(cat "$work/err")', not '$err'"
}

run_table() {
    local code args err
    while IFS='|' read -r code args err; do
        case $code in '' | '#'*) continue ;; esac
        err=${err//\$work/$work}
        args=${args//\$work/$work}
        # shellcheck disable=SC2086
        expect "$code" "$err" -- $args
    done <"$1"
}

use_locale() {
    local name=$1
    locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && return 0
    local base=${name%%.*}
    localedef -i "$base" -f UTF-8 "$name" 2>/dev/null ||
        { mkdir -p "$work/locale" && localedef -i "$base" -f UTF-8 "$work/locale/$name" && export LOCPATH=$work/locale; }
}

finish() {
    [ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
    echo "all passed"
    exit 0
}
