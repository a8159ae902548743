# The mistakes a user makes on the command line and what each prints.
# Sourced by run_cli_tests.sh, whose check, run, $work, $repo and
# $legacy_repo it uses.

first_line() { head -n 1 <<<"$1"; }

# Unknown names come first, with the nearest valid name.
run generate --repo "$repo" --profile 1
check "an unknown option is named before the missing ones, with the name it was meant to be" \
  "2:tqlm-xmlgen: unknown option --repo; did you mean --repository?" "$status:$(first_line "$err")"
run generate --repository="$repo" --profil=1 --xml-path "$work/x" --all
check "an unknown --name=value is named by its name" \
  "2:tqlm-xmlgen: unknown option --profil; did you mean --profile?" "$status:$(first_line "$err")"
run plan --repository "$repo" --profile 1 --package ab
check "an abbreviation of two options names both" \
  "tqlm-xmlgen: unknown option --package; did you mean --package-from or --package-to?" "$(first_line "$err")"
run generate --repository "$repo" --profile 1 --xml-path "$work/x" --all --utf8
check "an option of another command says whose it is" \
  "tqlm-xmlgen: unknown option --utf8 (an option of decode)" "$(first_line "$err")"
run genrate --repository "$repo"
check "an unknown command is named, with the nearest one" \
  "2:tqlm-xmlgen: unknown command genrate; did you mean generate?" "$status:$(first_line "$err")"
run call --repository "$repo" RowSizeOfTable TRGAPP abcde010
check "an unknown method is named, with the nearest one" \
  "2:tqlm-xmlgen: unknown method RowSizeOfTable; did you mean RowSizeofTable?" "$status:$(first_line "$err")"
run generate --repository "$repo" --profile 1 --xml-path "$work/x" --all stray
check "a word generate does not take is named" "2:tqlm-xmlgen: generate takes no argument stray" \
  "$status:$(first_line "$err" | sed 's/ (.*//')"
run
check "no command lists the commands" \
  "2:tqlm-xmlgen: a command is needed: generate, plan, call, decode, init-repository or help" "$status:$(first_line "$err")"
run -V
check "-V is --version" "0:$("$TQLM" --version)" "$status:$out"

# help COMMAND is COMMAND --help; each names the program and what it takes,
# and ends with examples.
usage_lines=(
  "generate:Usage: tqlm-xmlgen generate --repository CONN --profile N --xml-path DIR (--all | --list CODES | BOUNDS) [OPTIONS]"
  "plan:Usage: tqlm-xmlgen plan --repository CONN --profile N (--all | --list CODES | BOUNDS) [OPTIONS]"
  "call:Usage: tqlm-xmlgen call --repository CONN [OPTIONS] METHOD [ARG...]"
  "decode:Usage: tqlm-xmlgen decode [--utf8] [--out DIR] PATH..."
  "init-repository:Usage: tqlm-xmlgen init-repository CONN [SCRIPT...]"
  "help:Usage: tqlm-xmlgen help [COMMAND]")
for entry in "${usage_lines[@]}"; do
  command=${entry%%:*}
  run help "$command"
  check "help $command is $command --help" "0:$("$TQLM" "$command" --help)" "$status:$out"
  check "the usage line of $command" "${entry#*:}" "$(grep '^Usage:' <<<"$out")"
  examples=$(sed -n '/^Examples:$/,$p' <<<"$out" | grep -c '^  tqlm-xmlgen ')
  check "the help of $command ends with two or three examples" "yes" \
    "$([[ $examples -ge 2 && $examples -le 3 && $(tail -n 1 <<<"$out") == "  tqlm-xmlgen "* ]] && echo yes)"
done
run help
check "help alone is --help" "0:$("$TQLM" --help)" "$status:$out"
run help genrate
check "help of an unknown command suggests one" "2:tqlm-xmlgen: unknown command genrate; did you mean generate?" \
  "$status:$(first_line "$err")"
run plan --help
check "plan's help says which options it ignores" "yes" \
  "$(sed -n '/^Accepted and ignored/,/^$/p' <<<"$out" | grep -q -- '--xml-path DIR' && \
     sed -n '/^Accepted and ignored/,/^$/p' <<<"$out" | grep -q -- '--log FILE' && echo yes)"

# plan takes generate's very command line and writes nothing of it.
rm -rf "$work/planned"
run plan --repository "$repo" --profile 1 --xml-path "$work/planned/xml" --all --clear --log "$work/planned.log" \
  --wait --split --include-2gb-check --user me --jobs 2 --stats --progress --json
planned=$out
run plan --repository "$repo" --profile 1 --all --json
check "plan with generate's command line plans what plan alone does, and writes nothing" "0:$out:no:no" \
  "$status:$planned:$([[ -e $work/planned ]] && echo yes || echo no):$([[ -e $work/planned.log ]] && echo yes || echo no)"
check "plan --json writes the triple as its table does" \
  '{"code": "abcde010", "status": "V", "profile": 1, "triple": "0100-01-STD ", "outcome": "write its document"}' \
  "$(grep -o '{"code": "abcde010"[^}]*}' <<<"$out")"
run plan --repository "$work/nosuch.db" --profile 1 --all
plan_answer=$status:$err
run generate --repository "$work/nosuch.db" --profile 1 --all --xml-path "$work/never"
check "plan answers a missing repository as generate does" "$status:$err" "$plan_answer"

# A repository that is no repository says so, for every command that reads one.
printf 'line one\nline two\n' >"$work/notes.db"
: >"$work/empty.db"
for command in generate plan call; do
  case $command in
    call) args=(call --repository) tail_args=(RowSizeofTable TRGAPP abcde010) ;;
    *) args=("$command" --profile 1 --all --xml-path "$work/never" --repository) tail_args=() ;;
  esac
  run "${args[@]}" "$work/notes.db" "${tail_args[@]}"
  check "$command: a file that is no SQLite file is named" "2:tqlm-xmlgen: --repository: not a SQLite file: $work/notes.db" \
    "$status:$(first_line "$err")"
  run "${args[@]}" "$work/empty.db" "${tail_args[@]}"
  check "$command: a SQLite file without the tables says how to make them" \
    "2:tqlm-xmlgen: no repository tables in $work/empty.db (create them with init-repository)" "$status:$(first_line "$err")"
done
check "no output folder was made for them" no "$([[ -e $work/never ]] && echo yes || echo no)"

# Errors name their path.
run generate --repository "$repo" --profile 1 --xml-path "$work/x" --all --log "$work/nodir/run.log"
check "a log in a missing folder names it" "1:ERROR: 76:Path not found (--log $work/nodir/run.log)" "$status:$err"

# Warnings before the run, which change nothing it writes.
without_clock() { sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/T/g' "$1"; }
run generate --repository "$repo" --profile 1 --list abcde010,abcdf010,abcde016 --xml-path "$work/warned" \
  --log "$work/warned.log" --json
warned=$status:$out
check "each --list code the profile has no object for is named" \
  "warning: --list abcdf010: the target application has no table abcdf010, so nothing is selected for it
warning: --list abcde016: profile 1 and the profiles it was derived from hold no mapping object for it with a status the run exports (the log will show a WARNING)" \
  "$err"
run generate --repository "$repo" --profile 1 --list abcde010,abcde016 --xml-path "$work/unwarned" \
  --log "$work/unwarned.log" --json
check "the warned run writes what the run without the unknown code writes" "$status:$out::" \
  "$warned:$(diff -r "$work/warned" "$work/unwarned"):$(diff <(without_clock "$work/warned.log") <(without_clock "$work/unwarned.log"))"
run plan --repository "$repo" --profile 1 --list abcde016 --no-traverse
check "without traversal the warning says where it looked" \
  "warning: --list abcde016: profile 1 holds no mapping object for it with a status the run exports (the log will show a WARNING; --traverse searches the profiles it was derived from)" \
  "$err"
run plan --repository "$repo" --profile 1 --list nosuch1,nosuch2 --json
check "a list that selects nothing names every code, then fails as the run does" "1:2:yes" \
  "$status:$(grep -c '^warning: --list nosuch' <<<"$err"):$(grep -q '123-No Mapping Objects' <<<"$out" && echo yes)"
run plan --repository "$repo" --profile 1 --package-from ab --module-from cde --table-from 0 --package-to ab --module-to cde
check "a range given in part names the bound it lacks and what the run takes" \
  'warning: the range lacks --table-to: the run takes "   " (blanks, below every table number): the range selects nothing' \
  "$err"
run generate --repository "$repo" --profile 1 --package-from ab --xml-path "$work/part" --log "$work/part.log"
check "each missing bound is named, the upper ones selecting nothing" "1:5:3" \
  "$status:$(grep -c '^warning: the range lacks' <<<"$err"):$(grep -c 'selects nothing$' <<<"$err")"
run plan --legacy --repository "$legacy_repo" --profile 5 --table-to 99
check "the legacy class takes empty bounds" \
  'warning: the range lacks --package-from: the run takes "" (an empty text, below every package): no lower bound' \
  "$(first_line "$err")"
run generate --legacy --repository "$legacy_repo" --profile 12 --all --xml-path "$work/x"
check "a legacy run's ERROR line on standard error, without its tabs and line end" \
  "1:ERROR:-  111 - Migration Profile No. 12 not available." "$status:$err"
run generate --repository "$repo" --profile 12 --all --xml-path "$work/x" --log "$work/failed.log"
check "with a log file the ERROR line stays in the log" "1:" "$status:$err"

# The progress line and a log on the same terminal never share a line: no
# progress line unless asked for, and then taken away before each log line.
if command -v script >/dev/null; then
  for progress in "" --progress; do
    rm -rf "$work/shared"
    script -qec "'$TQLM' generate --repository '$repo' --profile 1 --xml-path '$work/shared' --all $progress" \
      /dev/null >"$work/shared.out" 2>&1
    check "a progress line ${progress:-by default} is alone on its terminal line" 0 \
      "$(grep -a -c -P 'left\x1b\[K(?![\r\n])' "$work/shared.out")"
  done
  check "asked for, the progress line is shown" yes "$(grep -a -q 'objects' "$work/shared.out" && echo yes)"
fi

# decode takes documents of this tool only, and writes below a folder.
run decode "$repo"
check "decode refuses a file that is no document of this tool, naming it" \
  "2::tqlm-xmlgen: decode: $repo is no document of this tool (a Base64 document or an .XML document)" \
  "$status:$out:$(first_line "$err")"
run decode "$work/legacy/abcus/xabcus0100" "$work/notes.db"
check "decode prints nothing when one file is no document" "2:" "$status:$out"
cp "$work/notes.db" "$work/notes.copy"
run decode --out "$work/notes.copy" "$work/legacy"
check "decode --out onto a file is a usage error" "2:tqlm-xmlgen: decode: --out $work/notes.copy: $work/notes.copy is a file, not a folder:same" \
  "$status:$(first_line "$err"):$(cmp -s "$work/notes.db" "$work/notes.copy" && echo same)"
run decode --out "$work/notes.copy/sub" "$work/legacy"
check "decode --out below a file is a usage error" 2 "$status"

# The repository reference describes every table and column of the schema.
reference=$tests_dir/../docs/repository.md
schema=$tests_dir/../src/repository/schema.sql
undescribed=$(awk '
  /^CREATE TABLE/ { table = $3; print "table " table; next }
  table != "" && /^\);/ { table = ""; next }
  table != "" { print table " " $1 }' "$schema" | while read -r table column; do
  if [[ $table == table ]]; then
    grep -q "^## \`$column\`" "$reference" || echo "table $column"
  else
    # The column's row in its table's section.
    sed -n "/^## \`$table\`/,/^## /p" "$reference" | grep -q "^| \`$column\` |" || echo "$table.$column"
  fi
done)
check "docs/repository.md describes every table and column of the schema" "" "$undescribed"
check "the README links the repository reference" yes \
  "$(grep -q '(docs/repository.md)' "$tests_dir/../README.md" && echo yes)"
