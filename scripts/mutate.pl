#!/usr/bin/perl
# The fault seeds of scripts/mutants.sh: where a single operator or constant can be changed, and
# making one such change.
#
#   mutate.pl sites FILE...                    one line per place: FILE LINE COLUMN FROM TO
#   mutate.pl pick SEED FILE...                the same places in the order the seed draws them:
#                                              every kind of change in every top folder in turn
#   mutate.pl apply FILE LINE COLUMN FROM TO   makes that change in FILE (fails if FROM is not there)
#
# Places are found in code only: comments, string and character literals and preprocessor lines
# are blanked first. Binary operators are recognised by the spaces clang-format puts around them,
# which keeps template brackets, references and unary minus out.
use strict;
use warnings;

my %swap = (
  '<' => '<=', '<=' => '<', '>' => '>=', '>=' => '>',
  '==' => '!=', '!=' => '==',
  '&&' => '||', '||' => '&&',
  '+' => '-', '-' => '+', '+=' => '-=', '-=' => '+=',
);

# The line with comments, literals and preprocessor directives replaced by spaces, so that
# columns still match the file. $state carries an open block comment to the next line.
sub code_only {
  my ($line, $state) = @_;
  return ' ' x length($line) if !$$state && $line =~ /^\s*#/;
  my $out = '';
  my $i = 0;
  my $n = length($line);
  while ($i < $n) {
    if ($$state) {
      my $end = index($line, '*/', $i);
      if ($end < 0) { $out .= ' ' x ($n - $i); last; }
      $out .= ' ' x ($end + 2 - $i);
      $i = $end + 2;
      $$state = 0;
      next;
    }
    my $two = substr($line, $i, 2);
    if ($two eq '//') { $out .= ' ' x ($n - $i); last; }
    if ($two eq '/*') { $$state = 1; $out .= '  '; $i += 2; next; }
    my $c = substr($line, $i, 1);
    if ($c eq '"' || $c eq "'") {
      # A digit separator (1'000) is not a literal.
      if ($c eq "'" && $i > 0 && substr($line, $i - 1, 1) =~ /[0-9a-fA-F]/) {
        $out .= $c; $i++; next;
      }
      my $j = $i + 1;
      while ($j < $n && substr($line, $j, 1) ne $c) { $j += substr($line, $j, 1) eq '\\' ? 2 : 1; }
      $out .= ' ' x ($j + 1 - $i);
      $i = $j + 1;
      next;
    }
    $out .= $c;
    $i++;
  }
  return substr($out, 0, $n);
}

sub sites_of {
  my ($file) = @_;
  open(my $in, '<', $file) or die "mutate: cannot read $file: $!\n";
  my @sites;
  my $state = 0;
  my $number = 0;
  while (my $line = <$in>) {
    chomp $line;
    $number++;
    my $code = code_only($line, \$state);
    next if $code =~ /\b(static_assert|alignas)\b/;
    # Binary operators, spaces on both sides.
    while ($code =~ / (<=|>=|==|!=|&&|\|\||\+=|-=|<|>|\+|-) (?=\S)/g) {
      my $op = $1;
      push @sites, [$file, $number, $-[1] + 1, $op, $swap{$op}];
    }
    # A dropped logical not (not part of !=).
    while ($code =~ /!(?!=)/g) {
      push @sites, [$file, $number, $-[0] + 1, '!', ''];
    }
    # Integer constants, decimal or hex, with their suffix; floating point ones are left alone.
    while ($code =~ /(?<![\w.])(0[xX][0-9a-fA-F']+|[0-9][0-9']*)([uUlL]*)(?![\w.'])/g) {
      my ($digits, $suffix, $column) = ($1, $2, $-[1] + 1);
      my $plain = $digits =~ s/'//gr;
      my $value = $plain =~ /^0[xX]/ ? hex($plain) : ($plain =~ /^0\d/ ? oct($plain) : $plain);
      my $next = $plain =~ /^0[xX]/ ? sprintf('0x%X', $value + 1) : $value + 1;
      push @sites, [$file, $number, $column, $digits . $suffix, $next . $suffix];
    }
  }
  close $in;
  return @sites;
}

sub all_sites { return map { sites_of($_) } @_; }

# The kind of change a place offers: what the suite should notice in about equal measure.
sub kind_of {
  my ($from) = @_;
  return 'constant' if $from =~ /^[0-9]/;
  return 'not' if $from eq '!';
  return 'logic' if $from eq '&&' || $from eq '||';
  return 'equality' if $from eq '==' || $from eq '!=';
  return 'order' if $from =~ /^[<>]/;
  return 'arithmetic';
}

sub show { my ($s) = @_; return join("\t", @$s) . "\n"; }

my $mode = shift @ARGV // '';
if ($mode eq 'sites') {
  print show($_) for all_sites(@ARGV);
} elsif ($mode eq 'pick') {
  my $seed = shift @ARGV;
  die "mutate: pick SEED FILE...\n" unless defined $seed && $seed =~ /^\d+$/;
  # A 32-bit xorshift of our own, so that a seed draws the same places with every perl.
  my $x = ($seed * 2654435761 + 1) & 0xFFFFFFFF;
  $x ||= 1;
  my $next = sub {
    $x ^= ($x << 13) & 0xFFFFFFFF;
    $x ^= $x >> 17;
    $x ^= ($x << 5) & 0xFFFFFFFF;
    return $x;
  };
  my $shuffle = sub {
    my ($list) = @_;
    for (my $i = $#$list; $i > 0; $i--) {
      my $j = $next->() % ($i + 1);
      @$list[$i, $j] = @$list[$j, $i];
    }
  };
  # Constants outnumber every operator many times over, and engine/ game/: drawn from one pile,
  # a sample would be mostly constants in the engine. Each kind of change in each top folder is
  # a pile of its own, shuffled, and the piles take turns (in an order shuffled anew each turn),
  # so every kind is sampled about as often in engine/ as in game/ until a pile runs out.
  my %piles;
  for my $site (all_sites(@ARGV)) {
    my ($top) = $site->[0] =~ m{^([^/]+)};
    push @{$piles{$top . ' ' . kind_of($site->[3])}}, $site;
  }
  my @keys = sort keys %piles;
  $shuffle->($piles{$_}) for @keys;
  while (@keys) {
    $shuffle->(\@keys);
    print show(shift @{$piles{$_}}) for @keys;
    @keys = grep { @{$piles{$_}} } @keys;
  }
} elsif ($mode eq 'apply') {
  my ($file, $line, $column, $from, $to) = @ARGV;
  die "mutate: apply FILE LINE COLUMN FROM TO\n" unless defined $from;
  $to //= '';
  open(my $in, '<', $file) or die "mutate: cannot read $file: $!\n";
  my @lines = <$in>;
  close $in;
  my $text = $lines[$line - 1];
  die "mutate: $file:$line:$column does not hold '$from'\n"
    unless defined $text && substr($text, $column - 1, length($from)) eq $from;
  substr($text, $column - 1, length($from)) = $to;
  $lines[$line - 1] = $text;
  open(my $out, '>', $file) or die "mutate: cannot write $file: $!\n";
  print $out @lines;
  close $out;
} else {
  die "usage: mutate.pl sites FILE... | pick SEED FILE... | apply FILE LINE COLUMN FROM TO\n";
}
