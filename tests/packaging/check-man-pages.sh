#!/usr/bin/env bash
# check-man-pages.sh [--commands PROGRAM PAGE] PAGE...
# Each manual page must read without a warning from man; with --commands,
# PAGE must have a section for every command PROGRAM's help lists.
set -uo pipefail
status=0
program='' commandsPage=''
if [[ ${1-} == --commands ]]; then
    program=$2 commandsPage=$3
    shift 3
fi
for page in "$@"; do
    if ! warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null); then
        echo "$page: man cannot read it: $warnings"
        status=1
    elif [[ -n $warnings ]]; then
        echo "$page: $warnings"
        status=1
    fi
done
if [[ -n $program ]]; then
    text=$(LC_ALL=C.UTF-8 MANWIDTH=250 man -l "$commandsPage" 2>/dev/null)
    commands=$("$program" --lang en --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
    [[ -n $commands ]] || { echo "$program --help lists no command"; status=1; }
    for command in $commands; do
        grep -qE "^   $command( |$)" <<<"$text" || { echo "$commandsPage has no section for $command"; status=1; }
    done
fi
[[ $status -eq 0 ]] && echo "manual pages clean: $*"
exit $status
