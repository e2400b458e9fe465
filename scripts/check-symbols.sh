#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when one of algexpr's shared libraries exports anything outside its
# own namespace (functions, static data, vtables and type information), or
# leaves out the type information of one of its classes, which clients that
# derive from them need.
#
#   check-symbols.sh path/to/libalgexpr.so.2            the library
#   check-symbols.sh path/to/libalgexpr_<name>.so.2     the client <name>
#
# Which library a file is, is told by its name. The library's namespaces are
# qorv::oss and qorv::math::algexpr, without the clients' namespaces; its
# classes are the headers in include/algexpr/. A client's namespace is
# qorv::math::algexpr::<name>; its classes are the headers in
# clients/<name>/include/algexpr/<name>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
library=${1:?usage: check-symbols.sh path/to/libalgexpr.so or path/to/libalgexpr_<client>.so}

# The clients are the directories with public headers (clients/support has none).
clients=$(cd "$root/clients" && find . -mindepth 3 -maxdepth 3 -path './*/include/algexpr' -printf '%h\n' |
    sed 's|^\./||; s|/include$||' | sort)
file=$(basename "$library")
case "$file" in
    libalgexpr_*.so*)
        client=${file#libalgexpr_}
        client=${client%%.so*}
        if ! grep -qx "$client" <<<"$clients"; then
            echo "$file: no client '$client' under clients/" >&2
            exit 2
        fi
        own="qorv::math::algexpr::$client::"
        others=""
        namespace="qorv::math::algexpr::$client"
        headers=$root/clients/$client/include/algexpr/$client
        ;;
    libalgexpr.so*)
        own="qorv::(oss|math)::"
        others="qorv::math::algexpr::($(paste -sd '|' <<<"$clients"))::"
        namespace="qorv::oss and qorv::math (the clients' namespaces left out)"
        headers=$root/include/algexpr
        ;;
    *)
        echo "$file: not one of algexpr's libraries" >&2
        exit 2
        ;;
esac

symbols=$(nm -D --defined-only "$library" | awk '{ $1 = ""; $2 = ""; sub(/^  /, ""); print }' | c++filt)
kinds="^(vtable for |typeinfo for |typeinfo name for )?"
foreign=$(grep -v -E "$kinds$own" <<<"$symbols" || true)
if [ -n "$others" ]; then
    foreign+=$(grep -E "$kinds$others" <<<"$symbols" || true)
fi
if [ -n "$foreign" ]; then
    echo "$file exports symbols outside $namespace:" >&2
    echo "$foreign" >&2
    exit 1
fi
# The thread slots have one owner in the process, the library: a client keeps
# no slots of its own, only its thread-local copy of the answer it was given.
if [ -n "${client:-}" ]; then
    slots=$(nm -C --defined-only "$library" 2>/dev/null | grep 'qorv::oss::ThreadSlotC' |
        grep -v 'ThreadSlotC::ofThisThread()::index$' || true)
    if [ -n "$slots" ]; then
        echo "$file hands out thread slots of its own (they are the library's):" >&2
        echo "$slots" >&2
        exit 1
    fi
fi
# Clients derive from the classes: each needs its type information exported.
# A final class has none to derive from.
classes=0
for header in "$headers"/*.h; do
    class=$(basename "$header" .h)
    case "$class" in *ABC | *BC | *C) ;; *) continue ;; esac
    if grep -qE "^class [A-Z_]+_API $class final\b" "$header"; then
        continue
    fi
    qualified=qorv::math::algexpr::${client:+$client::}$class
    if ! grep -qx "typeinfo for $qualified" <<<"$symbols"; then
        echo "$file: the type information of $qualified is not exported" >&2
        exit 1
    fi
    classes=$((classes + 1))
done
echo "$file: $(wc -l <<<"$symbols") exported symbols, all in $namespace, with the type information of its $classes classes that are not final"
