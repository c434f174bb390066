#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing Dorvik needs and the machine lacks;
# does nothing when everything is there. Uses sudo unless run as root.
set -euo pipefail

missing=()
command -v g++ >/dev/null || missing+=(build-essential)
command -v make >/dev/null || missing+=(build-essential)
command -v cmake >/dev/null || missing+=(cmake)
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
# The UCI client run (scripts/uci_client.sh) is a node script with npm packages.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
# The client runs under xboard: the match against Fairy-Max, in UCI mode through polyglot, and
# the analysis session. The clock runs (scripts/clock_matches.sh) play GNU Chess and Phalanx.
for program in xboard Xvfb:xvfb fairymax polyglot phalanx gnuchess; do
  command -v "${program%%:*}" >/dev/null || [ -x "/usr/games/${program%%:*}" ] || missing+=("${program#*:}")
done
# The converters' test compares with pgn-extract; it skips without it.
command -v pgn-extract >/dev/null || [ -x /usr/games/pgn-extract ] || missing+=(pgn-extract)
# The bitbase tests compare with Gaviota's 3-man tables, read with Gaviota's probing library.
[ -d /usr/share/gaviotatb/gtb4 ] || missing+=(gaviotatb)
[ -f /usr/include/gtb-probe.h ] || missing+=(libgaviotatb-dev)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update </dev/null
  $sudo apt-get install -y "${missing[@]}" </dev/null
fi
