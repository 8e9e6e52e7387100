#!/usr/bin/env bash
# Keeps the tree's shape: no source file over 500 lines, the portable core
# free of <windows.h>, one file that writes to the debug channel (every
# report goes through the one logging path, src/platform/log.h), and imports
# one way, from the top that assembles the
# keyboard down to the key-string engine:
#   app > delivery users (keys, face, commands, dialogs, aids, predict)
#       > delivery > base > platform interfaces > layout, keystring
# A folder may include its own files, its peers on the same level, and any
# level below. Function length (80 lines) is clang-tidy's readability-
# function-size. Prints every breach; exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - <<'PY'
import pathlib, re, sys

levels = {
    "keystring": 0, "layout": 0,
    "platform": 1,
    "base": 2,
    "delivery": 3,
    "keys": 4, "face": 4, "commands": 4, "dialogs": 4, "aids": 4, "predict": 4,
    "app": 5,
}
# The log's sink on Windows, the one writer of the debug channel.
DEBUG_CHANNEL = "src/host/common/failure.cpp"
breaches = []
for path in sorted(pathlib.Path("src").rglob("*")):
    if path.suffix not in (".h", ".cpp"):
        continue
    text = path.read_text(encoding="utf-8")
    lines = text.count("\n")
    if lines > 500:
        breaches.append(f"{path}: {lines} lines, over 500")
    if re.search(r'OutputDebugString', text) and path.as_posix() != DEBUG_CHANNEL:
        breaches.append(f"{path}: writes to the debug channel; report through logFailure instead")
    parts = path.relative_to("src").parts
    if parts[0] == "host":
        continue  # the host may use anything
    folder = parts[0] if len(parts) > 1 else ""
    if folder not in levels:
        breaches.append(f"{path}: folder '{folder}' has no level in check-structure.sh")
        continue
    for n, line in enumerate(text.splitlines(), 1):
        if re.match(r'\s*#\s*include\s*<windows\.h>', line, re.I):
            breaches.append(f"{path}:{n}: the portable core includes <windows.h>")
        m = re.match(r'\s*#\s*include\s*"([^/"]+)/', line)
        if not m:
            continue
        target = m.group(1)
        if target not in levels:
            continue
        if levels[target] > levels[folder]:
            breaches.append(f"{path}:{n}: {folder}/ includes {target}/, which sits above it")
for b in breaches:
    print(b)
if breaches:
    sys.exit(1)
print("check-structure: the tree keeps its shape")
PY
