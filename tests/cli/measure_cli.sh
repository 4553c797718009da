#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tsumugi-cli gear's W, M, s-bar and h-bar against a gear cut here another way
# (measure_check.py), and the findings of one gear the same in gear, export and
# pair.
set -u
cli=$1
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
bad() { echo "FAIL: $*"; fail=1; }

/usr/bin/python3 "$here/measure_check.py" "$cli" || bad "readings on the cut gear"

# gear | the finding lines every front end shows for it
undercut='警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生'
cut='警告：ｱﾝﾀﾞｰｶｯﾄが歯を貫通、歯形不成立'
while IFS='|' read -r args findings; do
    # gear: the inspection's findings (JSON) and the message list.
    "$cli" gear $args --format json >"$dir/g.json" || bad "gear $args"
    got=$(/usr/bin/python3 -c 'import json,sys; print("/".join(l for l in json.load(open(sys.argv[1]))["findings"] if l.startswith("警告")))' "$dir/g.json")
    [ "$got" = "$findings" ] || bad "gear $args: findings '$got', not '$findings'"
    if [ -n "$findings" ]; then
        grep -qF 'エラー＝０、警告＝０' "$dir/g.json" && bad "gear $args: no-findings line beside a finding"
    fi
    # export: the same lines after "finding", or the refusal naming the first fatal one.
    "$cli" export $args -o "$dir/g.dxf" >"$dir/e.out" 2>"$dir/e.err"
    got=$(sed -n 's/^finding\t//p' "$dir/e.out" | paste -sd/)
    case "$findings" in
        *貫通*) grep -qF 'ｱﾝﾀﾞｰｶｯﾄが歯を貫通、歯形不成立（直径' "$dir/e.err" || bad "export $args: $(cat "$dir/e.err")" ;;
        *尖って*) grep -qF '歯先の歯厚が 0 以下' "$dir/e.err" || bad "export $args: $(cat "$dir/e.err")" ;;
        *) [ "$got" = "$findings" ] || bad "export $args: findings '$got', not '$findings'" ;;
    esac
    # pair with a sound mate: gear 1's findings under its name.
    read -r _ m _ z _ x rest <<<"$args"
    "$cli" pair -m "$m" --z1 "$z" --z2 40 --x1 "$x" --x2 0 $rest --format csv >"$dir/p.csv" 2>/dev/null
    got=$(sed -n 's/^finding,\(警告：歯車１：[^,]*\).*/\1/p' "$dir/p.csv" | tr -d '\r' | sed 's/歯車１：//' | paste -sd/)
    [ "$got" = "${findings}" ] || bad "pair $args: findings '$got', not '$findings'"
done <<EOT
-m 2 -z 20 -x 0|
-m 2 -z 20 -x 0 --pressure-angle 14.5|$undercut
-m 1 -z 30 -x -0.8|$undercut
-m 2 -z 12 -x 0.3|
-m 1 -z 12 -x 0.29812|
-m 1 -z 12 -x 0.2980|$undercut
-m 1 -z 5 -x -0.6|$undercut/$cut
EOT

# The refusal of a tooth cut through names the undercut, not the tip.
"$cli" export -m 1 -z 5 -x -0.6 -o "$dir/g.dxf" 2>"$dir/e.err"
grep -qF 'ｱﾝﾀﾞｰｶｯﾄが歯を貫通、歯形不成立（直径 2.080〜3.448 mm）のため、歯形を作れません' "$dir/e.err" ||
    bad "cut-through refusal: $(cat "$dir/e.err")"
# Where the count rule warns and the shift avoids the undercut, the inspection says why.
"$cli" gear -m 2 -z 12 -x 0.3 | grep -qF '歯数 12 は 13 以下のため計算・登録は切下げを警告しますが、転位係数 0.3 が x_min 0.2981 以上なので' ||
    bad "no reason for the count rule's warning"
exit $fail
