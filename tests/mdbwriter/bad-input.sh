#!/bin/sh
# The writer maps CSV fields by name, leaves other columns out, and refuses
# damaged input with the line at fault, leaving no output file behind.
#   bad-input.sh WRITER WORKDIR
set -eu
writer=$1 work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work"
fails=0
header=m,p,s,e,k,da,ds,ma,dk,ea,sa,k1,k3,pa,z,df,dd,t1,t2,de,n1,n2,sources
row3='M3,0.5,5.5,6.4,2,3.6,3,,5.3,6.4,5.5,2.4,1.8,,9,3,3.4,3,5,2.5,4,6,"a, ""b"""'
row4='M4,0.7,7,8.1,2.8,4.7,4,,6.8,8.1,7,3.2,2.4,,11,4,4.5,4,6,3.3,6,8,x'

# Columns in another order, one extra column, CRLF line ends: same bytes.
printf '%s\n%s\n%s\n' "$header" "$row3" "$row4" > plain.csv
printf '%s\r\n' 'sources,extra,n2,n1,de,t2,t1,dd,df,z,pa,k3,k1,sa,ea,dk,ma,ds,da,k,e,s,p,m' \
    '"a, ""b""",1,6,4,2.5,5,3,3.4,3,9,,1.8,2.4,5.5,6.4,5.3,,3,3.6,2,6.4,5.5,0.5,M3' \
    'x,2,8,6,3.3,6,4,4.5,4,11,,2.4,3.2,7,8.1,6.8,,4,4.7,2.8,8.1,7,0.7,M4' > shuffled.csv
"$writer" plain.csv plain.mdb
"$writer" shuffled.csv shuffled.mdb
if ! cmp -s plain.mdb shuffled.mdb; then
    echo "FAIL: field order or extra columns change the output" >&2
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
refuse missingField 1 "$(echo "$header" | sed 's/,ds,/,/')" "$row3"
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
