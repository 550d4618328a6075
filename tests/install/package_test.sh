#!/usr/bin/env bash
# The Debian package of this build: made by CPack, its control data computed (dpkg-shlibdeps),
# lintian without errors, and installed. On a machine we may install on (root, apt-get there,
# no domelio package installed already) it goes in with apt-get, runs from /usr, and is removed
# again, which must leave the user's data alone; elsewhere it is unpacked with dpkg -x and run
# from there.
#   package_test.sh BUILD_FOLDER [CPACK]
set -euo pipefail
build=$(cd "$1" && pwd)
cpack=${2:-cpack}
out="$build/package-test"
rm -rf "$out"
mkdir -p "$out"
cd "$out"

fail() { echo "package test: $*" >&2; exit 1; }

# gzip rather than the package's xz: this build's binaries are large and the test's time counts.
if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$out" -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip \
    >cpack.log 2>&1; then
  cat cpack.log
  fail "cpack failed"
fi
arch=$(dpkg --print-architecture)
debs=("$out"/domelio_*_"$arch".deb)
[ -f "${debs[0]}" ] || fail "no domelio_<version>_$arch.deb in $out"
deb=${debs[0]}
[[ $(basename "$deb") =~ ^domelio_[0-9]+\.[0-9]+(\.[0-9]+)?_${arch}\.deb$ ]] \
  || fail "unexpected name $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libsqlite3-0 libc6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 3 ] || fail "no extended Description"
contents=$(dpkg-deb -c "$deb")
grep -q ' ./usr/bin/domelio$' <<<"$contents" || fail "no /usr/bin/domelio in the package"

# lintian's errors fail the test; its warnings are listed in the README with their reasons.
lintian --tag-display-limit 0 "$deb" >lintian.txt 2>&1 || true
cat lintian.txt
if grep -q '^E: ' lintian.txt; then
  fail "lintian reports errors"
fi

installed() { dpkg-query -W -f='${Status}' domelio 2>/dev/null | grep -q 'install ok installed'; }

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null && ! installed; then
  # One package test at a time on this machine; whatever happens, ours is removed again.
  exec 9>/var/lock/domelio-package-test
  flock 9
  if installed; then
    fail "another domelio package appeared meanwhile"
  fi
  trap 'apt-get purge -y -q domelio >/dev/null 2>&1 || true' EXIT
  apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >apt.log 2>&1 \
    || { cat apt.log; fail "apt-get install failed"; }
  [ "$(/usr/bin/domelio --version)" = "Domelio $(dpkg-deb -f "$deb" Version)" ] \
    || fail "/usr/bin/domelio --version: $(/usr/bin/domelio --version 2>&1)"
  man -w domelio >/dev/null 2>&1 || ! command -v man >/dev/null || fail "no manual page found"

  # A user's data and settings, where the program keeps them (as the first start leaves them),
  # must survive the removal of the program. The purge runs as that user's: HOME leads to them,
  # so a removal that reached for the user's folders would find them.
  home="$out/home"
  mkdir -p "$home/.local/share/domelio" "$home/.config/domelio"
  cp /usr/share/domelio/empty/HOMEDATA.DAT "$home/.local/share/domelio/HOMEDATA.DAT"
  echo "kept" >"$home/.local/share/domelio/notes.txt"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n' >"$home/.config/domelio/HKCU.reg"
  userFiles() { (cd "$home" && find . -type f -exec sha256sum {} + | sort); }
  before=$(userFiles)
  [ "$(wc -l <<<"$before")" -eq 3 ] || fail "the user's files were not laid out: $before"
  HOME="$home" env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u DOMELIO_DATA_DIR \
    -u DOMELIO_REGISTRY_DIR apt-get purge -y -q -o DPkg::Lock::Timeout=300 domelio >apt.log 2>&1 \
    || { cat apt.log; fail "apt-get purge failed"; }
  trap - EXIT
  [ ! -e /usr/bin/domelio ] && [ ! -e /usr/share/domelio ] || fail "files left after removal"
  [ "$(userFiles)" = "$before" ] || fail "the user's data or settings changed on removal"
  echo "package test: installed with apt-get, ran, removed; the user's data kept"
else
  dpkg -x "$deb" "$out/root"
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$out/root/usr/bin/domelio" --version)
  [ "$version" = "Domelio $(dpkg-deb -f "$deb" Version)" ] || fail "domelio --version: $version"
  echo "package test: unpacked with dpkg -x and ran (installing needs root and no domelio installed)"
fi
