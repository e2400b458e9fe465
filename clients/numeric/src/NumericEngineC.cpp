// SPDX-License-Identifier: MIT
#include "algexpr/numeric/NumericEngineC.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <string_view>

#include "EngineVocabulary.h"
#include "OutOfMemory.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/FloatValueFactoryABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr::numeric {

using support::reserveOutOfMemory;
using support::setOutOfMemory;

namespace {

using detail::OperationE;
using detail::Words;

constexpr double kPi = 3.14159265358979323846264338327950288;
constexpr double kE = 2.71828182845904523536028747135266250;

// A number during evaluation: an exact integer or a double.
struct Number {
    bool exact;
    std::int64_t integer;
    double real;

    static Number ofInteger(std::int64_t value) { return Number{true, value, 0.0}; }
    static Number ofReal(double value) { return Number{false, 0, value}; }
    double toReal() const { return exact ? static_cast<double>(integer) : real; }
    bool isZero() const { return exact ? integer == 0 : real == 0.0; }
    bool isNaN() const { return !exact && std::isnan(real); }
};

Number add(Number a, Number b) {
    std::int64_t sum;
    if (a.exact && b.exact && !__builtin_add_overflow(a.integer, b.integer, &sum)) {
        return Number::ofInteger(sum);
    }
    return Number::ofReal(a.toReal() + b.toReal());
}

Number subtract(Number a, Number b) {
    std::int64_t difference;
    if (a.exact && b.exact && !__builtin_sub_overflow(a.integer, b.integer, &difference)) {
        return Number::ofInteger(difference);
    }
    return Number::ofReal(a.toReal() - b.toReal());
}

Number multiply(Number a, Number b) {
    std::int64_t product;
    if (a.exact && b.exact && !__builtin_mul_overflow(a.integer, b.integer, &product)) {
        return Number::ofInteger(product);
    }
    return Number::ofReal(a.toReal() * b.toReal());
}

Number negate(Number a) {
    if (a.exact && a.integer != std::numeric_limits<std::int64_t>::min()) {
        return Number::ofInteger(-a.integer);
    }
    return Number::ofReal(-a.toReal());
}

Number absolute(Number a) {
    if (a.exact) {
        return a.integer < 0 ? negate(a) : a;
    }
    return Number::ofReal(std::fabs(a.real));
}

// The divisor is not zero.
Number divide(Number a, Number b) {
    if (a.exact && b.exact) {
        if (b.integer == -1) {  // INT64_MIN % -1 is undefined: take this one aside
            return negate(a);
        }
        if (a.integer % b.integer == 0) {
            return Number::ofInteger(a.integer / b.integer);
        }
    }
    return Number::ofReal(a.toReal() / b.toReal());
}

// a^b for b >= 0 by squaring; false when it overflows 64 bits.
bool exactPower(std::int64_t base, std::int64_t exponent, std::int64_t& result) {
    std::int64_t value = 1;
    auto remaining = static_cast<std::uint64_t>(exponent);
    for (;;) {
        if ((remaining & 1) != 0 && __builtin_mul_overflow(value, base, &value)) {
            return false;
        }
        remaining >>= 1;
        if (remaining == 0) {
            result = value;
            return true;
        }
        // Once the square overflows, the product still to come does too.
        if (__builtin_mul_overflow(base, base, &base)) {
            return false;
        }
    }
}

// The exact root when `value` (>= 0) is a perfect square.
bool exactRoot(std::int64_t value, std::int64_t& root) {
    const auto guess = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    for (std::int64_t r = guess > 0 ? guess - 1 : 0; r <= guess + 1; ++r) {
        std::int64_t square;
        if (!__builtin_mul_overflow(r, r, &square) && square == value) {
            root = r;
            return true;
        }
    }
    return false;
}

// The result of applying an operation: a number, or why there is none.
struct Outcome {
    const char* problem;  // null when `value` holds the result
    Number value;

    static Outcome of(Number value) { return Outcome{nullptr, value}; }
    static Outcome failure(const char* problem) { return Outcome{problem, Number::ofInteger(0)}; }
};

Outcome power(Number a, Number b) {
    if (a.exact && b.exact) {
        if (b.integer >= 0) {
            std::int64_t result;
            if (exactPower(a.integer, b.integer, result)) {
                return Outcome::of(Number::ofInteger(result));
            }
        } else if (a.integer == 0) {
            return Outcome::failure("division by zero");
        } else if (a.integer == 1 || a.integer == -1) {
            return Outcome::of(Number::ofInteger((b.integer & 1) != 0 ? a.integer : 1));
        }
    }
    const double x = a.toReal();
    const double y = b.toReal();
    if (x == 0.0 && y < 0.0) {
        return Outcome::failure("division by zero");
    }
    return Outcome::of(Number::ofReal(std::pow(x, y)));
}

// A double with an integral value as an exact integer where it fits.
Number integral(double value) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    return value >= -kLimit && value < kLimit ? Number::ofInteger(static_cast<std::int64_t>(value))
                                              : Number::ofReal(value);
}

// 1/x, for sec, csc and cot and the inverses of those.
Outcome reciprocal(double x) {
    if (x == 0.0) {
        return Outcome::failure("division by zero");
    }
    return Outcome::of(Number::ofReal(1.0 / x));
}

// gamma(n) = (n-1)! of a whole n, exact while it fits 64 bits.
Outcome gamma(Number a) {
    const double x = a.toReal();
    if (x <= 0.0 && x == std::floor(x)) {
        return Outcome::failure("a pole of gamma");
    }
    if (a.exact && a.integer <= 21) {  // 20! < 2^63 < 21!
        std::int64_t product = 1;
        for (std::int64_t k = 2; k < a.integer; ++k) {
            product *= k;
        }
        return Outcome::of(Number::ofInteger(product));
    }
    return Outcome::of(Number::ofReal(std::tgamma(x)));
}

// The real functions beyond the elementary ones.
Outcome special(OperationE operation, Number a) {
    const double x = a.toReal();
    switch (operation) {
        case OperationE::Erf:
            return Outcome::of(Number::ofReal(std::erf(x)));
        case OperationE::Erfc:
            return Outcome::of(Number::ofReal(std::erfc(x)));
        case OperationE::Gamma:
            return gamma(a);
        case OperationE::Lgamma:
            if (!(x > 0.0)) {
                return Outcome::failure("defined for positive arguments only");
            }
            return Outcome::of(Number::ofReal(std::lgamma(x)));
        case OperationE::Zeta:
            if (x == 1.0) {
                return Outcome::failure("the pole of zeta");
            }
            try {
                return Outcome::of(Number::ofReal(std::riemann_zeta(x)));
            } catch (const std::exception&) {
                return Outcome::failure("no value");
            }
        case OperationE::Floor:
            return Outcome::of(a.exact ? a : integral(std::floor(x)));
        case OperationE::Ceil:
            return Outcome::of(a.exact ? a : integral(std::ceil(x)));
        case OperationE::Frac:
            return Outcome::of(a.exact ? Number::ofInteger(0) : Number::ofReal(x - std::floor(x)));
        case OperationE::Sign:
            return Outcome::of(a.isNaN() ? a : Number::ofInteger(x > 0.0 ? 1 : x < 0.0 ? -1 : 0));
        case OperationE::Sec:
            return reciprocal(std::cos(x));
        case OperationE::Csc:
            return reciprocal(std::sin(x));
        case OperationE::Cot: {
            const double s = std::sin(x);
            return s == 0.0 ? Outcome::failure("division by zero") : Outcome::of(Number::ofReal(std::cos(x) / s));
        }
        case OperationE::Asec:
            return x == 0.0 ? Outcome::failure("division by zero") : Outcome::of(Number::ofReal(std::acos(1.0 / x)));
        case OperationE::Acsc:
            return x == 0.0 ? Outcome::failure("division by zero") : Outcome::of(Number::ofReal(std::asin(1.0 / x)));
        case OperationE::Acot:
            // acot(0) is pi/2, the limit from above.
            return Outcome::of(Number::ofReal(x == 0.0 ? kPi / 2 : std::atan(1.0 / x)));
        case OperationE::Log10: {
            std::int64_t power = 1;
            for (std::int64_t k = 0; a.exact && power <= a.integer; ++k) {
                if (power == a.integer) {
                    return Outcome::of(Number::ofInteger(k));
                }
                if (__builtin_mul_overflow(power, 10, &power)) {
                    break;
                }
            }
            if (a.isZero()) {
                return Outcome::failure("logarithm of zero");
            }
            return Outcome::of(Number::ofReal(std::log10(x)));
        }
        default:
            return Outcome::failure("not a function of one argument");
    }
}

// min or max of real values: the first of the extreme ones.
Outcome extreme(bool greatest, const Number* arguments, std::size_t count) {
    Number best = arguments[0];
    for (std::size_t i = 1; i < count; ++i) {
        const Number& a = arguments[i];
        const bool above = a.exact && best.exact ? a.integer > best.integer : a.toReal() > best.toReal();
        const bool below = a.exact && best.exact ? a.integer < best.integer : a.toReal() < best.toReal();
        if (a.isNaN() || best.isNaN()) {
            return Outcome::of(Number::ofReal(std::nan("")));
        }
        best = (greatest ? above : below) ? a : best;
    }
    return Outcome::of(best);
}

Outcome unary(OperationE operation, Number a) {
    switch (operation) {
        case OperationE::Neg:
            return Outcome::of(negate(a));
        case OperationE::Abs:
            return Outcome::of(absolute(a));
        case OperationE::Sqrt: {
            std::int64_t root;
            if (a.exact && a.integer >= 0 && exactRoot(a.integer, root)) {
                return Outcome::of(Number::ofInteger(root));
            }
            return Outcome::of(Number::ofReal(std::sqrt(a.toReal())));
        }
        case OperationE::Exp:
            return Outcome::of(Number::ofReal(std::exp(a.toReal())));
        case OperationE::Log:
            if (a.isZero()) {
                return Outcome::failure("logarithm of zero");
            }
            return Outcome::of(Number::ofReal(std::log(a.toReal())));
        case OperationE::Sin:
            return Outcome::of(Number::ofReal(std::sin(a.toReal())));
        case OperationE::Cos:
            return Outcome::of(Number::ofReal(std::cos(a.toReal())));
        case OperationE::Tan:
            return Outcome::of(Number::ofReal(std::tan(a.toReal())));
        case OperationE::Asin:
            return Outcome::of(Number::ofReal(std::asin(a.toReal())));
        case OperationE::Acos:
            return Outcome::of(Number::ofReal(std::acos(a.toReal())));
        case OperationE::Atan:
            return Outcome::of(Number::ofReal(std::atan(a.toReal())));
        case OperationE::Sinh:
            return Outcome::of(Number::ofReal(std::sinh(a.toReal())));
        case OperationE::Cosh:
            return Outcome::of(Number::ofReal(std::cosh(a.toReal())));
        case OperationE::Tanh:
            return Outcome::of(Number::ofReal(std::tanh(a.toReal())));
        default:
            return special(operation, a);
    }
}

// Applies a core operation to `count` evaluated arguments.
Outcome apply(OperationE operation, const Number* arguments, std::size_t count) {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Times: {
            const bool plus = operation == OperationE::Plus;
            Number result = Number::ofInteger(plus ? 0 : 1);
            for (std::size_t i = 0; i < count; ++i) {
                result = plus ? add(result, arguments[i]) : multiply(result, arguments[i]);
            }
            return Outcome::of(result);
        }
        case OperationE::Minus:
            if (count == 1) {
                return Outcome::of(negate(arguments[0]));
            }
            if (count == 2) {
                return Outcome::of(subtract(arguments[0], arguments[1]));
            }
            return Outcome::failure("takes 1 or 2 arguments");
        case OperationE::Divide:
            if (count != 2) {
                return Outcome::failure("takes 2 arguments");
            }
            if (arguments[1].isZero()) {
                return Outcome::failure("division by zero");
            }
            return Outcome::of(divide(arguments[0], arguments[1]));
        case OperationE::Power:
            if (count != 2) {
                return Outcome::failure("takes 2 arguments");
            }
            return power(arguments[0], arguments[1]);
        case OperationE::Atan2:
            if (count != 2) {
                return Outcome::failure("takes 2 arguments");
            }
            if (arguments[0].isZero() && arguments[1].isZero()) {
                return Outcome::failure("the angle of the origin");
            }
            return Outcome::of(Number::ofReal(std::atan2(arguments[0].toReal(), arguments[1].toReal())));
        case OperationE::Min:
        case OperationE::Max:
            if (count == 0) {
                return Outcome::failure("takes at least 1 argument");
            }
            return extreme(operation == OperationE::Max, arguments, count);
        case OperationE::Pi:
        case OperationE::E:
            return Outcome::failure("a constant, used as a function");
        case OperationE::None:
            return Outcome::failure("not a function the engine evaluates");
        default:
            if (count != 1) {
                return Outcome::failure("takes 1 argument");
            }
            return unary(operation, arguments[0]);
    }
}

// The post-order walk. Each leaf visit pushes one item and each function
// visit replaces its arguments' items by one: a number when everything below
// evaluated, otherwise a new subtree holding what is left.
class Evaluator : public NodeVisitorABC {
public:
    Evaluator(const std::vector<OperationE>& operations, IntegerValueFactoryABC& integers, FloatValueFactoryABC& floats,
              bool require_number, std::u16string& reason)
        : NodeVisitorABC(PostOrder),
          operations(operations),
          integers(integers),
          floats(floats),
          require_number(require_number),
          reason(reason) {}

    ~Evaluator() override {
        for (Item& item : stack) {
            delete item.tree;
        }
    }

    bool ranOutOfMemory() const { return out_of_memory; }

    NodeABC* run(NodeABC& root) {
        reason.clear();
        if (!root.traverse(*this) || stack.size() != 1) {
            return nullptr;
        }
        NodeABC* result = materialize(stack.back());
        out_of_memory = out_of_memory || result == nullptr;
        return result;
    }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) override {
        const unsigned int count = countChildren(node);
        const OperationE operation = operationOf(node.getCode());
        if (Words::support(operation, detail::kColumn) == support::SupportE::Refuses) {
            if (!refused(operation)) {
                return false;
            }
        } else if (operation != OperationE::None && allNumbers(count)) {
            numbers.clear();
            for (std::size_t i = stack.size() - count; i < stack.size(); ++i) {
                numbers.push_back(stack[i].number);
            }
            Outcome outcome = apply(operation, numbers.data(), count);
            if (outcome.problem == nullptr && outcome.value.isNaN() && !anyNaN()) {
                outcome = Outcome::failure("the result is not a real number");
            }
            if (outcome.problem == nullptr) {
                stack.resize(stack.size() - count);
                stack.push_back(Item{outcome.value, nullptr});
                return true;
            }
            if (!problem(node, outcome.problem)) {
                return false;
            }
        } else if (operation == OperationE::None && !problem(node, "not a function the engine evaluates")) {
            return false;
        }
        return rebuild(new (std::nothrow) CoreFunctionNodeC(node.getCode()), count);
    }

    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) override {
        if (!problem(node, "unknown function")) {
            return false;
        }
        return rebuild(new (std::nothrow) ExtendedFunctionNodeC(node.getSymbol()), countChildren(node));
    }

    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override {
        switch (operationOf(node.getCode())) {
            case OperationE::Pi:
                return push(Number::ofReal(kPi));
            case OperationE::E:
                return push(Number::ofReal(kE));
            case OperationE::None:
                return keep(node, "free symbol");
            default:
                if (Words::support(operationOf(node.getCode()), detail::kColumn) ==
                    support::SupportE::Refuses) {
                    return refused(operationOf(node.getCode())) && keep(node, "");
                }
                return keep(node, "a function, used as a value");
        }
    }

    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override { return keep(node, "free symbol"); }

    bool visitFloatNode(FloatNodeC& node) override {
        const FloatValueABC* value = node.getValue();
        return value != nullptr ? push(Number::ofReal(value->getValue())) : keep(node, "a number without a value");
    }

    bool visitIntegerNode(IntegerNodeC& node) override {
        const IntegerValueABC* value = node.getValue();
        return value != nullptr ? push(Number::ofInteger(value->getValue())) : keep(node, "a number without a value");
    }

private:
    struct Item {
        Number number;
        NodeABC* tree;  // owned; null when the item is a number
    };

    OperationE operationOf(int code) const {
        return code >= 0 && static_cast<std::size_t>(code) < operations.size()
                   ? operations[static_cast<std::size_t>(code)]
                   : OperationE::None;
    }

    static unsigned int countChildren(const ParentNodeABC& node) {
        unsigned int count = 0;
        for (unsigned int i = 0, n = node.numChildren(); i < n; ++i) {
            count += node.child(i) != nullptr ? 1 : 0;
        }
        return count;
    }

    bool allNumbers(unsigned int count) const {
        for (std::size_t i = stack.size() - count; i < stack.size(); ++i) {
            if (stack[i].tree != nullptr) {
                return false;
            }
        }
        return true;
    }

    bool anyNaN() const {
        for (const Number& number : numbers) {
            if (number.isNaN()) {
                return true;
            }
        }
        return false;
    }

    // Notes the first reason; false (stop) when only a number will do.
    bool problem(const NodeABC& node, const char* what) {
        if (reason.empty()) {
            reason = node.toString();
            if (!reason.empty()) {
                reason += u": ";
            }
            for (const char* p = what; *p != 0; ++p) {
                reason += static_cast<char16_t>(*p);
            }
        }
        return !require_number;
    }

    // A name the engine has but does not offer: the shared reason, once.
    bool refused(OperationE operation) {
        if (reason.empty()) {
            reason = support::notOffered(Words::nameOf(operation));
        }
        return !require_number;
    }

    bool push(Number number) {
        stack.push_back(Item{number, nullptr});
        return true;
    }

    // A leaf that cannot be evaluated goes on as a copy of itself.
    bool keep(const NodeABC& node, const char* what) {
        if (!problem(node, what)) {
            return false;
        }
        std::unique_ptr<NodeABC> copy(node.clone());
        if (!copy) {
            return outOfMemory();
        }
        stack.push_back(Item{Number::ofInteger(0), copy.get()});
        copy.release();
        return true;
    }

    // Hands `copy` the top `count` items as children, in order.
    bool rebuild(ParentNodeABC* copy, unsigned int count) {
        std::unique_ptr<ParentNodeABC> owner(copy);
        if (!owner) {
            return outOfMemory();
        }
        const std::size_t first = stack.size() - count;
        for (std::size_t i = first; i < stack.size(); ++i) {
            NodeABC* child = materialize(stack[i]);
            if (child == nullptr) {
                return outOfMemory();
            }
            const unsigned int before = owner->numChildren();
            owner->addChild(child);  // deletes the child when the list cannot grow
            if (owner->numChildren() == before) {
                return outOfMemory();
            }
        }
        stack.resize(first);
        stack.push_back(Item{Number::ofInteger(0), owner.get()});
        owner.release();
        return true;
    }

    // The item as a node, handed to the caller (the item keeps nothing).
    NodeABC* materialize(Item& item) {
        NodeABC* node = item.tree;
        item.tree = nullptr;
        if (node != nullptr) {
            return node;
        }
        if (item.number.exact) {
            IntegerValueABC* value = integers.fromInt64(item.number.integer);
            node = value != nullptr ? new (std::nothrow) IntegerNodeC(value) : nullptr;
            if (node == nullptr) {
                delete value;
            }
        } else {
            FloatValueABC* value = floats.fromDouble(item.number.real);
            node = value != nullptr ? new (std::nothrow) FloatNodeC(value) : nullptr;
            if (node == nullptr) {
                delete value;
            }
        }
        return node;
    }

    bool outOfMemory() {
        out_of_memory = true;
        return false;
    }

    const std::vector<OperationE>& operations;
    IntegerValueFactoryABC& integers;
    FloatValueFactoryABC& floats;
    const bool require_number;
    std::u16string& reason;
    std::vector<Item> stack;
    std::vector<Number> numbers;  // the current call's arguments
    bool out_of_memory = false;
};

}  // namespace

const char16_t* const* NumericEngineC::builtinCoreNames() { return Words::builtinNames(detail::kColumn); }

NumericEngineC::NumericEngineC(const char16_t* const* core_names) {
    Words::mapCodes(core_names, detail::kColumn, operations, nullptr);
}

NumericEngineC::~NumericEngineC() = default;

std::u16string NumericEngineC::getName() const { return u"algexpr reference numeric engine"; }

// Allocation failures surface here either as a null from the library or the
// factories, or as std::bad_alloc from the evaluator's own containers and
// texts; both become a null result with the reason. Leniently, nothing but
// memory stops the evaluation.
NodeABC* NumericEngineC::evaluate(NodeABC& root, IntegerValueFactoryABC& integers, FloatValueFactoryABC& floats,
                                  bool require_number, std::u16string& reason) const {
    try {
        reason.clear();
        reserveOutOfMemory(reason);
        Evaluator evaluator(operations, integers, floats, require_number, reason);
        NodeABC* result = evaluator.run(root);
        if (result == nullptr && (evaluator.ranOutOfMemory() || !require_number || reason.empty())) {
            setOutOfMemory(reason);
        }
        return result;
    } catch (const std::bad_alloc&) {
        setOutOfMemory(reason);
        return nullptr;
    }
}

}  // namespace qorv::math::algexpr::numeric
