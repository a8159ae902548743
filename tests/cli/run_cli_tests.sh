#!/usr/bin/env bash
# End-to-end checks of the command line: exit statuses, the JSON line,
# usage errors and property failures. Usage: run_cli_tests.sh TESTS_DIR
# with TQLM set to the tqlm-xmlgen binary.
set -u
tests_dir=$1
TQLM=$(cd "$(dirname "$TQLM")" && pwd)/$(basename "$TQLM")
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

run() {  # run ARGS... ; sets status, out, err
  "$TQLM" "$@" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

repo=$work/repo.db
run init-repository "$repo" "$tests_dir/fixtures/run_profiles.sql"
check "init-repository exits 0" 0 "$status"
run init-repository "$repo"
check "init-repository refuses an existing file, naming it" "1:ERROR: 58:File already exists ($repo)" "$status:$err"
printf 'INSERT INTO qxlgy115 VALUES (1, 2, 3);\n-- a comment\nINSERT INTO\n  nosuch VALUES (1);\n' >"$work/bad.sql"
run init-repository "$work/bad.db" "$work/bad.sql"
check "a failing init statement names its script and line, and leaves no file" \
  "1:ERROR: -2147217900:$work/bad.sql line 3: no such table: nosuch:no" "$status:$err:$([[ -e $work/bad.db ]] && echo yes || echo no)"
printf 'INSERT INTO qxlgy115 VALUES (1, 2, 3);\n\nINSRT INTO qxlgy115 VALUES (1);\n' >"$work/bad.sql"
run init-repository "$work/bad.db" "$work/bad.sql"
check "a syntax error names the line it is on" '1:ERROR: -2147217900:'"$work"'/bad.sql line 3: near "INSRT": syntax error' \
  "$status:$err"

mkdir "$work/xml"
range=(--package-from ab --module-from cde --table-from 0 --package-to ab --module-to cde --table-to 999)
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --log "$work/run.log" "${range[@]}" --json
check "a True run exits 0 and prints the outcome as JSON last" \
  '0:{"result": true, "XMLSuccess": 3, "XMLWarnings": 4, "XMLErrors": 0, "ErrorDescription": "", "ListOfXMLGenerated": "abcde010,abcde011,abcde012,", "NoOfXMLGenerated": 3, "written": ["abcde010", "abcde011", "abcde012"]}' \
  "$status:$(tail -n 1 <<<"$out")"
check "the document and the log file are written" yes \
  "$([[ -f $work/xml/abcde/xabcde0100.XML ]] && grep -q 'TOTAL          =  7' "$work/run.log" && echo yes)"

run generate --repository "$repo" --profile 12 --xml-path "$work/xml" --all --json
check "a False run exits 1 and reports its error description" \
  '1:{"result": false, "XMLSuccess": 0, "XMLWarnings": 0, "XMLErrors": 0, "ErrorDescription": " 111-Migration Profile No. 12 not available.", "ListOfXMLGenerated": "", "NoOfXMLGenerated": 0, "written": []}' \
  "$status:$(tail -n 1 <<<"$out")"
check "with the log on standard output the failed run's ERROR line goes to standard error too" \
  "ERROR: 111-Migration Profile No. 12 not available." "$err"
check "without --log the log goes to standard output" " 111-Migration Profile No. 12 not available."$'\r' \
  "$(head -n 1 <<<"$out")"

run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --list "abcde010,abcde011" --option 4 --no-traverse --clear
check "without --json a run prints the counters" "0:yes" \
  "$status:$(grep -q 'XMLSuccess: 2  XMLWarnings: 0  XMLErrors: 0' <<<"$out" && echo yes)"

run generate --repository "$repo" --profile 40000 --xml-path "$work/xml" --all
check "a profile outside the Integer range fails its setter, named" "1:ERROR: 6:Overflow (--profile 40000)" "$status:$err"
run generate --repository "$work/nosuch.db" --profile 1 --xml-path "$work/never" --all
check "a missing repository file is named, and no folder is made" "2:yes:no" \
  "$status:$(grep -q -- "--repository: no such file: $work/nosuch.db" <<<"$err" && echo yes):$([[ -e $work/never ]] && echo yes || echo no)"
run generate --repository "$repo" --profile 1 --xml-path "$work/missing/deep/xml" --list abcde010 --quiet
check "the output folder is created with its parents" "0:yes" "$status:$([[ -f $work/missing/deep/xml/abcde/xabcde0100.XML ]] && echo yes)"
run generate --repository "$repo" --profile 12 --xml-path "$work/made/new" --all --quiet
check "a run that fails before writing leaves no folder it made" "1:no" "$status:$([[ -e $work/made ]] && echo yes || echo no)"
run generate --repository "$repo" --profile 1 --xml-path "$repo/sub" --all --quiet
check "an output path through a file names the file" "1:ERROR: 76:Path not found: $repo is not a folder (--xml-path $repo/sub)" \
  "$status:$err"
run generate --repository "$repo" --profile 1 --xml-path "$work/stats" --list abcde010 --quiet --stats
check "--stats counts the statements on standard error, nothing else" "0:yes" \
  "$status:$([[ $err =~ ^statements:\ [1-9][0-9]*\ \ sent:\ [1-9][0-9]*\ \ prepared:\ [1-9][0-9]*\ \ read\ ahead:\ 0$ ]] && echo yes)"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml/"$'\xe6\x97\xa5' --all
check "a path Windows-1252 cannot carry is refused, naming the option" "2:yes" "$status:$(grep -q -- '--xml-path' <<<"$err" && echo yes)"
run generate --repository "$repo" --profile 1 --xml-path "$work/all" --all --json
check "--all selects what the widest bounds select" "$(tail -n 1 <<<"$(
  "$TQLM" generate --repository "$repo" --profile 1 --xml-path "$work/bounds" --json --package-from a --module-from a \
    --table-from 0 --package-to zz --module-to zzz --table-to 999)")" "$(tail -n 1 <<<"$out")"

run call --repository "$repo" AddSplitQueries_to_Precondition SRC "x = 1" abcde010
check "call prints the Boolean result and the output argument" "0:True"$'\n'"x = 1" "$status:$out"
run call --json --repository "$repo" get_split_fields SRC abcde010 xyabc001
check "get_split_fields without split information" '{"result": "", "out": ""}' "$out"
run call --json --repository "$repo" Replace_Empty_Default_Target SRC TRGAPP "x = target (abflag.on)"
check "call --json prints the output argument" \
  '{"result": true, "out": "x = (abflag.on)| ENUM Constant abflag.on NOT FOUND in the DATA DICTIONARY"}' "$out"
run call --repository "$repo" RowSizeofTable TRGAPP abcde010
check "call prints a method's result" "0:1" "$status:$out"
run call --json --repository "$repo" RowSizeofTable TRGAPP abcde010
check "call --json prints the result as JSON" '{"result": 1}' "$out"
run call --repository "$work/missing.db" RowSizeofTable TRGAPP abcde010
check "call on a missing repository file names it" "2:tqlm-xmlgen: --repository: no such file: $work/missing.db" \
  "$status:$(head -n 1 <<<"$err")"

# The legacy class: Schema.ini beside the documents without --schema-ini-path,
# the generator's options ignored.
legacy_repo=$work/legacy.db
run init-repository "$legacy_repo" "$tests_dir/fixtures/legacy_profiles.sql"
mkdir "$work/legacy"
run generate --legacy --repository "$legacy_repo" --profile 5 --xml-path "$work/legacy" --list abcus010 \
  --option 4 --include-2gb-check --json
check "generate --legacy prints the legacy outcome" \
  '0:{"result": true, "XMLSuccess": 1, "XMLWarnings": 0, "XMLErrors": 0, "ErrorDescription": "", "written": ["abcus010"]}' \
  "$status:$(tail -n 1 <<<"$out")"
check "Schema.ini goes beside the documents" yes "$([[ -f $work/legacy/Schema.ini ]] && echo yes)"
run generate --legacy --repository "$legacy_repo" --profile 3000000000 --xml-path "$work/legacy" --all
check "a profile outside the Long range fails its setter" "1:ERROR: 6:Overflow (--profile 3000000000)" "$status:$err"
run call --legacy --json --repository "$legacy_repo" get_split_fields x abspl200 orders.csv
check "call --legacy get_split_fields answers the stored list" '0:{"result": ""}' "$status:$out"
run call --legacy --repository "$legacy_repo" ConstructSplitInfoFile 40000 "$work/legacy/splitinfo.xml"
check "ConstructSplitInfoFile takes an Integer profile" "1:ERROR: 6:Overflow" "$status:$err"
run call --legacy --repository "$legacy_repo" ConstructSplitInfoFile 5 "$work/legacy/splitinfo.xml"
check "ConstructSplitInfoFile answers True and writes an empty file without split rows" \
  "0:True:0" "$status:$out:$(stat -c %s "$work/legacy/splitinfo.xml")"
run call --legacy --repository "$legacy_repo" Replace_Empty_Default_Target LSRC LTRG "x = empty()"$'\n'
check "a legacy rule may not assign empty()" 1 "$status"
for command in "" generate plan call decode init-repository; do
  run $command --help
  check "help of '$command' exits 0 and explains its options" "0:yes" "$status:$(grep -q 'Options:' <<<"$out" && echo yes)"
done
run --version
check "--version names the tool" "0:yes" "$status:$(grep -q '^tqlm-xmlgen [0-9]' <<<"$out" && echo yes)"
run generate --repository="$repo" --profile=1 --xml-path="$work/eq" --list=abcde010 --quiet
check "--name=value is taken as --name value" 0 "$status"
run generate --repository "$repo" --profile 1 --xml-path "$work/none"
check "without a selection the usage error says how to select" "2:yes" "$status:$(grep -q -- '--all' <<<"$err" && echo yes)"

# plan: what a run would do, object by object, and no file written.
files_before=$(find "$work" -type f | sort | md5sum)
run plan --repository "$legacy_repo" --profile 5 --package-from ab --module-from cus --table-from 0 \
  --package-to ab --module-to cus --table-to 99 --legacy --json
check "plan writes nothing" "0:$files_before" "$status:$(find "$work" -type f | sort | md5sum)"
check "plan names each object's outcome" "yes" "$(grep -q '"code": "abcus014", "status": "", "profile": 0, "triple": "", "outcome": "warning: no mappings maintained"' <<<"$out" && echo yes)"

run plan --repository "$repo" --profile 12 --all
check "plan says why the run would fail" "1:yes" "$status:$(grep -q '111-Migration Profile No. 12 not available' <<<"$out" && echo yes)"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --all --traverse --no-traverse
check "a flag and its opposite together are a usage error" "2:yes" \
  "$status:$(grep -q -- "--traverse and --no-traverse exclude each other" <<<"$err" && echo yes)"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --all --option 9
check "an --option outside 0 to 5 is a usage error" "2:yes" "$status:$(grep -q -- "--option: '9'" <<<"$err" && echo yes)"

# Progress: a line on a terminal (a pseudo-terminal here), nothing on a pipe.
if command -v script >/dev/null; then
  script -qec "'$TQLM' generate --repository '$repo' --profile 1 --xml-path '$work/tty' --all --log '$work/tty.log'" \
    /dev/null >"$work/tty.out" 2>&1
  check "a terminal shows the progress line" yes "$(grep -q 'objects' "$work/tty.out" && echo yes)"
fi
run generate --repository "$repo" --profile 1 --xml-path "$work/pipe" --all --log "$work/pipe.log"
check "a pipe gets no progress line" "" "$(grep 'objects' <<<"$err")"

# decode: a legacy document and the conversion codes back to their text.
run decode "$work/legacy/abcus/xabcus0100"
check "decode gives the document's text" "0:<ABCUS010 TYPE = \"M\" TARGETTABLES = \"abcus010\">"$'\r' "$status:$(head -n 1 <<<"$out")"
run decode --utf8 --out "$work/decoded" "$work/legacy"
check "decode --utf8 --out writes UTF-8 files with a declaration" "0:<?xml version=\"1.0\" encoding=\"UTF-8\"?>"$'\r' \
  "$status:$(head -n 1 "$work/decoded/xConversionCodes.xml")"
check "decode round-trips the conversion codes" "$(cat "$work/legacy/xConversionCodes.XML")" "$(tail -n +2 "$work/decoded/xConversionCodes.xml")"

# Usage errors exit 2.
usage_errors=(
  "generate --repository $repo --profile 1"  # no --xml-path
  "generate --repository $repo --profile 1 --xml-path $work/xml --bogus"
  "call --repository $repo GetConnStr SRC xyabc001"  # a legacy method on the generator
  "call --repository $repo RowSizeofTable TRGAPP"  # too few arguments
  "call --repository $repo NoSuchMethod"
  "call --legacy --repository $repo RowSizeofTable TRGAPP abcde010"  # a generator method on the legacy class
  "generate --repository $repo --profile abc --xml-path $work/xml"
  "generate --legacy --repository $repo --profile 1.5 --xml-path $work/xml"
  "call --legacy --repository $repo ConstructSplitInfoFile x $work/legacy/s.xml"
  "frobnicate")
for args in "${usage_errors[@]}"; do
  run $args
  check "usage error: $args" 2 "$status"
done

# Guards: nothing lost, nothing hidden.
run generate --legacy --repository "$legacy_repo" --profile 5 --xml-path "$work/legacy" \
  --package-from ab --module-from cus --table-from 0 --package-to ab --module-to cus --table-to 99
check "a run with failed objects exits 3" 3 "$status"
before=$(md5sum <"$repo")
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --log "$repo"
check "--log naming the repository is refused and the repository kept" "2:$before" "$status:$(md5sum <"$repo")"
printf 'line one\nline two\n' >"$work/notes.txt"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --log "$work/notes.txt"
check "--log naming a file that is no log is refused" "2:line one" "$status:$(head -n 1 "$work/notes.txt")"
run generate --repository "$repo" --profile 1 --xml-path "$work" --clear
check "--clear of the repository's folder is refused and deletes nothing" "2:yes" \
  "$status:$([[ -f $repo && -f $work/notes.txt ]] && echo yes)"
mkdir -p "$work/here/keep"
run_in() { (cd "$1" && shift && "$TQLM" "$@" >"$work/out" 2>"$work/err"); status=$?; }
run_in "$work/here" generate --repository "$repo" --profile 1 --xml-path . --clear
check "--clear of the working folder is refused" "2:yes" "$status:$([[ -d $work/here/keep ]] && echo yes)"
run call --repository "$repo" RowSizeofTable "x' OR 1=1 --" abcde010
# A quote in a method's argument is a value: the application "x' OR 1=1 --"
# has no fields, so the table's row size is 1.
check "a quote in a method's argument is only a value" "0:1" "$status:$out"

# One run per output folder: another holder of the folder makes a run fail
# at once, or wait with --wait; nothing of the holder's is deleted.
mkdir -p "$work/locked/zzold"
echo keep >"$work/locked/zzold/xzzold0010.XML"
flock "$work/locked" sleep 2 &
holder=$!
sleep 0.3
run generate --repository "$repo" --profile 1 --xml-path "$work/locked" --clear "${range[@]}"
check "a second run on a held folder fails at once and deletes nothing" "1:yes" \
  "$status:$([[ -f $work/locked/zzold/xzzold0010.XML ]] && grep -q 'another run' <<<"$err" && echo yes)"
run generate --repository "$repo" --profile 1 --xml-path "$work/locked" --clear --wait "${range[@]}"
check "--wait waits for the holder" "0:yes" "$status:$([[ ! -e $work/locked/zzold ]] && echo yes)"
wait "$holder"

# A killed run leaves no partial file under a final name, and the next run
# removes its temporary files; a full disk gives error 61 and no partial
# file either.
python3 "$tests_dir/../tools/large_profile.py" 300 "$work/large.sql" >/dev/null
"$TQLM" init-repository "$work/large.db" "$work/large.sql" >/dev/null
large=(--repository "$work/large.db" --profile 1 --package-from ab --package-to ab --module-from m00 --module-to m99
       --table-from 000 --table-to 999)
# Documents built by several workers are those of one, and so is the log
# (its clock aside): over the large profile, and over the demo with its
# statuses, M-script and split tables.
"$TQLM" init-repository "$work/demo.db" "$tests_dir/../examples/demo.sql" >/dev/null
without_clock() { sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/T/g' "$1"; }
for jobs in 1 4; do
  "$TQLM" generate "${large[@]}" --xml-path "$work/jobs$jobs/large" --log "$work/jobs$jobs/large.log" --jobs $jobs >/dev/null
  "$TQLM" generate --repository "$work/demo.db" --profile 1 --all --option 5 --split --xml-path "$work/jobs$jobs/demo" \
    --log "$work/jobs$jobs/demo.log" --jobs $jobs >/dev/null
  "$TQLM" generate --legacy --repository "$work/demo.db" --profile 3 --list sacus010,saord020,sainv040,sainv041 --split \
    --xml-path "$work/jobs$jobs/legacy" --log "$work/jobs$jobs/legacy.log" --jobs $jobs >/dev/null
  for log in "$work/jobs$jobs"/*.log; do without_clock "$log" >"$log.t" && rm "$log"; done
done
check "--jobs 4 writes what --jobs 1 writes" "300:" \
  "$(find "$work/jobs4/large" -name '*.XML' | wc -l):$(diff -r "$work/jobs1" "$work/jobs4")"
run generate "${large[@]}" --xml-path "$work/jobs0" --jobs 0
check "--jobs must be at least 1" "2:yes" "$status:$(grep -q -- '--jobs' <<<"$err" && echo yes)"

complete_documents() {  # every .XML file below $1 ends with its closing tag
  local f
  for f in $(find "$1" -name '*.XML'); do
    [[ $(tail -c 1 "$f") == ">" ]] || { echo "partial: $f"; return; }
  done
  echo yes
}
mkdir -p "$work/killed"
"$TQLM" generate "${large[@]}" --xml-path "$work/killed" --log "$work/killed.log" >/dev/null 2>&1 &
victim=$!
sleep 0.3
kill -9 "$victim" 2>/dev/null
wait "$victim" 2>/dev/null
check "a killed run leaves only complete documents" yes "$(complete_documents "$work/killed")"
touch "$work/killed/.~tqlm-$(cat /proc/sys/kernel/pid_max)-1.tmp"  # a process that no longer runs
run generate "${large[@]}" --xml-path "$work/killed" --log "$work/killed.log"
check "the next run removes the temporary files" "0:" "$status:$(find "$work/killed" -name '.~tqlm-*')"
if unshare -m true 2>/dev/null; then
  mkdir -p "$work/full"
  unshare -m bash -c "mount -t tmpfs -o size=96k tmpfs '$work/full' && \
    '$TQLM' generate ${large[*]} --xml-path '$work/full' --log '$work/full.log' >/dev/null 2>&1; \
    echo \$? >'$work/full.status'; echo \"\$(find '$work/full' -name '.~tqlm-*')\" >'$work/full.temps'; \
    for f in \$(find '$work/full' -name '*.XML'); do [[ \$(tail -c 1 \"\$f\") == '>' ]] || echo \"\$f\"; done >'$work/full.partial'"
  check "a full disk fails documents with 61, leaves no partial or temporary file, exits 3" \
    "3::yes:" \
    "$(cat "$work/full.status"):$(cat "$work/full.partial"):$(grep -q 'ERROR: 61:Disk full' "$work/full.log" && echo yes):$(tr -d '\n' <"$work/full.temps")"
fi

# The mistakes a user makes, and what each prints.
source "$tests_dir/cli/mistakes.sh"
source "$tests_dir/cli/check.sh"
source "$tests_dir/cli/files.sh"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
