#!/usr/bin/env bash
# check-cloexec.sh [DIR...]: fails, naming file:line, on every way product
# code (front/ client/ api/ by default) can open a descriptor that is not
# close-on-exec. Handlers fork shell tools from worker threads; a child
# started while another thread holds such a descriptor inherits it.
#
# Refused: C++ file streams, stdio's fopen/fdopen/freopen/tmpfile, creat,
# mkstemp, pipe, dup, dup2, epoll_create, inotify_init, fcntl F_DUPFD, popen
# without "e" in its mode, and open, openat, socket, socketpair, pipe2, dup3,
# mkostemp, accept4, eventfd, signalfd, timerfd_create, memfd_create,
# epoll_create1, inotify_init1 without a ..._CLOEXEC flag in the same
# statement (statements are joined across lines up to ";", "{" or "}", so a
# wrapped call is read whole). Files are opened through client/files.h.
# A statement with the comment "// cloexec-ok: <why>" on one of its lines is
# let through.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [ $# -eq 0 ]; then set -- front client api; fi

find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 perl -e '
use strict;
use warnings;

my $ident = qr/(?<![\w.>])/;  # a call of that name, not a member or a longer name
my @always = (
  [qr/\b(?:std::)?(?:basic_)?[io]?fstream\b/, "C++ file stream"],
  [qr/\b(?:std::)?(?:basic_)?filebuf\b/, "C++ file buffer"],
  [qr/${ident}(?:fopen|fdopen|freopen|tmpfile|creat|mkstemps?|pipe|dup2?|epoll_create|inotify_init)(?:64)?\s*\(/,
   "call without close-on-exec"],
  [qr/\bF_DUPFD\b/, "F_DUPFD without close-on-exec"],
);
my $needs_flag = qr/${ident}(?:open|openat|socket|socketpair|pipe2|dup3|mkostemps?|accept4|eventfd|signalfd|timerfd_create|memfd_create|epoll_create1|inotify_init1)(?:64)?\s*\(/;

my $failed = 0;
for my $file (@ARGV) {
  open(my $in, "<", $file) or die "$file: $!\n";  # cloexec-ok: the check itself
  local $/;
  my $source = <$in>;
  close $in;
  my @lines = split /\n/, $source, -1;
  my %marked = map { ($_ + 1) => 1 } grep { $lines[$_] =~ m{//\s*cloexec-ok:} } 0 .. $#lines;
  my $line_at = sub { 1 + (substr($source, 0, $_[0]) =~ tr/\n//) };

  # Comments and the contents of string literals become blanks, so offsets
  # stay those of the source. Short strings are kept for popen modes.
  my $clean = $source;
  $clean =~ s{
      (R"([^()\\\s]{0,16})\(.*?\)\2")
    | ("(?:\\.|[^"\\\n])*")
    | (\x27(?:\\.|[^\x27\\\n])*\x27)
    | (//[^\n]*)
    | (/\*.*?\*/)
  }{
    my ($token, $string) = ($&, $3);
    if (defined $string && length($string) <= 5) {
      $string;
    } else {
      (my $blank = $token) =~ s/[^\n]/ /g;
      defined $string ? "\"" . substr($blank, 2) . "\"" : $blank;
    }
  }gsex;
  $clean =~ s/^([ \t]*#[^\n]*)/" " x length $1/mge;  # preprocessor lines

  while ($clean =~ /\G([^;{}]*)[;{}]?/gc) {
    my ($statement, $start, $end) = ($1, $-[0], $+[0]);
    last if $start == $end;
    # Exempt when a line of the statement (its terminator included) is marked.
    my $first = $statement =~ /\S/ ? $line_at->($start + $-[0]) : $line_at->($start);
    next if grep { $marked{$_} } $first .. $line_at->($end - 1);
    my @found;
    for my $rule (@always) {
      push @found, [$-[0], $rule->[1]] if $statement =~ $rule->[0];
    }
    if ($statement =~ $needs_flag) {
      my $at = $-[0];
      push @found, [$at, "no close-on-exec flag"] if $statement !~ /\w*CLOEXEC\b/;
    }
    if ($statement =~ /${ident}popen\s*\(/) {
      my $at = $-[0];
      push @found, [$at, "popen without \"e\" in its mode"] if $statement !~ /,\s*"[rw]?e[rw]?"\s*\)/;
    }
    for my $hit (@found) {
      my $line = $line_at->($start + $hit->[0]);
      (my $text = $lines[$line - 1]) =~ s/^\s+//;
      print "$file:$line: $hit->[1]: $text\n";
      $failed = 1;
    }
  }
}
exit $failed;
' || {
  echo "check-cloexec: open files through client/files.h, or mark the line \"// cloexec-ok: <why>\"" >&2
  exit 1
}
