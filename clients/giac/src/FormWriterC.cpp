// SPDX-License-Identifier: MIT
#include "FormWriterC.h"

#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "RefusalC.h"
#include "algexpr/CASSessionBC.h"
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
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::giac::detail {

using KindE = ResultFormC::KindE;
using qorv::oss::PointerTC;

struct FormWriterC::TaskS {
    enum class DoE : unsigned char {
        Item,       // `index`, negated when `negate`
        Integer,    // the digits `name`, negated when `negate`
        Raise,      // `index` (a base) to the power `other`, negated when `negate`
        Fold,       // step `step` of the sum `index`'s layout (see sum())
        Structure,  // the function `name` applied to `children`
    };

    DoE what = DoE::Item;
    Index index = 0;
    Index other = 0;
    bool negate = false;
    std::size_t step = 0;
    std::u16string name;
    std::vector<TaskS> children;
    ParentNodeABC* parent = nullptr;

    static TaskS of(DoE what, Index index, bool negate = false, Index other = 0) {
        TaskS task;
        task.what = what;
        task.index = index;
        task.negate = negate;
        task.other = other;
        return task;
    }
    static TaskS structure(std::u16string name, std::vector<TaskS> children) {
        TaskS task;
        task.what = DoE::Structure;
        task.name = std::move(name);
        task.children = std::move(children);
        return task;
    }
    static TaskS integer(std::u16string digits, bool negate) {
        TaskS task;
        task.what = DoE::Integer;
        task.name = std::move(digits);
        task.negate = negate;
        return task;
    }
};

namespace {

// The order of kinds among factors: numbers, constants, symbols, functions,
// powers, products, sums, lists, equations.
int klassOf(KindE kind) {
    switch (kind) {
        case KindE::Integer:
        case KindE::Rational:
        case KindE::Float:
        case KindE::Complex:
            return 0;
        case KindE::Constant:
            return 1;
        case KindE::Symbol:
            return 2;
        case KindE::Function:
        case KindE::Call:
            return 3;
        case KindE::Power:
            return 4;
        case KindE::Product:
            return 5;
        case KindE::Sum:
            return 6;
        case KindE::List:
            return 7;
        default:
            return 8;
    }
}

template <class T>
int order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

double magnitudeOfDigits(const std::u16string& text) {
    double value = 0.0;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9') {
            value = value * 10.0 + (c - u'0');
        }
    }
    return !text.empty() && text[0] == u'-' ? -value : value;
}

bool isOne(const std::u16string& digits) { return digits == u"1" || digits == u"-1"; }

std::u16string withoutSign(const std::u16string& digits) {
    return !digits.empty() && digits[0] == u'-' ? digits.substr(1) : digits;
}

template <class T>
T* made(T* node) {
    if (node == nullptr) {
        throw std::bad_alloc();
    }
    return node;
}

}  // namespace

FormWriterC::FormWriterC(const ResultFormC& form, CASSessionBC& session, CodeOfF code_of, const void* code_context,
                         std::size_t max_nodes)
    : form(form), session(session), code_of(code_of), code_context(code_context), max_nodes(max_nodes) {}

FormWriterC::~FormWriterC() = default;

NodeABC* FormWriterC::write() {
    rank();
    layOut();
    stack.clear();
    stack.push_back(TaskS::of(TaskS::DoE::Item, form.root()));
    while (!stack.empty()) {
        TaskS task = std::move(stack.back());
        stack.pop_back();
        step(task);
    }
    return root_p.release();
}

// Heights, degrees and the magnitudes of numbers, in one pass over the items
// (each comes after its arguments), then ranks level by level: items of one
// height are sorted by their own data and their arguments' order, which the
// lower levels fixed, and equal ones share a rank.
void FormWriterC::rank() {
    const std::size_t n = form.size();
    heights.assign(n, 0);
    degrees.assign(n, 0.0);
    magnitudes.assign(n, 0.0);
    ranks.assign(n, 0);
    std::uint32_t tallest = 0;
    for (Index i = 0; i < n; ++i) {
        const ResultFormC::ItemS& item = form.item(i);
        std::uint32_t height = 0;
        for (std::uint32_t k = 0; k < item.count; ++k) {
            height = std::max(height, heights[form.argument(item, k)] + 1);
        }
        heights[i] = height;
        tallest = std::max(tallest, height);
        switch (item.kind) {
            case KindE::Integer:
                magnitudes[i] = magnitudeOfDigits(item.text);
                break;
            case KindE::Rational:
                magnitudes[i] = magnitudes[form.argument(item, 0)] / magnitudes[form.argument(item, 1)];
                break;
            case KindE::Float:
                magnitudes[i] = item.value;
                break;
            case KindE::Complex:
                magnitudes[i] = magnitudes[form.argument(item, 0)];
                break;
            case KindE::Symbol:
                degrees[i] = 1.0;
                break;
            case KindE::Power: {
                const Index exponent = form.argument(item, 1);
                const bool numeric = ResultFormC::isNumber(form.item(exponent).kind) &&
                                     form.item(exponent).kind != KindE::Complex;
                degrees[i] = numeric ? degrees[form.argument(item, 0)] * magnitudes[exponent] : 0.0;
                break;
            }
            case KindE::Product:
                for (std::uint32_t k = 0; k < item.count; ++k) {
                    degrees[i] += degrees[form.argument(item, k)];
                }
                break;
            case KindE::Sum:
                degrees[i] = item.count == 0 ? 0.0 : degrees[form.argument(item, 0)];
                for (std::uint32_t k = 1; k < item.count; ++k) {
                    degrees[i] = std::max(degrees[i], degrees[form.argument(item, k)]);
                }
                break;
            default:
                break;
        }
    }
    std::vector<std::vector<Index>> levels(static_cast<std::size_t>(tallest) + 1);
    for (Index i = 0; i < n; ++i) {
        levels[heights[i]].push_back(i);
    }
    for (std::vector<Index>& level : levels) {
        std::stable_sort(level.begin(), level.end(), [this](Index a, Index b) { return compareStructure(a, b) < 0; });
        std::uint32_t rank = 0;
        for (std::size_t k = 0; k < level.size(); ++k) {
            if (k > 0 && compareStructure(level[k - 1], level[k]) != 0) {
                ++rank;
            }
            ranks[level[k]] = rank;
        }
    }
}

// The order of two items by their own data: kind, value, name, arguments' count.
int FormWriterC::compareOwn(Index a, Index b) const {
    const ResultFormC::ItemS& x = form.item(a);
    const ResultFormC::ItemS& y = form.item(b);
    int c = order(klassOf(x.kind), klassOf(y.kind));
    c = c != 0 ? c : order(magnitudes[a], magnitudes[b]);
    c = c != 0 ? c : order(static_cast<int>(x.kind), static_cast<int>(y.kind));
    c = c != 0 ? c : x.text.compare(y.text);
    c = c != 0 ? c : order(x.value, y.value);
    return c != 0 ? c : order(x.count, y.count);
}

// The order of two items of the same height: their own data, then their
// arguments in turn.
int FormWriterC::compareStructure(Index a, Index b) const {
    int c = compareOwn(a, b);
    const ResultFormC::ItemS& x = form.item(a);
    const ResultFormC::ItemS& y = form.item(b);
    for (std::uint32_t k = 0; c == 0 && k < x.count; ++k) {
        c = compare(form.argument(x, k), form.argument(y, k));
    }
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The order of any two items, once ranked.
int FormWriterC::compare(Index a, Index b) const {
    int c = compareOwn(a, b);
    c = c != 0 ? c : order(heights[a], heights[b]);
    c = c != 0 ? c : order(ranks[a], ranks[b]);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

FormWriterC::Index FormWriterC::baseOf(Index factor) const {
    const ResultFormC::ItemS& item = form.item(factor);
    return item.kind == KindE::Power ? form.argument(item, 0) : factor;
}

// Factors sort by base, then by exponent (none counting as lowest).
int FormWriterC::compareFactors(Index a, Index b) const {
    const int c = compare(baseOf(a), baseOf(b));
    if (c != 0) {
        return c;
    }
    const bool pa = form.item(a).kind == KindE::Power;
    const bool pb = form.item(b).kind == KindE::Power;
    if (pa != pb) {
        return pa ? 1 : -1;
    }
    return pa ? compare(form.argument(form.item(a), 1), form.argument(form.item(b), 1)) : 0;
}

// Terms: order terms last, numbers before them; otherwise by falling degree,
// then factor by factor (numbers left out), higher powers of a base first.
int FormWriterC::compareTerms(Index a, Index b) const {
    const auto rankOf = [this](Index t) {
        const ResultFormC::ItemS& item = form.item(t);
        return item.kind == KindE::Function && item.text == u"order" ? 2 : klassOf(item.kind) == 0 ? 1 : 0;
    };
    int c = order(rankOf(a), rankOf(b));
    if (c != 0 || rankOf(a) == 1) {
        return c != 0 ? c : compare(a, b);
    }
    c = order(degrees[b], degrees[a]);
    if (c != 0) {
        return c;
    }
    const auto factorsOf = [this](Index t, std::vector<Index>& out) {
        out.clear();
        if (form.item(t).kind != KindE::Product) {
            out.push_back(t);
            return;
        }
        for (Index f : sorted[t]) {
            if (klassOf(form.item(f).kind) != 0) {
                out.push_back(f);
            }
        }
    };
    std::vector<Index> fa;
    std::vector<Index> fb;
    factorsOf(a, fa);
    factorsOf(b, fb);
    for (std::size_t k = 0; k < fa.size() && k < fb.size(); ++k) {
        c = compare(baseOf(fa[k]), baseOf(fb[k]));
        if (c == 0) {
            c = -compareFactors(fa[k], fb[k]);
        }
        if (c != 0) {
            return c;
        }
    }
    c = order(fa.size(), fb.size());
    return c != 0 ? c : compare(a, b);
}

void FormWriterC::layOut() {
    sorted.assign(form.size(), {});
    for (Index i = 0; i < form.size(); ++i) {
        const ResultFormC::ItemS& item = form.item(i);
        if (item.kind != KindE::Product && item.kind != KindE::Sum) {
            continue;
        }
        std::vector<Index>& arguments = sorted[i];
        for (std::uint32_t k = 0; k < item.count; ++k) {
            arguments.push_back(form.argument(item, k));
        }
        if (item.kind == KindE::Product) {
            std::stable_sort(arguments.begin(), arguments.end(),
                             [this](Index a, Index b) { return compareFactors(a, b) < 0; });
        } else {
            std::stable_sort(arguments.begin(), arguments.end(),
                             [this](Index a, Index b) { return compareTerms(a, b) < 0; });
        }
    }
}

bool FormWriterC::isNegativeNumber(Index index) const {
    const ResultFormC::ItemS& item = form.item(index);
    switch (item.kind) {
        case KindE::Integer:
            return !item.text.empty() && item.text[0] == u'-';
        case KindE::Rational:
            return isNegativeNumber(form.argument(item, 0));
        case KindE::Float:
            return item.value < 0.0;
        case KindE::Complex: {
            const Index re = form.argument(item, 0);
            const bool zero = form.item(re).kind == KindE::Integer && form.item(re).text == u"0";
            return zero ? isNegativeNumber(form.argument(item, 1)) : isNegativeNumber(re);
        }
        default:
            return false;
    }
}

// A term is negative when it is a negative number or a product whose number
// (sorted first) is negative.
bool FormWriterC::isNegative(Index term) const {
    const ResultFormC::ItemS& item = form.item(term);
    if (item.kind == KindE::Product) {
        return !sorted[term].empty() && klassOf(form.item(sorted[term][0]).kind) == 0 &&
               form.item(sorted[term][0]).kind != KindE::Complex && isNegativeNumber(sorted[term][0]);
    }
    return ResultFormC::isNumber(item.kind) && isNegativeNumber(term);
}

}  // namespace qorv::math::algexpr::giac::detail

namespace qorv::math::algexpr::giac::detail {

// One step of a sum written left to right: plus or minus of what came before
// and these terms (step 0: the leading term alone).
struct FormWriterC::StepS {
    bool minus;
    std::vector<TaskS> terms;
};

void FormWriterC::step(TaskS& task) {
    switch (task.what) {
        case TaskS::DoE::Item:
            item(task);
            return;
        case TaskS::DoE::Integer:
            attach(task.parent, integer(task.name, task.negate));
            return;
        case TaskS::DoE::Raise: {
            // base^exponent, the exponent negated when `negate`: x, sqrt(x) or power(x,e).
            const ResultFormC::ItemS& e = form.item(task.other);
            const bool unit = e.kind == KindE::Integer && isOne(e.text);
            const bool half = e.kind == KindE::Rational && isOne(form.item(form.argument(e, 0)).text) &&
                              form.item(form.argument(e, 1)).text == u"2";
            std::vector<TaskS> base;
            base.push_back(TaskS::of(TaskS::DoE::Item, task.index));
            if (unit) {
                base.back().parent = task.parent;
                stack.push_back(std::move(base.back()));
            } else if (half) {
                structure(task.parent, u"sqrt", std::move(base));
            } else {
                base.push_back(TaskS::of(TaskS::DoE::Item, task.other, task.negate));
                structure(task.parent, u"power", std::move(base));
            }
            return;
        }
        case TaskS::DoE::Fold:
            fold(task);
            return;
        case TaskS::DoE::Structure:
            structure(task.parent, task.name, std::move(task.children));
            return;
    }
}

void FormWriterC::item(const TaskS& task) {
    const ResultFormC::ItemS& item = form.item(task.index);
    if (ResultFormC::isNumber(item.kind)) {
        number(task);
        return;
    }
    if (item.kind == KindE::Power) {
        product(task, std::vector<Index>{task.index});
        return;
    }
    if (item.kind == KindE::Product) {
        product(task, sorted[task.index]);
        return;
    }
    if (item.kind == KindE::Sum) {
        sum(task);
        return;
    }
    ParentNodeABC* parent = task.parent;
    if (task.negate) {
        ParentNodeABC* neg = function(u"neg");
        attach(parent, neg);
        parent = neg;
    }
    const bool e = item.kind == KindE::Function && item.text == u"exp" && item.count == 1 &&
                   form.item(form.argument(item, 0)).kind == KindE::Integer &&
                   form.item(form.argument(item, 0)).text == u"1";
    if (item.kind == KindE::Constant || e) {
        attach(parent, constant(e ? u"e" : item.text));
        return;
    }
    if (item.kind == KindE::Symbol) {
        const PointerTC<SymbolC> symbol = session.lookupSymbol(item.text);
        attach(parent, made(symbol ? new (std::nothrow) ExtendedSymbolNodeC(symbol) : nullptr));
        return;
    }
    std::vector<TaskS> arguments;
    for (std::uint32_t k = 0; k < item.count; ++k) {
        arguments.push_back(TaskS::of(TaskS::DoE::Item, form.argument(item, k)));
    }
    const std::u16string name = item.kind == KindE::List ? u"list" : item.kind == KindE::Equal ? u"equal" : item.text;
    if (item.kind == KindE::Call) {
        const PointerTC<SymbolC> symbol = session.lookupSymbol(name);
        ParentNodeABC* call = made(symbol ? new (std::nothrow) ExtendedFunctionNodeC(symbol) : nullptr);
        attach(parent, call);
        push(arguments, call);
        return;
    }
    structure(parent, name, std::move(arguments));
}

// Integers, rationals divide(p,q), floats, and a + b i as plus(a,times(b,i)),
// negated when the task says so.
void FormWriterC::number(const TaskS& task) {
    const ResultFormC::ItemS& item = form.item(task.index);
    switch (item.kind) {
        case KindE::Integer:
            attach(task.parent, integer(item.text, task.negate));
            return;
        case KindE::Rational: {
            std::vector<TaskS> parts;
            parts.push_back(TaskS::integer(form.item(form.argument(item, 0)).text, task.negate));
            parts.push_back(TaskS::integer(form.item(form.argument(item, 1)).text, false));
            structure(task.parent, u"divide", std::move(parts));
            return;
        }
        case KindE::Float: {
            FloatValueABC* value = session.getFloatValueFactory()->fromDouble(task.negate ? -item.value : item.value);
            std::unique_ptr<FloatValueABC> owner(made(value));
            attach(task.parent, made(new (std::nothrow) FloatNodeC(owner.get())));
            owner.release();
            return;
        }
        default:
            break;
    }
    // Complex: the imaginary part as a product with i, the real part before it.
    const Index re = form.argument(item, 0);
    const Index im = form.argument(item, 1);
    const bool imaginary_negative = isNegativeNumber(im) != task.negate;
    const ResultFormC::ItemS& b = form.item(im);
    TaskS imaginary;
    if (b.kind == KindE::Integer && isOne(b.text)) {
        imaginary = TaskS::structure(u"i", {});
    } else {
        std::vector<TaskS> factors;
        factors.push_back(TaskS::of(TaskS::DoE::Item, im, isNegativeNumber(im)));
        factors.push_back(TaskS::structure(u"i", {}));
        imaginary = TaskS::structure(u"times", std::move(factors));
    }
    const bool real_zero = form.item(re).kind == KindE::Integer && form.item(re).text == u"0";
    std::vector<TaskS> parts;
    if (real_zero) {
        parts.push_back(std::move(imaginary));
        structure(task.parent, imaginary_negative ? u"neg" : u"", std::move(parts));
        return;
    }
    parts.push_back(TaskS::of(TaskS::DoE::Item, re, task.negate));
    parts.push_back(std::move(imaginary));
    structure(task.parent, imaginary_negative ? u"minus" : u"plus", std::move(parts));
}

}  // namespace qorv::math::algexpr::giac::detail

namespace qorv::math::algexpr::giac::detail {

// A product (or a lone power): the number first, factors with negative
// numeric exponents and a rational's denominator below a divide, and the
// sign on the number (times(-3,x)) or, for -1, as neg of the top.
void FormWriterC::product(const TaskS& task, const std::vector<Index>& factors) {
    std::vector<TaskS> top;
    std::vector<TaskS> bottom;
    bool negative = task.negate;
    std::size_t first = 0;
    if (!factors.empty() && ResultFormC::isNumber(form.item(factors[0]).kind) &&
        form.item(factors[0]).kind != KindE::Complex) {
        const Index number = factors[0];
        const ResultFormC::ItemS& c = form.item(number);
        negative = negative != isNegativeNumber(number);
        first = 1;
        if (c.kind == KindE::Rational) {
            const std::u16string& p = form.item(form.argument(c, 0)).text;
            if (!isOne(p)) {
                top.push_back(TaskS::integer(withoutSign(p), negative));
                negative = false;
            }
            bottom.push_back(TaskS::integer(form.item(form.argument(c, 1)).text, false));
        } else if (!(c.kind == KindE::Integer ? isOne(c.text) : c.value == 1.0 || c.value == -1.0)) {
            top.push_back(TaskS::of(TaskS::DoE::Item, number, isNegativeNumber(number) != negative));
            negative = false;
        }
    }
    for (std::size_t k = first; k < factors.size(); ++k) {
        const ResultFormC::ItemS& f = form.item(factors[k]);
        if (f.kind == KindE::Power) {
            const Index exponent = form.argument(f, 1);
            const bool below = ResultFormC::isNumber(form.item(exponent).kind) && isNegativeNumber(exponent);
            (below ? bottom : top).push_back(TaskS::of(TaskS::DoE::Raise, form.argument(f, 0), below, exponent));
        } else {
            top.push_back(TaskS::of(TaskS::DoE::Item, factors[k]));
        }
    }
    const auto joined = [](std::vector<TaskS> parts) {
        if (parts.size() == 1) {
            return std::move(parts[0]);
        }
        return TaskS::structure(u"times", std::move(parts));
    };
    if (top.empty()) {
        top.push_back(TaskS::integer(u"1", false));
    }
    TaskS numerator = joined(std::move(top));
    if (negative) {
        std::vector<TaskS> inner;
        inner.push_back(std::move(numerator));
        numerator = TaskS::structure(u"neg", std::move(inner));
    }
    if (bottom.empty()) {
        numerator.parent = task.parent;
        stack.push_back(std::move(numerator));
        return;
    }
    std::vector<TaskS> quotient;
    quotient.push_back(std::move(numerator));
    quotient.push_back(joined(std::move(bottom)));
    structure(task.parent, u"divide", std::move(quotient));
}

// A sum, left to right: the leading term (the first positive one when the
// first is negative), then runs of positive terms under plus and each
// negative term under minus: plus(minus(plus(a,b),c),d).
void FormWriterC::sum(const TaskS& task) {
    std::vector<Index> terms = sorted[task.index];
    const auto negativeTerm = [this, &task](Index t) { return isNegative(t) != task.negate; };
    if (!terms.empty() && negativeTerm(terms[0])) {
        const auto positive = std::find_if(terms.begin(), terms.end(), [&](Index t) { return !negativeTerm(t); });
        if (positive != terms.end()) {
            const Index lead = *positive;
            terms.erase(positive);
            terms.insert(terms.begin(), lead);
        }
    }
    std::vector<StepS> steps;
    if (!terms.empty()) {
        steps.push_back(StepS{false, {}});
        steps.back().terms.push_back(TaskS::of(TaskS::DoE::Item, terms[0], task.negate));
    }
    for (std::size_t k = 1; k < terms.size(); ++k) {
        const bool minus = negativeTerm(terms[k]);
        if (minus || steps.size() == 1 || steps.back().minus) {
            steps.push_back(StepS{minus, {}});
        }
        steps.back().terms.push_back(TaskS::of(TaskS::DoE::Item, terms[k], task.negate != minus));
    }
    if (steps.empty()) {
        attach(task.parent, integer(u"0", false));
        return;
    }
    folds.push_back(std::move(steps));
    TaskS last;
    last.what = TaskS::DoE::Fold;
    last.index = static_cast<Index>(folds.size() - 1);
    last.step = folds.back().size() - 1;
    last.parent = task.parent;
    stack.push_back(std::move(last));
}

void FormWriterC::fold(const TaskS& task) {
    StepS& current = folds[task.index][task.step];
    if (task.step == 0) {
        TaskS lead = std::move(current.terms[0]);
        lead.parent = task.parent;
        stack.push_back(std::move(lead));
        return;
    }
    ParentNodeABC* node = function(current.minus ? u"minus" : u"plus");
    attach(task.parent, node);
    push(current.terms, node);
    TaskS before;
    before.what = TaskS::DoE::Fold;
    before.index = task.index;
    before.step = task.step - 1;
    before.parent = node;
    stack.push_back(std::move(before));
}

// Pushes the children so that they are written in order, under `parent`.
void FormWriterC::push(std::vector<TaskS>& children, ParentNodeABC* parent) {
    for (std::size_t k = children.size(); k > 0; --k) {
        children[k - 1].parent = parent;
        stack.push_back(std::move(children[k - 1]));
    }
}

// `name` applied to the children; a constant's name without children is the
// constant, and the empty name hands its one child to `parent`.
void FormWriterC::structure(ParentNodeABC* parent, const std::u16string& name, std::vector<TaskS> children) {
    if (name.empty()) {
        push(children, parent);
        return;
    }
    if (children.empty() && (name == u"i" || name == u"pi" || name == u"e" || name == u"infinity")) {
        attach(parent, constant(name));
        return;
    }
    ParentNodeABC* node = function(name);
    attach(parent, node);
    push(children, node);
}

void FormWriterC::attach(ParentNodeABC* parent, NodeABC* node) {
    std::unique_ptr<NodeABC> owner(node);
    if (owner == nullptr) {
        throw std::bad_alloc();
    }
    if (++nodes > max_nodes) {
        const std::string limit = std::to_string(max_nodes);
        throw RefusalC(u"the result has more than " + std::u16string(limit.begin(), limit.end()) + u" nodes");
    }
    if (parent == nullptr) {
        root_p = std::move(owner);
        return;
    }
    const unsigned int before = parent->numChildren();
    parent->addChild(owner.release());  // deletes the node when the list cannot grow
    if (parent->numChildren() == before) {
        throw std::bad_alloc();
    }
}

ParentNodeABC* FormWriterC::function(const std::u16string& name) {
    const int code = code_of(code_context, name);
    if (code >= 0) {
        return made(new (std::nothrow) CoreFunctionNodeC(code));
    }
    const PointerTC<SymbolC> symbol = session.lookupSymbol(name);
    return made(symbol ? new (std::nothrow) ExtendedFunctionNodeC(symbol) : nullptr);
}

NodeABC* FormWriterC::constant(const std::u16string& name) {
    const int code = code_of(code_context, name);
    if (code >= 0) {
        return made(new (std::nothrow) CoreSymbolNodeC(code));
    }
    const PointerTC<SymbolC> symbol = session.lookupSymbol(name);
    return made(symbol ? new (std::nothrow) ExtendedSymbolNodeC(symbol) : nullptr);
}

NodeABC* FormWriterC::integer(const std::u16string& digits, bool negate) {
    std::u16string text = withoutSign(digits);
    const bool negative = (digits != text) != negate && text != u"0";
    if (negative) {
        text.insert(text.begin(), u'-');
    }
    std::unique_ptr<IntegerValueABC> value(made(session.getIntegerValueFactory()->fromString(text)));
    NodeABC* node = made(new (std::nothrow) IntegerNodeC(value.get()));
    value.release();
    return node;
}

std::u16string FormWriterC::reasonOf(const ResultFormC& form) {
    const std::u16string* symbol = nullptr;
    const std::u16string* call = nullptr;
    bool order_term = false;
    bool structure = false;
    bool complex = false;
    bool infinite = false;
    for (Index i = 0; i < form.size(); ++i) {
        const ResultFormC::ItemS& item = form.item(i);
        if (item.kind == KindE::Symbol && (symbol == nullptr || item.text < *symbol)) {
            symbol = &item.text;
        } else if (item.kind == KindE::Call && (call == nullptr || item.text < *call)) {
            call = &item.text;
        }
        order_term = order_term || (item.kind == KindE::Function && item.text == u"order");
        structure = structure || item.kind == KindE::List || item.kind == KindE::Equal;
        complex = complex || item.kind == KindE::Complex || (item.kind == KindE::Constant && item.text == u"i");
        infinite = infinite || (item.kind == KindE::Constant && item.text == u"infinity");
    }
    if (symbol != nullptr) {
        return *symbol + u": free symbol";
    }
    if (call != nullptr) {
        return *call + u": unknown function";
    }
    if (order_term) {
        return u"an order term, not a number";
    }
    if (structure) {
        return u"a list or an equation, not a number";
    }
    if (infinite) {
        return u"infinite, not a number";
    }
    return complex ? u"not a real number" : u"";
}

}  // namespace qorv::math::algexpr::giac::detail
