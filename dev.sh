#!/bin/sh
# The two commands of a fresh machine (Debian or Ubuntu):
#   ./dev.sh run    installs what is missing, builds, and starts the simulator on the
#                   bundled classroom example
#   ./dev.sh test   installs what is missing, builds, and runs every test
# Packages are installed with apt-get, through sudo when not run as root.
set -eu
cd "$(dirname "$0")"

verb="${1:-}"
case "$verb" in
run) packages="g++ cmake make nlohmann-json3-dev" ;;
test) packages="g++ cmake make nlohmann-json3-dev libgtest-dev valgrind python3 chromium fonts-dejavu-core" ;;
*)
    echo "uso: ./dev.sh run | ./dev.sh test" >&2
    exit 64
    ;;
esac

missing=""
for package in $packages; do
    dpkg -s "$package" >/dev/null 2>&1 || missing="$missing $package"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086 # one word a package
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

if [ "$verb" = test ]; then
    # The page's browser tests need the npm packages of web/; without npm they are skipped.
    if command -v npm >/dev/null && [ ! -d web/node_modules/puppeteer-core ]; then
        (cd web && npm ci --no-audit --no-fund)
    fi
    exec cmake --workflow --preset dev
fi

cmake --preset dev
cmake --build --preset dev
echo "built: build/dev/mlfq (put it on your PATH with: export PATH=\"$PWD/build/dev:\$PATH\")"
cd examples/sala-de-aula
if [ -t 0 ] && [ -t 1 ]; then
    exec ../../build/dev/mlfq
fi
# Without a terminal there is nobody to press keys: the whole run at once instead.
echo "no terminal here: the bundled example's whole run (mlfq -r) instead"
exec ../../build/dev/mlfq -r
