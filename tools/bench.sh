#!/usr/bin/env bash
# Runs the scan benchmark and prints, per page shape, the scan's time against a plain
# memchr pass over the same bytes (target: at most 2x).
set -eu
build=${1:-build/native}
out=$(mktemp)
"$build/scan_benchmark" --benchmark_min_time=0.5 --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
times = {}
for b in data['benchmarks']:
    name, shape = b['name'].split('/')[0], b.get('label', '')
    times[(name, shape)] = b['real_time']
print('%-6s %12s %12s %12s %8s' % ('shape', 'memchr ms', 'scan ms', 'decode+scan', 'ratio'))
worst = 0
for shape in ('dense', 'prose', 'html'):
    m, s, d = (times[(n, shape)] for n in ('BM_MemchrDots', 'BM_Scan', 'BM_DecodeAndScan'))
    worst = max(worst, s / m)
    print('%-6s %12.2f %12.2f %12.2f %7.2fx' % (shape, m, s, d, s / m))
print('worst ratio %.2fx (target <= 2x): %s' % (worst, 'met' if worst <= 2 else 'NOT met'))
PY
rm -f "$out"
