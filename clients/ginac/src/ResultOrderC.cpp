// SPDX-License-Identifier: MIT
#include "ResultOrderC.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "FunctionTableC.h"
#include "GinacFunctions.h"
#include "Numbers.h"
#include "OrderedSymbolC.h"
#include "Text.h"

namespace qorv::math::algexpr::ginac::detail {

namespace {

const GiNaC::basic* keyOf(const GiNaC::ex& e) { return &GiNaC::ex_to<GiNaC::basic>(e); }

bool isE(const GiNaC::ex& e) {
    return GiNaC::is_exactly_a<GiNaC::function>(e) &&
           GiNaC::ex_to<GiNaC::function>(e).get_serial() == GiNaC::exp_SERIAL::serial && e.op(0).is_equal(1);
}

// Numbers, constants, symbols, functions, powers, products, sums.
int rankOf(const GiNaC::ex& e) {
    if (GiNaC::is_exactly_a<GiNaC::numeric>(e)) {
        return 0;
    }
    if (GiNaC::is_exactly_a<GiNaC::constant>(e) || isE(e)) {
        return 1;
    }
    if (GiNaC::is_a<GiNaC::symbol>(e)) {
        return 2;
    }
    if (GiNaC::is_a<GiNaC::function>(e)) {
        return 3;
    }
    if (GiNaC::is_exactly_a<GiNaC::power>(e)) {
        return 4;
    }
    if (GiNaC::is_exactly_a<GiNaC::mul>(e)) {
        return 5;
    }
    if (GiNaC::is_exactly_a<GiNaC::add>(e)) {
        return 6;
    }
    return 7;
}

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

template <class T>
int compareValues(const T& a, const T& b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

std::u16string nameOfConstant(const GiNaC::ex& e) { return isE(e) ? u"e" : constantName(e); }

// Real constants, imaginary constants, then order terms after all others.
int groupOf(const GiNaC::ex& term) {
    if (GiNaC::is_exactly_a<GiNaC::numeric>(term)) {
        return isRealNumber(GiNaC::ex_to<GiNaC::numeric>(term)) ? 1 : 2;
    }
    if (GiNaC::is_exactly_a<GiNaC::function>(term) &&
        GiNaC::ex_to<GiNaC::function>(term).get_serial() == GiNaC::Order_SERIAL::serial) {
        return 3;
    }
    return 0;
}

bool isNegativeNumber(const GiNaC::ex& e) {
    return GiNaC::is_exactly_a<GiNaC::numeric>(e) && isRealNumber(GiNaC::ex_to<GiNaC::numeric>(e)) &&
           realIfReal(GiNaC::ex_to<GiNaC::numeric>(e)).is_negative();
}

}  // namespace

struct ResultOrderC::Task {
    enum class KindE : unsigned char { Expr, Term, Value };
    KindE kind;
    GiNaC::ex a;
    GiNaC::ex b;
    double x;
    double y;
};

ResultOrderC::ResultOrderC() = default;

ResultOrderC::~ResultOrderC() = default;

void ResultOrderC::prepare(const GiNaC::ex& root) {
    struct Frame {
        GiNaC::ex e;
        bool expanded;
        std::vector<GiNaC::ex> parts;  // its operands, taken once
    };
    std::unordered_set<const GiNaC::basic*> done;
    std::vector<Frame> stack;
    stack.push_back(Frame{root, false, {}});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (done.count(keyOf(frame.e)) != 0) {
            stack.pop_back();
            continue;
        }
        const std::size_t count = frame.expanded ? 0 : frame.e.nops();
        if (count != 0 && !GiNaC::is_exactly_a<GiNaC::numeric>(frame.e)) {
            frame.expanded = true;
            std::vector<GiNaC::ex> parts;
            parts.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                parts.push_back(frame.e.op(i));
            }
            frame.parts = parts;
            for (std::size_t i = parts.size(); i > 0; --i) {
                stack.push_back(Frame{parts[i - 1], false, {}});
            }
            continue;
        }
        const GiNaC::ex e = frame.e;
        const std::vector<GiNaC::ex> parts = std::move(frame.parts);
        stack.pop_back();
        if (GiNaC::is_exactly_a<GiNaC::mul>(e)) {
            layOutProduct(e, parts);
        } else if (GiNaC::is_exactly_a<GiNaC::add>(e)) {
            layOutSum(e, parts);
        } else if (GiNaC::is_exactly_a<GiNaC::numeric>(e)) {
            facts.complex = facts.complex || !isRealNumber(GiNaC::ex_to<GiNaC::numeric>(e));
        } else if (const auto* symbol = dynamic_cast<const OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(e))) {
            facts.symbol_rank = std::min(facts.symbol_rank, symbol->rank());
        } else if (GiNaC::is_a<GiNaC::function>(e)) {
            const unsigned serial = GiNaC::ex_to<GiNaC::function>(e).get_serial();
            const std::u16string* name = FunctionTableC::instance().registeredName(serial);
            if (name != nullptr && (facts.function == nullptr || *name < *facts.function)) {
                facts.function = name;
            }
            facts.order = facts.order || serial == GiNaC::Order_SERIAL::serial;
        }
        done.insert(keyOf(e));
        alive.push_back(e);
    }
}

const ProductLayoutS& ResultOrderC::product(const GiNaC::ex& e) const { return products.at(keyOf(e)); }

const SumLayoutS& ResultOrderC::sum(const GiNaC::ex& e) const { return sums.at(keyOf(e)); }

void ResultOrderC::layOutProduct(const GiNaC::ex& e, const std::vector<GiNaC::ex>& factors) {
    ProductLayoutS layout;
    for (const GiNaC::ex& factor : factors) {
        if (GiNaC::is_exactly_a<GiNaC::numeric>(factor)) {
            layout.coefficient *= GiNaC::ex_to<GiNaC::numeric>(factor);
        } else if (GiNaC::is_exactly_a<GiNaC::power>(factor)) {
            layout.factors.push_back(FactorS{factor.op(0), factor.op(1)});
        } else {
            layout.factors.push_back(FactorS{factor, GiNaC::ex(1)});
        }
    }
    layout.coefficient = realIfReal(layout.coefficient);
    std::sort(layout.factors.begin(), layout.factors.end(), [this](const FactorS& a, const FactorS& b) {
        const int order = compare(a.base, b.base);
        return order != 0 ? order < 0 : compare(a.exponent, b.exponent) < 0;
    });
    for (const FactorS& factor : layout.factors) {
        if (isNegativeNumber(factor.exponent)) {
            layout.denominator.push_back(FactorS{factor.base, -factor.exponent});
        } else {
            layout.numerator.push_back(factor);
        }
    }
    products.emplace(keyOf(e), std::move(layout));
}

void ResultOrderC::layOutSum(const GiNaC::ex& e, const std::vector<GiNaC::ex>& terms) {
    SumLayoutS layout;
    for (const GiNaC::ex& term : terms) {
        if (GiNaC::is_exactly_a<GiNaC::numeric>(term)) {
            const GiNaC::numeric number = realIfReal(GiNaC::ex_to<GiNaC::numeric>(term));
            if (number.is_real()) {
                if (!number.is_zero()) {
                    layout.sorted.emplace_back(number);
                }
                continue;
            }
            if (!number.real().is_zero()) {
                layout.sorted.emplace_back(number.real());
            }
            layout.sorted.emplace_back(number.imag() * GiNaC::I);
        } else {
            layout.sorted.push_back(term);
        }
    }
    if (layout.sorted.empty()) {
        layout.sorted.emplace_back(GiNaC::numeric(0));
    }
    std::stable_sort(layout.sorted.begin(), layout.sorted.end(),
                     [this](const GiNaC::ex& a, const GiNaC::ex& b) { return compareTerms(a, b) < 0; });
    layout.shown.reserve(layout.sorted.size());
    for (const GiNaC::ex& term : layout.sorted) {
        layout.shown.push_back(TermS{term, isNegative(term)});
        layout.degree = std::max(layout.degree, degreeOf(term));
    }
    arrange(layout.shown);
    sums.emplace(keyOf(e), std::move(layout));
}

bool ResultOrderC::isNegative(const GiNaC::numeric& value) {
    const GiNaC::numeric number = realIfReal(value);
    if (number.is_real()) {
        return number.is_negative();
    }
    return number.real().is_zero() ? number.imag().is_negative() : number.real().is_negative();
}

bool ResultOrderC::isNegative(const GiNaC::ex& term) const {
    if (GiNaC::is_exactly_a<GiNaC::numeric>(term)) {
        return isNegative(GiNaC::ex_to<GiNaC::numeric>(term));
    }
    if (GiNaC::is_exactly_a<GiNaC::mul>(term)) {
        return isNegative(product(term).coefficient);
    }
    return false;
}

void ResultOrderC::arrange(std::vector<TermS>& terms) {
    if (terms.empty() || !terms.front().negative) {
        return;
    }
    const auto positive = std::find_if(terms.begin(), terms.end(), [](const TermS& t) { return !t.negative; });
    if (positive != terms.end()) {
        std::rotate(terms.begin(), positive, positive + 1);
    }
}

std::pair<const FactorS*, std::size_t> ResultOrderC::factorsOf(const GiNaC::ex& term, FactorS& single) const {
    if (GiNaC::is_exactly_a<GiNaC::mul>(term)) {
        const std::vector<FactorS>& factors = product(term).factors;
        return {factors.data(), factors.size()};
    }
    if (GiNaC::is_exactly_a<GiNaC::numeric>(term)) {
        return {nullptr, 0};
    }
    single = GiNaC::is_exactly_a<GiNaC::power>(term) ? FactorS{term.op(0), term.op(1)} : FactorS{term, GiNaC::ex(1)};
    return {&single, 1};
}

// The degree of a term in the symbols: the sum of the rational exponents of
// its symbols, and of its sums weighted by their own degree.
double ResultOrderC::degreeOf(const GiNaC::ex& term) const {
    double total = 0.0;
    FactorS single;
    const auto [factors, count] = factorsOf(term, single);
    for (std::size_t i = 0; i < count; ++i) {
        const FactorS& f = factors[i];
        if (!GiNaC::is_exactly_a<GiNaC::numeric>(f.exponent)) {
            continue;
        }
        const GiNaC::numeric& n = GiNaC::ex_to<GiNaC::numeric>(f.exponent);
        if (!n.is_rational()) {
            continue;
        }
        const double exponent = n.is_integer() && n.is_equal(GiNaC::numeric(n.to_long())) ? static_cast<double>(n.to_long())
                                                                                        : n.to_double();
        if (GiNaC::is_a<GiNaC::symbol>(f.base)) {
            total += exponent;
        } else if (GiNaC::is_exactly_a<GiNaC::add>(f.base)) {
            total += exponent * sum(f.base).degree;
        }
    }
    return total;
}

GiNaC::numeric ResultOrderC::coefficientOf(const GiNaC::ex& term) const {
    if (GiNaC::is_exactly_a<GiNaC::mul>(term)) {
        return product(term).coefficient;
    }
    if (GiNaC::is_exactly_a<GiNaC::numeric>(term)) {
        return GiNaC::ex_to<GiNaC::numeric>(term);
    }
    return GiNaC::numeric(1);
}

int ResultOrderC::compare(const GiNaC::ex& a, const GiNaC::ex& b) const {
    tasks.clear();
    tasks.push_back(Task{Task::KindE::Expr, a, b, 0.0, 0.0});
    return run(tasks);
}

int ResultOrderC::compareTerms(const GiNaC::ex& a, const GiNaC::ex& b) const {
    tasks.clear();
    tasks.push_back(Task{Task::KindE::Term, a, b, 0.0, 0.0});
    return run(tasks);
}

// Pushes the comparison of the factor lists of a and b, then of their
// lengths, then of their coefficients; within terms higher powers first.
void ResultOrderC::pushFactors(std::vector<Task>& tasks, const GiNaC::ex& a, const GiNaC::ex& b, bool term) const {
    FactorS single_a;
    FactorS single_b;
    const auto [fa, na] = factorsOf(a, single_a);
    const auto [fb, nb] = factorsOf(b, single_b);
    tasks.push_back(Task{Task::KindE::Expr, coefficientOf(a), coefficientOf(b), 0.0, 0.0});
    tasks.push_back(Task{Task::KindE::Value, GiNaC::ex(), GiNaC::ex(), static_cast<double>(na), static_cast<double>(nb)});
    for (std::size_t i = std::min(na, nb); i > 0; --i) {
        const FactorS& x = fa[i - 1];
        const FactorS& y = fb[i - 1];
        tasks.push_back(term ? Task{Task::KindE::Expr, y.exponent, x.exponent, 0.0, 0.0}
                             : Task{Task::KindE::Expr, x.exponent, y.exponent, 0.0, 0.0});
        tasks.push_back(Task{Task::KindE::Expr, x.base, y.base, 0.0, 0.0});
    }
}

int ResultOrderC::run(std::vector<Task>& tasks) const {
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        if (task.kind == Task::KindE::Value) {
            const int order = compareValues(task.x, task.y);
            if (order != 0) {
                return order;
            }
            continue;
        }
        const GiNaC::ex& a = task.a;
        const GiNaC::ex& b = task.b;
        if (GiNaC::are_ex_trivially_equal(a, b)) {
            continue;
        }
        if (task.kind == Task::KindE::Term) {
            int order = compareValues(groupOf(a), groupOf(b));
            if (order != 0) {
                return order;
            }
            order = compareValues(degreeOf(b), degreeOf(a));  // higher degree first
            if (order != 0) {
                return order;
            }
            pushFactors(tasks, a, b, true);
            continue;
        }
        const int ra = rankOf(a);
        const int rb = rankOf(b);
        if (ra != rb) {
            return compareValues(ra, rb);
        }
        switch (ra) {
            case 0: {
                const int order = GiNaC::ex_to<GiNaC::numeric>(a).compare(GiNaC::ex_to<GiNaC::numeric>(b));
                if (order != 0) {
                    return sign(order);
                }
                break;
            }
            case 1: {
                const int order = nameOfConstant(a).compare(nameOfConstant(b));
                if (order != 0) {
                    return sign(order);
                }
                break;
            }
            case 2: {
                const auto* sa = dynamic_cast<const OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(a));
                const auto* sb = dynamic_cast<const OrderedSymbolC*>(&GiNaC::ex_to<GiNaC::basic>(b));
                int order = 0;
                if (sa != nullptr && sb != nullptr) {
                    order = compareValues(sa->rank(), sb->rank());
                } else if (sa != nullptr || sb != nullptr) {
                    order = sa != nullptr ? -1 : 1;
                } else {
                    order = sign(GiNaC::ex_to<GiNaC::symbol>(a).get_name().compare(
                        GiNaC::ex_to<GiNaC::symbol>(b).get_name()));
                }
                if (order != 0) {
                    return order;
                }
                break;
            }
            case 3: {
                const auto& fa = GiNaC::ex_to<GiNaC::function>(a);
                const auto& fb = GiNaC::ex_to<GiNaC::function>(b);
                int order = sign(functionName(fa.get_serial()).compare(functionName(fb.get_serial())));
                if (order == 0) {
                    const bool da = GiNaC::is_exactly_a<GiNaC::fderivative>(a);
                    const bool db = GiNaC::is_exactly_a<GiNaC::fderivative>(b);
                    order = compareValues(da, db);
                    if (order == 0 && da) {
                        const GiNaC::paramset& pa = GiNaC::ex_to<GiNaC::fderivative>(a).derivatives();
                        const GiNaC::paramset& pb = GiNaC::ex_to<GiNaC::fderivative>(b).derivatives();
                        order = std::lexicographical_compare(pa.begin(), pa.end(), pb.begin(), pb.end())   ? -1
                                : std::lexicographical_compare(pb.begin(), pb.end(), pa.begin(), pa.end()) ? 1
                                                                                                            : 0;
                    }
                }
                if (order == 0) {
                    order = compareValues(a.nops(), b.nops());
                }
                if (order != 0) {
                    return order;
                }
                for (std::size_t i = a.nops(); i > 0; --i) {
                    tasks.push_back(Task{Task::KindE::Expr, a.op(i - 1), b.op(i - 1), 0.0, 0.0});
                }
                break;
            }
            case 4:
                tasks.push_back(Task{Task::KindE::Expr, a.op(1), b.op(1), 0.0, 0.0});
                tasks.push_back(Task{Task::KindE::Expr, a.op(0), b.op(0), 0.0, 0.0});
                break;
            case 5:
                pushFactors(tasks, a, b, false);
                break;
            case 6: {
                const std::vector<GiNaC::ex>& ta = sum(a).sorted;
                const std::vector<GiNaC::ex>& tb = sum(b).sorted;
                tasks.push_back(Task{Task::KindE::Value, GiNaC::ex(), GiNaC::ex(), static_cast<double>(ta.size()),
                                     static_cast<double>(tb.size())});
                for (std::size_t i = std::min(ta.size(), tb.size()); i > 0; --i) {
                    tasks.push_back(Task{Task::KindE::Term, ta[i - 1], tb[i - 1], 0.0, 0.0});
                }
                break;
            }
            default: {
                const int order = a.compare(b);
                if (order != 0) {
                    return sign(order);
                }
                break;
            }
        }
    }
    return 0;
}

}  // namespace qorv::math::algexpr::ginac::detail
