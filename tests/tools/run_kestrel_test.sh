#!/bin/sh
# Starts tools/run-kestrel with a fake wine on PATH and a prefix that already
# exists, and checks what the program is started with.
#   run_kestrel_test.sh <source folder>
set -u
top=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
build="$tmp/build"
mkdir -p "$tmp/bin" "$build/bin" "$build/wineprefix-run"
touch "$build/bin/kestrel.exe" "$build/wineprefix-run/.kestrel-run-3"
cat >"$tmp/bin/wine" <<'FAKE'
#!/bin/sh
echo "prefix $WINEPREFIX" >"$FAKE_ARGS"
for a in "$@"; do echo "arg $a" >>"$FAKE_ARGS"; done
FAKE
chmod +x "$tmp/bin/wine"
# Should the prefix be made anew, it is made without Wine.
printf '#!/bin/sh\n' >"$tmp/bin/wineboot"
cp "$tmp/bin/wineboot" "$tmp/bin/wineserver"
chmod +x "$tmp/bin/wineboot" "$tmp/bin/wineserver"
failures=0

check() {  # case name, expected argument lines after the program, run-kestrel arguments...
    name=$1 want=$2
    shift 2
    FAKE_ARGS="$tmp/$name" PATH="$tmp/bin:$PATH" sh "$top/tools/run-kestrel" "$@" >"$tmp/$name.out" 2>&1
    expected=$(printf 'prefix %s\narg %s%s' "$build/wineprefix-run" "$build/bin/kestrel.exe" "$want")
    if [ "$(cat "$tmp/$name" 2>/dev/null)" != "$expected" ]; then
        echo "FAIL $name: wine got:"; cat "$tmp/$name" "$tmp/$name.out"
        failures=$((failures + 1))
    fi
}
check no_argument "" "$build"
check picture "$(printf '\narg %s\narg %s' "a b.bmp" "-x")" "$build" "a b.bmp" -x

[ "$failures" = 0 ] && echo "run_kestrel_test: all cases pass"
[ "$failures" = 0 ]
