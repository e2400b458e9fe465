#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The project's license in the places a user looks for it: LICENSE is the MIT
# license, every source file carries its SPDX line (check-spdx.sh), and the
# README's "License" section names MIT and has a row for the library, for
# each ready-made client under clients/ and for the tool, with the engine's
# license beside each client that links one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fail() { echo "check-license: $*" >&2; exit 1; }

head -n 1 LICENSE | grep -qx 'MIT License' || fail "LICENSE does not start with 'MIT License'"
grep -q 'Permission is hereby granted, free of charge' LICENSE || fail "LICENSE is not the MIT text"
scripts/check-spdx.sh

section=$(awk '/^## / { in_section = ($0 == "## License") } in_section' README.md)
[ -n "$section" ] || fail "the README has no '## License' section"
grep -q 'MIT' <<<"$section" || fail "the README's license section does not name MIT"
grep -q '`LICENSE`' <<<"$section" || fail "the README's license section does not point to LICENSE"
row() { grep -E "^\| $1 \|" <<<"$section" || true; }
[ -n "$(row '`algexpr::algexpr`')" ] || fail "the license section has no row for algexpr::algexpr"
tool=$(row 'the `algexpr` tool')
[ -n "$tool" ] || fail "the license section has no row for the algexpr tool"
grep -qF 'GPL-2.0-or-later' <<<"$tool" || fail "the row for the tool does not name GiNaC's GPL-2.0-or-later"
# Each client, and the engine license its row must name.
declare -A engine_license=([numeric]="MIT" [ginac]="GPL-2.0-or-later" [giac]="GPL-3.0-or-later")
for dir in clients/*/include/; do  # clients/support, compiled into each client, is none
    client=$(basename "$(dirname "$dir")")
    line=$(row "\`algexpr::$client\`")
    [ -n "$line" ] || fail "the license section has no row for algexpr::$client"
    expected=${engine_license[$client]:-}
    [ -n "$expected" ] || fail "check-license.sh does not know the license of clients/$client: add it"
    grep -qF "$expected" <<<"$line" || fail "the row for algexpr::$client does not name $expected"
done
echo "LICENSE, the SPDX lines and the README's license section agree"
