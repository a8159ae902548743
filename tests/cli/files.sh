# The files a run touches: nothing outside its output folder, nothing of
# another program's deleted, nothing half done. Sourced by run_cli_tests.sh,
# whose check, run, $work, $repo, $range, $demo and $tests_dir it uses; the
# cases of permissions run as the unprivileged user nobody.

demo=$work/demo.db
demo_args=(--repository "$demo" --profile 1 --list sacus010,saord020)
sum() { find "$@" -type f -exec md5sum {} + 2>/dev/null | sort; }

# --log overwrites an empty file, a character device or a log this tool
# wrote; never a file of another program's, directly or through a link.
mkdir -p "$work/logs"
printf 'name;amount\r\nbread;2\r\n' >"$work/logs/sales.csv"
ln -s "$work/logs/sales.csv" "$work/logs/link.log"
{ for ((i = 0; i < 1200; i++)); do printf 'line %04d of a report with CR LF line ends.........\r\n' "$i"; done
  printf '\x00\x01binary'; } >"$work/logs/report.txt"
before=$(sum "$work/logs")
for decoy in sales.csv link.log report.txt; do
  run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log "$work/logs/$decoy"
  check "--log refuses $decoy, naming it" "2:tqlm-xmlgen: --log $work/logs/$decoy names a file that is no log of this tool (nor empty): it stays as it is" \
    "$status:$(head -n 1 <<<"$err")"
done
check "--log: the decoys are as they were" "$before" "$(sum "$work/logs")"
: >"$work/logs/empty.log"
run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log "$work/logs/empty.log"
check "--log takes an empty file" 0 "$status"
run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log "$work/logs/empty.log"
check "--log takes its own log again" 0 "$status"
ln -s "$work/logs/empty.log" "$work/logs/own.log"
run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log "$work/logs/own.log"
check "--log takes a link to its own log" 0 "$status"
run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log /dev/null
check "--log takes /dev/null" 0 "$status"
printf '\t\tERROR:-  111 - Migration Profile No. 9 not available.\r\n' >"$work/logs/legacy.log"
run generate "${demo_args[@]}" --xml-path "$work/logs/xml" --log "$work/logs/legacy.log"
check "--log takes the log of a legacy run that failed at once" 0 "$status"

# --clear empties a folder of this tool's files only; --clear-all any;
# neither the home folder of $HOME.
mkdir -p "$work/mine/notes" "$work/mine/sacus"
echo readme >"$work/mine/README.txt"
echo todo >"$work/mine/notes/todo.md"
echo 'select 1;' >"$work/mine/query.sql"
echo old >"$work/mine/sacus/xsacus0100.XML"
before=$(sum "$work/mine")
run generate "${demo_args[@]}" --xml-path "$work/mine" --clear --log "$work/mine.log"
check "--clear refuses a folder of another program's files, naming them" \
  "2:tqlm-xmlgen: --clear $work/mine holds what this tool did not write (README.txt, notes/todo.md, query.sql): nothing was deleted; --clear-all empties the folder whatever it holds" \
  "$status:$(head -n 1 <<<"$err")"
check "--clear: nothing of the folder was deleted" "$before" "$(sum "$work/mine")"
run generate "${demo_args[@]}" --xml-path "$work/mine" --clear-all --log "$work/mine.log"
check "--clear-all empties it whatever it holds" "0:no" \
  "$status:$([[ -e $work/mine/README.txt || -e $work/mine/notes ]] && echo yes || echo no)"
run generate "${demo_args[@]}" --xml-path "$work/mine" --clear --log "$work/mine.log"
check "--clear takes a folder of this tool's documents" 0 "$status"
mkdir -p "$work/fakehome/docs" && echo mine >"$work/fakehome/docs/letter.txt"
HOME=$work/fakehome run generate "${demo_args[@]}" --xml-path "$work/fakehome" --clear-all --log "$work/home.log"
check "--clear-all refuses \$HOME" "2:yes" "$status:$([[ -f $work/fakehome/docs/letter.txt ]] && echo yes)"

# All or nothing: a user who may not remove every entry removes none.
if [[ $(id -u) == 0 ]]; then
  mkdir -p "$work/shared/sacus" "$work/shared/saord"
  echo a >"$work/shared/sacus/xsacus0100.XML"
  echo b >"$work/shared/saord/xsaord0200.XML"
  chown -R nobody "$work/shared"
  chown root "$work/shared/saord"  # nobody may not empty this one
  chmod 755 "$work" "$work/shared/saord"
  before=$(sum "$work/shared")
  runuser -u nobody -- "$TQLM" generate "${demo_args[@]}" --xml-path "$work/shared" --clear --log /dev/null \
    >"$work/out" 2>"$work/err"
  check "--clear by a user who may not remove every entry fails naming it, and removes nothing" \
    "1:yes:$before" \
    "$?:$(grep -q "70:Permission denied: $work/shared/saord/xsaord0200.XML may not be removed (--clear $work/shared)" \
      "$work/err" && echo yes):$(sum "$work/shared")"
fi

# Nothing is written through a link below the output folder.
mkdir -p "$work/linked/xml" "$work/elsewhere"
ln -s "$work/elsewhere" "$work/linked/xml/sacus"
run generate "${demo_args[@]}" --xml-path "$work/linked/xml" --log "$work/linked.log"
check "a package folder that is a link fails its object, naming the link" "3:yes" \
  "$status:$(grep -q "ERROR: 75:The folder $work/linked/xml/sacus is a symbolic link: no document is written through it." \
    "$work/linked.log" && echo yes)"
check "nothing was written through the link" "" "$(ls "$work/elsewhere")"
check "the other object was written" yes "$([[ -f $work/linked/xml/saord/xsaord0200.XML ]] && echo yes)"

# A run removes the temporary files killed runs left in the folders it
# writes, the Schema.ini folder too; a running process's stay.
mkdir -p "$work/stale/xml/sacus" "$work/stale/ini"
dead=$(cat /proc/sys/kernel/pid_max)  # never a process's number
touch "$work/stale/ini/.~tqlm-$dead-7.tmp" "$work/stale/xml/.~tqlm-$dead-8.tmp" \
  "$work/stale/xml/sacus/.~tqlm-$dead-9.tmp" "$work/stale/xml/.~tqlm-$$-1.tmp"
run generate --legacy --repository "$demo" --profile 3 --list sacus010 --xml-path "$work/stale/xml" \
  --schema-ini-path "$work/stale/ini" --log "$work/stale.log"
check "killed runs' temporary files are gone from the output and Schema.ini folders, a running one's stays" \
  "0:$work/stale/xml/.~tqlm-$$-1.tmp" "$status:$(find "$work/stale" -name '.~tqlm-*' | sort | tr '\n' ' ' | sed 's/ $//')"

# What a run wrote is durable before it reports its outcome: its file
# systems synced once, after the last document.
strace -f -e trace=syncfs,rename -o "$work/strace" "$TQLM" generate "${demo_args[@]}" --xml-path "$work/durable" \
  --log "$work/durable.log" >/dev/null 2>&1
check "the run syncs its file system once, after its last document took its name" "0:1:yes" \
  "$?:$(grep -c 'syncfs(' "$work/strace"):$(grep -E 'rename|syncfs' "$work/strace" | tail -n 1 | grep -q syncfs && echo yes)"
