#!/usr/bin/env bash
# Builds the example plug-in (tools/call-counter) outside the source tree
# against an installed libhlacore, the two ways a site builds its own
# plug-ins (find_package(hlacore) and pkg-config), and has the scripted
# federate, built against the same installation, load each build through its
# RID file's plug-in directory. The federate runs in a private network
# namespace; the counts the plug-in prints at resignation must be those of
# the federate's script.
#
#   tests/rti/api/install/check-plugin.sh PREFIX FEDERATE
#
# PREFIX is the installation (with lib*/pkgconfig on PKG_CONFIG_PATH);
# FEDERATE the scripted federate built against it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
prefix=$1
federate=$2
. "$root/tools/ensure-packages.sh"

echo "== building the example plug-in through find_package(hlacore)"
cmake -S "$root/tools/call-counter" -B "$prefix/plugin-cmake" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$prefix/plugin-cmake" >/dev/null

echo "== building the example plug-in through pkg-config"
mkdir -p "$prefix/plugin-pc"
# shellcheck disable=SC2046
g++ -std=c++20 -shared -fPIC -fvisibility=hidden -o "$prefix/plugin-pc/libcall-counter.so" \
    "$root/tools/call-counter/CallCounterPlugin.cpp" $(pkg-config --cflags --libs hlacore)

# The federation of this check: its own port and group, kept on the loopback.
port=$((20000 + RANDOM % 20000))
group="239.77.$((RANDOM % 256)).$((RANDOM % 254 + 1))"
script="create SampleFed sample.fed; join SampleFed A; publish Sample Value; publish-interaction Message"
script+="; register Sample s1; update s1 t Value=1; send-interaction Message t Text=hi"
script+="; unpublish-interaction Message; unpublish-interaction Message; resign delete-and-release; destroy SampleFed"
expected="call-counter: call createFederationExecution 1
call-counter: call getAttributeHandle 2
call-counter: call getInteractionClassHandle 4
call-counter: call getObjectClass 1
call-counter: call getObjectClassHandle 2
call-counter: call getObjectInstanceName 1
call-counter: call getParameterHandle 1
call-counter: call joinFederationExecution 1
call-counter: call publishInteractionClass 1
call-counter: call publishObjectClass 1
call-counter: call registerObjectInstance 1
call-counter: call resignFederationExecution 1
call-counter: call sendInteraction 1
call-counter: call unpublishInteractionClass 2
call-counter: call updateAttributeValues 1"

for build in plugin-cmake plugin-pc; do
  echo "== loading the plug-in of $build into a federate"
  run="$prefix/run-$build"
  mkdir -p "$run"
  cat > "$run/rid.mtl" <<RID
(setq RTI_udpPort $port)
(setq RTI_destAddrString "$group")
(setq RTI_mcastDevAddrString "127.0.0.1")
(setq RTI_tcpForwarderAddr "127.0.0.1")
(setq RTI_dumpFed 0)
(setq RTI_pluginDirectory "$prefix/$build")
(RTI-addPluginName "libcall-counter.so")
RID
  status=0
  (cd "$run" && run_isolated env RTI_RID_FILE="$run/rid.mtl" RTI_CONFIG="$(pkg-config --variable=rticonfigdir hlacore)" \
     "$federate" "$script" >"$run/lines" 2>"$run/output") || status=$?
  # Only the second unpublish fails (the class is no longer published).
  if [ "$status" != 1 ] || [ "$(grep -c '^error ' "$run/lines")" != 1 ] \
     || ! grep -q '^error unpublish-interaction InteractionClassNotPublished' "$run/lines"; then
    echo "the federate did not run its script as expected (status $status):" >&2
    cat "$run/lines" "$run/output" >&2
    exit 1
  fi
  counts=$(grep '^call-counter: call ' "$run/output" | grep -v '^call-counter: call tick ')
  if [ "$counts" != "$expected" ] || ! grep -q '^call-counter: [0-9]* service calls (1 failed), [0-9]* callbacks$' "$run/output"; then
    echo "the plug-in's counts are not the script's:" >&2
    cat "$run/output" >&2
    exit 1
  fi
done
