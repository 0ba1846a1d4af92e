#!/bin/sh
# Runs the low-colour display test of shell_tests on a private 8-bit Xvfb
# screen (Wine reports 8 bits per pixel there), so the program's refusal to
# start is checked automatically.
#   lowcolour_display.sh <wine runner> <shell_tests.exe>
set -u
runner=$1
tests=$2
tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

Xvfb -displayfd 3 -screen 0 800x600x8 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xvfb_pid=$!
i=0
while [ ! -s "$tmp/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
[ -s "$tmp/display" ] || { echo "lowcolour_display: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$tmp/display")"
export KESTREL_LOW_COLOUR_DISPLAY=1

$runner "$tests" --gtest_filter='LowColourDisplay.*' </dev/null
