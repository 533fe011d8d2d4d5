#!/bin/sh
# The real velkora-cli along a vendor's road: a spreadsheet of affiliates in,
# their custom setups built and verified, a changed setup file caught.
set -u
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
cd "$dir" || exit 1

printf '#!SETUP' > Setup.sh
"$cli" new p.vkp --title T --version 1 --website w --setup-file Setup.sh \
    --output-dir out --service RegNow --product-id 7 >/dev/null 2>&1 || fail "new"
printf '\357\273\277Name,Affiliate ID,Web site\r\n"Ann, Ltd",a1,http://ann.example\r\nBob,b2,\r\n' > in.csv
"$cli" import-affiliates p.vkp in.csv >report 2>err || fail "import exited $?: $(cat err)"
grep -q '2 row(s): 2 accepted, 0 refused; added 2' report || fail "import report: $(cat report)"

"$cli" export-affiliates p.vkp >stdout.csv 2>err || fail "export to stdout: $(cat err)"
"$cli" export-affiliates p.vkp --output file.csv || fail "export to a file"
cmp -s stdout.csv file.csv || fail "export differs between stdout and --output"
grep -q '"Ann, Ltd",a1,http://ann.example,' file.csv || fail "export: $(cat file.csv)"

"$cli" build p.vkp --quiet >report 2>&1 || fail "build: $(cat report)"
"$cli" verify p.vkp >report 2>err || fail "verify of a fresh build exited $?: $(cat report err)"
grep -q 'All custom setups match.' report || fail "verify: $(cat report)"

printf 'SETUQ' > Setup.sh
touch -d '@1' out/*
"$cli" verify p.vkp >report 2>err
rc=$?
[ "$rc" -eq 1 ] || fail "verify of a changed setup exited $rc"
grep -q 'differs from the product' report || fail "verify: $(cat report)"
echo "csv and verify road passed"
