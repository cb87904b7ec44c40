#!/usr/bin/perl
# Doxygen input filter: quen's headers are documented in plain // comments,
# written for people reading the header. This turns them into what Doxygen
# reads, line for line (so warnings point at the right lines):
#   - the comment that opens a header describes the file (\file);
#   - a comment on lines of its own documents the declaration after it;
#   - a comment after code on the same line documents that member (///<);
#   - outside `code spans`, characters that Doxygen would take as commands,
#     HTML or links (\ @ < > & # % $) stand for themselves.
use strict;
use warnings;

sub escape {
    my ($text) = @_;
    my @parts = split /(`[^`]*`)/, $text;
    for my $part (@parts) {
        next if $part =~ /^`/;
        $part =~ s/([\\@<>&#%\$])/\\$1/g;
    }
    return join '', @parts;
}

my @lines = <>;  # the file Doxygen names, or standard input
my $opening = 1;      # still in the comment that opens the file
my $seen_comment = 0;
for my $i (0 .. $#lines) {
    my $line = $lines[$i];
    if ($line =~ /^(\s*)\/\/(?![\/!])\s?(.*)$/) {
        my ($indent, $text) = ($1, $2);
        my $out = "$indent/// " . escape($text);
        if ($opening) {
            $seen_comment = 1;
            my $next = $i < $#lines ? $lines[$i + 1] : '';
            if ($next !~ /^\s*\/\//) {
                $out .= ' \\file';
                $opening = 0;
            }
        }
        print "$out\n";
        next;
    }
    $opening = 0 if $line =~ /\S/;
    if ($line =~ /^(\s*[^\s\/"][^"]*?\S)(\s+)\/\/\s?(.*)$/ && $line !~ /^\s*#\s*include/) {
        print "$1$2///< " . escape($3) . "\n";
        next;
    }
    print $line;
}
