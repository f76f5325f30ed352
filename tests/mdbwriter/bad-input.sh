#!/bin/sh
# The writer makes a field of every CSV column but `sources`, and refuses
# damaged input with the line at fault, leaving no output file behind.
#   bad-input.sh WRITER WORKDIR
set -eu
writer=$1 work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work"
fails=0
header=m,p,s,e,k,da,ds,ma,dk,ea,sa,k1,k3,pa,z,df,dd,t1,t2,de,n1,n2,sources
row3='M3,0.5,5.5,6.4,2,3.6,3,,5.3,6.4,5.5,2.4,1.8,,9,3,3.4,3,5,2.5,4,6,"a, ""b"""'
row4='M4,0.7,7,8.1,2.8,4.7,4,,6.8,8.1,7,3.2,2.4,,11,4,4.5,4,6,3.3,6,8,x'

# The sources column first instead of last, CRLF line ends, a byte order
# mark, other sources: same bytes.
printf '%s\n%s\n%s\n' "$header" "$row3" "$row4" > plain.csv
printf '\357\273\277' > moved.csv
printf '%s\r\n' "sources,${header%,sources}" "x,${row3%,\"*}" "y,${row4%,x}" >> moved.csv
"$writer" plain.csv plain.mdb
"$writer" moved.csv moved.mdb
if ! cmp -s plain.mdb moved.mdb; then
    echo "FAIL: the sources column, line ends or a byte order mark change the output" >&2
    fails=1
fi
# One more column is one more field.
printf '%s\n%s\n' "$header,extra" "$row3,1" > extra.csv
"$writer" extra.csv extra.mdb
if cmp -s plain.mdb extra.mdb; then
    echo "FAIL: a further column was left out" >&2
    fails=1
fi

# name | expected line in the message | file contents
refuse() {
    name=$1 line=$2
    shift 2
    printf '%s\n' "$@" > "$name.csv"
    if "$writer" "$name.csv" "$name.mdb" 2> "$name.err"; then
        echo "FAIL: $name: accepted" >&2
        fails=1
    elif ! grep -q "^vorlane-mdbwriter: $name.csv:$line: " "$name.err"; then
        echo "FAIL: $name: message does not name line $line: $(cat "$name.err")" >&2
        fails=1
    fi
    if [ -e "$name.mdb" ] || [ -e "$name.mdb.part" ]; then
        echo "FAIL: $name: left an output file" >&2
        fails=1
    fi
}
refuse noSizeField 1 "$(echo "$header" | sed 's/^m,//')" "$(echo "$row3" | sed 's/^M3,//')"
refuse notAFieldName 1 "$(echo "$header" | sed 's/,ds,/,d s,/')" "$row3"
refuse duplicateField 1 "$header,p" "$row3,1"
refuse notANumber 3 "$header" "$row3" "$(echo "$row4" | sed 's/,8.1,/,8.1x,/')"
refuse commaDecimal 2 "$header" "$(echo "$row3" | sed 's/,0.5,/,"0,5",/')"
refuse tooFewFields 3 "$header" "$row3" "M4,0.7"
refuse emptySize 2 "$header" "$(echo "$row3" | sed 's/^M3//')"
refuse unclosedQuote 3 "$header" "$row3" 'M4,0.7,7,8.1,2.8,4.7,4,,6.8,8.1,7,3.2,2.4,,11,4,4.5,4,6,3.3,6,8,"x'
refuse emptyFile 1 ""

# An existing database is kept when the new one cannot be written.
cp plain.mdb keep.mdb
"$writer" notANumber.csv keep.mdb 2>/dev/null && fails=1
cmp -s plain.mdb keep.mdb || { echo "FAIL: a failed run damaged the existing file" >&2; fails=1; }

exit $fails
