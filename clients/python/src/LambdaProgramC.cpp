// SPDX-License-Identifier: MIT
#include "LambdaProgramC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/TreeWalk.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::python {

namespace {

// Points a chunk holds: small enough that the stack of a usual expression
// stays in the cache, large enough that each instruction's loop vectorises.
constexpr std::size_t kChunk = 512;
// Doubles of stack a deep tree may take; its chunks shrink to fit.
constexpr std::size_t kStackBudget = std::size_t(1) << 22;

}  // namespace

bool LambdaProgramC::compile(const NodeABC* tree, const std::vector<std::u16string>& arguments, std::string& why) {
    static const std::map<std::u16string, OpE> kUnary = {
        {u"neg", OpE::Neg},   {u"sin", OpE::Sin},   {u"cos", OpE::Cos},   {u"tan", OpE::Tan},
        {u"exp", OpE::Exp},   {u"log", OpE::Log},   {u"sqrt", OpE::Sqrt}, {u"abs", OpE::Abs},
        {u"asin", OpE::Asin}, {u"acos", OpE::Acos}, {u"atan", OpE::Atan}, {u"sinh", OpE::Sinh},
        {u"cosh", OpE::Cosh}, {u"tanh", OpE::Tanh}};
    static const std::map<std::u16string, OpE> kBinary = {
        {u"divide", OpE::Div}, {u"power", OpE::Pow}, {u"atan2", OpE::Atan2}};
    code.clear();
    argument_count = arguments.size();
    std::size_t depth = 0;
    stack_depth = 0;
    for (const NodeABC* node : postOrder(tree)) {
        if (isA<IntegerNodeC>(node) || isA<FloatNodeC>(node)) {
            const std::string text = Utf8C::toUtf8(node->toString());
            code.push_back({OpE::Const, 0, std::strtod(text.c_str(), nullptr)});
            stack_depth = std::max(stack_depth, ++depth);
            continue;
        }
        const std::u16string name = node->toString();
        if (isA<ExtendedSymbolNodeC>(node)) {
            auto at = std::find(arguments.begin(), arguments.end(), name);
            if (at == arguments.end()) {
                why = "the symbol " + Utf8C::toUtf8(name) + " is not an argument";
                return false;
            }
            code.push_back({OpE::Arg, static_cast<std::uint32_t>(at - arguments.begin()), 0.0});
            stack_depth = std::max(stack_depth, ++depth);
            continue;
        }
        if (isA<CoreSymbolNodeC>(node) && (name == u"pi" || name == u"e")) {
            code.push_back({OpE::Const, 0, name == u"pi" ? 3.14159265358979323846 : 2.71828182845904523536});
            stack_depth = std::max(stack_depth, ++depth);
            continue;
        }
        const ParentNodeABC* call = isA<CoreFunctionNodeC>(node) ? dynCast<ParentNodeABC>(node) : nullptr;
        const std::size_t n = call != nullptr ? call->numChildren() : 0;
        bool known = true;
        if (call == nullptr) {
            known = false;
        } else if ((name == u"plus" || name == u"times") && n >= 1) {
            if (n > 1) {
                code.push_back({name == u"plus" ? OpE::Add : OpE::Mul, static_cast<std::uint32_t>(n), 0.0});
            }
        } else if (name == u"minus" && (n == 1 || n == 2)) {
            code.push_back({n == 1 ? OpE::Neg : OpE::Sub, 0, 0.0});
        } else if (kUnary.count(name) != 0 && n == 1) {
            code.push_back({kUnary.at(name), 0, 0.0});
        } else if (name == u"power" && n == 2 && code.back().op == OpE::Const &&
                   std::fabs(code.back().value) <= 64 && code.back().value == std::trunc(code.back().value)) {
            // An integer exponent: products by repeated squaring instead of
            // std::pow, exact as long as the products are.
            const double exponent = code.back().value;
            code.back() = {OpE::PowInt, static_cast<std::uint32_t>(std::fabs(exponent)), exponent < 0 ? -1.0 : 1.0};
        } else if (kBinary.count(name) != 0 && n == 2) {
            code.push_back({kBinary.at(name), 0, 0.0});
        } else {
            known = false;
        }
        if (!known) {
            why = Utf8C::toUtf8(name) + " has no numeric form here";
            return false;
        }
        depth -= n - 1;
    }
    if (code.empty()) {
        why = "no expression";
        return false;
    }
    return true;
}

// One instruction over the m points of a chunk whose slots start at stack;
// returns the number of slots in use after it.
inline std::size_t LambdaProgramC::step(const InstructionS& instruction, const std::vector<const double*>& inputs,
                                        std::size_t begin, std::size_t m, std::size_t chunk, double* stack,
                                        std::size_t top) {
    double* r = stack + (top == 0 ? 0 : (top - 1) * chunk);  // the top slot
    switch (instruction.op) {
    case OpE::Const: {
        double* s = stack + top * chunk;
        std::fill(s, s + m, instruction.value);
        return top + 1;
    }
    case OpE::Arg: {
        double* s = stack + top * chunk;
        const double* in = inputs[instruction.count] + begin;
        std::copy(in, in + m, s);
        return top + 1;
    }
    case OpE::Add:
    case OpE::Mul: {
        const std::size_t n = instruction.count;
        double* first = stack + (top - n) * chunk;
        for (std::size_t j = 1; j < n; ++j) {
            const double* b = first + j * chunk;
            if (instruction.op == OpE::Add) {
                for (std::size_t k = 0; k < m; ++k) first[k] += b[k];
            } else {
                for (std::size_t k = 0; k < m; ++k) first[k] *= b[k];
            }
        }
        return top - (n - 1);
    }
    case OpE::Sub:
    case OpE::Div:
    case OpE::Pow:
    case OpE::Atan2: {
        double* a = r - chunk;
        const double* b = r;
        switch (instruction.op) {
        case OpE::Sub: for (std::size_t k = 0; k < m; ++k) a[k] -= b[k]; break;
        case OpE::Div: for (std::size_t k = 0; k < m; ++k) a[k] /= b[k]; break;
        case OpE::Pow:
            for (std::size_t k = 0; k < m; ++k) a[k] = std::pow(a[k], b[k]);
            break;
        default: for (std::size_t k = 0; k < m; ++k) a[k] = std::atan2(a[k], b[k]); break;
        }
        return top - 1;
    }
    default:
        elementwise(instruction, r, m);
        return top;
    }
}

// A function of one argument, in place over the m values at r.
inline void LambdaProgramC::elementwise(const InstructionS& instruction, double* r, std::size_t m) {
    switch (instruction.op) {
    case OpE::Neg: for (std::size_t k = 0; k < m; ++k) r[k] = -r[k]; break;
    case OpE::Sin: for (std::size_t k = 0; k < m; ++k) r[k] = std::sin(r[k]); break;
    case OpE::Cos: for (std::size_t k = 0; k < m; ++k) r[k] = std::cos(r[k]); break;
    case OpE::Tan: for (std::size_t k = 0; k < m; ++k) r[k] = std::tan(r[k]); break;
    case OpE::Exp: for (std::size_t k = 0; k < m; ++k) r[k] = std::exp(r[k]); break;
    case OpE::Log: for (std::size_t k = 0; k < m; ++k) r[k] = std::log(r[k]); break;
    case OpE::Sqrt: for (std::size_t k = 0; k < m; ++k) r[k] = std::sqrt(r[k]); break;
    case OpE::Abs: for (std::size_t k = 0; k < m; ++k) r[k] = std::fabs(r[k]); break;
    case OpE::Asin: for (std::size_t k = 0; k < m; ++k) r[k] = std::asin(r[k]); break;
    case OpE::Acos: for (std::size_t k = 0; k < m; ++k) r[k] = std::acos(r[k]); break;
    case OpE::Atan: for (std::size_t k = 0; k < m; ++k) r[k] = std::atan(r[k]); break;
    case OpE::Sinh: for (std::size_t k = 0; k < m; ++k) r[k] = std::sinh(r[k]); break;
    case OpE::Cosh: for (std::size_t k = 0; k < m; ++k) r[k] = std::cosh(r[k]); break;
    case OpE::Tanh: for (std::size_t k = 0; k < m; ++k) r[k] = std::tanh(r[k]); break;
    case OpE::PowInt: {
        const std::uint32_t exponent = instruction.count;
        for (std::size_t k = 0; k < m; ++k) {
            double base = r[k];
            double product = 1.0;
            for (std::uint32_t e = exponent; e != 0; e >>= 1) {
                if ((e & 1U) != 0) {
                    product *= base;
                }
                base *= base;
            }
            r[k] = instruction.value < 0 ? 1.0 / product : product;
        }
        break;
    }
    default:
        break;
    }
}

void LambdaProgramC::evaluate(const std::vector<const double*>& inputs, std::size_t count, double* out) const {
    const std::size_t chunk = std::max<std::size_t>(1, std::min(kChunk, kStackBudget / std::max<std::size_t>(1, stack_depth)));
    std::vector<double> stack(stack_depth * chunk);
    for (std::size_t begin = 0; begin < count; begin += chunk) {
        const std::size_t m = std::min(chunk, count - begin);
        std::size_t top = 0;  // slots in use
        for (const InstructionS& instruction : code) {
            top = step(instruction, inputs, begin, m, chunk, stack.data(), top);
        }
        std::copy(stack.data(), stack.data() + m, out + begin);
    }
}

}  // namespace qorv::math::algexpr::python
