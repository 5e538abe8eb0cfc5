#!/usr/bin/env python3
"""Checks that the includes under src/ run one way: shell -> win -> the
portable folders, and among the portable folders from a higher floor to a
lower one. Prints every arrow that runs the other way and exits 1 if any.

Usage: scripts/layers.py [SRC_DIR]   (default: the src/ beside this script)
"""
import os
import re
import sys

# Low to high. A folder may include its own files and those of lower floors.
FLOORS = [
    ['common'],
    ['settings'],
    ['net'],
    ['sites'],
    ['engine'],
    ['logs', 'wizard'],
    ['tools'],
    ['win'],
    ['shell'],
]
FLOOR = {name: level for level, names in enumerate(FLOORS) for name in names}
SHELL = {'win', 'shell'}
# The system headers only the shell may include.
WINDOWS_HEADERS = re.compile(
    r'#\s*include\s*<(windows|winsock2|ws2tcpip|commctrl|commdlg|shellapi|shlobj|objbase|'
    r'wincrypt|schannel|security|sspi|mmsystem|winhttp|wininet)\.h>', re.I)
QUOTED = re.compile(r'#\s*include\s*"([^"]+)"')


def folder_of(relative):
    return relative.split('/', 1)[0]


def arrows(src):
    """(file, folder, included folder or header) for each include that breaks a rule."""
    found = []
    for root, _, names in os.walk(src):
        for name in sorted(names):
            if not name.endswith(('.h', '.cpp', '.inc')):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, src).replace(os.sep, '/')
            home = folder_of(relative)
            if home not in FLOOR:
                found.append((relative, home, 'a folder with no floor'))
                continue
            with open(path, encoding='utf-8', errors='replace') as f:
                text = f.read()
            if home not in SHELL:
                for m in WINDOWS_HEADERS.finditer(text):
                    found.append((relative, home, '<%s.h>' % m.group(1)))
            for m in QUOTED.finditer(text):
                target = folder_of(m.group(1))
                if '/' not in m.group(1) or target == home or target not in FLOOR:
                    continue
                if FLOOR[target] > FLOOR[home] or (target in SHELL and home not in SHELL):
                    found.append((relative, home, m.group(1)))
    return found


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'src')
    found = arrows(src)
    for relative, home, target in found:
        print('%s: %s includes %s' % (relative, home, target))
    print('%d include(s) running back up' % len(found))
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
