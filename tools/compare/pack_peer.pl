#!/usr/bin/env perl
# The perl pack/unpack converter for the comparison's records, text to binary and back, in the
# text form layoutpress writes (" value," per member, CR LF between records).
# Usage: pack_peer.pl integers|texts to-binary|to-text IN OUT
use strict;
use warnings;

my ($kind, $direction, $source, $target) = @ARGV;
open(my $in, '<:raw', $source) or die "$source: $!";
my $data = do { local $/; <$in> };
close $in;
my $out;
if ($kind eq 'integers') {
    if ($direction eq 'to-binary') {
        $out = join '', map {
            my ($a, $b, $c, $bits) = split /, */, substr($_, 1);
            pack 'l<s<CC', $a, $b, $c, oct("0b$bits");
        } split /\r\n/, $data;
    } else {
        my @values = unpack '(l<s<CC)*', $data;
        my @lines;
        while (my ($a, $b, $c, $bits) = splice @values, 0, 4) {
            push @lines, sprintf ' %d, %d, %d, %08b,', $a, $b, $c, $bits;
        }
        $out = join "\r\n", @lines;
    }
} else {
    if ($direction eq 'to-binary') {
        $out = join '', map {
            /^ "([^"]*)", *(-?\d+),/ or die "bad line";
            pack 'a24l<', $1, $2;
        } split /\r\n/, $data;
    } else {
        my @values = unpack '(a24l<)*', $data;
        my @lines;
        while (my ($name, $n) = splice @values, 0, 2) {
            $name =~ tr/\0//d;
            push @lines, sprintf ' "%s", %d,', $name, $n;
        }
        $out = join "\r\n", @lines;
    }
}
open(my $fh, '>:raw', $target) or die "$target: $!";
print $fh $out;
close $fh;
