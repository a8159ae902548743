#!/usr/bin/env bash
# A run reads one snapshot whatever another program writes meanwhile: a
# writer commits a new version of one rule of every table every few
# milliseconds while runs of a few thousand documents go on, in SQLite's
# rollback and WAL modes with one and two workers, and (with
# TQLM_TEST_SERVER_DIR set) on the test server. Every run must exit 0 with
# no failed object, every document must carry one version, and the
# repository must stay intact. Usage: run_snapshot_tests.sh SOURCE_DIR [server]
# with TQLM set to the tqlm-xmlgen binary. The loops are bounded in count and
# time; nothing is asserted of how long anything took.
set -u
source_dir=$1
mode=${2:-sqlite}
TQLM=$(cd "$(dirname "$TQLM")" && pwd)/$(basename "$TQLM")
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
writer_pid=
trap '[[ -n $writer_pid ]] && kill "$writer_pid" 2>/dev/null; rm -rf "$work"' EXIT

tables=3000
python3 "$source_dir/tools/large_profile.py" "$tables" "$work/profile.sql"
# The rule that the writer changes: field f0 of every table, first dump.
bump="UPDATE qxmap140 SET mrul = 'xy' || tcmod || tflno || '.f0 + ' || :n WHERE fdnm = 'f0' AND dnum = 1"

if [[ $mode == server ]]; then
  if [[ ! -f ${TQLM_TEST_SERVER_DIR:-}/server ]]; then
    echo "no test server: $(cat "${TQLM_TEST_SERVER_DIR:-}/unavailable" 2>/dev/null)"
    [[ ${TQLM_REQUIRE_SERVER:-} == 1 ]] && exit 1
    exit 77
  fi
  read -r socket port <"$TQLM_TEST_SERVER_DIR/server"
  database=snap$$
  psql -X -q -h "$socket" -p "$port" -U tqlm -d postgres -c "CREATE DATABASE $database" || exit 1
  trap '[[ -n $writer_pid ]] && kill "$writer_pid" 2>/dev/null; rm -rf "$work";
        psql -X -q -h "$socket" -p "$port" -U tqlm -d postgres -c "DROP DATABASE $database" >/dev/null 2>&1' EXIT
  repository="odbc:Driver={PostgreSQL Unicode};Servername=$socket;Port=$port;Database=$database;Username=tqlm"
  "$TQLM" init-repository "$repository" "$work/profile.sql" >/dev/null || exit 1
  variants=("server 1" "server 2")
else
  "$TQLM" init-repository "$work/rollback.db" "$work/profile.sql" >/dev/null || exit 1
  cp "$work/rollback.db" "$work/wal.db"
  python3 -c "import sqlite3, sys; sqlite3.connect(sys.argv[1]).execute('PRAGMA journal_mode=WAL')" "$work/wal.db"
  variants=("rollback 1" "rollback 2" "wal 1" "wal 2")
fi

# The writer: commits version 1, 2, ... until told to stop (or 3,000 commits,
# or 120 s), each commit's number written to FILE when it is done. In
# rollback mode it waits for the run's shared locks, as any writer does.
start_writer() {  # start_writer TARGET FILE
  if [[ $mode == server ]]; then
    (
      for ((n = 1; n <= 3000 && SECONDS < 120; n++)); do
        [[ -f $work/stop ]] && break
        psql -X -q -h "$socket" -p "$port" -U tqlm -d "$database" -c "${bump//:n/$n}" >/dev/null 2>&1 || continue
        echo "$n" >"$2"
      done
    ) &
  else
    python3 - "$1" "$2" "$work/stop" "$bump" <<'EOF' &
import os, sqlite3, sys, time
path, done, stop, bump = sys.argv[1:5]
db = sqlite3.connect(path, timeout=0.05, isolation_level=None)
started = time.monotonic()
n = 1
while n <= 3000 and time.monotonic() - started < 120 and not os.path.exists(stop):
    try:
        db.execute("BEGIN IMMEDIATE")
        db.execute(bump, {"n": n})
        db.execute("COMMIT")
    except sqlite3.OperationalError:  # "database is locked": a run holds it
        if db.in_transaction:
            db.execute("ROLLBACK")
        time.sleep(0.002)
        continue
    with open(done, "w") as f:
        f.write(str(n))
    n += 1
    time.sleep(0.002)
EOF
  fi
  writer_pid=$!
}

for variant in "${variants[@]}"; do
  read -r journal jobs <<<"$variant"
  [[ $mode == server ]] || repository=$work/$journal.db
  rm -f "$work/stop" "$work/committed"
  start_writer "$repository" "$work/committed"
  # The run starts once the writer has committed: every document must then
  # carry a version, and only one.
  for ((i = 0; i < 600; i++)); do
    [[ -s $work/committed ]] && break
    sleep 0.05
  done
  out=$work/$journal-$jobs
  timeout 300 "$TQLM" generate --repository "$repository" --profile 1 --all --xml-path "$out/xml" \
    --log "$out.log" --jobs "$jobs" --quiet >/dev/null 2>"$out.err"
  status=$?
  touch "$work/stop"
  wait "$writer_pid"
  writer_pid=
  versions=$(grep -rhoa 'f0 + [0-9]*' "$out/xml" | sort -u | wc -l)
  documents=$(find "$out/xml" -name '*.XML' | wc -l)
  check "$variant: the run ends with exit 0" 0 "$status"
  check "$variant: no object failed" 0 "$(grep -c 'ERROR:' "$out.log")"
  check "$variant: every document was written" "$tables" "$documents"
  check "$variant: the documents carry one version of the rule" 1 "$versions"
  if [[ $mode != server ]]; then
    check "$variant: the repository is intact" ok \
      "$(python3 -c "import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute('PRAGMA integrity_check').fetchone()[0])" "$repository")"
  fi
  [[ -n ${KEEP:-} ]] || rm -rf "$out"
done

# A WAL repository in a folder the run may not write (and so without its
# -shm file) stays readable.
if [[ $mode != server && $(id -u) == 0 ]]; then
  mkdir -p "$work/ro/xml"
  cp "$work/wal.db" "$work/ro/wal.db"
  rm -f "$work/ro/wal.db-wal" "$work/ro/wal.db-shm"
  chmod 755 "$work" "$work/ro"
  chmod 644 "$work/ro/wal.db"
  chown nobody "$work/ro/xml"
  runuser -u nobody -- "$TQLM" generate --repository "$work/ro/wal.db" --profile 1 --list abm00000 \
    --xml-path "$work/ro/xml" --log "$work/ro/xml/run.log" --quiet >/dev/null 2>&1
  check "a WAL repository in a folder the run may not write is read" "0:1" \
    "$?:$(find "$work/ro/xml" -name '*.XML' | wc -l)"
fi

exit $((failed > 0))
