#!/bin/sh
# Makes the locale de_DE.UTF-8 in the folder given, for tests to find through
# LOCPATH, when the machine has none of its own. No root is needed.
set -eu
folder=$1
if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8' || [ -d "$folder/de_DE.UTF-8" ]; then
    exit 0
fi
mkdir -p "$folder"
# Made aside and moved in whole, for tests that start at the same time.
scratch=$(mktemp -d "$folder/.making.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
status=0
localedef -i de_DE -f UTF-8 "$scratch/de_DE.UTF-8" >"$scratch/log" 2>&1 || status=$?
# Status 1 means warnings only; the locale is made.
if [ "$status" -gt 1 ] || [ ! -f "$scratch/de_DE.UTF-8/LC_MESSAGES/SYS_LC_MESSAGES" ]; then
    cat "$scratch/log" >&2
    echo "german-locale.sh: localedef could not make de_DE.UTF-8; install the locales package (scripts/install-deps)" >&2
    exit 1
fi
mv -T "$scratch/de_DE.UTF-8" "$folder/de_DE.UTF-8" 2>/dev/null || [ -d "$folder/de_DE.UTF-8" ]
