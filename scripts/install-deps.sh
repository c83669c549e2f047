#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: when
# everything is present it only checks and returns.
set -euo pipefail

PKGS=(cmake g++ clang make git g++-mingw-w64-i686 wine wine32:i386 wine64 xvfb xdotool
      x11-utils imagemagick fonts-wqy-microhei fonts-arphic-uming libgtest-dev googletest libbenchmark-dev
      clang-format locales nsis python3 nlohmann-json3-dev)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Wine maps Windows file names to the Unix locale's character set: without
# these locales Chinese file names cannot be reached at all.
ensure_locales() {
  local need=""
  locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$' || need=1
  locale -a 2>/dev/null | grep -qi '^en_US.utf8$' || need=1
  [ -z "$need" ] && return 0
  for l in "zh_CN.UTF-8 UTF-8" "en_US.UTF-8 UTF-8"; do
    grep -qx "$l" /etc/locale.gen 2>/dev/null || echo "$l" | $SUDO tee -a /etc/locale.gen >/dev/null
  done
  $SUDO locale-gen >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
  ensure_locales
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
ensure_locales
