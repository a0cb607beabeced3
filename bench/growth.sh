#!/usr/bin/env bash
# The exports and imports at 10,000, 100,000 and 1,000,000 transactions in one table, each
# figure with its ratio to the 100,000 one, so that growth that is not linear shows at once.
# (Open, peak memory, one change saved and Save as, in date and random order, are in
# DataFileBench's own table.)
#   bench/growth.sh BENCH_FOLDER [--quick]     --quick leaves out 1,000,000
set -euo pipefail
bin=${1:?usage: bench/growth.sh BENCH_FOLDER [--quick]}
sizes="10000 100000 1000000"
[ "${2:-}" = "--quick" ] && sizes="10000 100000"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for n in $sizes; do
  for name in ExportBench ImportBench WorkbookBench; do
    [ -x "$bin/$name" ] || continue
    echo "== $name --transactions $n" >&2
    case $name in
      ExportBench) args=(--repeat 3 --file "$out/export.xml") ;;
      ImportBench) args=(--document "$out/import-$n.xml") ;;
      WorkbookBench) args=(--file "$out/book.xlsx") ;;
    esac
    "$bin/$name" --transactions "$n" "${args[@]}" >"$out/$name-$n.txt" 2>&1 ||
      echo "$name failed" >>"$out/$name-$n.txt"
  done
done

/usr/bin/python3 - "$out" $sizes <<'PY'
import re, sys
out, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
# measure: (program, pattern whose first group is the figure, unit); times are CPU, which a
# busy machine disturbs less than the wall clock
measures = [
    ('XML export, CPU', 'ExportBench', r'in ([\d.]+) ms CPU', 'ms'),
    ('XML export, growth', 'ExportBench', r'grows by ([\d.]+) MB', 'MB'),
    ('XML import, read, CPU', 'ImportBench', r'read phase\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('XML import, save, CPU', 'ImportBench', r'save phase\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('XML import, peak growth', 'ImportBench', r'peak growth during the import\s+([\d.]+) MB', 'MB'),
    ('workbook export, CPU', 'WorkbookBench', r'export \(document and workbook\)\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('workbook export, growth', 'WorkbookBench', r'peak growth during the export\s+([\d.]+) MB', 'MB'),
    ('workbook import, CPU', 'WorkbookBench', r'import \(workbook and read phase\)\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
]
def figure(program, size, pattern):
    try:
        text = open(f'{out}/{program}-{size}.txt', encoding='utf-8', errors='replace').read()
    except OSError:
        return None
    m = re.search(pattern, text)
    return float(m.group(1)) if m else None
print(f"\n{'measure':<26}" + ''.join(f'{s:>14,}' for s in sizes) + '   ratio to 100,000')
for label, program, pattern, unit in measures:
    values = [figure(program, s, pattern) for s in sizes]
    base = values[sizes.index(100000)] if 100000 in sizes else None
    cells = ''.join(f"{(f'{v:.1f} {unit}' if v is not None else '-'):>14}" for v in values)
    ratios = ' '.join('-' if v is None or not base else f'{v / base:.2f}x' for v in values)
    print(f'{label:<26}{cells}   {ratios}')
PY
