#!/usr/bin/env bash
# Keeps what the build cannot say about the tree's shape: no source file
# over 500 lines, the portable core (src/ but src/host) free of
# <windows.h>, one file that writes to the debug channel (every report goes
# through the one logging path, src/platform/log.h), and no include that
# climbs with "..": the compiler looks first in the including file's own
# folder, so "../app/keyboard.h" would reach past the include roots that
# keep each folder to itself and what it links (cmake/layers.cmake).
# Function length (80 lines) is clang-tidy's readability-function-size.
# The README's and the guides' links are followed too (check-links.py).
# Prints every breach; exits non-zero when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
python3 - <<'PY' || status=1
import pathlib, re, sys

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
    core = path.relative_to("src").parts[0] != "host"
    for n, line in enumerate(text.splitlines(), 1):
        if core and re.match(r'\s*#\s*include\s*<windows\.h>', line, re.I):
            breaches.append(f"{path}:{n}: the portable core includes <windows.h>")
        if re.match(r'\s*#\s*include\s*"(\.\.?/|[^"]*/\.\./)', line):
            breaches.append(f"{path}:{n}: a relative include; name the file from the top of src/")
for b in breaches:
    print(b)
if breaches:
    sys.exit(1)
print("check-structure: the tree keeps its shape")
PY
# Run even after a breach above, so that one does not hide the other.
python3 scripts/check-links.py || status=1
exit $status
