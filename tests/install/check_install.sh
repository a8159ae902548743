#!/usr/bin/env bash
# cmake --install into a new prefix, then a program built against that
# prefix alone: examples/library found with find_package(tqlm CONFIG), and
# the same source built with pkg-config's flags. Each writes the same
# documents as the installed command line with the same selection.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION
set -u
build=$1 source=$2 version=$3
source "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1
check "cmake --install exits 0" 0 "$?"

missing=
for f in bin/tqlm-xmlgen share/man/man1/tqlm-xmlgen.1.gz share/bash-completion/completions/tqlm-xmlgen \
  share/doc/tqlm-xmlgen/copyright include/tqlm/cls_xml_generator.h \
  include/tqlm/cls_xml_legacy.h lib/cmake/tqlm/tqlmConfig.cmake lib/cmake/tqlm/tqlmConfigVersion.cmake \
  lib/pkgconfig/tqlm.pc lib/libtqlm_xmlgen.a lib/libtqlm_repository.a lib/libtqlm_platform.a; do
  [[ -f $prefix/$f ]] || missing+=" $f"
done
check "the prefix holds the tool, its man page, completion and copyright, the headers, libraries and package files" "" "$missing"

tool=$prefix/bin/tqlm-xmlgen
check "the installed tool names its version" "tqlm-xmlgen $version" "$("$tool" --version)"

# The build tree is gone from the program's view: it sees only the prefix.
cmake -S "$source/examples/library" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$work/example.log" 2>&1 &&
  cmake --build "$work/example" >>"$work/example.log" 2>&1
status=$?
check "the example builds against the prefix with find_package(tqlm CONFIG)" 0 "$status"
((status == 0)) || tail -20 "$work/example.log"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
check "pkg-config names the version" "$version" "$(pkg-config --modversion tqlm 2>&1)"
# shellcheck disable=SC2046
g++ -std=c++20 -o "$work/pkg-config-example" "$source/examples/library/generate_demo.cpp" \
  $(pkg-config --cflags --libs tqlm) >"$work/pkg-config.log" 2>&1
status=$?
check "the example builds with pkg-config's flags" 0 "$status"
((status == 0)) || tail -20 "$work/pkg-config.log"

"$tool" init-repository "$work/demo.db" "$source/examples/demo.sql" >/dev/null
"$tool" generate --repository "$work/demo.db" --profile 1 --list sacus010,saord020,sainv040 \
  --xml-path "$work/tool" --log "$work/tool.log" >/dev/null
check "the installed tool generates the three demo documents" "0:3" \
  "$?:$(find "$work/tool" -type f | wc -l)"
for example in "$work/example/generate_demo" "$work/pkg-config-example"; do
  name=${example##*/}
  "$example" "$work/demo.db" "$work/out-$name" >"$work/out-$name.log"
  check "$name exits 0" 0 "$?"
  check "$name writes the documents of the command line, byte for byte" "" \
    "$(diff -r "$work/tool" "$work/out-$name" 2>&1)"
done

echo "$passed passed, $failed failed"
((failed == 0))
