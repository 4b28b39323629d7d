#!/bin/sh
# magprep -o onto what is no plain file: fifos and devices are written as they are and never
# replaced, nothing waits for a reader; the part file goes when the run is interrupted and is
# never read; the file replaced keeps its mode and owner. Devices are copies made here with
# mknod, so that a wrong program can only replace those.
#
#   sh output_file.sh MAGPREP SCRATCH
set -u
magprep=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

printf 'BLAlg 202612071900 102 QZK\nBLAlg 202612071930 104 QZK\n' >report.txt
printf 'BLAlg 202612071900 102 QZK\nBLAlg 202612071930 104 QZK\n' >expected.txt
summary='magprep: BLAlg: 2 records, 0 upper limits dropped, 0 uncertain kept; VSOLJ: answer 1 to the layout question'

# No part file beside FILE.
no_part() {
  for p in "$1".magprep*; do
    [ -e "$p" ] && return 1
  done
  return 0
}

# ---- a fifo ----
mkfifo ff
timeout 10 "$magprep" -o ff BLAlg report.txt 2>err.txt
status=$?
[ "$status" = 1 ] && [ "$(cat err.txt)" = "magprep: cannot write ff: it is a fifo that no program reads" ] ||
  fail "fifo with no reader: status $status, $(cat err.txt)"
# A reader that holds the fifo open before the run starts; the data fits the fifo's buffer.
exec 4<>ff
timeout 10 "$magprep" -o ff BLAlg report.txt 2>err.txt
status=$?
timeout 10 dd bs=65536 count=1 <&4 >got.txt 2>/dev/null
[ "$status" = 0 ] && cmp -s got.txt expected.txt && [ "$(cat err.txt)" = "$summary" ] ||
  fail "fifo with a reader: status $status, $(cat err.txt)"
timeout 10 "$magprep" -o ff BLAlg ff 2>err.txt
status=$?
timeout 10 dd bs=65536 count=1 iflag=nonblock <&4 >/dev/null 2>&1
exec 4<&-
[ "$status" = 1 ] && [ "$(head -n 1 err.txt)" = "magprep: ff is the output file: not read" ] ||
  fail "fifo written and read: status $status, $(cat err.txt)"
[ -p ff ] && no_part ff || fail "fifo: replaced, or a part file made"
echo "fifo: refused without a reader, written in place with one, never read as an input"

# ---- devices ----
if mknod null c 1 3 2>/dev/null && mknod full c 1 7 2>/dev/null; then
  timeout 10 "$magprep" -o null BLAlg report.txt 2>err.txt
  status=$?
  [ "$status" = 0 ] && [ "$(cat err.txt)" = "$summary" ] || fail "null device: status $status"
  timeout 10 "$magprep" -o full BLAlg report.txt 2>err.txt
  status=$?
  [ "$status" = 1 ] && [ "$(cat err.txt)" = "magprep: cannot write full: No space left on device" ] ||
    fail "full device: status $status, $(cat err.txt)"
  # A disk is not written over: the loop device of no file, which holds nothing.
  if mknod disk b 7 200 2>/dev/null; then
    timeout 10 "$magprep" -o disk BLAlg report.txt 2>err.txt
    status=$?
    [ "$status" = 1 ] && [ "$(cat err.txt)" = "magprep: cannot write disk: it is a disk device" ] &&
      [ -b disk ] && no_part disk || fail "disk device: status $status, $(cat err.txt)"
  fi
  [ -c null ] && [ -c full ] && no_part null && no_part full ||
    fail "a device was replaced, or a part file made for it"
  echo "devices: written in place, the full one with status 1; a disk refused"
else
  echo "devices: SKIPPED, this user cannot make device nodes"
fi

# ---- a link to standard output ----
# The link is kept, and standard output gets the data as it would without -o: appended to the
# file it appends to.
ln -s /proc/self/fd/1 stdout
printf 'before\n' >got.txt
"$magprep" -o stdout BLAlg report.txt >>got.txt 2>err.txt
status=$?
{ printf 'before\n' && cat expected.txt; } >appended.txt
[ "$status" = 0 ] && [ -L stdout ] && cmp -s got.txt appended.txt ||
  fail "link to standard output, a file appended to: status $status, $(ls -l stdout)"
"$magprep" -o stdout BLAlg report.txt 2>err.txt | cat >got.txt
[ -L stdout ] && cmp -s got.txt expected.txt || fail "link to standard output, a pipe"
echo "link to standard output: kept, the data written through it"

# ---- the mode and owner of the file replaced ----
printf 'old\n' >private.txt
chmod 600 private.txt
owner=$(id -u):$(id -g)
if [ "$(id -u)" = 0 ]; then
  owner=1234:5678
  chown "$owner" private.txt
fi
"$magprep" -o private.txt BLAlg report.txt 2>err.txt
status=$?
[ "$status" = 0 ] && cmp -s private.txt expected.txt && [ "$(stat -c %a private.txt)" = 600 ] &&
  [ "$(stat -c %u:%g private.txt)" = "$owner" ] ||
  fail "mode or owner not kept: status $status, $(stat -c '%a %u:%g' private.txt), not 600 $owner"
echo "file replaced: mode 600 and owner $owner kept"

# ---- the part file as an input ----
# The part file is the first descriptor the run opens, 3, and /dev/fd/3 opens it again.
"$magprep" -o out.txt BLAlg report.txt /dev/fd/3 3>&- 2>err.txt
status=$?
[ "$status" = 1 ] && [ ! -e out.txt ] && no_part out.txt &&
  [ "$(head -n 1 err.txt)" = "magprep: /dev/fd/3 is the output file: not read" ] ||
  fail "part file as an input: status $status, $(cat err.txt)"
echo "part file as an input: not read"

# ---- interrupted ----
# The run waits for the rest of its input, a fifo held open here, with its part file made. env gives it the
# signals' default actions, which a shell takes away from a program it starts in the background.
mkfifo input
for sig in INT TERM HUP; do
  rm -f out.txt*
  timeout 20 env --default-signal=INT,TERM,HUP "$magprep" -o out.txt BLAlg report.txt input \
    2>/dev/null &
  run=$!
  # Opened for reading too, so that this never waits for a run that does not open it.
  exec 3<>input
  i=0
  while no_part out.txt && [ "$i" -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
  done
  no_part out.txt && fail "SIG$sig: no part file while the run waits"
  kill -s "$sig" "$run"
  wait "$run"
  status=$?
  exec 3>&-
  [ "$status" -gt 128 ] && no_part out.txt && [ ! -e out.txt ] ||
    fail "SIG$sig: status $status, $(ls out.txt* 2>&1)"
done
echo "interrupted by SIGINT, SIGTERM and SIGHUP: no part file left"

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
