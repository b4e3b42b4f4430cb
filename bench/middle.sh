# shellcheck shell=bash
# Sourced by the bench scripts.
# middle: the middle value of the numbers on standard input, one a line (the
# lower of the two middle ones for an even count); nothing for none.
middle() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'; }
