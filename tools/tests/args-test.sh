#!/bin/bash
# The developer tools' answers to calls they cannot take, and gifdump's outcomes:
# each row of the table runs a tool and checks its exit status and a piece of what
# it prints (standard output and error together).
# Arguments: NAME=PATH for each tool that was built; rows of the others are skipped.
set -u
declare -A tool
for a in "$@"; do tool[${a%%=*}]=${a#*=}; done
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
export QT_QPA_PLATFORM=offscreen

# A 2 x 2 GIF of index 1 (four greys), and what damage makes of it.
gif() { printf "$1" > "$T/$2"; }
head='GIF89a\x02\x00\x02\x00\x81\x00\x00\x00\x00\x00\x01\x01\x01\x02\x02\x02\x03\x03\x03'
frame='\x2c\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x02\x8c\x5d\x00'
gce='\x21\xf9\x04\x00\x00\x00\x00\x00'
gif "$head$frame\x3b" whole.gif
gif "$head$frame\x99" warned.gif
gif "$head$frame$gce" cut.gif
gif "$head$frame" notrailer.gif
gif 'GIF89a\x02' refused.gif

fail=0 rows=0
while IFS='|' read -r name want expect input args; do
  [[ -z $name || $name == \#* || -z ${tool[$name]:-} ]] && continue
  read -ra argv <<< "${args//@T@/$T}"
  printf -v expect -- "$expect"
  out=$(cd "$T" && printf "$input" | "${tool[$name]}" "${argv[@]}" 2>&1)
  got=$?
  rows=$((rows + 1))
  if [[ $got != "$want" || $out != *"$expect"* ]]; then
    echo "FAIL: $name $args: status $got (want $want), wanted '$expect' in:"
    printf '%s\n' "$out" | head -n 6
    fail=1
  fi
done <<'TABLE'
# tool|status|printed|standard input|arguments
chartsnap|0|image fullscreen||--help
chartsnap|2|unknown scene 'foo'||--live foo
chartsnap|2|unknown option '--bogus'||--bogus
chartsnap|2|unexpected argument 'b'||a b
dialogsnap|0|margins_editor||--help
charteditor|0|Series Function Pointer Tools Animations||--help
charteditor|2|unknown page 'Serie'||--page Serie
charteditor|2|unknown chart 'pie'||--page Tools --chart pie
charteditor|2|unknown option '--bogus'||--page Tools --bogus x
charteditor|2|unknown chart 'pie'||--chart pie
charteditor|2|--snap takes a value||--snap
charteditor|1|OUTDIR 'nowhere' is not a directory||--snap nowhere
dialogsnap|2|unknown dialog 'penn'||@T@ pen_dialog penn
dialogsnap|2|unknown option '-x'||@T@ -x
funcdump|0|TMovingAverageFunction||--help
funcdump|0|Volume||--help
funcdump|2|unknown function class 'TFoo'|X,A\n0,1\n|TFoo
funcdump|2|unknown option '--period'|X,A\n0,1\n|TMovingAverageFunction --period
funcdump|2|'Period' is not Name=Value|X,A\n0,1\n|TMovingAverageFunction Period
funcdump|2|unknown property 'Perio'|X,A\n0,1\n|TMovingAverageFunction Perio=2
funcdump|2|Period=abc: 'abc' is not a number|X,A\n0,1\n|TMovingAverageFunction Period=abc
funcdump|2|Period=2x: '2x' is not a number|X,A\n0,1\n|TMovingAverageFunction Period=2x
funcdump|0|\n1,2|X,A\n0,1\n1,3\n|TMovingAverageFunction Period=2
funcdump|1|line 3, column 2 (A): '1abc' is not a number|X,A\n0,1\n1,1abc\n|TMovingAverageFunction
funcdump|1|line 4, column 2 (A): '1e999' is out of|X,A\n0,1\n\n1,1e999\n|TMovingAverageFunction
funcdump|1|line 2, column 3 (B): missing; the row has 2 cells, the header 3|X,A,B\n0,1\n|TAddLumFunction
funcdump|1|line 2, column 3 (B): empty|X,A,B\n0,1,\n|TAddLumFunction
funcdump|1|line 3, column 3: the row has 3 cells, the header 2|X,A\n0,1\n1,2,3\n|TAddLumFunction
funcdump|1|line 2, column 1 (X): 'nan' is not a number|X,A\nnan,1\n|TAddLumFunction
exportdemo|0|POINTS||--help
exportdemo|2|POINTS 'abc' is not a whole number from 0 to 65534||@T@/never abc
exportdemo|2|POINTS '-1'||@T@/never -1
exportdemo|2|POINTS '1.5'||@T@/never 1.5
exportdemo|2|POINTS '65535'||@T@/never 65535
exportdemo|2|POINTS '0x10'||@T@/never 0x10
exportdemo|2|unexpected argument 'c'||@T@/never 1 c
exportdemo|0|wrote||@T@/made/deep 0
exportdemo|1|cannot make OUTDIR||@T@/whole.gif 3
snapshot|0|symbol buttons||--help
snapshot|2|usage: snapshot||
snapshot|2|unknown option '--bogus'||--bogus out.png
snapshot|2|unexpected argument 'c'||--lists b.png c
snapshot|1|none/x.png". No such file or directory||@T@/none/x.png
gifdump|0|Exit status: 0 read whole, 3 read with warnings, 1 refused||--help
gifdump|0|frame 0 0 0 2 2||whole.gif
gifdump|3|warned.gif: warning: Unknown GIF block type||warned.gif
gifdump|3|cut.gif: warning: Premature end of data||cut.gif
gifdump|3|frames 1\nframe 0 0 0 2 2 interlaced 0 local 0 disposal -1 delay -1 transparent -1\nno image, 1 extensions||cut.gif
gifdump|3|notrailer.gif: warning: the file ends without its trailer||notrailer.gif
gifdump|1|refused.gif: GIFException: Premature end of data||refused.gif
gifdump|3|file cut.gif||whole.gif cut.gif whole.gif
gifdump|1|file warned.gif||whole.gif refused.gif warned.gif
gifdump|0|||--encode rle whole.gif again.gif
gifdump|1|nothere.gif: EFOpenError||--encode lzw nothere.gif again.gif
gifdump|2|unknown encoding 'zip'||--encode zip whole.gif again.gif
gifdump|2|unknown option '--pixel'||--pixel whole.gif
TABLE

# Refused counts write nothing; a good one makes OUTDIR with its parents.
if [[ -n ${tool[exportdemo]:-} ]]; then
  [[ -e $T/never ]] && { echo "FAIL: exportdemo wrote $T/never for a refused POINTS"; fail=1; }
  [[ -s $T/made/deep/data_all.xls ]] || { echo "FAIL: exportdemo did not fill $T/made/deep"; fail=1; }
fi
echo "$rows rows"
[[ $rows -gt 0 ]] || fail=1
exit $fail
