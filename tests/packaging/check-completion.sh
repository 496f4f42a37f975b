#!/usr/bin/env bash
# check-completion.sh COMPLETION PROGRAM_DIR
# Loads the bash completion as bash-completion does and completes lines as a
# user pressing Tab would, against the program in PROGRAM_DIR.
set -uo pipefail
completion=$1
export PATH=$2:$PATH
source /usr/share/bash-completion/bash_completion || exit 1
source "$completion" || exit 1
[[ $(complete -p q3dart-cli) == *_q3dart_cli* ]] || { echo "no completion registered for q3dart-cli"; exit 1; }

failures=0
# complete LINE: what Tab offers at the end of LINE, one a line, sorted.
complete_line()
{
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    COMP_WORDS=()
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _q3dart_cli q3dart-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort
}
# expect LINE WORD...: Tab offers exactly these words.
expect()
{
    local line=$1
    shift
    local got want
    got=$(complete_line "$line")
    want=$(printf '%s\n' "$@" | sort)
    if [[ $got != "$want" ]]; then
        printf 'q3dart-cli completion of "%s": expected\n%s\ngot\n%s\n' "$line" "$want" "$got"
        failures=$((failures + 1))
    fi
}
# expect_some LINE WORD...: Tab offers at least these words.
expect_some()
{
    local line=$1 word got
    shift
    got=$(complete_line "$line")
    for word in "$@"; do
        if ! grep -qxF -- "$word" <<<"$got"; then
            printf 'q3dart-cli completion of "%s": %s missing from\n%s\n' "$line" "$word" "$got"
            failures=$((failures + 1))
        fi
    done
}

expect 'q3dart-cli up' upgrade
expect 'q3dart-cli upgrade --' --allow-older --json --latest --local --online
expect 'q3dart-cli --simulate upgrade --l' --latest --local
expect 'q3dart-cli --device sim s' serve sign-keys sign-list station
expect_some 'q3dart-cli --' --device --simulate --lang --help --version --max-download-mib
expect 'q3dart-cli --device ' serial: sim tcp:
expect 'q3dart-cli --lang ' en ja zh
expect 'q3dart-cli keytest --check --stick ' both left right
# Versions from the releases the line's options reach: the embedded default's.
expect 'q3dart-cli --simulate upgrade --online ' $(q3dart-cli --simulate releases --online | cut -f1)
expect 'q3dart-cli --simulate upgrade --online 1.1' 1.1-2.5-1.8
# Files for the images, folders for the documents.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/images" && touch "$work/images/boot.bin" "$work/images/left.bin" && mkdir "$work/images/old"
cd "$work/images" || exit 1
expect 'q3dart-cli flash --boot b' boot.bin
expect 'q3dart-cli st' station
expect 'q3dart-cli station --' --device --json
expect 'q3dart-cli station --device ' serial: sim tcp:
expect 'q3dart-cli station --device sim ' flash upgrade
expect 'q3dart-cli station --device sim upgrade --l' --latest --local
expect 'q3dart-cli station --device sim flash --left ' boot.bin left.bin old
expect 'q3dart-cli flash --left ' boot.bin left.bin old
expect 'q3dart-cli --documents ' old
# Archives for import, for every archive after the first too.
touch "$work/images/1.2-1.3-1.4.zip" "$work/images/1.2-1.3-1.5.zip"
expect 'q3dart-cli import 1.2-1.3-1.4.zip 1.' 1.2-1.3-1.4.zip 1.2-1.3-1.5.zip
# A word that is no command, and an option that takes any value, offer nothing.
expect 'q3dart-cli frob'
expect 'q3dart-cli --wait '

if [[ $failures -ne 0 ]]; then
    echo "$failures completion checks failed"
    exit 1
fi
echo "completion checks passed"
