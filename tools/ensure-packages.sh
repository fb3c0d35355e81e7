# Shared by the two set-up scripts: install the named Debian packages that are
# missing (nothing is touched when all are there), and run a command inside a
# private network namespace that has nothing but loopback, so that no test
# datagram can leave the machine.

ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

run_isolated() {
    if [ "$(id -u)" = 0 ] && unshare -n true 2>/dev/null; then
        unshare -n sh -c 'ip link set lo up && ip route add 224.0.0.0/4 dev lo && exec "$@"' isolated "$@"
    else
        echo "warning: no private network namespace here; network tests keep to loopback addresses" >&2
        "$@"
    fi
}
