#!/usr/bin/env python3
"""Runs clang-tidy over the project's own sources, once per file.

usage: clang-tidy-sources.py <build folder> <source root> <jobs> [folder ...]

Reads the build's compile_commands.json, keeps the first command of every
source file under the named folders of the source root (generated files in
the build folder and second compilations of one file, such as the
ThreadSanitizer test's, are left out), and runs run-clang-tidy-14 on that list.
Exits non-zero when clang-tidy reports anything (.clang-tidy makes every
warning an error).
"""
import json
import os
import subprocess
import sys
import time


def main():
    build, root, jobs, *folders = sys.argv[1:]
    root = os.path.realpath(root)
    build = os.path.realpath(build)
    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = json.load(f)
    prefixes = tuple(os.path.join(root, folder) + os.sep for folder in folders)
    chosen = {}
    for entry in commands:
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        if path.startswith(build + os.sep) or not path.startswith(prefixes):
            continue
        chosen.setdefault(path, dict(entry, file=path))
    tidy_dir = os.path.join(build, "clang-tidy")
    os.makedirs(tidy_dir, exist_ok=True)
    with open(os.path.join(tidy_dir, "compile_commands.json"), "w") as f:
        json.dump(list(chosen.values()), f, indent=1)
    header_filter = "^" + root + "/(" + "|".join(folders) + ")/"
    started = time.monotonic()
    run = subprocess.Popen(["run-clang-tidy-14", "-quiet", "-p", tidy_dir, "-j", jobs,
                            "-header-filter", header_filter, "-clang-tidy-binary",
                            "clang-tidy-14"], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
    # Keep the findings, drop the per-file progress and the system-header counts.
    for line in run.stdout:
        if "warnings generated" in line or line.startswith("clang-tidy-14 ") or \
                line.startswith("Suppressed ") or line.startswith("Use -header-filter"):
            continue
        if line.strip():
            print(line, end="", flush=True)
    returncode = run.wait()
    print("clang-tidy: %d files in %.0f s, %s" % (len(chosen), time.monotonic() - started,
          "no findings" if returncode == 0 else "FINDINGS"))
    return 1 if returncode else 0


if __name__ == "__main__":
    sys.exit(main())
