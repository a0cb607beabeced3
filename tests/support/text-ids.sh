#!/bin/sh
# The named string-table ids live in one header per layer; each id is named once in the
# whole program and lies inside the table (0..790). Argument: the source tree.
cd "$1/src" || exit 2
homes="core/CommonTexts.h database/DatabaseTexts.h analysis/AnalysisTexts.h rates/RatesTexts.h
       exchange/ExchangeTexts.h ui/InterfaceTexts.h"
ids=$(cat $homes | sed 's,//.*,,' | grep -oE '(=|\{|,) *[0-9]+\b' | grep -oE '[0-9]+') || exit 1
twice=$(printf '%s\n' $ids | sort -n | uniq -d)
outside=$(printf '%s\n' $ids | awk '$1 > 790')
[ -z "$twice$outside" ] && exit 0
echo "ids named more than once: $twice; outside the table: $outside"
exit 1
