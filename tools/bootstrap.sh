#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet and quick when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang lld libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32
  googletest libgtest-dev
  wine wine32:i386 xvfb x11-apps x11-utils imagemagick xdotool
  nsis zip unzip wixl osslsigncode
  fonts-dejavu-core fonts-thai-tlwg fonts-wqy-microhei
  locales
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "bootstrap: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one index list: retry, then install from the lists that came.
  "${sudo_cmd[@]}" apt-get update -qq || { sleep 20; "${sudo_cmd[@]}" apt-get update -qq; } ||
    echo "bootstrap: apt-get update failed; installing from the package lists there are" >&2
  install=("${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends)
  # Without one arch's security list, the i386 libraries of wine32 cannot match the amd64 ones'
  # versions there; the release's own versions of both always match.
  "${install[@]}" "${missing[@]}" >/dev/null ||
    { . /etc/os-release && "${install[@]}" -t "$VERSION_CODENAME" "${missing[@]}" >/dev/null; }
fi
