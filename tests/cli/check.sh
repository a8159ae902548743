# generate --check: what a run would change in its folders, with nothing
# written, deleted or locked there. Sourced by run_cli_tests.sh, whose check,
# run and $work it uses; both classes over the demo repository.

# Every file below a folder with its bytes' sum, mode and time.
snapshot() { (cd "$1" && find . -type f -exec stat -c '%n %a %Y' {} + | sort && find . -type f -exec md5sum {} + | sort); }

check_demo="$work/check-demo.db"
"$TQLM" init-repository "$check_demo" "$tests_dir/../examples/demo.sql" >/dev/null
changed_demo="$work/check-changed.db"
cp "$check_demo" "$changed_demo"
sqlite3_update() {  # one rule of one object changed, as a colleague would
  python3 -c "import sqlite3, sys; c = sqlite3.connect(sys.argv[1]); c.execute(sys.argv[2]); c.commit()" "$@"
}
sqlite3_update "$changed_demo" \
  "UPDATE qxmap140 SET mrul = mrul || '1' WHERE tcpac = 'sa' AND tcmod = 'ord' AND tflno = '020' AND fdnm = 'custno'"

for variant in generator legacy; do
  if [[ $variant == generator ]]; then
    args=(--profile 1 --option 5 --split --all)
    changed_doc=xml/saord/xsaord0200.XML
  else
    args=(--legacy --profile 3 --list sacus010,saord020,sainv040,sainv041 --split)
    changed_doc=xml/saord/xsaord0200
  fi
  folder=$work/check-$variant
  mkdir -p "$folder"
  (cd "$folder" && "$TQLM" generate --repository "$check_demo" "${args[@]}" --xml-path xml --log run.log --quiet \
    >/dev/null)
  before=$(snapshot "$folder/xml")
  in_folder() { (cd "$folder" && "$TQLM" "$@" >"$work/out" 2>"$work/err"); status=$?; out=$(cat "$work/out"); }

  in_folder generate --repository "$check_demo" "${args[@]}" --xml-path xml --check
  check "$variant --check: an unchanged folder exits 0 and lists nothing" "0:" "$status:$out"
  in_folder generate --repository "$changed_demo" "${args[@]}" --xml-path xml --check
  check "$variant --check: one changed rule exits 4 naming its document" "4:changed $changed_doc" "$status:$out"
  rm "$folder/$changed_doc"
  before_deleted=$(snapshot "$folder/xml")
  in_folder generate --repository "$check_demo" "${args[@]}" --xml-path xml --check --json
  check "$variant --check: a deleted document exits 4, named as new in the JSON line" \
    "4:{\"result\": true, \"changed\": [], \"new\": [\"$changed_doc\"], \"gone\": [], \"ErrorDescription\": \"\"}" \
    "$status:$out"
  touch "$folder/xml/saord/x${variant}0"
  in_folder generate --repository "$check_demo" "${args[@]}" --xml-path xml --check --clear
  check "$variant --check --clear: a document the run would not write again is gone" \
    "4:new $changed_doc|gone xml/saord/x${variant}0" "$status:$(tr '\n' '|' <<<"$out" | sed 's/|$//')"
  rm "$folder/xml/saord/x${variant}0"
  check "$variant --check: the folder's files, modes and times are as they were" "$before_deleted" \
    "$(snapshot "$folder/xml")"
  check "$variant --check: no log is written without --log" "no" "$([[ -e $folder/xml/run.log ]] && echo yes || echo no)"
done
