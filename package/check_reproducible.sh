#!/usr/bin/env bash
# Checks that the packages rebuild bit for bit: builds the last commit again in a fresh clone at
# another path (on a tmpfs when /dev/shm is one), under the other umask (002 or 022), another
# locale and time zone, and compares the packages with those already in build/package
# (cmake --workflow --preset package) and, when that build exists, with the Windows archive of
# build/windows (made here by cpack).
#
#   package/check_reproducible.sh
#
# Exit status 0 when every package is the same, 1 when one differs, 2 when it cannot compare.
set -euo pipefail
cd "$(dirname "$0")/.."
git=(git -c safe.directory=*)

if [ -n "$("${git[@]}" status --porcelain)" ]; then
  echo "check_reproducible: the work tree differs from the last commit; commit, build, then check" >&2
  exit 2
fi
shopt -s nullglob
reference=(build/package/*.deb build/package/*.tar.gz)
if [ ${#reference[@]} -eq 0 ]; then
  echo "check_reproducible: no package in build/package; run cmake --workflow --preset package" >&2
  exit 2
fi
if [ -f build/windows/CPackConfig.cmake ]; then
  (cd build/windows && cpack -G ZIP >/dev/null)
  reference+=(build/windows/*.zip)
fi

base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  base=/dev/shm
fi
work=$(mktemp -d "$base/magplot-rebuild.XXXXXX")
trap 'rm -rf "$work"' EXIT
clone="$work/another/path/magplot"
"${git[@]}" clone -q --no-checkout . "$clone"
git -C "$clone" checkout -q --detach "$("${git[@]}" rev-parse HEAD)"

echo "check_reproducible: building $(git -C "$clone" rev-parse --short HEAD) again in $clone"
top=$PWD
(
  cd "$clone"
  if [ "$(umask)" = 0002 ]; then umask 022; else umask 002; fi
  export LC_ALL=C.UTF-8 TZ=LINT-14
  {
    cmake --preset package && cmake --build --preset package && cpack --preset package
    if [ -f "$top/build/windows/CPackConfig.cmake" ]; then
      cmake --preset windows -DMAGPLOT_PACKAGING=ON && cmake --build --preset windows &&
        (cd build/windows && cpack -G ZIP)
    fi
  } >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 2; }
)

# A package that differs is kept in build/rebuilt/ for diffoscope.
status=0
for file in "${reference[@]}"; do
  sha256sum "$file"
  (cd "$clone" && sha256sum "$file") | sed 's/  /  again: /'
  if ! cmp -s "$file" "$clone/$file"; then
    mkdir -p build/rebuilt
    cp "$clone/$file" build/rebuilt/
    echo "check_reproducible: $file differs: diffoscope $file build/rebuilt/${file##*/}" >&2
    status=1
  fi
done
[ $status -eq 0 ] && echo "check_reproducible: every package is the same, byte for byte"
exit $status
