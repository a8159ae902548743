#!/usr/bin/env bash
# Measures generation over synthetic profiles against the floor (every row
# read once, files of the same sizes written). Usage:
#   run_bench.sh TQLM_XMLGEN BENCH_FLOOR [TABLES...]     (default 500 5000)
set -eu
tool=$1 floor=$2
shift 2
sizes=("$@")
((${#sizes[@]})) || sizes=(500 5000)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[[ -x /usr/bin/time ]] || { echo "run_bench.sh: needs /usr/bin/time (Debian package time)" >&2; exit 2; }
seconds() { /usr/bin/time -f '%e %M' "$@" 2>&1 >/dev/null | tail -n 1; }

printf '%8s %10s %8s %8s %10s %10s %8s %8s\n' tables docs/s MB/s peakMiB stmts/doc sent/doc floor_s ratio
for n in "${sizes[@]}"; do
  python3 "$here/../tools/large_profile.py" "$n" "$work/p$n.sql" >/dev/null
  "$tool" init-repository "$work/p$n.db" "$work/p$n.sql" >/dev/null
  read -r run peak < <(seconds "$tool" generate --repository "$work/p$n.db" --profile 1 --all --clear \
    --xml-path "$work/x$n" --log "$work/l$n" --quiet --stats)
  read -r statements sent < <("$tool" generate --repository "$work/p$n.db" --profile 1 --all --clear \
    --xml-path "$work/x$n" --log "$work/l$n" --quiet --stats 2>&1 >/dev/null |
    sed -n 's/^statements: \([0-9]*\)  sent: \([0-9]*\)$/\1 \2/p')
  read -r base _ < <(seconds "$floor" "$work/p$n.db" "$work/x$n" "$work/f$n")
  mb=$(du -sm "$work/x$n" | cut -f1)
  awk -v n="$n" -v t="$run" -v p="$peak" -v s="$statements" -v q="$sent" -v f="$base" -v mb="$mb" 'BEGIN {
    printf "%8d %10.0f %8.1f %8.1f %10.1f %10.1f %8.2f %8.1f\n", n, n / t, mb / t, p / 1024, s / n, q / n, f, t / (f > 0 ? f : 0.01) }'
  rm -rf "$work/x$n" "$work/f$n"
done
