#!/usr/bin/env bash
# Prepares a Debian 12 machine for building and testing QM-OSK. Safe to run
# again: packages already present are skipped, so a prepared machine costs
# one dpkg query and no network access.
set -euo pipefail

packages=(
  wine wine32:i386 wine64
  g++-mingw-w64-i686
  xvfb openbox x11-xkb-utils x11-utils libxtst6 imagemagick
  cmake ninja-build clang clang-tidy clang-format libclang-rt-14-dev libgtest-dev
  python3
  nsis
)
# Optional: lets a person watch the virtual display; never required.
optional=(x11vnc)

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" == "install ok installed" ]]
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
want_optional=()
if [[ "${QMOSK_WITH_VNC:-0}" == 1 ]]; then
  for p in "${optional[@]}"; do installed "$p" || want_optional+=("$p"); done
fi

if ((${#missing[@]} == 0 && ${#want_optional[@]} == 0)); then
  echo "install-deps: everything is installed"
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then SUDO=(sudo); else
    echo "install-deps: missing packages: ${missing[*]} ${want_optional[*]} (run as root)" >&2
    exit 1
  fi
else
  SUDO=()
fi

export DEBIAN_FRONTEND=noninteractive
need_update=0
# wine32 is an i386 package; without the foreign architecture apt cannot
# even see it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${SUDO[@]}" dpkg --add-architecture i386
  need_update=1
fi
# A fresh image often has empty package lists.
if ! compgen -G '/var/lib/apt/lists/*_Packages' >/dev/null; then need_update=1; fi
if ((need_update == 0)); then
  # Lists exist but may predate the i386 architecture or be stale.
  for p in "${missing[@]}"; do
    if ! apt-cache show "$p" >/dev/null 2>&1; then need_update=1; break; fi
  done
fi
# A mirror caught mid-sync serves a list of the wrong size and apt-get update
# fails for that one list; it usually heals within minutes, and the lists
# that did arrive are still usable, so a last failure is not fatal here.
if ((need_update)); then
  for attempt in 1 2 3; do
    "${SUDO[@]}" apt-get update -q && break
    echo "install-deps: apt-get update failed (attempt $attempt)" >&2
    if ((attempt < 3)); then sleep 20; fi
  done
fi

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  if ! "${SUDO[@]}" apt-get install -y -q "${missing[@]}"; then
    # With one architecture's security list missing, the i386 libraries that
    # wine32 needs are older than their amd64 twins' candidates, and
    # multi-arch refuses the pair. The release's own point versions exist for
    # both architectures, so prefer them.
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    echo "install-deps: retrying with the $codename release preferred" >&2
    "${SUDO[@]}" apt-get install -y -q -t "$codename" "${missing[@]}"
  fi
fi
if ((${#want_optional[@]})); then
  "${SUDO[@]}" apt-get install -y -q "${want_optional[@]}" ||
    echo "install-deps: optional ${want_optional[*]} not installed" >&2
fi
