#!/usr/bin/env bash
# Fails when the shared library exports anything but the qorv classes:
# their functions and static data, vtables and type information.
set -euo pipefail
library=${1:?usage: check-symbols.sh path/to/libalgexpr.so}

symbols=$(nm -D --defined-only "$library" | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }' | c++filt)
foreign=$(grep -v -E '^(qorv::|vtable for qorv::|typeinfo for qorv::|typeinfo name for qorv::)' <<<"$symbols" || true)
if [ -n "$foreign" ]; then
    echo "exported symbols outside the public API:" >&2
    echo "$foreign" >&2
    exit 1
fi
# Clients derive from the classes: each needs its type information exported.
# A final class has none to derive from.
include=$(cd "$(dirname "$0")/../include/algexpr" && pwd)
headers=$(cd "$include" && ls -- *.h)
for header in $headers; do
    class=${header%.h}
    case "$class" in *ABC | *BC | *C) ;; *) continue ;; esac
    if grep -qE "^class ALGEXPR_API $class final\b" "$include/$header"; then
        continue
    fi
    if ! grep -qx "typeinfo for qorv::math::algexpr::$class" <<<"$symbols"; then
        echo "type information of $class is not exported" >&2
        exit 1
    fi
done
echo "$(wc -l <<<"$symbols") exported symbols, all in qorv::, with the type information of every class but the final ones"
