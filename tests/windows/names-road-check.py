#!/usr/bin/env python3
"""Checks what `show --json` says about the names table of names-road.sh.

names-road-check.py SHOW.json SETUP-BASE SETUP-EXT NAME...

The names and IDs come back byte for byte; each ID is percent-encoded in the
ASCII purchase link; the derived file name is "<base>_<name><ext>" with a
trailing dot or blank turned into "_". Prints "key<TAB>file<TAB>link<TAB>site"
per affiliate for the rest of the road.
"""
import json
import sys
import urllib.parse

show, base, ext, names = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
with open(show, encoding="utf-8") as f:
    rows = sorted(json.load(f)["affiliates"], key=lambda r: r["key"])  # keys follow the adding
got = [r["name"] for r in rows]
assert got == names, got
assert [r["affiliateId"] for r in rows] == names
for r, n in zip(rows, names):
    encoded = urllib.parse.quote(n.encode(), safe="-._~!$'()*,;:@/?")
    link = r["purchaseLink"]
    assert link.endswith("?affiliate=" + encoded + "&item=1234"), link
    assert link.isascii(), link
    wanted = base + "_" + n + ext
    kept = wanted.rstrip(". ")
    wanted = kept + "_" * (len(wanted) - len(kept))
    file = r["setupPath"].replace("\\", "/").split("/")[-1]
    assert file == wanted, (file, wanted)
    print(r["key"], file, link, r["webSite"], sep="\t")
