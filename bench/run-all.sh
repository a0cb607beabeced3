#!/usr/bin/env bash
# Builds the release configuration, generates the 100,000- and 1,000,000-transaction files and
# runs every benchmark, then prints one table of figures against their targets and, per
# order of entry, one of the large-book figures at each size (bench/growth.sh).
#   bench/run-all.sh [--quick]     --quick skips the 1,000,000-transaction file
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
[ "${1:-}" = "--quick" ] && quick=1

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
build=build-release
log=$(mktemp)
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENDRAL_TESTS=OFF &&
       ninja -C "$build"; } >"$log" 2>&1; then
  grep -E -B2 -A8 'error|FAILED' "$log" | tail -40
  echo "run-all: the release build failed (whole log: $log)" >&2
  exit 1
fi
rm -f "$log"

out=$(mktemp -d)
data=$(mktemp -d)
trap 'rm -rf "$out" "$data"' EXIT
bin="$build/bench"

run() {  # run NAME ARGS...: its output is kept for the table and shown as it comes
  local name=$1; shift
  [ -x "$bin/$name" ] || { echo "($name not built)"; return; }
  echo "== $name $*"
  "$bin/$name" "$@" 2>&1 | tee "$out/$name.txt" || echo "$name failed" | tee -a "$out/$name.txt"
}
gbench() {  # Google Benchmark programs: JSON for the table
  local name=$1; shift
  [ -x "$bin/$name" ] || { echo "($name not built)"; return; }
  echo "== $name"
  QT_QPA_PLATFORM=offscreen "$bin/$name" --benchmark_format=json --benchmark_out="$out/$name.json" \
    --benchmark_out_format=json "$@" >/dev/null 2>&1 || echo "$name failed"
}

if [ $quick -eq 1 ]; then run DataFileBench --folder "$data"; else run DataFileBench --million --folder "$data"; fi
run RulesBench
run ExportBench
run ImportBench
run StatementImportBench
run WorkbookBench
run AnalysisBench
[ -x "$bin/StartupBench" ] && run StartupBench
gbench XmlParseBench
gbench ReportListBench
gbench TransactionDialogBench
gbench TransactionsPageBench
gbench CurrencyPageBench
gbench AccountsPageBench
gbench ReportPagesBench
gbench ExchangeWizardBench
gbench DownloadWizardBench
gbench FormatBench

/usr/bin/python3 - "$out" <<'PY'
import json, os, re, sys
out = sys.argv[1]
rows = []
# Timed programs print one line per measure with its target ("target N" or "< N") and a verdict.
for name in sorted(os.listdir(out)):
    path = os.path.join(out, name)
    if name.endswith('.txt'):
        for line in open(path, encoding='utf-8', errors='replace'):
            if re.search(r'target| < ', line) and re.search(r'\b(ok|MISSED|SLOW)\b', line):
                verdict = re.search(r'\b(ok|MISSED|SLOW)\b', line).group(1)
                rows.append((name[:-4], ' '.join(line.split()), verdict))
# Google Benchmark programs: targets kept here.
targets = {
    'XmlParseBench': ('bytes_per_second', lambda v: v >= 150e6, lambda v: f'{v/1e6:.0f} MB/s', '>= 150 MB/s'),
    'ReportListBench': ('real_time', lambda v: v < 50, lambda v: f'{v:.1f} ms', '< 50 ms'),
    'TransactionDialogBench': ('real_time', lambda v: v < 50, lambda v: f'{v:.1f} ms', '< 50 ms'),
    'TransactionsPageBench/ChooseThePage': ('real_time', lambda v: v < 300, lambda v: f'{v:.1f} ms', '< 300 ms'),
    'TransactionsPageBench/ChangeThePeriod': ('real_time', lambda v: v < 200, lambda v: f'{v:.1f} ms', '< 200 ms'),
    'CurrencyPageBench': ('real_time', lambda v: v < 100, lambda v: f'{v:.1f} ms', '< 100 ms'),
    'TransactionsPageBench/AddAnExpense': ('real_time', lambda v: v < 50, lambda v: f'{v:.1f} ms', '< 50 ms'),
    'AccountsPageBench/RefreshAfterAChange': ('real_time', lambda v: v < 100, lambda v: f'{v:.1f} ms', '< 100 ms'),
    'AccountsPageBench/DeleteAnAccount': ('real_time', lambda v: v < 200, lambda v: f'{v:.1f} ms', '< 200 ms'),
    'ReportPagesBench/TurnoverOfTenYears': ('real_time', lambda v: v < 300, lambda v: f'{v:.1f} ms', '< 300 ms'),
    'ReportPagesBench/DynamicsOfFourSeriesByMonth': ('real_time', lambda v: v < 300, lambda v: f'{v:.1f} ms', '< 300 ms'),
    'ReportPagesBench/BalancesOfFiftyAccounts': ('real_time', lambda v: v < 300, lambda v: f'{v:.1f} ms', '< 300 ms'),
    'ReportPagesBench/BudgetOfFiftyArticles': ('real_time', lambda v: v < 200, lambda v: f'{v:.1f} ms', '< 200 ms'),
    'FormatBench': ('real_time', None, lambda v: f'{v:.1f} ms per million', ''),
    'ExchangeWizardBench/ExportToXml': ('real_time', lambda v: v < 1000, lambda v: f'{v:.0f} ms', '< 1000 ms'),
    'ExchangeWizardBench/ExportToWorkbook': ('real_time', lambda v: v < 3000, lambda v: f'{v:.0f} ms', '< 3000 ms'),
    'ExchangeWizardBench/ImportXml': ('real_time', lambda v: v < 4000, lambda v: f'{v:.0f} ms', '< 4000 ms'),
    'ExchangeWizardBench/ImportWorkbook': ('real_time', lambda v: v < 4000, lambda v: f'{v:.0f} ms', '< 4000 ms'),
    'DownloadWizardBench/FillTheChoiceOf200Currencies': ('real_time', lambda v: v < 50, lambda v: f'{v:.1f} ms', '< 50 ms'),
    'DownloadWizardBench/DownloadAThousandResources': ('real_time', None, lambda v: f'{v:.0f} ms', ''),
}
for name in sorted(os.listdir(out)):
    if not name.endswith('.json'):
        continue
    program = name[:-5]
    for b in json.load(open(os.path.join(out, name))).get('benchmarks', []):
        # A target of one benchmark ("Program/Name", without the iteration suffix) beats the program's.
        bench = b['name'].split('/')[0]
        key, check, show, target = targets.get(f'{program}/{bench}', targets.get(
            program, ('real_time', None, lambda v: f'{v:.2f}', '')))
        if key not in b:
            continue
        value = b[key]
        verdict = '' if check is None else ('ok' if check(value) else 'MISSED')
        rows.append((program, f"{b['name']}: {show(value)} {('target ' + target) if target else ''}", verdict))
        # A window that must keep painting while it works says how long it went without.
        if 'frame_gap_ms' in b:
            gap = b['frame_gap_ms']
            rows.append((program, f"{b['name']}: longest turn of the event loop {gap:.0f} ms target <= 50 ms",
                         'ok' if gap <= 50 else 'MISSED'))
        if 'paint_gap_ms' in b:
            gap = b['paint_gap_ms']
            rows.append((program, f"{b['name']}: longest wait between repaints {gap:.0f} ms target <= 100 ms",
                         'ok' if gap <= 100 else 'MISSED'))
print()
print(f"{'program':<16} {'verdict':<7} measure")
for program, text, verdict in rows:
    print(f"{program:<16} {verdict:<7} {text}")
missed = sum(1 for r in rows if r[2] in ('MISSED', 'SLOW'))
print(f"\n{len(rows)} figures, {missed} target(s) missed")
PY

# The same figures at every size, with their growth from 100,000; DataFileBench has already run.
growth=(--data-files "$out/DataFileBench.txt")
[ $quick -eq 1 ] && growth+=(--quick)
bench/growth.sh "$bin" "${growth[@]}"
