#!/usr/bin/env bash
# Installs what is needed, builds the client and starts it against the loopback server of this
# repository (set CORVADEX_SERVER=host:port to play on another server instead).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target corvadex corvadex_assets corvadex-loopback

# The client keeps its settings, skins and logs in its client folder; the first start unpacks
# the archives found there.
export CORVADEX_HOME="${CORVADEX_HOME:-$PWD/run}"
mkdir -p "$CORVADEX_HOME"
if [ ! -d "$CORVADEX_HOME/skins" ]; then cp build/bin/decks.zip build/bin/skins.zip build/bin/wavs.zip "$CORVADEX_HOME/"; fi

if [ -z "${CORVADEX_SERVER:-}" ]; then
  build/bin/corvadex-loopback --port 4000 --http-port 4080 &
  loopback=$!
  trap 'kill $loopback 2>/dev/null || true' EXIT
  export CORVADEX_SERVER=127.0.0.1:4000
  export CORVADEX_WEBSERVICE=http://127.0.0.1:4080/RookfellWebService/RookfellWebService.asmx
  export CORVADEX_WEBSITE=http://127.0.0.1:4080
  sleep 1
fi
build/bin/corvadex
