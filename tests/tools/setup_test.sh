#!/bin/sh
# Runs tools/setup against fake apt-get, dpkg, dpkg-query, sudo, wine, tee,
# mount and sleep on PATH and a fake apt configuration folder: no root, no
# network, nothing on the machine changes.
#   setup_test.sh <source folder>
set -u
top=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fakes="$tmp/bin"
mkdir -p "$fakes"
codename=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | tr -d '"')
failures=0

fake() {  # name, body: a script that logs its call, then runs the body
    printf '#!/bin/sh\necho "%s $*" >>"$FAKE_DIR/calls"\n%s\n' "$1" "$2" >"$fakes/$1"
    chmod +x "$fakes/$1"
}
fake sudo 'exec "$@"'
fake sleep ':'
fake mount ':'
fake tee 'echo "$(cat)" >>"$FAKE_DIR/calls"'
fake wine '[ "$FAKE_WINE" = ok ]'
fake dpkg 'case "$1" in --print-architecture) echo amd64 ;; --print-foreign-architectures) echo i386 ;; esac'
# Lists every package the set-up wants as installed, or none.
fake dpkg-query '
case "$*" in *qemu-user-static*) exit 1 ;; esac
[ "$FAKE_COMPLETE" = 1 ] || exit 0
for p in $(sed -n "/^PACKAGES=\"/,/^\"/p" "$FAKE_TOP/tools/setup" | tr -d "\""); do
    case "$p" in PACKAGES=) ;; *:*) echo "$p install ok installed" ;; *) echo "$p:amd64 install ok installed" ;; esac
done'
# "update" fails its first FAKE_UPDATE_FAILS times the way a mirror in the
# middle of a sync makes it fail.
fake apt-get '
case "$*" in
*update*)
    n=$(($(cat "$FAKE_DIR/updates" 2>/dev/null || echo 0) + 1)); echo $n >"$FAKE_DIR/updates"
    [ "$n" -gt "$FAKE_UPDATE_FAILS" ] && exit 0
    echo "E: Failed to fetch file:/srv/security/dists/x-security/main/binary-i386/Packages.xz  File has unexpected size (10 != 20). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
*install*)
    [ "$FAKE_INSTALL" = ok ] && exit 0
    echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100 ;;
esac'

# case name, complete (1/0), update failures, install (ok/fail), wine (ok/fail),
# expected status, text the output must hold, text the fake calls must hold
check() {
    export FAKE_DIR="$tmp/$1" FAKE_TOP="$top" FAKE_COMPLETE="$2" FAKE_UPDATE_FAILS="$3" FAKE_INSTALL="$4" FAKE_WINE="$5"
    mkdir -p "$FAKE_DIR"
    touch "$FAKE_DIR/calls"
    PATH="$fakes:$PATH" KESTREL_APT_ETC="$tmp/apt-$1" sh "$top/tools/setup" >"$FAKE_DIR/out" 2>&1
    status=$?
    if [ "$status" != "$6" ] || ! { [ -z "$7" ] || grep -qF -e "$7" "$FAKE_DIR/out"; } || ! grep -qF -e "$8" "$FAKE_DIR/calls"; then
        echo "FAIL $1: status $status (want $6), output:"; cat "$FAKE_DIR/out"
        echo "calls:"; cat "$FAKE_DIR/calls"
        failures=$((failures + 1))
    fi
}
sources() {  # case name, file name, text
    mkdir -p "$tmp/apt-$1/sources.list.d"
    printf '%s\n' "$3" >"$tmp/apt-$1/$2"
}

check complete 1 0 fail ok 0 "" "dpkg-query -W -f"
if grep -q apt-get "$tmp/complete/calls" || [ -s "$tmp/complete/out" ] \
    || [ "$(grep -c dpkg-query "$tmp/complete/calls")" != 1 ]; then
    echo "FAIL complete: a complete machine must cost one dpkg-query and nothing else"; cat "$tmp/complete/calls"
    failures=$((failures + 1))
fi
check retried 0 1 ok ok 0 "setup: packages installed" "apt-get install"
check index_unneeded 0 99 ok ok 0 "setup: packages installed" "apt-get install"
[ "$(cat "$tmp/index_unneeded/updates")" -ge 2 ] || { echo "FAIL index_unneeded: update not retried"; failures=$((failures + 1)); }
check mirror_broken 0 99 fail ok 1 "file:/srv/security/dists/x-security/main/binary-i386/Packages.xz" "apt-get install"
grep -q "mirror is inconsistent.*not the project" "$tmp/mirror_broken/out" \
    || { echo "FAIL mirror_broken: no word on the mirror"; failures=$((failures + 1)); }

# The emulator's backports come from the machine's own Debian source: the
# one that serves the release itself, not the security suite.
security="Types: deb
URIs: file:/srv/security
Suites: $codename-security
Components: main"
sources no_source sources.list.d/debian.sources "$security"
check no_source 1 0 ok fail 1 "no Debian package source for release \"$codename\"" "wine --version"
grep -q -e tee -e "apt-get" "$tmp/no_source/calls" && { echo "FAIL no_source: went on"; failures=$((failures + 1)); }
sources deb822 sources.list.d/debian.sources "$security

Types: deb
# a comment
URIs: file:/srv/debian
Suites: $codename $codename-updates
Components: main"
check deb822 1 0 ok fail 1 "setup: cannot run 32-bit programs" "deb file:/srv/debian $codename-backports main"
grep -q "apt-get install .*-t $codename-backports qemu-user-static" "$tmp/deb822/calls" \
    || { echo "FAIL deb822: emulator not installed from backports"; failures=$((failures + 1)); }
sources oneline sources.list "deb [arch=amd64 signed-by=/k.gpg] file:/srv/security $codename-security main
deb file:/srv/debian $codename main"
check oneline 1 0 ok fail 1 "setup: cannot run 32-bit programs" "deb file:/srv/debian $codename-backports main"

[ "$failures" = 0 ] && echo "setup_test: all cases pass"
[ "$failures" = 0 ]
