#!/usr/bin/env bash
# Writes seeds for the dialogue fuzz targets from the session tests into a folder per program:
# each scenario's answers with its data file renamed "d", the separator line, the file's bytes.
# For magprep the answers are its arguments, one a line, and the data is its first input file or,
# when it names none, its standard input.
#   fuzz/seeds_from_sessions.sh OUTDIR   (makes OUTDIR/magtime, OUTDIR/magphase, OUTDIR/magprep)
set -euo pipefail
out=$(realpath "$1")
cd "$(dirname "$0")/.."
for program in magtime magphase; do
  mkdir -p "$out/$program"
  for dir in tests/sessions/$program/*/; do
    [ -f "$dir/stdin" ] || continue
    data=""
    for f in "$dir"*; do
      b=$(basename "$f")
      case $b in stdin | stdout | status | expected | native-only | generate) continue ;; esac
      if [ -f "$f" ] && grep -qwF -- "$b" "$dir/stdin"; then
        data=$f
        break
      fi
    done
    {
      if [ -n "$data" ]; then
        awk -v n="$(basename "$data")" '{ for (i = 1; i <= NF; i++) if ($i == n) $i = "d"; print }' "$dir/stdin"
      else
        cat "$dir/stdin"
      fi
      printf '\n===\n'
      if [ -n "$data" ]; then cat "$data"; fi
    } >"$out/$program/$(basename "$dir")"
  done
done
mkdir -p "$out/magprep"
for dir in tests/sessions/magprep/*/; do
  [ -f "$dir/args" ] || continue
  data=""
  args=""
  while IFS= read -r a; do
    if [ -z "$data" ] && [ -f "$dir/$a" ]; then
      data=$dir/$a
      a=d
    elif [ -z "$data" ] && [[ $a != /* ]] && [ -f "$a" ]; then
      data=$a
      a=d
    fi
    args+=$a$'\n'
  done <"$dir/args"
  [ -n "$data" ] || data=$dir/stdin
  { printf '%s' "${args%$'\n'}"; printf '\n===\n'; cat "$data"; } >"$out/magprep/$(basename "$dir")"
done
