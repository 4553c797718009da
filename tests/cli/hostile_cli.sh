#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli under hostile inputs and surroundings: gears that cannot be drawn,
# bounded time and memory, pipes, standard output that fails, odd line ends.
# Every case ends with a message and its exit code, never a hang, an abort or
# a cut file.
set -uo pipefail
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$work" || exit 1
# A sanitizer build reserves more address space than any limit here allows: it runs
# without the limits, and the case that needs memory to run out is left to the plain build.
limited=true
libs=$(ldd "$cli" 2>/dev/null)   # read whole: a grep -q under pipefail can cut ldd off
[[ $libs == *libasan* ]] && limited=false

# code | text standard error holds | memory limit (bytes, - none) | input | arguments
# Each runs under a 60 s limit; no row may leave its -o file behind.
while IFS='|' read -r code text limit input args; do
    [ -n "$code" ] || continue
    printf '%b' "$input" >in
    as=()
    if [ "$limit" != - ]; then
        if $limited; then as=(prlimit "--as=$limit"); elif [[ $text == メモリが足りない* ]]; then continue; fi
    fi
    # shellcheck disable=SC2086
    timeout 60 "${as[@]}" "$cli" $args <in >out 2>err; got=$?
    [ "$got" = "$code" ] || fail "$args: exit $got, not $code ($(head -c 300 err))"
    if [ -n "$text" ]; then grep -qF -- "$text" err || fail "$args: stderr lacks '$text': $(head -c 300 err)"
    else [ ! -s err ] || fail "$args: stderr holds $(head -c 300 err)"; fi
    if [ "$code" != 0 ]; then ls ./*.dxf ./*.svg >/dev/null 2>&1 && fail "$args left a file: $(ls)"; fi
    rm -f ./*.dxf ./*.svg
done <<'CASES'
1|モジュールは 0.001 mm 以上 1000 mm 以下にしてください|-||export -m 1e-300 -z 20 -x 1e308 -o a.dxf
1|モジュールは 0.001 mm 以上 1000 mm 以下にしてください|-||export -m 1e-300 -z 20 -o t.svg
1|モジュールは 0.001 mm 以上 1000 mm 以下にしてください|-||export -m 1e-12 -z 20 -o t.dxf
1|歯先円か歯底円の直径が有限の数にならないため、歯形を作れません|-||export -m 1 -z 20 -x 1e308 -o a.dxf
1|点の数が 500 万を超えます。許容差を大きくしてください|400000000||export -m 1000 -z 10000 --tolerance 0.00001 -o a.dxf
2|--tip-radius: -1 must not be negative|-||export -m 1 -z 20 --tip-radius -1 -o a.dxf
1|歯底円の半径が 0 以下のため、歯形を作れません|-||export -m 1.0112 -z 3 -x -0.388 -o a.dxf
1|歯底円の半径が 0 以下のため、歯形を作れません|-||export -m 1 -z 4 -x -0.8 -o a.dxf
1|メモリが足りないため書き出せません。許容差を大きくしてください|600000000||export -m 1000 -z 400 --tolerance 0.00001 -o a.dxf
2|--center-distance: 'inf' is not a number|-||pair -m 2 --z1 20 --z2 30 --center-distance inf
2|--center-distance: 'nan' is not a number|-||pair -m 2 --z1 20 --z2 30 --center-distance nan
0||-|\xef\xbb\xbfmodule,teeth,shift\n2,20,0\n|batch
0||-|\xef\xbb\xbf2,20,0\n|batch
1|line 1: module: 'abc' is not a number|-|abc,def,ghi\n|batch
0||-|2,20,0\r1,18,0\r\n3,30,0\n1,12,0.5|batch
CASES
# The byte-order mark and the three line ends give the lines they hold.
printf '2,20,0\r1,18,0\r\n3,30,0\n1,12,0.5' | "$cli" batch >out 2>err
[ "$(cut -d, -f1-3 out | tr '\n' ' ')" = "line,module,teeth 1,2,20 2,1,18 3,3,30 4,1,12 " ] || fail "CR, CR LF, LF: $(cat out err)"

# A line of 100 MB under a 400 MB address space: refused by its number, the next
# line still computed.
{ printf '2,20,0\n'; head -c 100000000 /dev/zero | tr '\0' 1; printf '\n1,18,0\n'; } >big
as=(); $limited && as=(prlimit --as=400000000)
"${as[@]}" "$cli" batch <big >out 2>err; got=$?
[ "$got" = 1 ] && [ "$(cat err)" = "tsumugi-cli: refused: line 2: longer than 4096 bytes; not read." ] &&
    [ "$(cut -d, -f1 out | tr '\n' ' ')" = "line 1 3 " ] || fail "100 MB line: exit $got $(head -c 300 err) $(cat out)"

# span teeth at the end of the integer range: no wrapped-around k.
"$cli" gear -m 2 -z 20 --span-teeth 2147483647 >out 2>err
grep -q -- '-2147483648' out && fail "span teeth wrapped: $(grep -- -2147483648 out)"
grep -qF 'k＝2147483647' out || fail "span teeth k = 2147483647 not shown: $(cat out err)"

# Standard output on /dev/full or closed: a message and exit code 3, for every subcommand and --help.
"$cli" export -m 1 -z 20 -o g.hgd.dxf >/dev/null 2>&1 || fail "export for the table test"
printf '2,20,0\n' >in
for args in "gear -m 2 -z 20" "pair -m 2 --z1 20 --z2 30 --x1 0 --x2 0" "batch" "--help" "--version" \
            "export -m 1 -z 20 -o e.dxf"; do
    for how in full closed; do
        # shellcheck disable=SC2086
        if [ $how = full ]; then "$cli" $args <in >/dev/full 2>err; else "$cli" $args <in >&- 2>err; fi
        got=$?
        [ "$got" = 3 ] && grep -qxF 'tsumugi-cli: file error: standard output: could not be written.' err || fail "$args on $how stdout: exit $got, '$(cat err)'"
    done
done
# A reader that stops early: the file error and exit code 3, not death by SIGPIPE.
"$cli" export -m 1 -z 3000 --format svg -o - 2>err | head -c 10 >/dev/null; got=${PIPESTATUS[0]}
[ "$got" = 3 ] && grep -qxF 'tsumugi-cli: file error: standard output: could not be written.' err || fail "export | head: exit $got, '$(cat err)'"
head -c 3344 /dev/zero >t.hgd
"$cli" table t.hgd >/dev/full 2>err; got=$?
[ "$got" = 3 ] && grep -qF 'standard output: could not be written' err || fail "table on /dev/full: exit $got"

# An export over a hard-linked file is refused, the file untouched (rewritten in place, a kill
# part-way would cut it).
printf 'old' >h.dxf && ln h.dxf h2.dxf
"$cli" export -m 10 -z 70 -o h.dxf >/dev/null 2>err; got=$?
[ "$got" = 3 ] && grep -qF 'はハードリンクや他のユーザーのファイルなどのため' err && [ "$(cat h2.dxf)" = old ] ||
    fail "export over a hard link: exit $got $(cat err)"

# A real export of 8 MB killed at random moments over a file, a hard-linked file and a dangling
# link: the old bytes, the new ones or (for the link) no file, never a cut one.
"$cli" export -m 10 -z 70 --tolerance 0.00001 -o new.dxf >/dev/null
"$cli" export -m 3 -z 20 -o old.dxf >/dev/null
declare -A outcome
for kind in file hard-linked dangling; do
    for trial in 1 2 3 4 5 6 7 8; do
        rm -rf k && mkdir k
        case $kind in
            file) cp old.dxf k/t.dxf; land=k/t.dxf ;;
            hard-linked) cp old.dxf k/t.dxf && ln k/t.dxf k/u.dxf; land=k/u.dxf ;;
            dangling) ln -s missing.dxf k/t.dxf; land=k/missing.dxf ;;
        esac
        { timeout -s KILL "$(printf '0.%03d' $((RANDOM % 400)))" "$cli" export -m 10 -z 70 --tolerance 0.00001 \
            -o k/t.dxf >/dev/null 2>&1; } 2>/dev/null
        outcome[$kind]+=" $(cmp -s "$land" new.dxf && echo new || { cmp -s "$land" old.dxf && echo old; } || echo none)"
        if [ ! -e "$land" ]; then [ $kind = dangling ] || fail "$kind kill $trial: no file"
        else cmp -s "$land" new.dxf || cmp -s "$land" old.dxf || fail "$kind kill $trial: cut at $(stat -c %s "$land")"; fi
    done
    echo "killed exports over a $kind target:${outcome[$kind]}"
done

# A FIFO gets every byte, however slowly it is read.
"$cli" export -m 10 -z 70 -o whole.dxf >/dev/null || fail "export to a file"
mkfifo p.dxf
(timeout 120 /usr/bin/python3 -c '
import sys, time
with open("p.dxf", "rb") as f, open("got.dxf", "wb") as out:
    while chunk := f.read(4096):
        out.write(chunk); time.sleep(0.0005)
') &
reader=$!
sleep 0.3
timeout 120 "$cli" export -m 10 -z 70 -o p.dxf >out 2>err; got=$?
wait $reader
[ "$got" = 0 ] && cmp -s got.dxf whole.dxf || fail "FIFO: exit $got, $(stat -c %s got.dxf 2>/dev/null) of $(stat -c %s whole.dxf) bytes, $(cat err)"
# A FIFO nobody reads is refused at once; one whose reader leaves ends in exit 3, not a signal.
timeout 20 "$cli" export -m 10 -z 70 -o p.dxf >/dev/null 2>err; got=$?
[ "$got" = 3 ] && grep -qF 'を作成できません' err || fail "FIFO without a reader: exit $got"
(head -c 100 p.dxf >/dev/null) & sleep 0.3
timeout 20 "$cli" export -m 10 -z 70 -o p.dxf >/dev/null 2>err; got=$?
[ "$got" = 3 ] && grep -qF 'ストリームへの書き込みエラー' err || fail "FIFO whose reader left: exit $got $(cat err)"

[ "$failures" = 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all passed"
