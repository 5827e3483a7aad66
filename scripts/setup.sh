#!/usr/bin/env bash
# Makes sure the machine has what the build needs (Debian packages). A machine that has
# everything touches no network. Otherwise, as root, the packages are installed without
# questions; as another user the install line is printed and the command stops.
set -euo pipefail

# The build (mdbtools' library through pkg-config), the tests (man renders the manual pages in
# one), the package (CPack's dpkg-shlibdeps) and the sample plant (sqlite3).
packages=(cmake ninja-build g++ clang libclang-rt-dev libgtest-dev libgmock-dev
          libbenchmark-dev libsqlite3-dev sqlite3 binutils pkg-config
          libmdb3 mdbtools-dev mdbtools man-db groff-base dpkg-dev)

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Quellor needs these packages. Install them, then run the command again:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update </dev/null
apt-get install -y --no-install-recommends "${missing[@]}" </dev/null
