#!/usr/bin/env python3
"""The man page and the bash completion against what the tool's help prints.

Usage: check_help_texts.py TOOL MAN_PAGE COMPLETION VERSION

The commands are those 'TOOL --help' lists, each command's options those
'TOOL COMMAND --help' lists. The man page must have a section for every
command and no other, and in it an entry for every option of the command
and no other (the options the tool itself takes, --help among them, are
entries of OPTIONS); its title names the version. groff renders it without
a warning. The completion offers exactly the commands, and for each command
exactly its options.
"""

import re
import subprocess
import sys

tool, man_page, completion, version = sys.argv[1:5]
passed = 0
failed = 0


def check(name, expected, actual):
    global passed, failed
    if expected == actual:
        passed += 1
    else:
        failed += 1
        print(f"FAIL {name}\n  expected: {expected!r}\n  actual:   {actual!r}")


def check_same(name, listed, found, where):
    """Two sets of names, the differences named when they differ."""
    global passed, failed
    if listed == found:
        passed += 1
    else:
        failed += 1
        print(f"FAIL {name}")
        if listed - found:
            print(f"  listed by the help, missing from {where}: {' '.join(sorted(listed - found))}")
        if found - listed:
            print(f"  in {where}, not listed by the help: {' '.join(sorted(found - listed))}")


def help_text(*args):
    return subprocess.run([tool, *args, "--help"], capture_output=True, text=True, check=True).stdout


def sections(text):
    """Help sections by their lowered title ("options", "subcommands"): the
    lines after a line that ends in a colon, up to a blank line."""
    found = {}
    current = None
    for line in text.splitlines():
        title = re.fullmatch(r"([A-Za-z ]+):", line)
        if title:
            current = found.setdefault(title.group(1).lower(), [])
        elif not line.strip():
            current = None
        elif current is not None:
            current.append(line)
    return found


def help_options(text):
    """The option names of a help text: the first column of its option lines,
    "-h,--help" naming two."""
    names = set()
    for line in sections(text).get("options", []):
        first = line.split()[0] if line.startswith(" ") and line.split() else ""
        for name in first.split(","):
            if re.fullmatch(r"--?[A-Za-z0-9][A-Za-z0-9-]*", name):
                names.add(name)
    return names


def help_commands(text):
    commands = set()
    for line in sections(text).get("subcommands", []):
        match = re.match(r"  ([a-z][a-z0-9-]*)(\s|$)", line)
        if match:
            commands.add(match.group(1))
    return commands


def roff_text(line):
    """A roff line as it reads: escaped minus signs as hyphens, no font changes."""
    line = line.replace("\\-", "-")
    line = re.sub(r"\\f[BIRP]", "", line)
    return line


def man_entries(source):
    """{section: option names of its .TP entries}: ".SH OPTIONS" is "", a
    command's ".SS" below ".SH COMMANDS" its name."""
    entries = {}
    section = None
    in_commands = False
    lines = source.splitlines()
    for index, line in enumerate(lines):
        if line.startswith(".SH"):
            title = roff_text(line[3:]).strip().strip('"')
            in_commands = title == "COMMANDS"
            section = "" if title == "OPTIONS" else None
            if section is not None:
                entries.setdefault(section, set())
        elif line.startswith(".SS") and in_commands:
            section = roff_text(line[3:]).strip().strip('"')
            entries.setdefault(section, set())
        elif line.startswith(".TP") and section is not None and index + 1 < len(lines):
            tag = roff_text(lines[index + 1])
            tag = re.sub(r"^\.[A-Z]+\s*", "", tag)
            words = re.findall(r'(?<![\w-])(--?[A-Za-z0-9][A-Za-z0-9-]*)', tag)
            if words and tag.lstrip('" ').startswith("-"):
                entries[section].update(words)
    return entries


def completion_words(*words):
    """What the completion offers after 'tqlm-xmlgen WORDS...', the last word
    being the one completed."""
    script = (
        f'source "{completion}"\n'
        'COMP_WORDS=(tqlm-xmlgen "$@"); COMP_CWORD=$#\n'
        '_tqlm_xmlgen\n'
        'printf "%s\\n" "${COMPREPLY[@]}"\n'
    )
    out = subprocess.run(["bash", "-c", script, "bash", *words], capture_output=True, text=True, check=True).stdout
    return set(out.split())


main_help = help_text()
commands = help_commands(main_help)
global_options = help_options(main_help)
check("the help lists commands", True, len(commands) >= 5)
check("the help lists the tool's own options", True, "--help" in global_options and "--version" in global_options)
command_options = {command: help_options(help_text(command)) for command in sorted(commands)}
check("every command's help lists options", True, all(command_options.values()))

with open(man_page, encoding="utf-8") as f:
    source = f.read()
entries = man_entries(source)
check_same("the man page has a section for every command and no other", commands, set(entries) - {""},
           "the man page's COMMANDS")
check_same("OPTIONS has an entry for every option of the tool itself and no other", global_options,
           entries.get("", set()), "the man page's OPTIONS")
for command, options in command_options.items():
    # A command's --help also lists the tool's own --help, an entry of OPTIONS.
    own = options - global_options
    check_same(f"the man page's {command} has an entry for every option of '{command} --help' and no other",
               own, entries.get(command, set()) - global_options, f"the man page's {command}")

title = next((line for line in source.splitlines() if line.startswith(".TH")), "")
check("the man page's title names the version", True, f'"tqlm-xmlgen {version}"' in title)
check("--version names the same version", f"tqlm-xmlgen {version}",
      subprocess.run([tool, "--version"], capture_output=True, text=True).stdout.strip())

groff = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z", man_page], capture_output=True, text=True)
check("groff renders the man page without a warning", (0, ""), (groff.returncode, groff.stderr))

check_same("the completion offers the commands", commands, completion_words(""), "the completion")
check_same("the completion offers the tool's own options", global_options, completion_words("-"), "the completion")
for command, options in command_options.items():
    check_same(f"the completion offers the options of {command}", options, completion_words(command, "-"),
               "the completion")
    check_same(f"the completion offers the options of {command} after another option", options,
               completion_words(command, "--help", "-"), "the completion")

print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
