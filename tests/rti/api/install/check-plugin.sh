#!/usr/bin/env bash
# Builds the example plug-in (tools/call-counter) outside the source tree
# against an installed libhlacore, the two ways a site builds its own
# plug-ins (find_package(hlacore) and pkg-config), and has the scripted
# federate, built against the same installation, load each build through its
# RID file's plug-in directory, with a second federate (without the plug-in)
# beside it so that callbacks come. Both run in a private network namespace;
# the counts the plug-in prints at resignation must be those of the
# federate's script: its service calls and the callbacks it printed.
#
#   tests/rti/api/install/check-plugin.sh PREFIX FEDERATE
#
# PREFIX is the installation (with lib*/pkgconfig on PKG_CONFIG_PATH);
# FEDERATE the scripted federate built against it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)

# Inside the namespace (the script runs itself there): the counted federate
# A creates the execution; B joins once A has, subscribes to what A
# publishes and stays until A's resignation deletes A's object. Exits with
# A's status; B's lines are checked by the caller.
if [ "${1:-}" = --federates ]; then
  run=$2 federate=$3 counted=$4 other=$5
  export RTI_CONFIG=$6
  cd "$run"
  RTI_RID_FILE="$run/rid.mtl" "$federate" "$counted" >"$run/lines" 2>"$run/output" &
  a=$!
  for _ in $(seq 300); do
    if grep -q '^ok join ' "$run/lines" 2>/dev/null || ! kill -0 "$a" 2>/dev/null; then break; fi
    sleep 0.1
  done
  RTI_RID_FILE="$run/other-rid.mtl" "$federate" "$other" >"$run/other-lines" 2>"$run/other-output" &
  b=$!
  status=0
  wait "$a" || status=$?
  wait "$b" || echo "$?" >"$run/other-status"
  exit "$status"
fi

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
# The execution is named after its FED file: B, joining, looks for
# <execution>.fed in the installed configuration directory.
script="create sample sample.fed; join sample A; publish Sample Value; publish-interaction Message"
script+="; wait startRegistrationForObjectClass 30; wait turnInteractionsOn 30"
script+="; register Sample s1; update s1 t Value=1; send-interaction Message t Text=hi"
script+="; unpublish-interaction Message; unpublish-interaction Message; resign delete-and-release"
other="join sample B; subscribe Sample Value; subscribe-interaction Message"
other+="; wait reflectAttributeValues 30; wait receiveInteraction 30; wait removeObjectInstance 30; resign none"
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
call-counter: call updateAttributeValues 1
call-counter: callback startRegistrationForObjectClass 1
call-counter: callback turnInteractionsOn 1"

for build in plugin-cmake plugin-pc; do
  echo "== loading the plug-in of $build into a federate"
  run="$prefix/run-$build"
  mkdir -p "$run"
  cat > "$run/other-rid.mtl" <<RID
(setq RTI_udpPort $port)
(setq RTI_destAddrString "$group")
(setq RTI_mcastDevAddrString "127.0.0.1")
(setq RTI_tcpForwarderAddr "127.0.0.1")
(setq RTI_dumpFed 0)
RID
  cat "$run/other-rid.mtl" - >"$run/rid.mtl" <<RID
(setq RTI_pluginDirectory "$prefix/$build")
(RTI-addPluginName "libcall-counter.so")
RID
  status=0
  run_isolated "$0" --federates "$run" "$federate" "$script" "$other" \
    "$(pkg-config --variable=rticonfigdir hlacore)" || status=$?
  # Only the second unpublish fails (the class is no longer published).
  if [ "$status" != 1 ] || [ "$(grep -c '^error ' "$run/lines")" != 1 ] \
     || ! grep -q '^error unpublish-interaction InteractionClassNotPublished' "$run/lines"; then
    echo "the federate did not run its script as expected (status $status):" >&2
    cat "$run/lines" "$run/output" >&2
    exit 1
  fi
  if [ -e "$run/other-status" ] || ! grep -qx "done" "$run/other-lines"; then
    echo "the other federate did not run its script as expected:" >&2
    cat "$run/other-lines" "$run/other-output" >&2
    exit 1
  fi
  # Every call but the ticks of the waits (as many as they took), and every
  # callback, each as often as the federate printed it.
  counts=$(grep -E '^call-counter: (call|callback) ' "$run/output" | grep -v '^call-counter: call tick ')
  printed=$(sed -n 's/^callback \([A-Za-z]*\).*/\1/p' "$run/lines" | LC_ALL=C sort | uniq -c \
            | awk '{print "call-counter: callback " $2 " " $1}')
  calls=$(awk '/^call-counter: call / {n += $4} END {print n + 0}' "$run/output")
  callbacks=$(grep -c '^callback ' "$run/lines" || true)
  if [ "$counts" != "$expected" ] || [ "$printed" != "$(grep '^call-counter: callback ' <<<"$expected")" ] \
     || ! grep -qx "call-counter: $calls service calls (1 failed), $callbacks callbacks" "$run/output"; then
    echo "the plug-in's counts are not the script's:" >&2
    cat "$run/lines" "$run/output" >&2
    exit 1
  fi
done
