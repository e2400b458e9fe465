// SPDX-License-Identifier: MIT
// The yardstick of algexpr_ginac_tool_bench: a small GiNaC program that reads
// expressions in GiNaC's infix syntax, one a line from standard input, and
// writes each with GiNaC's printer (an empty line for one GiNaC refuses),
// as the algexpr tool's eval does with the same expressions in prefix form.
// f, g and h are functions of one, two and three arguments.
#include <ginac/ginac.h>

#include <cstdint>
#include <iostream>
#include <string>

int main() {
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
            std::cout << reader(line) << '\n';
        } catch (const std::exception&) {
            std::cout << '\n';
        }
    }
    return 0;
}
