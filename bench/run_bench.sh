#!/usr/bin/env bash
# Measures generation over synthetic profiles against the floor (its own
# previous files deleted as the run's --clear does, every row read once,
# files of the same sizes written). Each figure is the median of RUNS runs
# (default 3), the run and the floor taken in turn; runs with one
# worker and with JOBS workers (default: the number of cores). With
# POSTGRESQL=1 each profile is also loaded into a throw-away PostgreSQL
# cluster on 127.0.0.1 and generated from there (the last column; the
# documents must equal those from SQLite). The documents and the floor's
# files go to a temporary folder, or under OUTPUT when it is set (a tmpfs,
# say, to leave the file system's own costs out). Usage:
#   run_bench.sh TQLM_XMLGEN BENCH_FLOOR [TABLES...]     (default 500 5000)
set -euo pipefail
tool=$1 floor=$2
shift 2
sizes=("$@")
((${#sizes[@]})) || sizes=(500 5000)
for n in "${sizes[@]}"; do
  # The synthetic profile numbers modules m00 to m99 of 1,000 tables each.
  [[ $n =~ ^[1-9][0-9]*$ ]] && ((n <= 100000)) || { echo "run_bench.sh: sizes from 1 to 100000 ($n)" >&2; exit 2; }
done
runs=${RUNS:-3}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
out=$work
[[ -z ${OUTPUT:-} ]] || out=$(mktemp -d -p "$OUTPUT")
trap 'rm -rf "$work" "$out"' EXIT
if [[ ${POSTGRESQL:-} == 1 ]]; then
  server="$here/../tests/support/test_server.sh"
  trap 'bash "$server" stop "$work/server"; rm -rf "$work" "$out"' EXIT
  bash "$server" start "$work/server" --tcp $((20000 + $$ % 20000))
  [[ -f $work/server/server ]] || { echo "run_bench.sh: no PostgreSQL cluster" >&2; exit 1; }
  read -r socket port <"$work/server/server"
fi
[[ -x /usr/bin/time ]] || { echo "run_bench.sh: needs /usr/bin/time (Debian package time)" >&2; exit 2; }
# Prints "seconds peakKiB" of a command that must succeed: the seconds from
# the shell's microsecond clock (time's own are in hundredths, too coarse
# for runs of a twentieth of a second).
measure() {
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" ||
    { echo "run_bench.sh: failed: $*" >&2; cat "$work/stderr" >&2; exit 1; }
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" -v m="$(tail -n 1 "$work/time")" 'BEGIN { printf "%.4f %s\n", e - s, m }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

jobs=${JOBS:-$(nproc)}
printf '%8s %10s %8s %8s %10s %10s %10s %8s %8s %10s %8s' tables docs/s MB/s peakMiB stmts/doc sent/doc prep/doc \
  floor_s ratio "docs/s_j$jobs" "ratio_j$jobs"
if [[ -n ${port:-} ]]; then printf ' %10s %10s' pg_docs/s "pg_j$jobs"; fi
printf '\n'
for n in "${sizes[@]}"; do
  python3 "$here/../tools/large_profile.py" "$n" "$work/p$n.sql" >/dev/null
  "$tool" init-repository "$work/p$n.db" "$work/p$n.sql" >/dev/null
  rm -f "$work/p$n.sql"
  # A generator run stops at its 32,768th document (its counters are
  # Integers): larger profiles run as consecutive runs of 30 modules
  # (30,000 tables) each, into the same folder.
  {
    echo 'set -e'
    for ((m = 0; m * 1000 < n; m += 30)); do
      printf '%q ' "$tool" generate --repository "$work/p$n.db" --profile 1 --xml-path "$out/x$n" \
        --log "$work/l$n.$m" --quiet --package-from ab --package-to ab --table-from 000 --table-to 999 \
        --module-from "$(printf 'm%02d' "$m")" --module-to "$(printf 'm%02d' $((m + 29)))"
      ((m)) || printf -- '--clear'
      printf ' "$@"\n'
    done
  } >"$work/generate.sh"
  generate=(bash "$work/generate.sh")
  read -r statements sent prepared < <("${generate[@]}" --stats --jobs 1 2>&1 >/dev/null |
    sed -n 's/^statements: \([0-9]*\)  sent: \([0-9]*\)  prepared: \([0-9]*\)$/\1 \2 \3/p' |
    awk '{ s += $1; q += $2; c += $3 } END { print s, q, c }')
  ((statements > 0)) || { echo "run_bench.sh: generate --stats printed no count" >&2; exit 1; }
  : >"$work/runs" && : >"$work/floors" && : >"$work/jruns"
  for ((i = 0; i < runs; i++)); do
    measure "${generate[@]}" --jobs 1 >>"$work/runs"
    measure "${generate[@]}" --jobs "$jobs" >>"$work/jruns"
    # The floor deletes its files of the previous turn itself, as the run's
    # --clear deletes the documents.
    measure "$floor" "$work/p$n.db" "$out/x$n" "$out/f$n" >>"$work/floors"
  done
  run=$(cut -d' ' -f1 "$work/runs" | median)
  jrun=$(cut -d' ' -f1 "$work/jruns" | median)
  peak=$(cut -d' ' -f2 "$work/runs" | median)
  base=$(cut -d' ' -f1 "$work/floors" | median)
  documents=$(find "$out/x$n" -type f -name '*.XML' | wc -l)
  ((documents == n)) || { echo "run_bench.sh: $documents documents for $n tables" >&2; exit 1; }
  mb=$(find "$out/x$n" -type f -printf '%s\n' | awk '{ b += $1 } END { print b / 1e6 }')
  awk -v n="$n" -v t="$run" -v j="$jrun" -v p="$peak" -v s="$statements" -v q="$sent" -v c="$prepared" -v f="$base" \
    -v mb="$mb" 'BEGIN {
    printf "%8d %10.0f %8.1f %8.1f %10.1f %10.1f %10.2f %8.2f %8.1f %10.0f %8.1f", n, n / t, mb / t, p / 1024, s / n, q / n,
      c / n, f, t / (f > 0 ? f : 0.01), n / j, j / (f > 0 ? f : 0.01) }'
  if [[ -n ${port:-} ]]; then
    psql -X -q -h "$socket" -p "$port" -U tqlm -d postgres -c "CREATE DATABASE p$n" </dev/null
    odbc="odbc:Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=p$n;Uid=tqlm;Pwd=tqlm-pw"
    python3 "$here/../tools/large_profile.py" "$n" "$work/p$n.sql" >/dev/null
    "$tool" init-repository "$odbc" "$work/p$n.sql" >/dev/null
    rm -f "$work/p$n.sql"
    sed "s|$work/p$n.db|'$odbc'|g; s|$out/x$n|$out/y$n|g" "$work/generate.sh" >"$work/generate-pg.sh"
    : >"$work/pgruns" && : >"$work/pgjruns"
    for ((i = 0; i < runs; i++)); do
      measure bash "$work/generate-pg.sh" --jobs 1 >>"$work/pgruns"
      measure bash "$work/generate-pg.sh" --jobs "$jobs" >>"$work/pgjruns"
    done
    diff -rq "$out/x$n" "$out/y$n" >/dev/null || { echo "run_bench.sh: PostgreSQL documents differ" >&2; exit 1; }
    awk -v n="$n" -v t="$(cut -d' ' -f1 "$work/pgruns" | median)" -v j="$(cut -d' ' -f1 "$work/pgjruns" | median)" \
      'BEGIN { printf " %10.0f %10.0f", n / t, n / j }'
    rm -rf "$out/y$n"
  fi
  echo
  rm -rf "$out/x$n" "$out/f$n" "$work/l$n".* "$work/p$n.db"
done
