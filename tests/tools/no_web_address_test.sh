#!/bin/sh
# The set-up scripts name no package host and no web address: the machine's
# own configuration says where packages come from.
#   no_web_address_test.sh <source folder>
set -u
cd "$1" || exit 1
if grep -n -I -i -E '[a-z][a-z0-9+.-]*://|www\.|[a-z0-9-]\.(org|com|net|io|dev|edu|gov)([^a-z0-9]|$)' \
    -r tools .ci Makefile; then
    echo "no_web_address_test: the lines above hold a web address"
    exit 1
fi
echo "no_web_address_test: none found"
