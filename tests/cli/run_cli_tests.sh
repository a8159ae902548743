#!/usr/bin/env bash
# End-to-end checks of the command line: exit statuses, the JSON line,
# usage errors and property failures. Usage: run_cli_tests.sh TESTS_DIR
# with TQLM set to the tqlm-xmlgen binary.
set -u
tests_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # check NAME EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

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
check "init-repository refuses an existing file" "1:ERROR: 58:File already exists" "$status:$err"

mkdir "$work/xml"
range=(--package-from ab --module-from cde --table-from 0 --package-to ab --module-to cde --table-to 999)

run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --log "$work/run.log" "${range[@]}" --json
check "generate exits 0 when the run returns True" 0 "$status"
check "generate --json prints the outcome as its last line" \
  '{"result": true, "XMLSuccess": 3, "XMLWarnings": 4, "XMLErrors": 0, "ErrorDescription": "", "ListOfXMLGenerated": "abcde010,abcde011,abcde012,", "NoOfXMLGenerated": 3}' \
  "$(tail -n 1 <<<"$out")"
check "the document is written" yes "$([[ -f $work/xml/abcde/xabcde0100.XML ]] && echo yes)"
check "the log file holds the summary" yes "$(grep -q 'TOTAL          =  7' "$work/run.log" && echo yes)"

run generate --repository "$repo" --profile 12 --xml-path "$work/xml" --json
check "generate exits 1 when the run returns False" 1 "$status"
check "a False run reports its error description" \
  '{"result": false, "XMLSuccess": 0, "XMLWarnings": 0, "XMLErrors": 0, "ErrorDescription": " 111-Migration Profile No. 12 not available.", "ListOfXMLGenerated": "", "NoOfXMLGenerated": 0}' \
  "$(tail -n 1 <<<"$out")"
check "without --log the log goes to standard output" " 111-Migration Profile No. 12 not available."$'\r' \
  "$(head -n 1 <<<"$out")"

run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --list "abcde010,abcde011" --option 4 --no-traverse --clear
check "a listed run without --json prints the counters" 0 "$status"
check "the human summary names the counters" yes "$(grep -q 'XMLSuccess: 2  XMLWarnings: 0  XMLErrors: 0' <<<"$out" && echo yes)"

run generate --repository "$repo" --profile 40000 --xml-path "$work/xml"
check "a profile outside the Integer range fails its setter" "1:ERROR: 6:Overflow" "$status:$err"
run generate --repository "$repo" --profile 1 --xml-path "$work/missing/xml" --clear
check "--clear with a missing parent folder fails its setter" "1:ERROR: 76:Path not found" "$status:$err"
check "no generation runs after a failed setter" "" "$out"

run generate --repository "$repo" --profile 1
check "generate without --xml-path is a usage error" 2 "$status"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --bogus
check "an unknown option is a usage error" 2 "$status"
run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --traverse --no-traverse
check "--traverse and --no-traverse exclude each other" 2 "$status"
run call --repository "$repo" AddSplitQueries_to_Precondition SRC "x = 1" abcde010
check "call prints the Boolean result and the output argument" "0:True"$'\n'"x = 1" "$status:$out"
run call --json --repository "$repo" get_split_fields SRC abcde010 xyabc001
check "get_split_fields without split information" '{"result": "", "out": ""}' "$out"
run call --repository "$repo" GetConnStr SRC xyabc001
check "a legacy method on the generator is a usage error" 2 "$status"
run call --legacy --repository "$repo" GetConnStr SRC xyabc001
check "the legacy class is not built yet" 2 "$status"
run call --json --repository "$repo" Replace_Empty_Default_Target SRC TRGAPP "x = target (abflag.on)"
check "call --json prints the output argument" \
  '{"result": true, "out": "x = (abflag.on)| ENUM Constant abflag.on NOT FOUND in the DATA DICTIONARY"}' "$out"
run call --repository "$repo" RowSizeofTable TRGAPP abcde010
check "call prints a method's result" "0:1" "$status:$out"
run call --json --repository "$repo" RowSizeofTable TRGAPP abcde010
check "call --json prints the result as JSON" '{"result": 1}' "$out"
run call --repository "$repo" RowSizeofTable TRGAPP
check "a method called with too few arguments is a usage error" 2 "$status"
run call --repository "$work/missing.db" RowSizeofTable TRGAPP abcde010
check "an error raised by a method is reported" 1 "$status"
run call --repository "$repo" NoSuchMethod
check "an unknown method is a usage error" 2 "$status"
run frobnicate
check "an unknown command is a usage error" 2 "$status"
run help
check "help exits 0" 0 "$status"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
