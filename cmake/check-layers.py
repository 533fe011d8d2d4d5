#!/usr/bin/env python3
"""Fails when a source file includes a header its layer must not see.

Usage: check-layers.py SOURCE_ROOT [RULES_FILE]

The rules (default: cmake/layers.txt beside this script) name, for each
top-level folder, the folders whose headers its files may include; the
headers of a folder marked "plain" name no toolkit or Windows type. Every
breach is printed as one line "FILE:LINE: includes INCLUDE (RULE)" or
"FILE:LINE: names TYPE (RULE)"; the exit
status is 1 when there is any, 2 when the rules or the tree cannot be read.
"""
import os
import re
import sys

SOURCE_ENDINGS = (".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".hxx", ".inc", ".ipp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Qt\w*(/|$)|Q[A-Z]\w*$)")
# Headers of the operating system rather than of the C and C++ standards.
OS_HEADER = re.compile(
    r"^(sys|linux|netinet|arpa|net)/|^(unistd|fcntl|spawn|poll|dlfcn|utime|malloc|pthread|dirent"
    r"|pwd|grp|termios|sched|syslog|windows|winbase|winnt|winreg|winerror|shellapi|shlobj"
    r"|shlwapi|objbase|rpc|io|direct|process|tchar|wincrypt|bcrypt)\.h$",
    re.IGNORECASE)
HEADER_ENDINGS = (".h", ".hh", ".hpp", ".hxx", ".inc", ".ipp")
# Types of the toolkit and of the Windows API, named in a header of a "plain"
# folder. Words in strings are not types; comments are blanked out first.
TOOLKIT_TYPE = re.compile(r"\bQ[A-Z]\w*")
WINDOWS_TYPE = re.compile(
    r"\b(H(WND|INSTANCE|MODULE|ANDLE|MENU|ICON|FONT|DC|KEY|RESULT|BITMAP|CURSOR|BRUSH)"
    r"|DWORD|WORD|BOOL|BYTE|UINT|LPARAM|WPARAM|LRESULT|WCHAR|TCHAR|LPC?W?STR|LPC?TSTR"
    r"|LPVOID|ATOM|COLORREF|MSG|RECT|POINT|SIZE|CALLBACK|WINAPI)\b")
STRING = re.compile(r'"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'')


class RuleError(Exception):
    pass


def read_rules(path):
    """Maps a folder or file path to the set of names it may include, or None for free."""
    rules = {}
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.readlines()
    except OSError as e:
        raise RuleError(f"{path}: cannot read the rules: {e.strerror}")
    for number, line in enumerate(lines, 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        where, sep, names = line.partition(":")
        where = where.strip().strip("/")
        if not sep or not where:
            raise RuleError(f"{path}:{number}: expected \"folder: names\"")
        if where in rules:
            raise RuleError(f"{path}:{number}: {where} has a rule already")
        names = names.split()
        rules[where] = None if names == ["free"] else set(names)
    return rules


def rule_for(rules, relative):
    """The longest rule path that is the file itself or a folder above it."""
    parts = relative.split("/")
    for n in range(len(parts), 0, -1):
        key = "/".join(parts[:n])
        if key in rules:
            return key
    return None


def strip_comments(text):
    """Blanks comments out, keeping line numbers, so a commented include is not read."""
    return re.sub(r"/\*.*?\*/|//[^\n]*",
                  lambda m: "\n" * m.group(0).count("\n"), text, flags=re.DOTALL)


def included_folder(root, relative_dir, quote, header):
    """The top-level folder of the project that holds the header, or None when it is not one.

    A quoted name is looked for beside the including file first (and always
    taken from there when it climbs with ".."), then from the source root,
    which is the project's include folder.
    """
    if quote == '"':
        beside = os.path.normpath(os.path.join(relative_dir, header))
        if ".." in header.split("/") or os.path.isfile(os.path.join(root, beside)):
            return None if beside.startswith("..") else beside.split(os.sep)[0]
    from_root = os.path.normpath(header)
    if os.sep not in from_root or from_root.startswith(".."):
        return None
    top = from_root.split(os.sep)[0]
    return top if os.path.isdir(os.path.join(root, top)) else None


def type_breach(line):
    """The first toolkit or Windows type a line of a plain header names, with why."""
    code = STRING.sub('""', line)
    for pattern, what in ((TOOLKIT_TYPE, "the toolkit's"), (WINDOWS_TYPE, "Windows'")):
        found = pattern.search(code)
        if found:
            return found.group(0), f"its headers name none of {what} types"
    return None


def breaches_of(root, relative, allowed, own):
    with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as f:
        text = strip_comments(f.read())
    relative_dir = os.path.dirname(relative)
    plain_header = "plain" in allowed and relative.endswith(HEADER_ENDINGS)
    for number, line in enumerate(text.split("\n"), 1):
        match = INCLUDE.match(line)
        if not match:
            breach = type_breach(line) if plain_header else None
            if breach:
                yield number, f"names {breach[0]} ({breach[1]})"
            continue
        quote, header = match.groups()
        if QT_HEADER.match(header):
            if "Qt" not in allowed:
                yield number, f"includes {header} (only ui/ may include the toolkit)"
            continue
        if OS_HEADER.search(header):
            if "os" not in allowed:
                yield number, f"includes {header} (only platform/ may include the system's headers)"
            continue
        folder = included_folder(root, relative_dir, quote, header)
        if folder is None or folder == own or folder in allowed:
            continue
        yield number, f"includes {header} ({own}/ may include {describe(allowed, own)})"


def describe(allowed, own):
    folders = sorted(name + "/" for name in allowed if name not in ("Qt", "os", "plain"))
    return "only " + ", ".join([own + "/"] + folders) if folders else f"only {own}/"


def source_files(root, top):
    for folder, dirs, files in os.walk(os.path.join(root, top)):
        dirs.sort()
        for name in sorted(files):
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def top_folders(root):
    """The folders of the tree that hold sources, build folders left out."""
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        if name.startswith(".") or not os.path.isdir(path):
            continue
        if os.path.exists(os.path.join(path, "CMakeCache.txt")):
            continue
        if next(source_files(root, name), None) is not None:
            yield name


def check(root, rules):
    breaches = []
    for top in top_folders(root):
        if top not in rules:
            breaches.append(f"{top}/: holds sources but has no line in the layer rules")
            continue
        for relative in source_files(root, top):
            allowed = rules[rule_for(rules, relative)]
            if allowed is None:
                continue
            for number, what in breaches_of(root, relative, allowed, top):
                breaches.append(f"{relative}:{number}: {what}")
    return breaches


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    root = argv[1]
    rules_file = argv[2] if len(argv) == 3 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "layers.txt")
    try:
        rules = read_rules(rules_file)
    except RuleError as e:
        print(e, file=sys.stderr)
        return 2
    if not os.path.isdir(root):
        print(f"{root}: not a folder", file=sys.stderr)
        return 2
    breaches = check(root, rules)
    for line in breaches:
        print(line)
    if breaches:
        print(f"{len(breaches)} breach(es) of the layers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
