#!/bin/sh
# Same data, same bytes: two fresh runs of the writer, the database the
# build made, and the checksum recorded for the data set in the tree agree.
#   reproducible.sh WRITER DATA.csv BUILT.mdb CHECKSUM-FILE WORKDIR
set -eu
writer=$1 data=$2 built=$3 sums=$4 work=$5
rm -rf "$work" && mkdir -p "$work"
"$writer" "$data" "$work/first.mdb"
"$writer" "$data" "$work/second.mdb"
cmp "$work/first.mdb" "$work/second.mdb"
cmp "$work/first.mdb" "$built"
want=$(cut -d' ' -f1 "$sums")
got=$(sha256sum "$work/first.mdb" | cut -d' ' -f1)
if [ "$got" != "$want" ]; then
    echo "sha256 $got differs from $sums ($want)." >&2
    echo "If the data set or the file layout changed on purpose, record the new sum there." >&2
    exit 1
fi
