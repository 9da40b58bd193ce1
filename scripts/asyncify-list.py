#!/usr/bin/env python3
"""The page's functions on the way to a sleep, for Asyncify's add-list.

The page sleeps in the browser backend (bf_sleep and the storage calls), which the game reaches
through the backend's virtual calls in the platform's waits. Asyncify follows direct calls by
itself; past a virtual call it needs to be told. This lists every function of the linked page
(a names-keeping link without Asyncify) that calls one of the platform's waits, directly or
through other functions, and the waits themselves: those, and only those, may be on the stack
when the game sleeps.

    asyncify-list.py PAGE.wasm OUT.txt WAIT...

A WAIT may hold * for any run of characters; each must name at least one function. A function
of the list that is called through a pointer (it is in the function table) must be a WAIT
itself, whose callers through pointers are WAITs in turn (the backend's methods, called by the
platform's waits): else the list could miss its caller, and the listing fails.
"""

import fnmatch
import re
import subprocess
import sys


def unescape(name):
    # Binaryen's text names escape what is not plain as \XX.
    return re.sub(r'\\([0-9a-fA-F]{2})', lambda m: chr(int(m.group(1), 16)), name)


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    wasm, out, patterns = sys.argv[1], sys.argv[2], sys.argv[3:]
    text = subprocess.run(['wasm-dis', wasm], check=True, capture_output=True, text=True).stdout
    callers = {}
    current = None
    defined = set()
    pointed = set()  # in the function table: called through pointers
    for line in text.splitlines():
        line = line.strip()
        if line.startswith('(elem'):
            pointed.update(unescape(n) for n in re.findall(r'\$([^\s()]+)', line))
            continue
        m = re.match(r'\(func \$([^\s()]+)', line)
        if m:
            current = unescape(m.group(1))
            defined.add(current)
            continue
        for m in re.finditer(r'\(call \$([^\s()]+)', line):
            callers.setdefault(unescape(m.group(1)), set()).add(current)
    waits = set()
    for pattern in patterns:
        named = fnmatch.filter(defined, pattern)
        if not named:
            print(f'asyncify-list: no function {pattern} in {wasm}', file=sys.stderr)
            return 1
        waits.update(named)
    found, todo = set(waits), list(waits)
    while todo:
        for caller in callers.get(todo.pop(), ()):
            if caller is not None and caller not in found:
                found.add(caller)
                todo.append(caller)
    unnamed = sorted((found & pointed) - waits)
    for name in unnamed:
        print(f'asyncify-list: {name} is called through a pointer: name its callers as waits',
              file=sys.stderr)
    if unnamed:
        return 1
    with open(out, 'w', encoding='utf-8') as listing:
        listing.write(''.join(name + '\n' for name in sorted(found)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
