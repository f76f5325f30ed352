#!/bin/sh
# Hundreds of rows of varying length, so that pages fill up at every
# possible gap: both readers still see every row, in order.
#   many-rows.sh WRITER NODE CHECK-SCRIPT WORKDIR
set -eu
writer=$1 node=$2 check=$3 work=$4
rm -rf "$work" && mkdir -p "$work"
awk 'BEGIN {
    print "m,p,s,e,k,da,ds,ma,dk,ea,sa,k1,k3,pa,z,df,dd,t1,t2,de,n1,n2,sources"
    for (i = 1; i <= 700; i++) {
        m = "M" i; for (j = 0; j < i % 47; j++) m = m "x"
        line = m
        for (c = 1; c <= 21; c++) line = line "," ((i + c) % 5 == 0 ? "" : i + c / 8)
        print line ",s" i
    }
}' > "$work/many.csv"
"$writer" "$work/many.csv" "$work/many.mdb"
"$node" "$check" mdbtools "$work/many.mdb" "$work/many.csv"
"$node" "$check" mdb-reader "$work/many.mdb" "$work/many.csv"
