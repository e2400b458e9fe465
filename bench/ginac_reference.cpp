// SPDX-License-Identifier: MIT
// The yardstick of algexpr_ginac_tool_bench: a small GiNaC program that reads
// expressions in GiNaC's infix syntax, one a line from standard input, and
// writes each with GiNaC's printer (an empty line for one GiNaC refuses),
// as the algexpr tool's eval does with the same expressions in prefix form.
// f, g and h are functions of one, two and three arguments. With
// --parse-only it writes an empty line for each instead: GiNaC's reading
// and building alone, the part of the yardstick that any route through
// GiNaC pays.
#include <ginac/ginac.h>

#include <cstdint>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const bool parse_only = argc > 1 && std::strcmp(argv[1], "--parse-only") == 0;
    std::ios::sync_with_stdio(false);
    GiNaC::prototype_table table = GiNaC::get_default_reader();
    const std::pair<const char*, unsigned> functions[] = {{"f", 1}, {"g", 2}, {"h", 3}};
    for (const auto& [name, arity] : functions) {
        const auto serial =
            static_cast<std::uintptr_t>(GiNaC::function::register_new(GiNaC::function_options(name, arity)));
        // GiNaC's parser takes a function's serial in place of a reader, marked by the lowest bit.
        table[{name, arity}] = reinterpret_cast<GiNaC::reader_func>((serial << 1) | 1);
    }
    GiNaC::parser reader(GiNaC::symtab(), false, table);
    std::string line;
    while (std::getline(std::cin, line)) {
        try {
            const GiNaC::ex read = reader(line);
            if (parse_only) {
                std::cout << '\n';
            } else {
                std::cout << read << '\n';
            }
        } catch (const std::exception&) {
            std::cout << '\n';
        }
    }
    return 0;
}
