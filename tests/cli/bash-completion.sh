#!/bin/bash
# The generated bash completion offers every command velkora-cli lists and,
# after a command, every option its help shows.
set -u
cli=$1
script=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# shellcheck source=/dev/null
. "$script" || { echo "FAIL: cannot source $script"; exit 1; }

complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _velkora_cli
    echo " ${COMPREPLY[*]} "
}

commands=$("$cli" help | sed -n 's/^  \([a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "help lists no commands"
for name in $commands; do
    case $(complete_words velkora-cli "${name%?}") in
    *" $name "*) ;;
    *) fail "'${name%?}' does not complete to $name" ;;
    esac
    for option in $("$cli" help "$name" | grep -o '^  --[a-z-]*' | tr -d ' '); do
        case $(complete_words velkora-cli "$name" x "$option") in
        *" $option "*) ;;
        *) fail "$name: $option is not offered" ;;
        esac
    done
done
case $(complete_words velkora-cli --vers) in *" --version "*) ;; *) fail "--version" ;; esac
[ "$(complete_words velkora-cli show p)" = "  " ] || fail "a file name is left to bash"

[ "$failures" -eq 0 ] || exit 1
echo "bash completion passed"
