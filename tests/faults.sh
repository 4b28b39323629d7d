#!/bin/sh
# Failing system calls, one at a time, under strace's fault injection: whichever call fails, no
# data file may lose a byte, and a console that is gone must not leave magtime reading.
#
#   sh faults.sh MAGTIME SCRATCH
set -u
magtime=$1
scratch=$2
# Mounts a run left behind, when it was stopped midway.
for m in "$scratch/O/merged" "$scratch/O"; do
  if mountpoint -q "$m" 2>/dev/null; then umount "$m"; fi
done
rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

make_data() {
  printf 'STAR1 201211182030 118 OBS1\nSTAR1 201211182215 12.6 OBS1\n' >obs.txt
  printf 'STAR2 201211180736 12.3 OBS2\nSTAR2 201211180810 12.5 OBS2\n' >report.txt
  cp obs.txt obs.orig
  cp report.txt report.orig
  printf 'kept\n' >keep.txt
  cp keep.txt keep.orig
  rm -f new.txt
}

# After "cannot open graph file." the graph file is as it was: an existing one unchanged, a new
# one not there.
graph_as_it_was() {
  grep -q 'cannot open graph file.' out.txt || return 0
  cmp -s keep.txt keep.orig && [ ! -e new.txt ]
}

intact() {
  cmp -s obs.txt obs.orig && cmp -s report.txt report.orig
}

# How many calls of the class `$1` the run with answers `$2` makes.
count_calls() {
  make_data
  strace -qq -o calls.txt -e trace="$1" "$magtime" <"$2" >/dev/null 2>&1
  grep -c . calls.txt
}

# Fails the nth call of class `$1`, for every n the run with answers `$2` makes, with EIO; then
# runs the check `$3`, if any.
each_call_fails() {
  class=$1
  answers=$2
  check=${3:-true}
  n=$(count_calls "$class" "$answers")
  [ "$n" -gt 0 ] || fail "$class: no call seen"
  i=1
  while [ "$i" -le "$n" ]; do
    make_data
    strace -qq -o /dev/null -e trace="$class" -e inject="$class":error=EIO:when="$i" \
      "$magtime" <"$answers" >out.txt 2>&1
    intact || fail "$class call $i of $n failed: a data file was changed"
    $check || fail "$class call $i of $n failed: $check is false after $answers"
    i=$((i + 1))
  done
  echo "$class: each of $n calls failed in turn"
}

# ---- the graph saved over its own data file, while looking at a file fails ----
printf '1 obs.txt 10 16 0 1 obs.txt 0 0\n' >over-data.in
each_call_fails %stat,%fstat,%lstat over-data.in

# ---- a save refused after its graph file was opened, existing or new ----
printf '1 obs.txt 10 16 0 1 keep.txt 0\n' >keep.in
printf '1 obs.txt 10 16 0 1 new.txt 0\n' >new.in
for answers in keep.in new.in; do
  # fcntl64 in 32-bit programs.
  each_call_fails '/^fcntl(64)?$' "$answers" graph_as_it_was
  each_call_fails %stat,%fstat,%lstat "$answers" graph_as_it_was
done

# ---- a read of the answers fails in the middle of a graph file name ----
# The answers fill one block of standard input up to "report.txt"; the rest of the name,
# ".g", is in the next block, which the failed read never brings.
{
  printf '1 obs.txt 10 16 0 1'
  head -c $((4096 - 19 - 11)) /dev/zero | tr '\0' ' '
  printf ' report.txt.g 0 0\n'
} >split-name.in
[ "$(head -c 4096 split-name.in | tail -c 10)" = report.txt ] || fail "split-name.in is not split"
each_call_fails read split-name.in

# ---- the data file renamed, or a link moved, between reading and saving ----
# Reads the data file `$1`, then runs the command `$2` (which changes names under the program)
# and saves the graph as `$3`. The answers come in two parts, the second after a pause that is
# long against a read of two records.
save_after() {
  make_data
  ln -sf obs.txt current.txt
  {
    printf '1 %s 10 16 0 ' "$1"
    sleep 1
    $2
    printf '1 %s 0 0\n' "$3"
  } | "$magtime" >out.txt
}

save_after obs.txt "mv obs.txt obs.bak" obs.bak
cmp -s obs.bak obs.orig || fail "graph saved over the renamed data file"
grep -q 'graph file is the data file.' out.txt || fail "renamed data file: no refusal"

save_after current.txt "ln -sf report.txt current.txt" obs.txt
intact || fail "graph saved over the data file read through a link since moved"

save_after current.txt "ln -sf report.txt current.txt" current.txt
cmp -s obs.txt obs.orig || fail "the data file changed"
cmp -s report.txt report.orig && fail "a file that is not the data file was refused"
# The data file is held open, so a file made after it is deleted cannot take its inode.
recreate() {
  rm obs.txt
  printf 'other\n' >fresh.txt
}
save_after obs.txt recreate fresh.txt
grep -q 'graph file is the data file.' out.txt && fail "a file made after the data file was deleted was refused"
echo "renamed data file, moved link: the file read is refused, any other saved"

# ---- the console goes away while a data file that never ends is echoed ----
# The reader of standard output leaves after the two prompts, before the data comes; with
# SIGPIPE ignored every echo then fails, and magtime must stop reading and end with status 1.
rm -f endless
mkfifo endless
(
  trap '' PIPE
  printf '1 endless 10 16 0 0 0\n' | timeout 20 "$magtime"
  echo $? >status.txt
) | {
  head -c 55 >/dev/null
  exec <&-
  yes 'STAR1 201211182030 118 OBS1' >endless
}
status=$(cat status.txt)
[ "$status" = 1 ] || fail "console gone while echoing an endless file: status $status, not 1"
echo "endless data file, console gone: status $status"

# ---- the console fills up after the echo has reached it twice ----
# Standard output may grow by the two prompts (55 bytes) and two blocks of 4096 bytes, not by
# all 500 echo lines of 18 bytes: the echo fails only when it is flushed at the first record
# past the table's limit, and then the endless data file must no longer be read.
rm -f endless
mkfifo endless
yes 'STAR1 201211182030 99999 OBS1' >endless &
writer=$!
(
  trap '' XFSZ
  printf '1 endless 10 16 0 0 0\n' | timeout 20 prlimit --fsize=8704 "$magtime" >small.txt
)
status=$?
kill "$writer" 2>/dev/null
wait "$writer" 2>/dev/null
[ "$(wc -c <small.txt)" -ge 8247 ] || fail "console limited: the echo failed before its last flush"
[ "$status" = 1 ] || fail "console full after two flushes of the echo: status $status, not 1"
echo "endless data file, console full after two flushes: status $status"

# ---- a fifo as the graph file ----
# With no reader it cannot be opened, also when it was the data file; with one it is written.
make_data
rm -f ff
mkfifo ff
printf '1 obs.txt 10 16 0 1 ff 0\n' | timeout 10 "$magtime" >out.txt
status=$?
[ "$status" = 1 ] && grep -q 'cannot open graph file.' out.txt ||
  fail "graph file a fifo with no reader: status $status"
cat obs.txt >ff &
printf '1 ff 10 16 0 1 ff 0\n' | timeout 10 "$magtime" >out.txt
status=$?
[ "$status" = 1 ] && grep -q 'cannot open graph file.' out.txt ||
  fail "graph file the fifo read as data: status $status"
exec 3<>ff
printf '1 obs.txt 10 16 0 1 ff 0\n' | timeout 10 "$magtime" >out.txt
status=$?
dd bs=65536 count=1 <&3 >got.txt 2>/dev/null
exec 3<&-
[ "$status" = 0 ] && grep -q '20  21  22  23' got.txt || fail "graph file a fifo with a reader: status $status"
echo "fifo as graph file: refused without a reader, written with one"

# ---- views of the data file that report another identity ----
# An overlay mount shows a file of its lower folder with another device number, under its own
# name and after a copy-up: each such view holds the data file's bytes and must be refused.
mkdir O
if mount -t tmpfs tmpfs O 2>/dev/null; then
  make_data
  mkdir O/lower O/upper O/work O/merged
  cp obs.txt O/lower/
  if mount -t overlay overlay -o lowerdir="$PWD/O/lower,upperdir=$PWD/O/upper,workdir=$PWD/O/work" O/merged; then
    printf '1 O/merged/obs.txt 10 16 0 1 O/lower/obs.txt 0\n' | timeout 10 "$magtime" >out.txt
    status=$?
    cmp -s O/lower/obs.txt obs.orig && [ "$status" = 1 ] ||
      fail "overlay: the lower file of the data file read as merged was replaced (status $status)"
    touch O/merged/obs.txt
    printf '1 O/merged/obs.txt 10 16 0 1 O/upper/obs.txt 0\n' | timeout 10 "$magtime" >out.txt
    status=$?
    cmp -s O/upper/obs.txt obs.orig && [ "$status" = 1 ] ||
      fail "overlay: the copied-up file of the data file was replaced (status $status)"
    umount O/merged
    echo "overlay: lower and upper views of the data file refused"
  else
    fail "overlay: tmpfs mounted but no overlay on it"
  fi
  umount O
else
  echo "overlay: SKIPPED, this machine does not let this user mount a tmpfs"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
