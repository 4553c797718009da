<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Cli</name>
    <message>
        <source>%1 fields; a line is module,teeth,shift[,pressure angle]</source>
        <translation>項目が %1 個です。1 行は モジュール,歯数,転位係数[,圧力角] です</translation>
    </message>
    <message>
        <source>module</source>
        <translation>モジュール</translation>
    </message>
    <message>
        <source>teeth</source>
        <translation>歯数</translation>
    </message>
    <message>
        <source>shift</source>
        <translation>転位係数</translation>
    </message>
    <message>
        <source>pressure angle</source>
        <translation>圧力角</translation>
    </message>
    <message>
        <source>helix angle</source>
        <translation>ねじれ角</translation>
    </message>
    <message>
        <source>line %1</source>
        <translation>行 %1</translation>
    </message>
    <message>
        <source>compute one gear per input line: module,teeth,shift[,pressure angle 20|14.5]</source>
        <translation>入力の 1 行ごとに 1 つの歯車を計算します: モジュール,歯数,転位係数[,圧力角 20|14.5]</translation>
    </message>
    <message>
        <source>the lines to read; - or none: standard input</source>
        <translation>読む行のファイル。- または省略で標準入力</translation>
    </message>
    <message>
        <source>threads to compute on (default 0: one per core); the output is the same for every count</source>
        <translation>計算するスレッドの数（既定 0: コアごとに 1 つ）。出力はどの数でも同じです</translation>
    </message>
    <message>
        <source>Empty lines, lines starting with # and a first line whose first field is &quot;module&quot; are skipped. CSV lines end in LF.</source>
        <translation>空行、# で始まる行、最初の項目が &quot;module&quot; の 1 行目は読み飛ばします。CSV の行末は LF です。</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>開けません</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>標準入力</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>読み込めませんでした</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>標準出力</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>メモリが足りません</translation>
    </message>
    <message>
        <source>longer than %1 bytes; not read</source>
        <translation>%1 バイトを超えるため読みません</translation>
    </message>
    <message>
        <source>could not be written</source>
        <translation>書き込めませんでした</translation>
    </message>
    <message>
        <source>dxf, svg, stl, 3mf or step is needed when the output is standard output</source>
        <translation>出力が標準出力のときは dxf、svg、stl、3mf か step を指定してください</translation>
    </message>
    <message>
        <source>&apos;%1&apos; ends in none of .dxf, .svg, .stl, .3mf, .step or .stp; give --format</source>
        <translation>&apos;%1&apos; は .dxf、.svg、.stl、.3mf、.step、.stp のどれでも終わっていません。--format を指定してください</translation>
    </message>
    <message>
        <source>write the true-scale tooth profile as DXF or SVG, or the part as STL, 3MF or STEP (mm)</source>
        <translation>実寸の歯形を DXF か SVG に、部品を STL、3MF か STEP に書き出します（mm）</translation>
    </message>
    <message>
        <source>the part&apos;s file is not written to a terminal; redirect standard output or give a file</source>
        <translation>部品のファイルは端末には書き出しません。標準出力をリダイレクトするか、ファイルを指定してください</translation>
    </message>
    <message>
        <source>a parallel keyway in the bore (JIS B 1301, normal type)</source>
        <translation>穴に平行キー溝を付ける（JIS B 1301、普通形）</translation>
    </message>
    <message>
        <source>face width b of the part in mm (default 10; STL, 3MF, STEP)</source>
        <translation>部品の歯幅 b（mm、既定 10。STL、3MF、STEP）</translation>
    </message>
    <message>
        <source>diameter of a hub on one face in mm (default 0: none)</source>
        <translation>片側の面に付けるハブの直径（mm、既定 0: ハブなし）</translation>
    </message>
    <message>
        <source>how far the hub stands out in mm</source>
        <translation>ハブの出っ張りの長さ（mm）</translation>
    </message>
    <message>
        <source>laser kerf in mm: the cut paths move out by half of it (default 0; DXF, SVG)</source>
        <translation>レーザーの切り幅（mm）。切断線をその半分だけ外側へずらします（既定 0。DXF、SVG）</translation>
    </message>
    <message>
        <source>write m, z, x, alpha, the allowance and the kerf as text (DXF, SVG)</source>
        <translation>m、z、x、α、歯厚の増減と切り幅を文字で書き込む（DXF、SVG）</translation>
    </message>
    <message>
        <source>module in mm (greater than 0)</source>
        <translation>モジュール（mm、0 より大きい）</translation>
    </message>
    <message>
        <source>number of teeth (at least 1)</source>
        <translation>歯数（1 以上）</translation>
    </message>
    <message>
        <source>profile shift coefficient (default 0)</source>
        <translation>転位係数（既定 0）</translation>
    </message>
    <message>
        <source>largest chord deviation in mm (default 0.001)</source>
        <translation>弦の最大のずれ（mm、既定 0.001）</translation>
    </message>
    <message>
        <source>tip radius of the rack cutter in mm (default 0.38 m)</source>
        <translation>ラック工具の歯先丸み半径（mm、既定 0.38 m）</translation>
    </message>
    <message>
        <source>diameter of a centre bore in mm (default 0: none)</source>
        <translation>中心の穴径（mm、既定 0: 穴なし）</translation>
    </message>
    <message>
        <source>the file to write (FILE.dxf, .svg, .stl, .3mf or .step), or - for standard output</source>
        <translation>書き出すファイル（FILE.dxf、.svg、.stl、.3mf か .step）。- で標準出力</translation>
    </message>
    <message>
        <source>file format (default: the output&apos;s extension; needed for -)</source>
        <translation>ファイル形式（既定: 出力の拡張子。- のときは必要）</translation>
    </message>
    <message>
        <source>compute one gear: the five results, the teeth checks and the inspection numbers</source>
        <translation>1 つの歯車を計算します: 5 つの結果、歯数の検査、検査寸法</translation>
    </message>
    <message>
        <source>pin (ball) diameter in mm for the measurement over pins (default: the ideal pin)</source>
        <translation>オーバーピン寸法のピン（玉）径（mm、既定: 理想ピン）</translation>
    </message>
    <message>
        <source>teeth k spanned by the micrometer (default: the recommended k)</source>
        <translation>またぎ歯数 k（既定: 推奨の k）</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a subcommand</source>
        <translation>&apos;%1&apos; はサブコマンドではありません</translation>
    </message>
    <message>
        <source>; did you mean &apos;%1&apos;?</source>
        <translation>。&apos;%1&apos; のことですか?</translation>
    </message>
    <message>
        <source>a subcommand is required (gear, batch, table, pair, export)</source>
        <translation>サブコマンドを指定してください（gear, batch, table, pair, export）</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>余分な引数 %1</translation>
    </message>
    <message>
        <source>options that do not go together: %1</source>
        <translation>一緒に使えないオプション: %1</translation>
    </message>
    <message>
        <source>ツムギ: an external spur gear generated by a standard rack, from the command line</source>
        <translation>ツムギ: 標準ラックで創成する外歯平歯車をコマンドラインで計算します</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>使い方</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>オプション</translation>
    </message>
    <message>
        <source>SUBCOMMAND</source>
        <translation>サブコマンド</translation>
    </message>
    <message>
        <source>Positionals</source>
        <translation>引数</translation>
    </message>
    <message>
        <source>REQUIRED</source>
        <translation>必須</translation>
    </message>
    <message>
        <source>Needs</source>
        <translation>必要</translation>
    </message>
    <message>
        <source>Excludes</source>
        <translation>併用不可</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>オプション</translation>
    </message>
    <message>
        <source>print this help and exit</source>
        <translation>このヘルプを表示して終了します</translation>
    </message>
    <message>
        <source>print the version and exit</source>
        <translation>バージョンを表示して終了します</translation>
    </message>
    <message>
        <source>Subcommands</source>
        <translation>サブコマンド</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>受け付けられません</translation>
    </message>
    <message>
        <source>usage error</source>
        <translation>使い方の誤り</translation>
    </message>
    <message>
        <source>file error</source>
        <translation>ファイルの誤り</translation>
    </message>
    <message>
        <source>Exit codes:
  0  everything computed and printed
  1  refused: a gear that cannot be computed, or an input line of batch (the other lines
     are still printed)
  2  usage error: an unknown, missing, malformed or out-of-range argument
  3  file error: a file, standard input or standard output could not be read or written
Every message is one line on standard error: tsumugi-cli: KIND: OPTION, LINE OR FILE: MESSAGE.</source>
        <translation>終了コード:
  0  すべて計算して出力しました
  1  受け付けられません: 計算できない歯車、または batch の入力行（ほかの行は
     出力されます）
  2  使い方の誤り: 知らない、足りない、形の誤った、範囲外の引数
  3  ファイルの誤り: ファイル、標準入力、標準出力を読み書きできませんでした
メッセージは標準エラーに 1 行: tsumugi-cli: 種類: オプション・行・ファイル: 内容。</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>&apos;%1&apos; は数ではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a finite number</source>
        <translation>&apos;%1&apos; は有限の数ではありません</translation>
    </message>
    <message>
        <source>%1 must be greater than 0</source>
        <translation>%1 は 0 より大きくしてください</translation>
    </message>
    <message>
        <source>%1 must not be negative</source>
        <translation>%1 は負にできません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not an integer</source>
        <translation>&apos;%1&apos; は整数ではありません</translation>
    </message>
    <message>
        <source>%1 must be at least 1</source>
        <translation>%1 は 1 以上にしてください</translation>
    </message>
    <message>
        <source>pressure angle in degrees: 20 (default) or 14.5</source>
        <translation>圧力角（度）: 20（既定）か 14.5</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is neither 20 nor 14.5</source>
        <translation>&apos;%1&apos; は 20 でも 14.5 でもありません</translation>
    </message>
    <message>
        <source>output format (default %1)</source>
        <translation>出力形式（既定 %1）</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not one of %2</source>
        <translation>&apos;%1&apos; は %2 のどれでもありません</translation>
    </message>
    <message>
        <source>Examples:</source>
        <translation>例:</translation>
    </message>
    <message>
        <source>give either --x1 and --x2 or --center-distance</source>
        <translation>--x1 と --x2 か、--center-distance のどちらかを指定してください</translation>
    </message>
    <message>
        <source>teeth of gear 1 (at least 1)</source>
        <translation>歯車１の歯数（1 以上）</translation>
    </message>
    <message>
        <source>profile shift coefficient of gear 1</source>
        <translation>歯車１の転位係数</translation>
    </message>
    <message>
        <source>profile shift coefficient of gear 2</source>
        <translation>歯車２の転位係数</translation>
    </message>
    <message>
        <source>JSON and CSV give every number at full precision; CSV lines end in LF.</source>
        <translation>JSON と CSV の数はすべて全桁です。CSV の行末は LF です。</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>読めません</translation>
    </message>
    <message>
        <source>%1 bytes, short of %2 (the missing bytes are shown as 0)</source>
        <translation>%1 バイトで %2 バイトに足りません（足りない所は 0 として表示）</translation>
    </message>
    <message>
        <source>list the 22 slots of a gear data file (.hgd), every field decoded; the file is only read</source>
        <translation>歯車データファイル（.hgd）の 22 スロットを全項目表示します。ファイルは読むだけです</translation>
    </message>
    <message>
        <source>gear data file; -: standard input</source>
        <translation>歯車データファイル。-: 標準入力</translation>
    </message>
    <message>
        <source>CSV lines end in LF.</source>
        <translation>CSV の行末は LF です。</translation>
    </message>
    <message>
        <source>this option must be given</source>
        <translation>このオプションは必須です</translation>
    </message>
    <message>
        <source>this option needs a value</source>
        <translation>このオプションには値が必要です</translation>
    </message>
    <message>
        <source>both --x1 and --x2 must be given</source>
        <translation>--x1 と --x2 の両方を指定してください</translation>
    </message>
    <message>
        <source>an internal gear (ring), cut by a pinion-type cutter: its sizes and the measurement between pins</source>
        <translation>内歯車（ピニオンカッタで削る）：寸法とピン間の測定値</translation>
    </message>
    <message>
        <source>teeth z0 of the pinion-type cutter (default: a common cutter of about 75 mm)</source>
        <translation>ピニオンカッタの歯数 z0（省略時：直径約 75 mm の一般的なカッタ）</translation>
    </message>
    <message>
        <source>tip radius of the pinion-type cutter in mm (default 0.2 m)</source>
        <translation>ピニオンカッタの歯先丸み半径 mm（省略時 0.2 m）</translation>
    </message>
    <message>
        <source>number of teeth (at least 1; none for a rack)</source>
        <translation>歯数（1 以上。ラックでは指定しない）</translation>
    </message>
    <message>
        <source>an internal gear (ring), teeth inside, cut by a pinion-type cutter</source>
        <translation>内歯車（歯は内側、ピニオンカッタで削る）</translation>
    </message>
    <message>
        <source>a ring or a rack is written as DXF or SVG only</source>
        <translation>内歯車とラックは DXF か SVG にだけ書き出します</translation>
    </message>
    <message>
        <source>outer diameter of the ring in mm (default: root + 6 m)</source>
        <translation>内歯車の外径 mm（省略時：歯底円直径＋6 m）</translation>
    </message>
    <message>
        <source>teeth of the pinion-type cutter (default: a common cutter)</source>
        <translation>ピニオンカッタの歯数（省略時：一般的なカッタ）</translation>
    </message>
    <message>
        <source>tip radius of the pinion-type cutter in mm</source>
        <translation>ピニオンカッタの歯先丸み半径 mm</translation>
    </message>
    <message>
        <source>a rack segment instead of a gear</source>
        <translation>歯車の代わりにラックの一部</translation>
    </message>
    <message>
        <source>length of the rack segment in mm</source>
        <translation>ラックの長さ mm</translation>
    </message>
    <message>
        <source>a rack takes no --z2, --x2 or --center-distance</source>
        <translation>ラックには --z2、--x2、--center-distance は指定できません</translation>
    </message>
    <message>
        <source>two gears in mesh (or a pinion in a ring, or on a rack): working pressure angle, centre distance, tip shortening, contact ratio</source>
        <translation>かみあう二つの歯車（内歯車やラックとの組も）：かみあい圧力角、中心距離、歯先短縮、かみあい率</translation>
    </message>
    <message>
        <source>teeth of gear 2 (the ring for --mate internal; none for a rack)</source>
        <translation>歯車２の歯数（--mate internal では内歯車。ラックでは指定しない）</translation>
    </message>
    <message>
        <source>what gear 1 meshes with: another external gear (default), a ring, a rack</source>
        <translation>歯車１の相手：外歯車（省略時）、内歯車、ラック</translation>
    </message>
    <message>
        <source>the gear data table (要目表) is written only into a DXF file</source>
        <translation>要目表は DXF にだけ書き出せます</translation>
    </message>
    <message>
        <source>add the gear data table (要目表) to the DXF file, on layer DATATABLE</source>
        <translation>要目表を DXF の画層 DATATABLE に加える</translation>
    </message>
    <message>
        <source>the table gives the measurement over pins, not the span</source>
        <translation>要目表にまたぎ歯厚でなくオーバーピン寸法を載せる</translation>
    </message>
    <message>
        <source>tooth-thickness allowance UPPER,LOWER of gear 1 in mm (adds the backlash)</source>
        <translation>歯車１の歯厚許容差 上,下（mm。バックラッシを加える）</translation>
    </message>
    <message>
        <source>centre-distance allowance UPPER,LOWER in mm</source>
        <translation>中心距離許容差 上,下（mm）</translation>
    </message>
    <message>
        <source>wanted normal backlash MIN,MAX in mm: proposes equal allowances for both gears (with --center-distance-allowance)</source>
        <translation>求める法線バックラッシ 最小,最大（mm）。両歯車に等しい歯厚許容差を提案する（--center-distance-allowance と併用可）</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not the name of a PDF file (.pdf)</source>
        <translation>&apos;%1&apos; は PDF ファイルの名前（.pdf）ではありません</translation>
    </message>
    <message>
        <source>accuracy class of ISO 1328-1:2013, 1 to 11</source>
        <translation>ISO 1328-1:2013 の精度等級（1〜11）</translation>
    </message>
    <message>
        <source>face width b in mm (for the helix tolerances)</source>
        <translation>歯幅 b（mm。歯すじの許容値に使う）</translation>
    </message>
    <message>
        <source>tooth-thickness allowance UPPER,LOWER on the reference circle in mm (negative: thinner)</source>
        <translation>基準円上の歯厚許容差 上,下（mm。負は薄く）</translation>
    </message>
    <message>
        <source>teeth of the mate (adds the mate, the centre distance and the backlash)</source>
        <translation>相手歯車の歯数（相手歯車・中心距離・バックラッシを加える）</translation>
    </message>
    <message>
        <source>profile shift coefficient of the mate (default 0)</source>
        <translation>相手歯車の転位係数（既定 0）</translation>
    </message>
    <message>
        <source>the mate&apos;s tooth-thickness allowance UPPER,LOWER in mm</source>
        <translation>相手歯車の歯厚許容差 上,下（mm）</translation>
    </message>
    <message>
        <source>%1 is not a class from 1 to 11</source>
        <translation>%1 は 1〜11 の等級ではありません</translation>
    </message>
    <message>
        <source>write the gear data table (要目表) as a one-page PDF</source>
        <translation>歯車の要目表を 1 ページの PDF に書き出す</translation>
    </message>
    <message>
        <source>measure over pins of this diameter in mm instead of the span</source>
        <translation>またぎ歯厚の代わりにこの径（mm）のピンでオーバーピン寸法を測る</translation>
    </message>
    <message>
        <source>measure over the ideal pins instead of the span</source>
        <translation>またぎ歯厚の代わりに理想ピン径でオーバーピン寸法を測る</translation>
    </message>
    <message>
        <source>the PDF file to write</source>
        <translation>書き出す PDF ファイル</translation>
    </message>
    <message>
        <source>change of the tooth thickness on the reference circle in mm (default 0; negative: thinner); UPPER,LOWER cuts to the middle and gives the tolerance to --data-table</source>
        <translation>基準円上の歯厚の増減 mm（省略時 0、負で薄く）。上,下 で与えると中央の値で削り、--data-table の要目表にはその許容差を載せます</translation>
    </message>
    <message>
        <source>a file name is needed</source>
        <translation>ファイル名が必要です</translation>
    </message>
    <message>
        <source>write the pair in mesh as an SVG picture, mm (groups GEAR1 and GEAR2, or RACK; the tightest mesh the allowances leave)</source>
        <translation>かみあい図を SVG で書き出す（mm、グループ GEAR1 と GEAR2 または RACK。許容差があれば最もきついかみあい）</translation>
    </message>
    <message>
        <source>the picture&apos;s turn of gear 1, degrees counter-clockwise (default 0)</source>
        <translation>かみあい図での歯車１の回転角、度、反時計回り（既定値 0）</translation>
    </message>
    <message>
        <source>the picture&apos;s chord tolerance in mm (default 0.001)</source>
        <translation>かみあい図の弦の許容差 mm（既定値 0.001）</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not two numbers UPPER,LOWER</source>
        <translation>&apos;%1&apos; は「上,下」の二つの数ではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; leaves the tooth no thickness or no space: it is %2 mm thick on the reference circle, the pitch is %3 mm</source>
        <translation>&apos;%1&apos; では歯厚か歯溝がなくなります：基準円上の歯厚 %2 mm、ピッチ %3 mm</translation>
    </message>
    <message>
        <source>is for two external gears only (--mate external)</source>
        <translation>外歯車どうしの組（--mate external）にだけ使えます</translation>
    </message>
    <message>
        <source>needs --center-distance, whose shift sum it splits</source>
        <translation>--center-distance が必要です（その転位係数の和を配分します）</translation>
    </message>
    <message>
        <source>excludes --x1: gear 1 keeps that shift and gear 2 takes the rest of the sum</source>
        <translation>--x1 とは同時に指定できません（歯車１はその転位係数のまま、歯車２が和の残りを取ります）</translation>
    </message>
    <message>
        <source>centre distance a in mm instead of the shifts: the shift sum is found and split by --split, or gear 1 keeps --x1 and gear 2 takes the rest; for a ring the difference x2 - x1, gear 1 keeping --x1</source>
        <translation>転位係数の代わりに中心距離 a（mm）：転位係数の和を求めて --split で配分、または歯車１は --x1 のまま歯車２が残りを取ります。内歯車では差 x2 − x1 を求め、歯車１は --x1 のまま</translation>
    </message>
    <message>
        <source>how the shift sum of --center-distance is split: proportional (default; the smaller gear takes more of a positive sum), undercut (gear 1 the least shift without undercut, gear 2 the rest), sliding (equal specific sliding at both roots)</source>
        <translation>--center-distance の転位係数の和の配分：proportional（既定、正の和は小さい歯車に多く）、undercut（歯車１は切下げの起きない最小の転位係数、歯車２は残り）、sliding（両歯車の歯元のすべり率を等しく）</translation>
    </message>
    <message>
        <source>a row of your own below the table, NAME=TEXT (材料=S45C, 熱処理=..., 備考=...); repeatable, in the order given</source>
        <translation>表の下に加える行 名前=文字列（材料=S45C、熱処理=…、備考=…）。繰り返し指定でき、その順に並びます</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not NAME=TEXT</source>
        <translation>&apos;%1&apos; は 名前=文字列 の形ではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is neither 1 nor 2</source>
        <translation>&apos;%1&apos; は 1 でも 2 でもありません</translation>
    </message>
    <message>
        <source>a rack pair has no gear 2</source>
        <translation>ラックとの組には歯車２がありません</translation>
    </message>
    <message>
        <source>a design file (.tsumugi) of a pair: its gear&apos;s table with the other as its mate, instead of the gear and mate options</source>
        <translation>組の設計ファイル（.tsumugi）：歯車と相手のオプションの代わりに、その歯車の要目表をもう一方を相手として作ります</translation>
    </message>
    <message>
        <source>with --design: the table of gear 1 (default) or gear 2, or both on two pages</source>
        <translation>--design とともに：歯車１（既定）か歯車２の要目表、または both で両方を 2 ページに</translation>
    </message>
    <message>
        <source>a design file (.tsumugi) of a pair: one of its gears (--gear) with its class, face width and allowance, instead of the gear options</source>
        <translation>組の設計ファイル（.tsumugi）：歯車のオプションの代わりに、その一方の歯車（--gear）を精度等級・歯幅・歯厚許容差とともに</translation>
    </message>
    <message>
        <source>with --design: gear 1 (default) or gear 2 (a ring&apos;s: as --internal)</source>
        <translation>--design とともに：歯車１（既定）か歯車２（内歯車なら --internal として）</translation>
    </message>
    <message>
        <source>write the pair as a design file (.tsumugi): the shifts as computed, the allowances and the centre distance given; sheet, gear and かみあい read it</source>
        <translation>組を設計ファイル（.tsumugi）に書きます：求めた転位係数、与えた許容差と中心距離。sheet・gear・かみあいで読めます</translation>
    </message>
    <message>
        <source>a design file (.tsumugi): the pair as designed, its shifts and allowances, instead of the pair&apos;s options</source>
        <translation>設計ファイル（.tsumugi）：組のオプションの代わりに、設計した組（その転位係数と許容差）</translation>
    </message>
    <message>
        <source>is for a rack (--rack)</source>
        <translation>ラック（--rack）のためのオプションです</translation>
    </message>
    <message>
        <source>gear 2 of this design is a rack: give the length of its segment</source>
        <translation>この設計の歯車２はラックです。その長さを指定してください</translation>
    </message>
    <message>
        <source>is for a rack; this gear of the design is none</source>
        <translation>ラックのためのオプションです。この設計のこの歯車はラックではありません</translation>
    </message>
    <message>
        <source>the gear data table (要目表) goes with an external gear&apos;s file</source>
        <translation>要目表は外歯車のファイルにだけ入れます</translation>
    </message>
    <message>
        <source>a design file (.tsumugi) of a pair: one of its gears (--gear) with its allowance (cut to the middle), face width and, for --data-table, its table with the other gear as its mate; an external pair&apos;s gear with the pair&apos;s shortened tip</source>
        <translation>組の設計ファイル（.tsumugi）：その歯車の一つ（--gear）を、歯厚許容差（中央で切る）と歯幅、--data-table では相手を含む要目表とともに書き出します。外歯車どうしの組の歯車は組の歯先短縮のとおりです</translation>
    </message>
    <message>
        <source>with --design: gear 1 (default) or gear 2 (a ring pair&apos;s ring, a rack pair&apos;s rack)</source>
        <translation>--design とともに：歯車１（既定）または歯車２（内歯車の組では内歯車、ラックの組ではラック）</translation>
    </message>
    <message>
        <source>needs --backlash, whose target it names</source>
        <translation>--backlash が必要です（その目標の種類を指定します）</translation>
    </message>
    <message>
        <source>tooth-thickness allowance UPPER,LOWER of gear 2 in mm (a ring&apos;s tooth; a rack&apos;s on its reference line)</source>
        <translation>歯車２の歯厚許容差 上,下（mm、内歯車の歯、ラックでは基準線上の歯）</translation>
    </message>
    <message>
        <source>what --backlash gives: the normal backlash j_bn (default) or the circumferential j_t on the working pitch circle</source>
        <translation>--backlash の値の種類：法線バックラッシ j_bn（既定）または噛合いピッチ円上の円周バックラッシ j_t</translation>
    </message>
    <message>
        <source>is not yet for helical gears (--helix-angle)</source>
        <translation>はすば歯車（--helix-angle）にはまだ使えません</translation>
    </message>
    <message>
        <source>helix angle beta in degrees (0 up to below 90; default 0: a spur gear). Module, pressure angle and shift are then the normal ones</source>
        <translation>ねじれ角 β（度、0 以上 90 未満。既定 0：平歯車）。このときモジュール、圧力角、転位係数は歯直角の値</translation>
    </message>
    <message>
        <source>hand of the helix: right (default) or left</source>
        <translation>ねじれ方向：right（右、既定）または left（左）</translation>
    </message>
    <message>
        <source>helix angle beta of two external helical gears in degrees (0 up to below 90; default 0: spur gears). Module, pressure angle and shifts are then the normal ones</source>
        <translation>外歯車どうしのはすば歯車のねじれ角 β（度、0 以上 90 未満。既定 0：平歯車）。このときモジュール、圧力角、転位係数は歯直角の値</translation>
    </message>
    <message>
        <source>hand of gear 1&apos;s helix: right (default) or left</source>
        <translation>歯車１のねじれ方向：right（右、既定）または left（左）</translation>
    </message>
    <message>
        <source>hand of gear 2&apos;s helix (default: the other hand than gear 1&apos;s)</source>
        <translation>歯車２のねじれ方向（既定：歯車１と逆）</translation>
    </message>
    <message>
        <source>face width b in mm, for the overlap ratio of helical gears</source>
        <translation>歯幅 b（mm）。はすば歯車の重なりかみあい率に使う</translation>
    </message>
</context>
</TS>
