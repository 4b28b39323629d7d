#!/bin/sh
# Failing system calls, one at a time, under strace's fault injection: whichever call fails, no
# data file may lose a byte, and a console that is gone must not leave magtime reading.
#
#   sh faults.sh MAGTIME SCRATCH
set -u
magtime=$1
scratch=$2
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

# Fails the nth call of class `$1`, for every n the run makes, with EIO.
each_call_fails() {
  class=$1
  answers=$2
  n=$(count_calls "$class" "$answers")
  [ "$n" -gt 0 ] || fail "$class: no call seen"
  i=1
  while [ "$i" -le "$n" ]; do
    make_data
    strace -qq -o /dev/null -e trace="$class" -e inject="$class":error=EIO:when="$i" \
      "$magtime" <"$answers" >out.txt 2>&1
    intact || fail "$class call $i of $n failed: a data file was changed"
    i=$((i + 1))
  done
  echo "$class: each of $n calls failed in turn"
}

# ---- the graph saved over its own data file, while looking at a file fails ----
printf '1 obs.txt 10 16 0 1 obs.txt 0 0\n' >over-data.in
each_call_fails %stat,%fstat,%lstat over-data.in

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

if [ "$failures" -gt 0 ]; then
  echo "$failures failures"
  exit 1
fi
