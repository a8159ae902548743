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
check "a True run exits 0 and prints the outcome as JSON last" \
  '0:{"result": true, "XMLSuccess": 3, "XMLWarnings": 4, "XMLErrors": 0, "ErrorDescription": "", "ListOfXMLGenerated": "abcde010,abcde011,abcde012,", "NoOfXMLGenerated": 3}' \
  "$status:$(tail -n 1 <<<"$out")"
check "the document and the log file are written" yes \
  "$([[ -f $work/xml/abcde/xabcde0100.XML ]] && grep -q 'TOTAL          =  7' "$work/run.log" && echo yes)"

run generate --repository "$repo" --profile 12 --xml-path "$work/xml" --json
check "a False run exits 1 and reports its error description" \
  '1:{"result": false, "XMLSuccess": 0, "XMLWarnings": 0, "XMLErrors": 0, "ErrorDescription": " 111-Migration Profile No. 12 not available.", "ListOfXMLGenerated": "", "NoOfXMLGenerated": 0}' \
  "$status:$(tail -n 1 <<<"$out")"
check "without --log the log goes to standard output" " 111-Migration Profile No. 12 not available."$'\r' \
  "$(head -n 1 <<<"$out")"

run generate --repository "$repo" --profile 1 --xml-path "$work/xml" --list "abcde010,abcde011" --option 4 --no-traverse --clear
check "without --json a run prints the counters" "0:yes" \
  "$status:$(grep -q 'XMLSuccess: 2  XMLWarnings: 0  XMLErrors: 0' <<<"$out" && echo yes)"

run generate --repository "$repo" --profile 40000 --xml-path "$work/xml"
check "a profile outside the Integer range fails its setter" "1:ERROR: 6:Overflow" "$status:$err"
run generate --repository "$repo" --profile 1 --xml-path "$work/missing/xml" --clear
check "--clear with a missing parent folder fails its setter, and nothing runs" "1:ERROR: 76:Path not found:" \
  "$status:$err:$out"

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
check "an error raised by a method is reported" 1 "$status"

# The legacy class: Schema.ini beside the documents without --schema-ini-path,
# the generator's options ignored.
legacy_repo=$work/legacy.db
run init-repository "$legacy_repo" "$tests_dir/fixtures/legacy_profiles.sql"
mkdir "$work/legacy"
run generate --legacy --repository "$legacy_repo" --profile 5 --xml-path "$work/legacy" --list abcus010 \
  --option 4 --include-2gb-check --json
check "generate --legacy prints the legacy outcome" \
  '0:{"result": true, "XMLSuccess": 1, "XMLWarnings": 0, "XMLErrors": 0, "ErrorDescription": ""}' \
  "$status:$(tail -n 1 <<<"$out")"
check "Schema.ini goes beside the documents" yes "$([[ -f $work/legacy/Schema.ini ]] && echo yes)"
run generate --legacy --repository "$legacy_repo" --profile 3000000000 --xml-path "$work/legacy"
check "a profile outside the Long range fails its setter" "1:ERROR: 6:Overflow" "$status:$err"
run call --legacy --json --repository "$legacy_repo" get_split_fields x abspl200 orders.csv
check "call --legacy get_split_fields answers the stored list" '0:{"result": ""}' "$status:$out"
run call --legacy --repository "$legacy_repo" ConstructSplitInfoFile 40000 "$work/legacy/splitinfo.xml"
check "ConstructSplitInfoFile takes an Integer profile" "1:ERROR: 6:Overflow" "$status:$err"
run call --legacy --repository "$legacy_repo" ConstructSplitInfoFile 5 "$work/legacy/splitinfo.xml"
check "ConstructSplitInfoFile answers True and writes an empty file without split rows" \
  "0:True:0" "$status:$out:$(stat -c %s "$work/legacy/splitinfo.xml")"
run call --legacy --repository "$legacy_repo" GetFromToRange
check "call --legacy GetFromToRange prints the procedures" "0:sub GetFromToRange(StrSrcTable,StrFrom,StrTo)"$'\r' \
  "$status:$(sed -n 2p <<<"$out")"
run call --legacy --repository "$legacy_repo" Replace_Empty_Default_Target LSRC LTRG "x = empty()"$'\n'
check "a legacy rule may not assign empty()" 1 "$status"
run call --legacy --repository "$legacy_repo" GetConnStr LSRC accounts
check "call --legacy GetConnStr answers" \
  "0:<constr> <dsn> acc_dsn</dsn> <logn>acc_user</logn> <pswd>p<w&d</pswd></constr>" "$status:$out"
run help
check "help exits 0" 0 "$status"

# Usage errors exit 2.
usage_errors=(
  "generate --repository $repo --profile 1"  # no --xml-path
  "generate --repository $repo --profile 1 --xml-path $work/xml --bogus"
  "generate --repository $repo --profile 1 --xml-path $work/xml --traverse --no-traverse"
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

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
