#!/usr/bin/env bash
# Exports the King James Bible of Debian's bible-kjv as plain-text books into ROOT/Books:
# one file per book of the Bible, "Bible-NN-Name.txt", numbered so that a sorted listing
# shows them in canonical order.
#   export-bible.sh ROOT
#
# The books are prose for the book scanner, which ends sentences at "." only and splits
# words at spaces only: no verse references, no chapter headings (a heading would run
# into the first sentence of its chapter), each chapter one paragraph of its verses joined
# by single spaces and wrapped between words well below the scanner's 255-character line
# pieces, so that no word is ever cut in two. Chapters are separated by a blank line.
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 ROOT" >&2
  exit 2
fi
books=$1/Books

command -v bible >/dev/null || { echo "export-bible.sh: the bible command (package bible-kjv) is missing" >&2; exit 1; }
mkdir -p "$books"

# The new set is written beside the old one and moved in only when complete, so an
# interrupted run leaves either the old books or none, never half a Bible. Being in the
# same folder makes each move a rename.
work=$(mktemp -d "$books/.bible-export.XXXXXX")
trap 'rm -rf "$work"' EXIT

read -r -d '' split_books <<'PERL' || true
use strict;
use warnings;

my $out = shift @ARGV;

# The canonical order of the 66 books. bible(1) abbreviates the names in its references
# (Ge, 1Sm, SSol, ...), so a book is recognised by the order in which it appears rather
# than by its abbreviation.
my @names = qw(
  Genesis Exodus Leviticus Numbers Deuteronomy Joshua Judges Ruth
  1-Samuel 2-Samuel 1-Kings 2-Kings 1-Chronicles 2-Chronicles Ezra Nehemiah Esther
  Job Psalms Proverbs Ecclesiastes Song-of-Solomon Isaiah Jeremiah Lamentations
  Ezekiel Daniel Hosea Joel Amos Obadiah Jonah Micah Nahum Habakkuk Zephaniah
  Haggai Zechariah Malachi
  Matthew Mark Luke John Acts Romans 1-Corinthians 2-Corinthians Galatians
  Ephesians Philippians Colossians 1-Thessalonians 2-Thessalonians 1-Timothy
  2-Timothy Titus Philemon Hebrews James 1-Peter 2-Peter 1-John 2-John 3-John
  Jude Revelation
);

# 78 columns keeps the lines readable in any editor and far below 255.
my $width = 78;

my ($book, $chapter, $fh) = ('', '', undef);
my $index = 0;
my $verses = 0;
my $chapters_written = 0;
my @paragraph;

sub wrap_words {
  my ($text, $line) = ('', '');
  for my $word (split / /, join(' ', @_)) {
    if ($line ne '' && length($line) + 1 + length($word) > $width) {
      $text .= "$line\n";
      $line = $word;
    } else {
      $line = $line eq '' ? $word : "$line $word";
    }
  }
  return $line eq '' ? $text : "$text$line\n";
}

sub end_chapter {
  return unless @paragraph;
  print {$fh} "\n" if $chapters_written++;
  print {$fh} wrap_words(@paragraph) or die "write failed: $!\n";
  @paragraph = ();
}

sub end_book {
  return unless $fh;
  end_chapter();
  close $fh or die "write failed: $!\n";
}

while (my $line = <STDIN>) {
  chomp $line;
  # Without pretty-printing each verse is one line: "Ge1:1 In the beginning ..."
  my ($abbrev, $chap, $text) = $line =~ /^([1-3]?[A-Za-z]+)(\d+):\d+ (.*)$/
    or die "unexpected line from bible: $line\n";
  if ($abbrev ne $book) {
    end_book();
    die "more than 66 books from bible\n" if $index >= @names;
    my $file = sprintf '%s/Bible-%02d-%s.txt', $out, $index + 1, $names[$index];
    open $fh, '>', $file or die "cannot write $file: $!\n";
    ($book, $chapter, $chapters_written) = ($abbrev, $chap, 0);
    $index++;
  } elsif ($chap ne $chapter) {
    end_chapter();
    $chapter = $chap;
  }
  # A few verses carry doubled or trailing spaces; the words are all that matter.
  $text =~ s/^\s+|\s+$//g;
  $text =~ s/\s+/ /g;
  push @paragraph, $text if $text ne '';
  $verses++;
}
end_book();
die "bible gave $index books instead of 66\n" unless $index == @names;
print "$index books, $verses verses\n";
PERL

# -f turns pretty-printing off: one verse per line behind its reference, never wrapped.
# The range is the whole Bible, Genesis 1:1 to Revelation 22:21.
bible -f "Gen1:1-Rev22:21" </dev/null | perl -e "$split_books" "$work" >"$work/.summary"

# Committing: a few renames that must not be cut short, so signals wait until they are done.
trap '' INT TERM HUP
shopt -s nullglob
for old in "$books"/Bible-*.txt; do
  [[ -e "$work/${old##*/}" ]] || rm -f "$old"
done
for new in "$work"/Bible-*.txt; do
  mv -f "$new" "$books/"
done
echo "Bible: $(cat "$work/.summary") in $books"
