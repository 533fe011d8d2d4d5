#!/bin/sh
# Every command of velkora-cli, with project, CSV and package texts full of
# control bytes: no byte below 0x20 but newline and tab, and so no ESC, may
# reach standard output or standard error (a name must not retitle the window,
# clear the screen or ring the bell).
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cd "$dir"

esc=$(printf '\033')
bad="${esc}[31m${esc}]0;owned$(printf '\007')${esc}[2J$(printf '\001\r\013\014\033')[1A"
ran=" "

# Runs one command with stdout and stderr apart and checks both.
run() {
    ran="$ran$1 "
    "$cli" "$@" >o.txt 2>e.txt </dev/null
    for stream in o.txt e.txt; do
        n=$(LC_ALL=C tr -d '\n\t\040-\377' <"$stream" | wc -c)
        [ "$n" -eq 0 ] || fail "$1 wrote $n control byte(s) to $stream: $(od -c "$stream" | head -3)"
    done
}

printf '#!/bin/sh\nexit 0\n' >"setup$bad.sh"
chmod +x "setup$bad.sh"
run new p.vkp --title "T$bad" --version "1$bad" --website "w$bad" --setup-file "setup$bad.sh" \
    --output-dir "out$bad" --service RegSoft --product-id 55
run set-product p.vkp --uuid "u$bad"
run add-affiliate p.vkp --name "Bob$bad" --affiliate-id 9 --website "w$bad" --email "e$bad" \
    --purchase-link "https://x/$bad"
run add-affiliate p.vkp --name "Eve$bad" --affiliate-id 10
run show p.vkp
run show p.vkp --json
run export-affiliates p.vkp --output a.csv
run export-affiliates "p$bad.vkp"
printf 'Name,AffiliateID,Col%s\r\nAnn%s,11,x\r\n%s,,\r\n' "$bad" "$bad" "$bad" >b.csv
run import-affiliates p.vkp b.csv --dry-run
run import-affiliates p.vkp b.csv --skip-bad
run import-affiliates p.vkp b.csv --json
run import-affiliates p.vkp "missing$bad.csv"
run build p.vkp
run build "p$bad.vkp"
run run-setup p.vkp 0
run build-self-creator p.vkp
run template p.vkp --output t.exe
run stamp p.vkp --template t.exe
run stamp p.vkp --template "t$bad.exe"
for built in "out$bad"/*; do
    run inspect "$built"
    run inspect "$built" --json
done
run inspect "none$bad"
printf 'not a package%s' "$bad" >"junk$bad"
run inspect "junk$bad"
run verify p.vkp
run verify p.vkp --json
run remove-affiliate p.vkp 1
run remove-affiliate p.vkp "9$bad"
printf 'VKP%s' "$bad" >"broken$bad.vkp"
run show "broken$bad.vkp"
run verify "broken$bad.vkp"
# A project that cannot be read ends serve before it listens.
run serve "p$bad.vkp" --listen 127.0.0.1:0
run "help" "x$bad"
run "frob$bad"
run show p.vkp "--x$bad"

# Every command of the table was run.
for name in $("$cli" help | sed -n 's/^  \([a-z-]*\) .*/\1/p'); do
    case "$ran" in *" $name "*) ;; *) fail "no hostile run of $name" ;; esac
done

[ "$failures" -eq 0 ] || exit 1
echo "terminal safety passed"
