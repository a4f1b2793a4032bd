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
# Collections of dialogue and chat logs are passed over too: where one fortune in
# twelve or more is an exchange between speakers ("<nick> ...", "Q: ... A: ...",
# "DINGELL: ..."), the sentences read as transcripts rather than quotations. In
# the other collections such an exchange is left out on its own.
#
# The copy is the text as it stands, with what the book scanner (words split at spaces
# only, sentences ended by "." only) would misread made plain:
#   - the "%" lines between fortunes become blank lines, and a fortune that does not end
#     with a full stop gets one at its end, so fortunes never run together;
#   - attribution lines ("-- Author") are left out;
#   - tabs, used for indents and before attributions, become spaces, since a tab between
#     two words would glue them into one token; runs of spaces become one space;
#   - backspace overstrikes from terminal days ("____^H^H^H^Honly", "_^HN") are applied,
#     leaving the word itself, and other control characters (bells) are dropped;
#   - underscores, which a player would take for the blanks of a hint, go: those that
#     mark emphasis ("_The Maltese Falcon_") are dropped, any other becomes a hyphen;
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

# A line where a speaker's turn starts: "<nick> ...", "* nick ...", "Q: ...",
# "Cerebus: ...", "DINGELL: ...".
sub speaker_line {
  my ($line) = @_;
  return $line =~ /^\s*(?:<[^>\s]+>|\*\s+\S+\s|[A-Z][A-Za-z.']*(?: [A-Z][A-Za-z.']*){0,2}:\s)/;
}

# A fortune as one piece of plain text.
sub clean {
  my ($line) = @_;
  $line =~ s/(?<![A-Za-z0-9])_([^_\s](?:[^_]*[^_\s])?)_(?![A-Za-z0-9])/$1/g;
  $line =~ tr/_/-/;
  $line =~ s/ {2,}/ /g;
  $line =~ s/^ +| +$//g;
  return $line;
}

# Splits the collection into fortunes (the lines between "%" lines), each without
# its attribution lines.
my @fortunes = ([]);
for my $line (@lines) {
  $line =~ s/\r?\n\z//;
  if ($line =~ /^%\s*$/) {
    push @fortunes, [];
    next;
  }
  $line = plain($line);
  $line =~ s/\s+\z//;
  next if $line =~ /^\s*--\s*\S/;
  push @{$fortunes[-1]}, $line;
}
@fortunes = grep { grep { /\S/ } @$_ } @fortunes;
my @dialogue = grep { (grep { speaker_line($_) } @$_) >= 2 } @fortunes;
exit 4 if @fortunes && @dialogue * 12 >= @fortunes;

# A fortune that does not end with a full stop would run on into the next one, since
# only "." ends a sentence; one is added to its last line.
open my $dst, '>:raw', $out or die "cannot write $out: $!\n";
my $first = 1;
for my $fortune (@fortunes) {
  next if (grep { speaker_line($_) } @$fortune) >= 2;
  my @text = map { clean($_) } @$fortune;
  pop @text while @text && $text[-1] eq '';
  shift @text while @text && $text[0] eq '';
  next unless @text;
  $text[-1] .= '.' unless $text[-1] =~ /\.\z/;
  print {$dst} $first ? '' : "\n", map { "$_\n" } @text or die "write failed: $!\n";
  $first = 0;
}
close $dst or die "write failed: $!\n";
PERL

count=0
skipped=()
dialogue=()
for path in "$source"/*; do
  name=${path##*/}
  [[ -f "$path" && ! -L "$path" && "$name" != *.* ]] || continue
  status=0
  perl -e "$copy_collection" "$path" "$work/Fortunes-$name.txt" || status=$?
  case $status in
    0) count=$((count + 1)) ;;
    3) skipped+=("$name") ;;
    4) dialogue+=("$name") ;;
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
echo "Fortunes: $count collections in $books${skipped:+ (pictures passed over: ${skipped[*]})}${dialogue:+ (dialogue passed over: ${dialogue[*]})}"
