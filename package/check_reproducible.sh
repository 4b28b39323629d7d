#!/usr/bin/env bash
# Checks that the packages rebuild bit for bit. Brings the packages of build/package up to date
# with the last commit (configuring the package preset if needed), and the Windows archive too
# when build/windows exists; then builds that commit again in a fresh clone at another path (on
# a tmpfs when /dev/shm is one), under the other umask (002 or 022), another locale and time
# zone, and compares every package byte for byte. Files that are not in git are left alone,
# unless the packages would take them.
#
#   package/check_reproducible.sh
#
# Exit status 0 when every package is the same, 1 when one differs, 2 when it cannot compare.
set -euo pipefail
cd "$(dirname "$0")/.."
git=(git -c safe.directory=*)

# Only what the packages are made of counts: changes to tracked files, and files that are not
# in the last commit (ignored ones too) in examples/, whose every file the packages take, or a
# CMakeUserPresets.json, which the presets would read. Other files left in the tree, such as
# those the README's sessions write, change no package.
if [ -n "$("${git[@]}" status --porcelain --untracked-files=no)" ]; then
  echo "check_reproducible: tracked files differ from the last commit; commit, build, then check" >&2
  exit 2
fi
extra=$("${git[@]}" ls-files --others -- examples CMakeUserPresets.json)
if [ -n "$extra" ]; then
  echo "check_reproducible: files that are not in the last commit would go into the packages:" \
    $extra >&2
  exit 2
fi
base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  base=/dev/shm
fi
work=$(mktemp -d "$base/magplot-rebuild.XXXXXX")
trap 'rm -rf "$work"' EXIT
windows=no
if [ -f build/windows/CPackConfig.cmake ]; then
  windows=yes
fi

# Each build runs its commands one after the other, up to the first that fails. The packages
# of this tree, brought up to date:
reference_build() {
  if [ ! -f build/package/CMakeCache.txt ]; then cmake --preset package || return; fi
  cmake --build --preset package || return
  cpack --preset package || return
  if [ $windows = yes ]; then
    cmake --build --preset windows || return
    (cd build/windows && cpack -G ZIP) || return
  fi
}
# The packages of a fresh clone, with the Windows programs alone (no tests):
second_build() {
  cmake --preset package || return
  cmake --build --preset package || return
  cpack --preset package || return
  if [ $windows = yes ]; then
    cmake --preset windows -DMAGPLOT_PACKAGING=ON || return
    cmake --build --preset windows || return
    (cd build/windows && cpack -G ZIP) || return
  fi
}

reference_build >"$work/reference.log" 2>&1 || { tail -n 40 "$work/reference.log" >&2; exit 2; }
shopt -s nullglob
reference=(build/package/*.deb build/package/*.tar.gz)
if [ $windows = yes ]; then
  reference+=(build/windows/*.zip)
fi

clone="$work/another/path/magplot"
"${git[@]}" clone -q --no-checkout . "$clone"
git -C "$clone" checkout -q --detach "$("${git[@]}" rev-parse HEAD)"

echo "check_reproducible: building $(git -C "$clone" rev-parse --short HEAD) again in $clone"
(
  cd "$clone"
  if [ "$(umask)" = 0002 ]; then umask 022; else umask 002; fi
  export LC_ALL=C.UTF-8 TZ=LINT-14
  second_build >"$work/again.log" 2>&1 || { tail -n 40 "$work/again.log" >&2; exit 2; }
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
