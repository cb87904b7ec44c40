#!/usr/bin/env bash
# The demonstration that ./build.sh run shows: the quen tool on the samples.
set -euo pipefail
quen=${1:?usage: demo.sh PATH-TO-QUEN}
samples=$(cd "$(dirname "$0")" && pwd)

show() {
    printf '\n$ quen %s\n' "$*"
    "$quen" "$@" || printf '(exit code %d)\n' "$?"
}

show --help
show version
show messages
show error 2
show error 5
