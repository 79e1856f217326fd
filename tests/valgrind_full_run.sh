#!/bin/sh
# A full run of the classroom example under valgrind, keys from a file: every step
# answered with TABs (spare TABs only redraw the menu), then ESC. Fails on any invalid
# access and on any record lost without being released.
# Usage: valgrind_full_run.sh MLFQ_BINARY EXAMPLE_DIR
set -eu
binary="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$2/processo.txt" "$work/"
i=0
: >"$work/keys"
while [ $i -lt 30 ]; do
    printf 'c\t\t\t\t\t\t' >>"$work/keys"
    i=$((i + 1))
done
printf '1x2x3x4x5x\033' >>"$work/keys"
cd "$work"
valgrind --quiet --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect "$binary" <keys >output
grep -q 'Nome: Compilador  chegada:  0  espera:   0  turnaround:  26' output
echo "valgrind: full run clean"
