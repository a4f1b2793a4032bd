#!/usr/bin/env bash
# Copies the English fortune collections of Debian's fortunes and fortunes-min into
# ROOT/Books as plain-text books, "Fortunes-NAME.txt".
#   export-fortunes.sh ROOT [SOURCE]
#
# SOURCE defaults to /usr/share/games/fortunes. Only its top level is read: the
# collections in other languages and the offensive ones live in sub-folders (de/, off/,
# ...). The random-access indexes (.dat) and the .u8 links to the same text are passed
# over, and so is any collection made of pictures rather than sentences (ascii-art): fewer
# than half of its visible characters are letters, and as a book it would only give
# quotations of punctuation.
#
# The copy is the text as it stands, with what the book scanner (words split at spaces
# only, sentences ended by "." only) would misread made plain:
#   - the "%" lines between fortunes become blank lines, and a fortune that does not end
#     with a full stop gets one on a line of its own, so fortunes never run together;
#   - attribution lines ("-- Author") are left out;
#   - tabs, used for indents and before attributions, become spaces, since a tab between
#     two words would glue them into one token;
#   - backspace overstrikes from terminal days ("____^H^H^H^Honly", "_^HN") are applied,
#     leaving the word itself, and other control characters (bells) are dropped;
#   - carriage returns and trailing blanks go.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 ROOT [SOURCE]" >&2
  exit 2
fi
books=$1/Books
source=${2:-/usr/share/games/fortunes}

[[ -d "$source" ]] || { echo "export-fortunes.sh: $source is missing (packages fortunes, fortunes-min)" >&2; exit 1; }
mkdir -p "$books"

# Written beside the old set and moved in only when complete, so that an interrupted run
# leaves the old books or none, never a part of the collections.
work=$(mktemp -d "$books/.fortunes-export.XXXXXX")
trap 'rm -rf "$work"' EXIT

read -r -d '' copy_collection <<'PERL' || true
use strict;
use warnings;

my ($in, $out) = @ARGV;
open my $src, '<:raw', $in or die "cannot read $in: $!\n";
my @lines = <$src>;
close $src;

my $text = join '', @lines;
my $visible = () = $text =~ /[^\s]/g;
my $letters = () = $text =~ /[A-Za-z]/g;
exit 3 if $visible == 0 || $letters * 2 < $visible;

# Tab stops every 8 columns, as the collections were typed; a backspace takes back the
# character before it, which leaves the letter of an underline or bold overstrike.
sub plain {
  my ($line) = @_;
  return $line unless $line =~ /[\x00-\x1f\x7f]/;
  my $plain = '';
  for my $char (split //, $line) {
    if ($char eq "\b") {
      chop $plain;
    } elsif ($char eq "\t") {
      $plain .= ' ' x (8 - length($plain) % 8);
    } elsif ($char !~ /[\x00-\x1f\x7f]/) {
      $plain .= $char;
    }
  }
  return $plain;
}

# A fortune that does not end with a full stop would run on into the next one, since
# only "." ends a sentence; a lone "." after it keeps it a quotation of its own.
# Attribution lines ("-- Author") are left out: they are no part of the sentence.
open my $dst, '>:raw', $out or die "cannot write $out: $!\n";
my $last = '';
sub end_fortune {
  my ($dst) = @_;
  print {$dst} ".\n" or die "write failed: $!\n" if $last ne '' && $last !~ /\.\z/;
  $last = '';
}
for my $line (@lines) {
  $line =~ s/\r?\n\z//;
  if ($line =~ /^%\s*$/) {
    end_fortune($dst);
    print {$dst} "\n" or die "write failed: $!\n";
    next;
  }
  $line = plain($line);
  $line =~ s/\s+\z//;
  next if $line =~ /^\s*--\s*\S/;
  $last = $line if $line =~ /\S/;
  print {$dst} "$line\n" or die "write failed: $!\n";
}
end_fortune($dst);
close $dst or die "write failed: $!\n";
PERL

count=0
skipped=()
for path in "$source"/*; do
  name=${path##*/}
  [[ -f "$path" && ! -L "$path" && "$name" != *.* ]] || continue
  status=0
  perl -e "$copy_collection" "$path" "$work/Fortunes-$name.txt" || status=$?
  case $status in
    0) count=$((count + 1)) ;;
    3) skipped+=("$name") ;;
    *) exit "$status" ;;
  esac
done
[[ $count -gt 0 ]] || { echo "export-fortunes.sh: no fortune collections in $source" >&2; exit 1; }

# Committing: a few renames that must not be cut short, so signals wait until they are done.
trap '' INT TERM HUP
shopt -s nullglob
for old in "$books"/Fortunes-*.txt; do
  [[ -e "$work/${old##*/}" ]] || rm -f "$old"
done
for new in "$work"/Fortunes-*.txt; do
  mv -f "$new" "$books/"
done
echo "Fortunes: $count collections in $books${skipped:+ (pictures passed over: ${skipped[*]})}"
