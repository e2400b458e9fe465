// SPDX-License-Identifier: MIT
// The polynomial layer's tests work on a ResultGraphC directly: GraphTextC
// reads the prefix text of plus, minus, times, divide, power, neg, integers,
// symbols and other functions into a graph (divide(a,b) as a*b^-1, numbers
// folded into a product's coefficient), and the helpers compare polynomials
// by the layer itself (a - b expands to 0). Symbols come from the numeric
// client's session, installed once per process.
#ifndef ALGEXPR_TESTS_POLY_POLYFIXTURE_H
#define ALGEXPR_TESTS_POLY_POLYFIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PolyEngineC.h"
#include "ResultGraphC.h"

namespace poly_tests {

using qorv::math::algexpr::poly::PolyEngineC;
using qorv::math::algexpr::poly::PolyLimitsS;
using qorv::math::algexpr::support::IdT;
using qorv::math::algexpr::support::kNoId;
using qorv::math::algexpr::support::ResultGraphC;
using OperationE = PolyEngineC::OperationE;

/// Reads prefix text into a graph (test inputs only: recursive, no checks
/// beyond what the tests need).
class GraphTextC {
public:
    explicit GraphTextC(ResultGraphC& graph) : graph(graph) {}
    IdT read(const std::string& text);
    /// The graph node as prefix text, children in graph order.
    std::string write(IdT id) const;

private:
    IdT expression();
    IdT symbol(const std::string& name);
    IdT integer(bool negative, const std::string& digits);
    IdT times(std::vector<IdT> parts);

    ResultGraphC& graph;
    std::string text;
    std::size_t at = 0;
};

/// The operation on the arguments' texts; kNoId when the layer declines.
IdT run(ResultGraphC& graph, OperationE operation, const std::vector<std::string>& arguments,
        const PolyLimitsS& limits = PolyLimitsS());
/// Whether a and b (nodes of one graph) are the same polynomial, or (with
/// `up_to_sign`) opposite ones.
bool samePolynomial(ResultGraphC& graph, IdT a, IdT b, bool up_to_sign = false);
/// Whether the node is expanded: a sum of terms, each a number, a generator
/// power or a product of those.
bool isExpanded(const ResultGraphC& graph, IdT id);

}  // namespace poly_tests

#endif
