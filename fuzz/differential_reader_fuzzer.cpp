// SPDX-License-Identifier: MIT
// The library's reader against LiteralPrefixReaderC, the reading rules taken
// literally: the same tree (or the same null result) and the same calls into
// the session and the factories, in the same order.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FuzzEnvironmentC.h"
#include "LiteralPrefixReaderC.h"
#include "TreeCheckerC.h"
#include "algexpr/algexpr.h"

using algexpr_fuzz::FuzzEnvironmentC;
using algexpr_fuzz::LiteralPrefixReaderC;
using algexpr_fuzz::TreeCheckerC;
using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::NodeABC;
using qorv::oss::PointerTC;

namespace {

// The reference recurses three frames per level of nesting and copies every
// substring, so the text is kept short.
constexpr std::size_t kMaxInput = 1024;

// The calls recorded since the last take, without the destructions.
std::vector<std::string> calls() {
    std::vector<std::string> kept;
    for (std::string& event : testing_doubles::takeEvents()) {
        if (event[0] != '~') {
            kept.push_back(std::move(event));
        }
    }
    return kept;
}

void report(const char* who, const std::string& tree, const std::vector<std::string>& made) {
    std::fprintf(stderr, "%s: %s\n  calls:", who, tree.c_str());
    for (const std::string& call : made) {
        std::fprintf(stderr, " %s", call.c_str());
    }
    std::fprintf(stderr, "\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    std::u16string text;
    testing_doubles::TestSession& session = FuzzEnvironmentC::begin(data, size, text);
    session.logging = true;
    std::vector<std::string> library_calls;
    std::string library_tree;
    {
        PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(text);
        library_calls = calls();
        library_tree = TreeCheckerC::describe(expression ? expression->getNode() : nullptr);
    }
    std::vector<std::string> literal_calls;
    std::string literal_tree;
    {
        std::unique_ptr<NodeABC> root(LiteralPrefixReaderC(session).read(text));
        literal_calls = calls();
        literal_tree = TreeCheckerC::describe(root.get());
    }
    session.logging = false;
    if (library_tree != literal_tree || library_calls != literal_calls) {
        report("library", library_tree, library_calls);
        report("literal", literal_tree, literal_calls);
        FuzzEnvironmentC::check(false, "the readers differ");
    }
    FuzzEnvironmentC::end();
    return 0;
}
