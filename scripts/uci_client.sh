#!/bin/bash
# Drives Dorvik over UCI with the node-uci client (npm), as a UCI front end would: the handshake,
# a game on clocks with every position sent with its moves, "go" with a depth, a fixed time,
# "infinite" then "stop", "ponder" then "ponderhit", and "isready" during a search. chess.js (npm)
# checks that every best move and expected reply is legal. The npm packages are installed from
# scripts/uci_client/package-lock.json when missing.
#
# Usage: scripts/uci_client.sh [ENGINE]   (default: $DORVIK, else build/dorvik of this repository)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
engine=${1:-${DORVIK:-$here/../build/dorvik}}
[ -x "$engine" ] || { echo "uci_client.sh: no engine at $engine" >&2; exit 2; }
command -v node >/dev/null && command -v npm >/dev/null ||
    { echo "uci_client.sh: node and npm are needed (scripts/install_deps.sh installs them)" >&2; exit 2; }
client=$here/uci_client
if [ ! -d "$client/node_modules/node-uci" ] || [ ! -d "$client/node_modules/chess.js" ]; then
    (cd "$client" && npm ci --no-audit --no-fund --loglevel=error) >&2
fi
# The engine runs in a folder of its own; it reads the first "Dorvik.ini" it finds elsewhere (a
# build folder's engine, the source tree's), and the client turns its book off.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
node "$client/uci_client.js" "$(readlink -f "$engine")" "$work"
