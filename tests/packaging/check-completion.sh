#!/usr/bin/env bash
# check-completion.sh COMPLETION_DIR PROGRAM_DIR...
# Loads the bash completions of q3dart-cli and q3dart-sim as bash-completion
# does and completes lines as a user pressing Tab would, against the programs
# in the PROGRAM_DIRs.
set -uo pipefail
completions=$1
shift
for dir in "$@"; do
    PATH=$dir:$PATH
done
export PATH
source /usr/share/bash-completion/bash_completion || exit 1
for program in q3dart-cli q3dart-sim; do
    source "$completions/$program" || exit 1
    [[ $(complete -p $program) == *_${program//-/_}* ]] || { echo "no completion registered for $program"; exit 1; }
done

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
    "_${COMP_WORDS[0]//-/_}" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
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
        printf 'completion of "%s": expected\n%s\ngot\n%s\n' "$line" "$want" "$got"
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
            printf 'completion of "%s": %s missing from\n%s\n' "$line" "$word" "$got"
            failures=$((failures + 1))
        fi
    done
}

expect 'q3dart-cli up' upgrade
expect 'q3dart-cli upgrade --' --allow-older --json --latest --local --online
expect 'q3dart-cli --simulate upgrade --l' --latest --local
expect 'q3dart-cli --device sim s' serve sign-keys sign-list sign-root station
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

# The simulator: its options from its help, the faults after a controller's
# index, folders for the flash.
expect_some 'q3dart-sim --' --listen --count --fault --impostor --flash-dir --versions --help --version
expect 'q3dart-sim --re' --refuse-checksum --refuse-end --replay --reply-delay --restart-delay
expect_some 'q3dart-sim --' --split --glue --duplicate --stray-byte
expect_some 'q3dart-cli --' --usb-id --record
# A USB identity is the user's to type; a recording is a file.
expect 'q3dart-cli --usb-id '
# (bash breaks words at the colon: what follows it is offered)
expect 'q3dart-sim --fault 2:re' refuse-checksum refuse-end
expect 'q3dart-sim --fault 0:s' silent-end
expect 'q3dart-sim --fault 0'
expect 'q3dart-sim --flash-dir ' old
expect 'q3dart-sim --listen '

if [[ $failures -ne 0 ]]; then
    echo "$failures completion checks failed"
    exit 1
fi
echo "completion checks passed"
