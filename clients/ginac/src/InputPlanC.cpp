// SPDX-License-Identifier: MIT
#include "InputPlanC.h"

#include <algorithm>
#include <cmath>

#include "SupportNames.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeCast.h"
#include "algexpr/SymbolC.h"
#include "algexpr/ginac/IntegerValueC.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

constexpr double kHuge = 1e300;

bool isSum(OperationE operation, std::size_t arity) {
    return operation == OperationE::Plus || (operation == OperationE::Minus && arity == 2);
}

// Whether an argument's arguments join those of its parent, as GiNaC would
// flatten them: sums into sums (a - b being a + (-b)), products into
// products. An argument without arguments stays itself (and is refused).
bool joins(OperationE child, std::size_t child_arity, OperationE parent, std::size_t parent_arity, bool first) {
    if (child_arity == 0) {
        return false;
    }
    if (parent == OperationE::Times) {
        return child == OperationE::Times;
    }
    const bool sum_parent = parent == OperationE::Plus || (parent == OperationE::Minus && parent_arity == 2 && first);
    return sum_parent && isSum(child, child_arity);
}

// The depth limit of an operation's first argument, 0 when it has none.
std::size_t operandLimit(OperationE operation, const GinacLimitsS& limits) {
    switch (operation) {
        case OperationE::Diff:
            return limits.diff_depth;
        case OperationE::Simplify:
        case OperationE::Factor:
            return limits.simplify_depth;
        case OperationE::Series:
            return limits.series_depth;
        case OperationE::RealPart:
        case OperationE::ImagPart:
            return limits.parts_depth;
        default:
            return 0;
    }
}

// log10 |n| of an integer value, and its digits.
double integerDigits(const IntegerValueABC& value) {
    if (const auto* ours = dynamic_cast<const IntegerValueC*>(&value)) {
        if (ours->isLarge()) {
            return static_cast<double>(ours->digitCount());
        }
    }
    const double magnitude = std::fabs(static_cast<double>(value.getValue()));
    return magnitude < 1.0 ? 0.0 : std::log10(magnitude);
}

double tenTo(double exponent) { return exponent > 300.0 ? kHuge : std::pow(10.0, exponent); }

}  // namespace

InputPlanC::InputPlanC(const std::vector<OperationE>& operations, const GinacLimitsS& limits)
    : NodeVisitorABC(PreOrder | PostOrder), operations(&operations), limits(&limits) {}

InputPlanC::~InputPlanC() = default;

void InputPlanC::reset(const std::vector<OperationE>& operations, const GinacLimitsS& limits) {
    this->operations = &operations;
    this->limits = &limits;
}

void InputPlanC::run(NodeABC& root) {
    // Containers grown by a huge expression are not kept for all after it.
    constexpr std::size_t kKept = std::size_t{1} << 16;
    if (step_list.capacity() > kKept) {
        std::vector<Frame>().swap(frames);
        std::vector<ValueS>().swap(values);
        std::vector<StepS>().swap(step_list);
        std::vector<SymbolC*>().swap(symbol_list);
        std::unordered_map<SymbolC*, std::uint32_t>().swap(symbol_places);
    }
    frames.clear();
    values.clear();
    step_list.clear();
    symbol_list.clear();
    symbol_places.clear();
    problem.clear();
    root.traverse(*this);
    const GinacLimitsS& limits = *this->limits;
    const std::size_t depth = values.empty() ? 0 : values.back().size.depth;
    if (depth > limits.depth) {
        throw RefusalC(u"the expression is nested " + count(depth) + u" levels deep; the limit is " + count(limits.depth));
    }
    if (!problem.empty()) {
        throw RefusalC(problem);
    }
}

OperationE InputPlanC::operationOf(int code) const {
    return code >= 0 && static_cast<std::size_t>(code) < operations->size() ? (*operations)[static_cast<std::size_t>(code)]
                                                                            : OperationE::None;
}

void InputPlanC::enter(OperationE operation, NodeABC& node, bool function) {
    frames.push_back(Frame{operation, values.size(), 0, &node, function});
}

void InputPlanC::leave() {
    const Frame frame = frames.back();
    frames.pop_back();
    const std::size_t arity = values.size() - frame.first;
    std::size_t depth = 0;
    for (std::size_t i = frame.first; i < values.size(); ++i) {
        ValueS& child = values[i];
        const bool joined = joins(child.operation, child.arity, frame.operation, arity, i == frame.first);
        if (joined) {
            step_list[child.step].merged = true;
        }
        depth = std::max(depth, child.size.depth + (joined ? 0 : 1));
    }
    SizeS size = combine(frame.operation, values.data() + frame.first, arity);
    size.depth = depth;
    if (problem.empty()) {
        check(frame.operation, values.data() + frame.first, arity, size);
    }
    values.resize(frame.first);
    const StepS step{frame.function ? StepS::KindE::Function : StepS::KindE::Core, frame.operation, false,
                     static_cast<std::uint32_t>(arity), 0, frame.node};
    values.push_back(ValueS{size, frame.function ? OperationE::None : frame.operation, arity, step_list.size()});
    step_list.push_back(step);
}

// What an operation asks for, from what its arguments ask for.
InputPlanC::SizeS InputPlanC::combine(OperationE operation, const ValueS* arguments, std::size_t count) const {
    SizeS size;
    bool known = count > 0;
    for (std::size_t i = 0; i < count; ++i) {
        const SizeS& a = arguments[i].size;
        size.total += a.total;
        size.order = std::max(size.order, a.order);
        size.digits = std::max(size.digits, a.digits);
        known = known && a.known;
    }
    switch (operation) {
        case OperationE::Times:
        case OperationE::Divide:
            size.digits = 0.0;
            for (std::size_t i = 0; i < count; ++i) {
                size.digits += arguments[i].size.digits;
                size.weight += arguments[i].size.weight;
                // |a/b| <= |a| for an integer b: divisors do not raise the bound.
                size.magnitude += operation == OperationE::Divide && i > 0 ? 0.0 : arguments[i].size.magnitude;
            }
            size.known = known;
            break;
        case OperationE::Plus:
        case OperationE::Minus:
        case OperationE::Neg:
            size.known = known;
            size.digits += count > 1 ? std::log10(static_cast<double>(count)) : 0.0;
            size.magnitude = size.digits;
            size.weight = known ? size.digits : (count == 1 ? arguments[0].size.weight : 0.0);
            break;
        case OperationE::Power:
        case OperationE::Sqrt: {
            const SizeS& base = arguments[0].size;
            const bool exponent_known = operation == OperationE::Sqrt || (count == 2 && arguments[1].size.known);
            const double factor = operation == OperationE::Sqrt ? 0.5 : exponent_known ? tenTo(arguments[1].size.magnitude) : 0.0;
            size.weight = std::min(kHuge, base.weight * factor);
            size.digits = std::max(base.digits, size.weight);
            size.known = known && exponent_known;
            size.magnitude = std::min(kHuge, base.magnitude * factor);
            break;
        }
        case OperationE::Expand:
        case OperationE::Simplify:
        case OperationE::Factor:
            size.weight = count > 0 ? arguments[0].size.weight : 0.0;
            break;
        case OperationE::Diff: {
            const NodeABC* n = count == 3 ? step_list[arguments[2].step].node : nullptr;
            const auto* literal = n != nullptr ? dynCast<IntegerNodeC>(n) : nullptr;
            double order = count == 2 ? 1.0 : 0.0;
            if (literal != nullptr && literal->getValue() != nullptr) {
                order = static_cast<double>(literal->getValue()->getValue());
            }
            size.order = arguments[0].size.order + std::max(order, 0.0);
            break;
        }
        default:
            break;
    }
    size.total += size.weight;
    return size;
}

void InputPlanC::check(OperationE operation, const ValueS* arguments, std::size_t arity, const SizeS& size) {
    const GinacLimitsS& limits = *this->limits;
    const std::size_t limit = operandLimit(operation, limits);
    if (limit != 0 && arity > 0 && arguments[0].size.depth > limit) {
        problem = std::u16string(Words::nameOf(operation)) + u": the expression is nested " + count(arguments[0].size.depth) +
                  u" levels deep; the limit for " + Words::nameOf(operation) + u" is " + count(limit);
    } else if (size.digits > static_cast<double>(limits.integer_digits)) {
        problem = std::u16string(Words::nameOf(operation)) + u": the result would hold an integer of about " +
                  approximately(size.digits) + u" digits; exact integers are limited to " + count(limits.integer_digits) +
                  u" digits";
    } else if (size.total > static_cast<double>(limits.total_digits)) {
        problem = std::u16string(Words::nameOf(operation)) + u": the numbers would hold about " + approximately(size.total) +
                  u" digits in all; the limit is " + count(limits.total_digits);
    } else if (operation == OperationE::Diff && arity > 0 && arguments[0].size.order > 0.0 &&
               size.order > static_cast<double>(limits.diff_order)) {  // a lone order is the builder's to refuse
        problem = u"diff: derivatives of order " + approximately(size.order) + u" in all; the limit is " +
                  count(limits.diff_order);
    }
}

void InputPlanC::leaf(StepS step, const SizeS& size) {
    values.push_back(ValueS{size, OperationE::None, 0, step_list.size()});
    step_list.push_back(step);
}

bool InputPlanC::visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) {
    if (order == PreOrder) {
        enter(operationOf(node.getCode()), node, false);
    } else {
        leave();
    }
    return true;
}

bool InputPlanC::visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) {
    if (order == PreOrder) {
        enter(OperationE::None, node, true);
    } else {
        leave();
    }
    return true;
}

bool InputPlanC::visitCoreSymbolNode(CoreSymbolNodeC& node) {
    leaf(StepS{StepS::KindE::Constant, operationOf(node.getCode()), false, 0, 0, &node}, SizeS());
    return true;
}

bool InputPlanC::visitExtendedSymbolNode(ExtendedSymbolNodeC& node) {
    SymbolC* symbol = node.getSymbol().get();
    if (symbol == nullptr) {
        if (problem.empty()) {
            problem = u"a symbol without a name";
        }
        leaf(StepS{StepS::KindE::Symbol, OperationE::None, false, 0, 0, &node}, SizeS());
        return true;
    }
    leaf(StepS{StepS::KindE::Symbol, OperationE::None, false, 0, placeOf(symbol), &node}, SizeS());
    return true;
}

// A symbol's place in symbols(), given at its first occurrence. The few
// symbols of most expressions are looked up in the list itself; a map
// takes over beyond them, so that the cost stays linear.
std::uint32_t InputPlanC::placeOf(SymbolC* symbol) {
    constexpr std::size_t kListed = 8;
    if (symbol_list.size() <= kListed) {
        for (std::size_t i = 0; i < symbol_list.size(); ++i) {
            if (symbol_list[i] == symbol) {
                return static_cast<std::uint32_t>(i);
            }
        }
        if (symbol_list.size() < kListed) {
            symbol_list.push_back(symbol);
            return static_cast<std::uint32_t>(symbol_list.size() - 1);
        }
        for (std::size_t i = 0; i < symbol_list.size(); ++i) {
            symbol_places.emplace(symbol_list[i], static_cast<std::uint32_t>(i));
        }
    }
    const auto found = symbol_places.emplace(symbol, static_cast<std::uint32_t>(symbol_list.size()));
    if (found.second) {
        symbol_list.push_back(symbol);
    }
    return found.first->second;
}

bool InputPlanC::visitFloatNode(FloatNodeC& node) {
    leaf(StepS{StepS::KindE::Float, OperationE::None, false, 0, 0, &node}, SizeS());
    return true;
}

bool InputPlanC::visitIntegerNode(IntegerNodeC& node) {
    SizeS size;
    if (node.getValue() != nullptr) {
        size.digits = integerDigits(*node.getValue());
        size.weight = size.digits;
        size.total = size.digits;
        size.known = true;
        size.magnitude = size.digits;
        if (size.digits > static_cast<double>(limits->integer_digits) && problem.empty()) {
            problem = u"an integer of about " + approximately(size.digits) + u" digits; exact integers are limited to " +
                      count(limits->integer_digits) + u" digits";
        }
    }
    leaf(StepS{StepS::KindE::Integer, OperationE::None, false, 0, 0, &node}, size);
    return true;
}

}  // namespace qorv::math::algexpr::ginac::detail
