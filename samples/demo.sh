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

# The sectioned text parser: a small example, a drive list, settings with
# several lines on one, and a file with a quote left open.
show parse "$samples/general.txt"
show parse "$samples/drives.txt"
show parse "$samples/settings.txt"
show parse "$samples/broken.txt"

# Volume file names on the scripted machine of samples/machine.txt: a file
# named by its medium's label is found again in whichever drive holds it.
machine=$(mktemp)
trap 'rm -f "$machine"' EXIT
cp "$samples/machine.txt" "$machine"
onMachine() {
    printf '\n$ QUEN_SYSPROBE=samples/machine.txt quen %s\n' "$*"
    QUEN_SYSPROBE="$machine" "$quen" "$@" || printf '(exit code %d)\n' "$?"
}
onMachine drives
onMachine volume 'E:\data\set.dat' 'C:\dir\file.txt' 'F:\x.dat' '\\server\share\x'
onMachine locate '||backup1||\data\set.dat' '||F:||\x.dat' '||NOSUCH||\x'
printf '\n(BACKUP1 moves from drive E to the floppy drive A)\n'
sed -i -e 's/^A 0x0100 -$/A 0x0100 BACKUP1 1474560/' -e 's/^E 0x0010 BACKUP1 8004304896$/E 0x0010 -/' "$machine"
onMachine locate '||BACKUP1||\data\set.dat'

# A waiting indicator over a progress bar, and a Cancel click at step 3;
# then two processes signal each other through a named event.
show progress 3 5
show progress 4 6 3
printf '\n$ quen event wait DemoReady 5000 &\n'
"$quen" event wait DemoReady 5000 &
sleep 0.5
show event set DemoReady
wait || printf '(exit code %d)\n' "$?"
