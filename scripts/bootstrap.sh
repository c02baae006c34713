#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the tools need,
# when they are missing. Safe to run again; prints nothing when all are there.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev zlib1g-dev
  libpng-dev libfreetype-dev fonts-dejavu-core
  # The Windows executables and their tests under Wine: the 64-bit Wine
  # only (the 32-bit one needs a foreign architecture and upgrades a hundred
  # host packages), so the tests run an x86-64 build of the same sources.
  wine wine64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  # The loader for the instrument: the win32 thread model's run time
  # imports only what Windows 98 has.
  g++-mingw-w64-i686-win32
  # The second compiler of CI's suite, and the fuzzers' (with their runtime).
  clang libclang-rt-14-dev
  # The peers that `make bench` measures the codec and archives against.
  libdeflate-tools time
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "bootstrap: installing ${missing[*]}" >&2
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq >/dev/null
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine refuses a prefix its user does not own, and as root it lets read-only
# files be overwritten: the tests run it as this unprivileged user when they
# run as root.
wine_user=qvwine
if [[ $(id -u) -eq 0 ]] && ! id -u "$wine_user" >/dev/null 2>&1; then
  useradd --system --create-home --shell /usr/sbin/nologin "$wine_user"
fi
