#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a tracked source file lacks its license line: C++ sources and
# linker scripts on their first line, scripts and CMake files on their first
# line or, after a "#!" line, on their second. Data, corpora and prose carry
# none.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
while IFS= read -r -d '' file; do
    case "$file" in
        *.h | *.cpp | *.map | *.map.in | *.py | *.sh | *.cmake | *.cmake.in | *.pc.in | CMakeLists.txt | */CMakeLists.txt | .ci/run) ;;
        *) continue ;;
    esac
    [ -f "$file" ] || continue
    if ! head -n 2 "$file" | grep -qE '^(//|#|/\*) SPDX-License-Identifier: MIT( \*/)?$'; then
        echo "no SPDX-License-Identifier line: $file" >&2
        missing=1
    elif ! head -n 1 "$file" | grep -q 'SPDX-License-Identifier' && ! head -n 1 "$file" | grep -q '^#!'; then
        echo "the SPDX-License-Identifier line is not the first: $file" >&2
        missing=1
    fi
done < <(git ls-files -z)
if [ "$missing" -ne 0 ]; then
    exit 1
fi
echo "every source file carries its SPDX-License-Identifier line"
