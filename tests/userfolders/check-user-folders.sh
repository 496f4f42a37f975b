#!/bin/sh
# The user's own folders of this application, as they were before the suite
# and as they are after it: the suite must leave them alone, since it runs
# with a home and data folders of its own.
#   check-user-folders.sh snapshot STATE   records them in STATE
#   check-user-folders.sh compare STATE    fails, naming them, when they changed
#   check-user-folders.sh self-test        shows that a write is caught
set -u

folders() {
    echo "$1/.local/share/q3dart-companion"
    echo "$1/.config/q3dart"
}

# Every entry with its size and time of change; "absent" for a folder that is not there.
listing() {
    for folder in $(folders "$1"); do
        if [ -e "$folder" ]; then
            find "$folder" -printf '%p %s %T@\n' | LC_ALL=C sort
        else
            echo "$folder absent"
        fi
    done
}

case "${1:-}" in
snapshot)
    listing "$HOME" > "$2"
    ;;
compare)
    if ! listing "$HOME" | cmp -s - "$2"; then
        echo "the test suite changed the user's own folders ($(folders "$HOME" | tr '\n' ' ')):"
        listing "$HOME" | diff "$2" - | head -20
        exit 1
    fi
    echo "the user's own folders are as they were"
    ;;
self-test)
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    mkdir -p "$home/.local/share/q3dart-companion"
    HOME=$home "$0" snapshot "$home/state" || exit 1
    echo '[]' > "$home/.local/share/q3dart-companion/upgrade-history.json"
    if HOME=$home "$0" compare "$home/state"; then
        echo "self-test: a write was not caught"
        exit 1
    fi
    echo "self-test: the write was caught"
    ;;
*)
    echo "usage: check-user-folders.sh snapshot|compare STATE | self-test" >&2
    exit 2
    ;;
esac
