#!/usr/bin/env bash
# The command line against the test server: the demo written from a
# PostgreSQL repository is byte for byte the one written from SQLite, and
# server connection strings are handled with care. Usage:
# run_server_cli_tests.sh SOURCE_DIR with TQLM set to the tqlm-xmlgen binary
# and TQLM_TEST_SERVER_DIR to the state folder of test_server.sh. Exits 77
# (skipped) when no server runs, unless TQLM_REQUIRE_SERVER=1.
set -u
source_dir=$1
if [[ ! -f $TQLM_TEST_SERVER_DIR/server ]]; then
  echo "no test server: $(cat "$TQLM_TEST_SERVER_DIR/unavailable" 2>/dev/null)"
  [[ ${TQLM_REQUIRE_SERVER:-} == 1 ]] && exit 1
  exit 77
fi
read -r socket port <"$TQLM_TEST_SERVER_DIR/server"
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

database=cli$$
psql -X -q -h "$socket" -p "$port" -U tqlm -d postgres -c "CREATE DATABASE $database" || exit 1
server="odbc:Driver={PostgreSQL Unicode};Servername=$socket;Port=$port;Database=$database;Username=tqlm;Password=tqlm-pw"

out=$("$TQLM" init-repository "$server" "$source_dir/examples/demo.sql" 2>&1)
check "init-repository loads a server database and hides the password" "0:yes" \
  "$?:$(grep -q 'Password=\*\*\*\*$' <<<"$out" && ! grep -q tqlm-pw <<<"$out" && echo yes)"
out=$("$TQLM" init-repository "$server" 2>&1)
check "init-repository refuses a database that has the schema, naming it without its password" "1:yes" \
  "$?:$([[ $out == 'ERROR: 58:File already exists (odbc:'*'Password=****)' ]] && ! grep -q tqlm-pw <<<"$out" && echo yes)"
"$TQLM" init-repository "$work/demo.db" "$source_dir/examples/demo.sql" >/dev/null

for backend in sqlite server; do
  repository=$work/demo.db
  [[ $backend == server ]] && repository=$server
  "$TQLM" generate --repository "$repository" --profile 1 --xml-path "$work/$backend/xml" \
    --log "$work/$backend/generation.log" --option 5 --split --all --quiet >/dev/null
  "$TQLM" generate --legacy --repository "$repository" --profile 3 --xml-path "$work/$backend/legacy" \
    --log "$work/$backend/legacy.log" --list sacus010,saord020,sainv040,sainv041 --split --quiet >/dev/null
  # The logs without their clock.
  for log in "$work/$backend"/*.log; do
    sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/T/g' "$log" >"$log.t" && rm "$log"
  done
done
check "the demo from PostgreSQL is the demo from SQLite, byte for byte" "" "$(diff -r "$work/sqlite" "$work/server")"
check "the demo wrote documents and side files" yes \
  "$([[ -f $work/server/legacy/Schema.ini && -f $work/server/xml/sacus/xsacus0100.XML ]] && echo yes)"

psql -X -q -h "$socket" -p "$port" -U tqlm -d postgres -c "DROP DATABASE $database"
exit $((failed > 0))
