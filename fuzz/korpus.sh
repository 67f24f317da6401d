#!/usr/bin/env bash
# Writes the shared test telegrams (hex text) as binary seed files into the folder given.
set -euo pipefail
ziel=${1:?Aufruf: $0 ZIELORDNER}
quelle=$(cd "$(dirname "$0")/../../shared/testdata/telegrams" && pwd)
mkdir -p "$ziel"
for datei in "$quelle"/*/*.hex; do
  name=$(basename "$(dirname "$datei")")_$(basename "$datei" .hex)
  tr -d ' \r\n' < "$datei" | xxd -r -p > "$ziel/$name"
done
