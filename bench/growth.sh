#!/usr/bin/env bash
# The figures of large books at 10,000, 100,000 and 1,000,000 transactions, one table for
# books entered in date order and one for books entered in no order, each figure with its
# ratio to the 100,000 one, so that growth that is not linear shows at once: open, peak
# memory with the file open, one change saved, Save as (DataFileBench), the XML export and
# import, the workbook export and import, and the turnover tree of ten years.
#   bench/growth.sh BENCH_FOLDER [--quick] [--data-files OUTPUT]
#     --quick           leaves out 1,000,000
#     --data-files F    takes open, peak, one change and Save as from DataFileBench's output
#                       in F (run-all.sh has just made it) instead of running it again
set -euo pipefail
usage="usage: bench/growth.sh BENCH_FOLDER [--quick] [--data-files OUTPUT]"
bin=${1:?$usage}
shift
sizes="10000 100000 1000000"
dataFiles=
while [ $# -gt 0 ]; do
  case $1 in
    --quick) sizes="10000 100000" ;;
    --data-files) dataFiles=${2:?$usage}; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
orders="date random"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if [ -n "$dataFiles" ]; then
  cp "$dataFiles" "$out/DataFileBench.txt"
elif [ -x "$bin/DataFileBench" ]; then
  million=()
  [[ " $sizes " = *" 1000000 "* ]] && million=(--million)
  echo "== DataFileBench ${million[*]} --order date --order random" >&2
  "$bin/DataFileBench" "${million[@]}" --order date --order random --folder "$out" >"$out/DataFileBench.txt" 2>&1 ||
    echo "DataFileBench failed" >>"$out/DataFileBench.txt"
fi
for order in $orders; do
  for n in $sizes; do
    for name in ExportBench ImportBench WorkbookBench ReportPagesBench; do
      [ -x "$bin/$name" ] || continue
      echo "== $name --transactions $n --order $order" >&2
      case $name in
        ExportBench) args=(--repeat 3 --file "$out/export.xml") ;;
        ImportBench) args=() ;;
        WorkbookBench) args=(--file "$out/book.xlsx") ;;
        # Only the turnover: the other reports are not timed here.
        ReportPagesBench) args=(--benchmark_filter=TurnoverOfTenYears) ;;
      esac
      QT_QPA_PLATFORM=offscreen "$bin/$name" --transactions "$n" --order "$order" "${args[@]}" \
        >"$out/$name-$order-$n.txt" 2>&1 || echo "$name failed" >>"$out/$name-$order-$n.txt"
    done
  done
done

/usr/bin/python3 - "$out" "$orders" $sizes <<'PY'
import re, sys
out, orders, sizes = sys.argv[1], sys.argv[2].split(), [int(s) for s in sys.argv[3:]]

def read(name):
    try:
        return open(f'{out}/{name}', encoding='utf-8', errors='replace').read()
    except OSError:
        return ''

# DataFileBench prints a section per size, headed "N transactions".
data_files = {}
for m in re.finditer(r'^(\d+) transactions\n(.*?)(?=^\d+ transactions$|^  growth|\Z)', read('DataFileBench.txt'),
                     re.M | re.S):
    data_files[int(m.group(1))] = m.group(2)

def data_file(order, size, pattern):
    return data_files.get(size, ''), pattern.replace('ORDER', f'{order} order')

def program(name):
    return lambda order, size, pattern: (read(f'{name}-{order}-{size}.txt'), pattern)

# (label, where the text is, pattern whose first group is the figure, unit). Times are CPU,
# which a busy machine disturbs less than the wall clock, but for the change saved in place:
# most of it is the flush to the disk.
measures = [
    ('open, CPU', data_file, r'^  open, ORDER\s+[\d.]+ ms wall, ([\d.]+) ms cpu', 'ms'),
    ('peak with the file open', data_file, r'^  peak with the file open, ORDER\s+([\d.]+) MiB', 'MiB'),
    ('one change saved, wall', data_file, r'^  one change saved in place, ORDER\s+([\d.]+) ms wall', 'ms'),
    ('Save as, CPU', data_file, r'^  save as, ORDER\s+[\d.]+ ms wall, ([\d.]+) ms cpu', 'ms'),
    ('XML export, CPU', program('ExportBench'), r'in ([\d.]+) ms CPU', 'ms'),
    ('XML export, growth', program('ExportBench'), r'grows by ([\d.]+) MB', 'MB'),
    ('XML import, read, CPU', program('ImportBench'), r'read phase\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('XML import, save, CPU', program('ImportBench'), r'save phase\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('XML import, peak growth', program('ImportBench'), r'peak growth during the import\s+([\d.]+) MB', 'MB'),
    ('workbook export, CPU', program('WorkbookBench'),
     r'export \(document and workbook\)\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    ('workbook export, growth', program('WorkbookBench'), r'peak growth during the export\s+([\d.]+) MB', 'MB'),
    ('workbook import, CPU', program('WorkbookBench'),
     r'import \(workbook and read phase\)\s+[\d.]+ ms.*?\(CPU ([\d.]+) ms', 'ms'),
    # Google Benchmark's line: name, time, CPU time, iterations.
    ('turnover of ten years, CPU', program('ReportPagesBench'), r'^TurnoverOfTenYears\S*\s+[\d.]+ ms\s+([\d.]+) ms',
     'ms'),
]

def figure(source, order, size, pattern):
    text, pattern = source(order, size, pattern)
    m = re.search(pattern, text, re.M) if text else None
    return float(m.group(1)) if m else None

for order in orders:
    print(f"\n{order + ' order':<28}" + ''.join(f'{s:>14,}' for s in sizes) + '   ratio to 100,000')
    for label, source, pattern, unit in measures:
        values = [figure(source, order, s, pattern) for s in sizes]
        base = values[sizes.index(100000)] if 100000 in sizes else None
        cells = ''.join(f"{(f'{v:.1f} {unit}' if v is not None else '-'):>14}" for v in values)
        ratios = ' '.join('-' if v is None or not base else f'{v / base:.2f}x' for v in values)
        print(f'{label:<28}{cells}   {ratios}')
PY
