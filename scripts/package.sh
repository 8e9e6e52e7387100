#!/usr/bin/env bash
# Builds the Windows program and writes the two release artefacts into
# build/package/:
#   qm-osk-<version>-setup.exe     installer for all users (NSIS)
#   qm-osk-<version>-portable.zip  the program to run from any folder
#
#   scripts/package.sh              the default build
#   scripts/package.sh --uiaccess   the uiAccess build (build/mingw-uiaccess,
#                                   artefacts in build/package-uiaccess/); it
#                                   must be signed before Windows starts it,
#                                   see docs/developing.md
# With QMOSK_SIGN_PFX (a PKCS#12 certificate file; its password in the file
# QMOSK_SIGN_PASS_FILE, if it has one) the program is signed with Debian's
# osslsigncode before it is packaged.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/mingw
out=build/package
extra=()
if [[ "${1:-}" == --uiaccess ]]; then
  build=build/mingw-uiaccess
  out=build/package-uiaccess
  extra=(-B "$build" -DQMOSK_UIACCESS=ON)
elif [[ $# -gt 0 ]]; then
  echo "usage: $0 [--uiaccess]" >&2
  exit 2
fi

scripts/install-deps.sh
# Two jobs unless told otherwise: the build machines are shared.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
cmake --preset mingw "${extra[@]}" >/dev/null
cmake --build "$build" --target qm-osk
if [[ -n "${QMOSK_SIGN_PFX:-}" ]]; then
  exe="$build/src/host/qm-osk.exe"
  pass=()
  if [[ -n "${QMOSK_SIGN_PASS_FILE:-}" ]]; then pass=(-readpass "$QMOSK_SIGN_PASS_FILE"); fi
  osslsigncode sign -pkcs12 "$QMOSK_SIGN_PFX" "${pass[@]}" -h sha256 -n "QM-OSK" \
    -in "$exe" -out "$exe.signed"
  mv "$exe.signed" "$exe"
fi
rm -rf "$out"
(cd "$build" && cpack -G "NSIS;ZIP" -B "$PWD/../../$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -1 "$out"
