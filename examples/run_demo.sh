#!/usr/bin/env bash
# Builds the demo repository and generates both profiles of it.
# Usage: run_demo.sh TQLM_XMLGEN DEMO_SQL OUTPUT_DIR
set -u
tool=$1 sql=$2 out=$3
rm -rf "$out" && mkdir -p "$out" || exit 1
"$tool" init-repository "$out/demo.db" "$sql" || exit 1

# Exit 3 means the run ended but some objects were not written; the demo
# profile holds an expired object on purpose, which counts so.
generate() {
  "$tool" generate "$@"
  local status=$?
  if ((status == 3)); then
    echo "(exit 3: the run ended, and the log names the objects that were not written)"
  elif ((status != 0)); then
    exit "$status"
  fi
}

generate --repository "$out/demo.db" --profile 1 --xml-path "$out/xml" --clear --log "$out/generation.log" \
  --package-from aa --module-from aaa --table-from 000 --option 5 --split \
  --package-to zz --module-to zzz --table-to 999
generate --legacy --repository "$out/demo.db" --profile 3 --xml-path "$out/legacy" --clear --log "$out/legacy.log" \
  --list sacus010,saord020,sainv040,sainv041 --split
echo "Logs: $out/generation.log $out/legacy.log"
