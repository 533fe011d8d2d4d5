#!/usr/bin/env python3
"""Checks or rewrites the project's C and C++ sources against .clang-format.

usage: format-sources.py (--check | --fix) <source root> <jobs> [folder ...]

--check prints every file whose text differs from what clang-format makes of
it and exits 1 when there is any; --fix rewrites those files in place. Only
the files of the named folders count; sample trees under tests/data/ and
build folders are left out. clang-format-14 is the version the checks are
made with (another version formats some constructs differently).
"""
import os
import re
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

CLANG_FORMAT = "clang-format-14"
ENDINGS = (".c", ".cc", ".cpp", ".h", ".hpp")
LEFT_OUT = ("tests/data/",)


def sources(root, folders):
    for folder in folders:
        for here, dirs, files in os.walk(os.path.join(root, folder)):
            dirs[:] = sorted(d for d in dirs
                             if not os.path.exists(os.path.join(here, d, "CMakeCache.txt")))
            for name in sorted(files):
                path = os.path.relpath(os.path.join(here, name), root).replace(os.sep, "/")
                if name.endswith(ENDINGS) and not path.startswith(LEFT_OUT):
                    yield path


VIOLATION = re.compile(r"^(.+?):\d+:\d+: error: code should be clang-formatted")
BATCH = 40


def differing(root, batch):
    """The files of batch that clang-format would change."""
    run = subprocess.run([CLANG_FORMAT, "--dry-run", "-Werror", "--style=file"] + batch,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                         cwd=root)
    found = {m.group(1) for m in map(VIOLATION.match, run.stderr.splitlines()) if m}
    if run.returncode != 0 and not found:
        raise RuntimeError(run.stderr.strip() or f"{CLANG_FORMAT} exited {run.returncode}")
    return [path for path in batch if path in found]


def main(argv):
    if len(argv) < 4 or argv[1] not in ("--check", "--fix"):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    mode, root, jobs, folders = argv[1], argv[2], int(argv[3]), argv[4:]
    files = list(sources(root, folders))
    try:
        with ThreadPoolExecutor(max_workers=max(1, jobs)) as pool:
            batches = [files[i:i + BATCH] for i in range(0, len(files), BATCH)]
            changed = [p for found in pool.map(lambda b: differing(root, b), batches)
                       for p in found]
    except FileNotFoundError:
        print(f"format: {CLANG_FORMAT} is missing (scripts/setup-deps installs it)",
              file=sys.stderr)
        return 2
    except RuntimeError as e:
        print(f"format: {e}", file=sys.stderr)
        return 2
    if mode == "--fix":
        if changed:
            subprocess.run([CLANG_FORMAT, "-i", "--style=file"] + changed, check=True, cwd=root)
        print(f"format: {len(changed)} of {len(files)} files rewritten")
        return 0
    for path in changed:
        print(f"{path}: differs from .clang-format")
    if changed:
        print(f"format: {len(changed)} of {len(files)} files differ; `make format` rewrites them")
        return 1
    print(f"format: {len(files)} files as .clang-format wants them")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
