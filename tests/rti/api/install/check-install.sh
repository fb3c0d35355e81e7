#!/usr/bin/env bash
# Installs libhlacore from a built tree into a temporary prefix, then builds
# and runs the sample federate (a federate that relies on what the headers
# bring, and a program that uses federation time alone)
# outside the source tree the two ways a federate's developer would: through
# find_package(hlacore) and through pkg-config, and the example plug-in
# (check-plugin.sh). Also checks the installed libraries' names, versions and
# exported symbols. Removes the prefix.
#
#   tests/rti/api/install/check-install.sh BUILD_DIR
#
# BUILD_DIR is a configured tree whose hlacore, hlatime and rtiexec targets are
# built.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
prefix=$(mktemp -d /tmp/qlx-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT

step() { echo "== $*"; }

step "installing into $prefix"
cmake --install "$build" --prefix "$prefix" --component hlacore >/dev/null
libdir=$(dirname "$(find "$prefix" -name libhlacore.so -print -quit)")
[ -n "$libdir" ] || { echo "libhlacore.so was not installed" >&2; exit 1; }
for lib in hlacore hlatime; do
  soname=$(readelf -d "$libdir/lib$lib.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [[ $soname =~ ^lib$lib\.so\.[0-9]+$ ]] || { echo "lib$lib.so has SONAME '$soname'" >&2; exit 1; }
  [ -e "$libdir/$soname" ] || { echo "$soname is missing" >&2; exit 1; }
  cmake -DLIBRARY="$libdir/lib$lib.so" -P "$here/../ExportedSymbols.cmake"
done
if readelf -d "$libdir/libhlatime.so" | grep -q 'NEEDED.*libhlacore'; then
  echo "libhlatime depends on libhlacore" >&2
  exit 1
fi

step "building the sample federate through find_package(hlacore)"
cmake -S "$here" -B "$prefix/federate-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$prefix/federate-cmake" >/dev/null
"$prefix/federate-cmake/sample_federate"
"$prefix/federate-cmake/classic_includes"
"$prefix/federate-cmake/time_only"

step "building the sample federate through pkg-config"
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
g++ -std=c++17 -o "$prefix/sample_federate_pc" "$here/../federate/SampleFederate.cpp" \
    $(pkg-config --cflags --libs hlacore) -Wl,-rpath,"$libdir"
"$prefix/sample_federate_pc"
# shellcheck disable=SC2046
g++ -std=c++11 -o "$prefix/classic_includes_pc" "$here/../federate/ClassicIncludes.cpp" \
    $(pkg-config --cflags --libs hlacore) -Wl,-rpath,"$libdir"
"$prefix/classic_includes_pc"
# shellcheck disable=SC2046
g++ -std=c++17 -o "$prefix/time_only_pc" "$here/TimeOnly.cpp" \
    $(pkg-config --cflags --libs hlatime) -Wl,-rpath,"$libdir"
"$prefix/time_only_pc"
[ -f "$(pkg-config --variable=rticonfigdir hlacore)/rid.mtl" ] || { echo "rid.mtl is not in rticonfigdir" >&2; exit 1; }
"$here/check-plugin.sh" "$prefix" "$prefix/federate-cmake/scripted_federate"
step "the installed rtiexec runs beside the library"
"$prefix/bin/rtiexec" --help | grep -q "RTI_useRtiExec" || { echo "bin/rtiexec --help failed" >&2; exit 1; }
step "the installed library works from outside the tree"
