#!/usr/bin/env bash
# The Debian package: cpack builds it from the build folder; its fields and
# files are checked, it is extracted (dpkg-deb -x, nothing is installed) and
# the extracted tool names its version and generates the demo, the same
# bytes as the build's own tool.
# Usage: check_package.sh BUILD_DIR SOURCE_DIR VERSION
set -u
build=$(cd "$1" && pwd) source=$2 version=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

arch=$(dpkg --print-architecture)
deb=$build/package/tqlm-xmlgen_${version}_$arch.deb
rm -f "$deb"
(cd "$build" && cpack -G DEB --config CPackConfig.cmake) >"$work/cpack.log" 2>&1
check "cpack -G DEB exits 0 and writes tqlm-xmlgen_${version}_$arch.deb" "0:yes" \
  "$?:$([[ -f $deb ]] && echo yes)"
[[ -f $deb ]] || {
  tail -20 "$work/cpack.log"
  echo "$passed passed, $failed failed"
  exit 1
}

check "the package's name and version" "tqlm-xmlgen $version" "$(dpkg-deb -f "$deb" Package Version | cut -d' ' -f2 | paste -sd' ')"
depends=$(dpkg-deb -f "$deb" Depends | sed 's/ ([^)]*)//g; s/, */\n/g')
missing=
for library in libc6 libstdc++6 libsqlite3-0 libexpat1 libodbc2 libodbcinst2; do
  grep -Fqx "$library" <<<"$depends" || missing+=" $library"
done
check "its dependencies, read from the libraries the tool links, name each of them" "" "$missing"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort | paste -sd' ')
check "it holds the tool, its man page, its completion and the copyright file, and nothing else" \
  "./usr/bin/tqlm-xmlgen ./usr/share/bash-completion/completions/tqlm-xmlgen ./usr/share/doc/tqlm-xmlgen/copyright ./usr/share/man/man1/tqlm-xmlgen.1.gz" \
  "$files"

dpkg-deb -x "$deb" "$work/root"
tool=$work/root/usr/bin/tqlm-xmlgen
check "the extracted tool names its version" "tqlm-xmlgen $version" "$("$tool" --version 2>&1)"
check "the extracted man page is the build's" "" "$(zcat "$work/root/usr/share/man/man1/tqlm-xmlgen.1.gz" | cmp - "$build/tqlm-xmlgen.1" 2>&1)"

bash "$source/examples/run_demo.sh" "$tool" "$source/examples/demo.sql" "$work/demo" >"$work/demo.log" 2>&1
check "the extracted tool runs the demo" 0 "$?"
bash "$source/examples/run_demo.sh" "$build/tqlm-xmlgen" "$source/examples/demo.sql" "$work/demo-build" >/dev/null 2>&1
for folder in xml legacy; do
  check "the demo's $folder documents are the build's tool's, byte for byte" "" \
    "$(diff -r "$work/demo/$folder" "$work/demo-build/$folder" 2>&1)"
done
check "the demo wrote documents" yes "$([[ -f $work/demo/xml/sacus/xsacus0100.XML ]] && echo yes)"

echo "$passed passed, $failed failed"
((failed == 0))
