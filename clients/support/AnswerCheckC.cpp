// SPDX-License-Identifier: MIT
#include "AnswerCheckC.h"
#include "AssumedFactsC.h"

#include "EngineDriverC.h"

#include <acb.h>
#include <acb_calc.h>
#include <acb_hypgeom.h>
#include <arb.h>
#include <flint/flint.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/NodeVisitorABC.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/SymbolC.h"
#include "algexpr/TreeOrder.h"

namespace qorv::math::algexpr::support {

namespace {

// The vocabulary's operations, as every engine keeps them (the words of
// ContextS).
using WordE = OperationE;

using VerdictE = AnswerCheckC::VerdictE;

// The functions of one argument by how EvaluatorC computes them (see unary).
constexpr WordE kElementary[] = {WordE::Sin, WordE::Cos, WordE::Tan, WordE::Exp, WordE::Log, WordE::Sqrt, WordE::Abs};
constexpr WordE kInverseOrHyperbolic[] = {WordE::Asin, WordE::Acos, WordE::Atan, WordE::Sinh, WordE::Cosh, WordE::Tanh};
constexpr WordE kSpecial[] = {WordE::Erf, WordE::Erfc, WordE::Gamma, WordE::Lgamma, WordE::Si,
                              WordE::Ci,  WordE::Sec,  WordE::Csc,   WordE::Cot};
constexpr WordE kKeepsValue[] = {WordE::Expand, WordE::Simplify, WordE::Factor};
constexpr WordE kPartOrSign[] = {WordE::Conjugate, WordE::RealPart, WordE::ImagPart, WordE::Csgn, WordE::Step};
// The functions without a branch cut or sign region (meromorphic ones, and
// whole powers, which SymbolsC tells apart by their exponent).
constexpr WordE kMeromorphic[] = {
    WordE::Plus,  WordE::Minus,     WordE::Times,    WordE::Divide, WordE::Neg,  WordE::Exp, WordE::Sin,
    WordE::Cos,   WordE::Tan,       WordE::Sinh,     WordE::Cosh,   WordE::Tanh, WordE::Erf, WordE::Erfc,
    WordE::Gamma, WordE::Factorial, WordE::Binomial, WordE::Si,     WordE::Sec,  WordE::Csc, WordE::Cot};

template <std::size_t N>
bool isIn(const WordE (&words)[N], WordE word) {
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

constexpr slong kPrecision = 64;        // bits of the first evaluation (one word)
constexpr slong kMorePrecision = 320;   // of the second, for a wide ball
constexpr slong kTinyBits = 36;         // a passing difference is below 2^-36 of the values
constexpr int kUsablePoints = 2;        // points that pass the answer
constexpr int kTriedPoints = 12;        // points tried at most
constexpr int kSimplifyPoints = 8;      // points that pass a simplification
constexpr std::size_t kOrderedSymbols = 8;  // symbols whose sizes the ordered points set apart
constexpr int kWidePoints = 3;          // points whose values stay undecided before the check gives up
constexpr double kFloatTolerance = 1e-8;
constexpr int kNumericDigits = 15;       // a numeric answer's digits at least, unless the session asks fewer

// A ball and its derivative by the one variable (dual numbers).
class DualC {
public:
    DualC() {
        acb_init(v);
        acb_init(d);
    }
    ~DualC() {
        acb_clear(v);
        acb_clear(d);
    }
    DualC(const DualC& other) : DualC() { *this = other; }
    DualC(DualC&& other) noexcept : DualC() {
        acb_swap(v, other.v);
        acb_swap(d, other.d);
    }
    DualC& operator=(const DualC& other) {
        acb_set(v, other.v);
        acb_set(d, other.d);
        return *this;
    }
    acb_t v;
    acb_t d;
};

// A thin owner of one of Arb's values for temporaries: AcbS, ArbS.
template <class ValueT, void (*init)(ValueT*), void (*clear)(ValueT*)>
class ArbOwnerTC {
public:
    ArbOwnerTC() { init(x); }
    ~ArbOwnerTC() { clear(x); }
    ArbOwnerTC(const ArbOwnerTC&) = delete;
    ArbOwnerTC& operator=(const ArbOwnerTC&) = delete;
    ValueT x[1];  // as acb_t and arb_t are
};
using AcbS = ArbOwnerTC<acb_struct, acb_init, acb_clear>;
using ArbS = ArbOwnerTC<arb_struct, arb_init, arb_clear>;

// Why a tree has no value at a point.
enum class HoleE : unsigned char { None, Undefined, Unknown };

// A point: a value for each symbol, by name.
using PointT = std::map<std::u16string, DualC>;

// A tree's parts in the order a post-order walk meets them, with each
// number's text read once: a check evaluates the same trees at many points
// and precisions, so the walk and the reading are done once a plan (whose
// trees stay alive and unchanged while it is tried).
struct NumberS {
    std::string ascii;  // empty: not ASCII
    int digits = 0;     // a float's significant digits
    ArbS read[2];       // at kPrecision and kMorePrecision, once read
    slong read_prec[2] = {0, 0};
    bool bad[2] = {false, false};
};

struct PartS {
    enum class KindE : unsigned char { Core, Extended, CoreSymbol, Symbol, Float, Integer } kind;
    NodeABC* node;
    NumberS* number;  // Float, and Integer of 10 digits or more
};

class PartsC : public NodeVisitorABC {
public:
    PartsC() : NodeVisitorABC(PostOrder) {}

    /// The parts of `root`, walked on first use this check.
    static const std::vector<PartS>* of(NodeABC& root) {
        auto& trees = kept();
        auto found = trees.find(&root);
        if (found != trees.end()) {
            return &found->second;
        }
        PartsC walk;
        if (!root.traverse(walk)) {
            return nullptr;
        }
        return &trees.emplace(&root, std::move(walk.parts)).first->second;
    }
    /// A new plan: trees of the last one may be gone.
    static void forget() {
        kept().clear();
        numbers().clear();
    }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) override {
        return add(PartS::KindE::Core, node);
    }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) override {
        return add(PartS::KindE::Extended, node);
    }
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override { return add(PartS::KindE::CoreSymbol, node); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override { return add(PartS::KindE::Symbol, node); }
    bool visitFloatNode(FloatNodeC& node) override {
        const std::u16string shown = node.toString();
        NumberS& n = text(shown);
        // Its significant digits: those after the leading zeros, before an exponent.
        bool leading = true;
        for (const char16_t c : shown) {
            if (c == u'e' || c == u'E') {
                break;
            }
            if (c >= u'1' && c <= u'9') {
                leading = false;
            }
            n.digits += !leading && c >= u'0' && c <= u'9' ? 1 : 0;
        }
        parts.push_back(PartS{PartS::KindE::Float, &node, &n});
        return true;
    }
    bool visitIntegerNode(IntegerNodeC& node) override {
        const std::u16string shown = node.toString();
        parts.push_back(PartS{PartS::KindE::Integer, &node, shown.size() < 10 ? nullptr : &text(shown)});
        return true;
    }

private:
    // On the heap, one a thread: the module that holds the check may be
    // loaded late (Python's import), where static thread-local space is short.
    struct KeptS {
        std::unordered_map<const NodeABC*, std::vector<PartS>> trees;
        std::deque<NumberS> numbers;
    };
    static KeptS& store() {
        static thread_local std::unique_ptr<KeptS> kept;
        if (!kept) {
            kept = std::make_unique<KeptS>();
        }
        return *kept;
    }
    static std::unordered_map<const NodeABC*, std::vector<PartS>>& kept() { return store().trees; }
    static std::deque<NumberS>& numbers() { return store().numbers; }
    static NumberS& text(const std::u16string& shown) {
        NumberS& n = numbers().emplace_back();
        for (const char16_t c : shown) {
            if (c > 127) {
                n.ascii.clear();
                return n;
            }
            n.ascii += static_cast<char>(c);
        }
        return n;
    }
    bool add(PartS::KindE kind, NodeABC& node) {
        parts.push_back(PartS{kind, &node, nullptr});
        return true;
    }
    std::vector<PartS> parts;
};

// The post-order walk of a tree into a DualC: values at `point`,
// derivatives by `variable` (none when empty). `analytic` asks for the
// holomorphic functions only (Arb's integration): a branch cut or a
// function that is nowhere holomorphic makes the value indeterminate.
class EvaluatorC final : public NodeVisitorABC {
public:
    EvaluatorC(const AnswerCheckC::ContextS& context, const PointT& point, const std::u16string& variable, slong prec,
               bool analytic, bool exact_floats = false)
        : NodeVisitorABC(PostOrder),
          context(context),
          point(point),
          variable(variable),
          prec(prec),
          analytic(analytic),
          dual(!variable.empty()),
          exact_floats(exact_floats) {}

    // One stack a thread, its memory kept from one evaluation to the next
    // (an evaluator inside Arb's integration runs while none is outside).
    static std::vector<DualC>& reusedStack() {
        static thread_local std::vector<DualC> kept;
        return kept;
    }

    HoleE run(NodeABC& root, DualC& result) {
        stack.clear();
        hole = HoleE::None;
        unknown.clear();
        const std::vector<PartS>* parts = PartsC::of(root);
        if (parts == nullptr || !walk(*parts) || hole != HoleE::None || stack.size() != 1) {
            return hole == HoleE::None ? HoleE::Unknown : hole;
        }
        if (!acb_is_finite(stack.back().v) || (!variable.empty() && !acb_is_finite(stack.back().d))) {
            return HoleE::Undefined;
        }
        result = stack.back();
        return HoleE::None;
    }

    bool sawFloat() const { return floats; }
    int floatDigits() const { return float_digits; }
    const std::u16string& unknownName() const { return unknown; }

    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) override {
        const unsigned int count = node.numChildren();
        if (stack.size() < count) {
            return stop(HoleE::Unknown, node.toString());
        }
        const WordE word = wordOf(node.getCode());
        DualC* a = stack.data() + (stack.size() - count);
        DualC r;
        if (!apply(word, a, count, r)) {
            return hole == HoleE::Unknown ? stop(HoleE::Unknown, node.toString()) : false;
        }
        stack.resize(stack.size() - count);
        stack.push_back(std::move(r));
        return true;
    }

    // A function the vocabulary does not name is one the engine knows
    // nothing of: any identity it applies holds for every function, so for
    // this one, s (s + d) + 1 for s = c1 z1 + ... + cn zn, with rational c
    // and d fixed by the name (real on real arguments, holomorphic).
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) override {
        const unsigned int count = node.numChildren();
        const std::u16string name = node.getSymbol()->getName();
        // Only a function of the input is one the engine knows nothing of;
        // one new in the answer is the engine's own (an erf, or a sin the
        // session's vocabulary lacks).
        if (stack.size() < count || free_functions == nullptr || free_functions->count(name) == 0) {
            return stop(HoleE::Unknown, name);
        }
        std::uint64_t hash = 14695981039346656037ULL;
        for (const char16_t c : name) {
            hash = (hash ^ c) * 1099511628211ULL;
        }
        DualC* a = stack.data() + (stack.size() - count);
        DualC r;
        AcbS sum;
        AcbS slope;
        for (unsigned int i = 0; i < count; ++i) {
            const long c = static_cast<long>((hash >> ((i % 8) * 8)) % 9) - 4;
            acb_set_si(slope.x, c == 0 ? 1 : c);
            acb_mul_2exp_si(slope.x, slope.x, -2);  // c/4
            acb_addmul(sum.x, slope.x, a[i].v, prec);
            acb_addmul(r.d, slope.x, a[i].d, prec);
        }
        const slong d = static_cast<slong>(hash >> 60) - 8;
        arb_add_si(acb_realref(slope.x), acb_realref(sum.x), d, prec);  // s + d
        arb_set(acb_imagref(slope.x), acb_imagref(sum.x));
        acb_mul(r.v, sum.x, slope.x, prec);
        acb_add_ui(r.v, r.v, 1, prec);
        acb_add(slope.x, slope.x, sum.x, prec);  // (s (s + d))' = (2 s + d) s'
        acb_mul(r.d, r.d, slope.x, prec);
        stack.resize(stack.size() - count);
        stack.push_back(std::move(r));
        return true;
    }

    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override {
        DualC r;
        switch (wordOf(node.getCode())) {
            case WordE::Pi:
                acb_const_pi(r.v, prec);
                break;
            case WordE::E:
                acb_one(r.v);
                acb_exp(r.v, r.v, prec);
                break;
            case WordE::I:
                acb_onei(r.v);
                break;
            default:
                return stop(HoleE::Unknown, node.toString());
        }
        stack.push_back(std::move(r));
        return true;
    }

    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
        // A session's symbols are one object a name: seen ones by address.
        const SymbolC* symbol = node.getSymbol().get();
        const SeenS* seen = nullptr;
        for (const SeenS& s : seen_symbols) {
            seen = s.symbol == symbol ? &s : seen;
        }
        if (seen == nullptr) {
            const std::u16string name = symbol->getName();
            const auto found = point.find(name);
            if (found == point.end()) {
                return stop(HoleE::Unknown, name);
            }
            seen_symbols.push_back(SeenS{symbol, &found->second, !variable.empty() && name == variable});
            seen = &seen_symbols.back();
        }
        DualC r;
        acb_set(r.v, seen->value->v);
        if (seen->variable) {
            acb_one(r.d);
        }
        stack.push_back(std::move(r));
        return true;
    }

    // The parts' numbers are read from PartsC; the walk never meets them.
    bool visitFloatNode(FloatNodeC&) override { return false; }
    bool visitIntegerNode(IntegerNodeC&) override { return false; }

private:
    WordE wordOf(int code) const {
        return code >= 0 && static_cast<std::size_t>(code) < context.count && context.words[code] < WordE::Count
                   ? context.words[code]
                   : WordE::None;
    }

    bool stop(HoleE why, const std::u16string& name) {
        hole = why;
        if (why == HoleE::Unknown && unknown.empty()) {
            unknown = name.substr(0, 40);
        }
        return false;
    }

    bool walk(const std::vector<PartS>& parts) {
        for (const PartS& part : parts) {
            bool going = true;
            switch (part.kind) {
                case PartS::KindE::Core:
                    going = visitCoreFunctionNode(static_cast<CoreFunctionNodeC&>(*part.node), PostOrder);
                    break;
                case PartS::KindE::Extended:
                    going = visitExtendedFunctionNode(static_cast<ExtendedFunctionNodeC&>(*part.node), PostOrder);
                    break;
                case PartS::KindE::CoreSymbol:
                    going = visitCoreSymbolNode(static_cast<CoreSymbolNodeC&>(*part.node));
                    break;
                case PartS::KindE::Symbol:
                    going = visitExtendedSymbolNode(static_cast<ExtendedSymbolNodeC&>(*part.node));
                    break;
                case PartS::KindE::Float:
                    float_digits = floats ? std::min(float_digits, part.number->digits) : part.number->digits;
                    floats = true;
                    going = number(*part.number, *part.node, true);
                    break;
                case PartS::KindE::Integer:
                    if (part.number == nullptr) {  // fits: no parsing
                        DualC r;
                        acb_set_si(r.v, static_cast<slong>(static_cast<IntegerNodeC&>(*part.node).getValue()->getValue()));
                        stack.push_back(std::move(r));
                    } else {
                        going = number(*part.number, *part.node);
                    }
                    break;
            }
            if (!going) {
                return false;
            }
        }
        return true;
    }

    bool number(NumberS& n, const NodeABC& node, bool is_float = false) {
        // Read once at each of the check's two precisions (Arb's integration
        // asks for others: read afresh).
        const int slot = prec == kPrecision ? 0 : prec == kMorePrecision ? 1 : -1;
        ArbS fresh;
        arb_struct* read = slot < 0 ? fresh.x : n.read[slot].x;
        if (slot < 0 || n.read_prec[slot] != prec) {
            const bool bad = n.ascii.empty() || arb_set_str(read, n.ascii.c_str(), prec) != 0;
            if (slot >= 0) {
                n.read_prec[slot] = prec;
                n.bad[slot] = bad;
            }
            if (bad) {
                return stop(HoleE::Unknown, node.toString());
            }
        } else if (n.bad[slot]) {
            return stop(HoleE::Unknown, node.toString());
        }
        DualC r;
        arb_set(acb_realref(r.v), read);
        if (is_float && !exact_floats) {  // a float stands for its value to about 16 digits: the ball says so
            mag_t radius;
            mag_init(radius);
            arb_get_mag(radius, acb_realref(r.v));
            mag_mul_2exp_si(radius, radius, -50);
            arb_add_error_mag(acb_realref(r.v), radius);
            mag_clear(radius);
        }
        stack.push_back(std::move(r));
        return true;
    }

    bool undefined() {
        hole = HoleE::Undefined;
        return false;
    }

    // Whether a ball may hold zero: a hole for division and logarithms.
    static bool nearZero(const acb_t x) { return acb_contains_zero(x) != 0; }

    // r = f(a) with f' given: r.d = f'(a) * a.d.
    void chain(DualC& r, const DualC& a, const acb_t derivative) {
        if (!variable.empty()) {
            acb_mul(r.d, derivative, a.d, prec);
        }
    }

    bool apply(WordE word, DualC* a, unsigned int count, DualC& r) {
        AcbS t;
        AcbS u;
        switch (word) {
            case WordE::Plus:
                for (unsigned int i = 0; i < count; ++i) {
                    acb_add(r.v, r.v, a[i].v, prec);
                    if (dual) {
                        acb_add(r.d, r.d, a[i].d, prec);
                    }
                }
                return true;
            case WordE::Times:
                acb_one(r.v);
                for (unsigned int i = 0; i < count; ++i) {
                    if (dual) {
                        acb_mul(t.x, r.d, a[i].v, prec);
                        acb_addmul(t.x, r.v, a[i].d, prec);
                        acb_swap(r.d, t.x);
                    }
                    acb_mul(r.v, r.v, a[i].v, prec);
                }
                return true;
            case WordE::Minus:
                if (count == 1) {
                    acb_neg(r.v, a[0].v);
                    acb_neg(r.d, a[0].d);
                    return true;
                }
                if (count != 2) {
                    break;
                }
                acb_sub(r.v, a[0].v, a[1].v, prec);
                acb_sub(r.d, a[0].d, a[1].d, prec);
                return true;
            case WordE::Neg:
                if (count != 1) {
                    break;
                }
                acb_neg(r.v, a[0].v);
                acb_neg(r.d, a[0].d);
                return true;
            case WordE::Divide:
                if (count != 2) {
                    break;
                }
                if (nearZero(a[1].v)) {
                    return undefined();
                }
                acb_div(r.v, a[0].v, a[1].v, prec);
                if (dual) {
                    acb_mul(t.x, r.v, a[1].d, prec);  // (a' - (a/b) b') / b
                    acb_sub(t.x, a[0].d, t.x, prec);
                    acb_div(r.d, t.x, a[1].v, prec);
                }
                return true;
            case WordE::Power:
                return count == 2 && power(a[0], a[1], r);
            case WordE::Binomial:
                return count == 2 && binomial(a[0], a[1], r);
            case WordE::Factorial:
                if (count != 1) {
                    break;
                }
                {
                    DualC shifted(a[0]);  // n! is gamma(n + 1)
                    acb_add_ui(shifted.v, shifted.v, 1, prec);
                    return unary(WordE::Gamma, shifted, r);
                }
            default:
                break;
        }
        if (count != 1) {
            hole = HoleE::Unknown;
            return false;
        }
        return unary(word, a[0], r);
    }

    bool power(const DualC& a, const DualC& b, DualC& r) {
        AcbS t;
        AcbS u;
        fmpz_t n;
        fmpz_init(n);
        const bool integer = acb_is_exact(b.v) && acb_is_int(b.v) && acb_is_zero(b.d) &&
                             arf_is_int(arb_midref(acb_realref(b.v))) &&
                             arf_cmpabs_2exp_si(arb_midref(acb_realref(b.v)), 30) < 0;
        if (integer) {
            arf_get_fmpz(n, arb_midref(acb_realref(b.v)), ARF_RND_DOWN);
            if (fmpz_sgn(n) < 0 && nearZero(a.v)) {
                fmpz_clear(n);
                return undefined();
            }
            acb_pow_fmpz(r.v, a.v, n, prec);  // a^n, exact powers of exact values
            if (!dual) {
                fmpz_clear(n);
                return true;
            }
            fmpz_sub_ui(n, n, 1);
            acb_pow_fmpz(t.x, a.v, n, prec);  // n a^(n-1) a'
            fmpz_add_ui(n, n, 1);
            acb_mul_fmpz(t.x, t.x, n, prec);
            acb_mul(r.d, t.x, a.d, prec);
            fmpz_clear(n);
            return true;
        }
        fmpz_clear(n);
        if (nearZero(a.v) && !variable.empty()) {
            return undefined();  // no derivative at the branch point
        }
        if (analytic) {
            acb_pow_analytic(r.v, a.v, b.v, 1, prec);
        } else {
            acb_pow(r.v, a.v, b.v, prec);
        }
        if (variable.empty()) {
            return true;  // no derivative asked for
        }
        // (a^b)' = a^b (b' log a + b a'/a)
        acb_log(t.x, a.v, prec);
        acb_mul(t.x, t.x, b.d, prec);
        acb_div(u.x, a.d, a.v, prec);
        acb_addmul(t.x, u.x, b.v, prec);
        acb_mul(r.d, r.v, t.x, prec);
        return true;
    }

    // binomial(n,k): for a whole k from 0 to 4095, n (n - 1) ... (n - k + 1) / k!,
    // a polynomial in n defined for every n; otherwise
    // gamma(n + 1) / (gamma(k + 1) gamma(n - k + 1)), undefined at its poles.
    bool binomial(const DualC& n, const DualC& k, DualC& r) {
        const arf_struct* middle = arb_midref(acb_realref(k.v));
        if (acb_is_exact(k.v) && acb_is_int(k.v) && acb_is_zero(k.d) && arf_sgn(middle) >= 0 &&
            arf_cmpabs_2exp_si(middle, 12) < 0) {
            const slong m = arf_get_si(middle, ARF_RND_DOWN);
            acb_one(r.v);
            acb_zero(r.d);
            AcbS factor;
            AcbS t;
            for (slong i = 0; i < m; ++i) {
                acb_sub_si(factor.x, n.v, i, prec);
                if (dual) {  // (p f)' = p' f + p f', f' = n'
                    acb_mul(t.x, r.d, factor.x, prec);
                    acb_addmul(t.x, r.v, n.d, prec);
                    acb_div_ui(r.d, t.x, static_cast<ulong>(i + 1), prec);
                }
                acb_mul(r.v, r.v, factor.x, prec);
                acb_div_ui(r.v, r.v, static_cast<ulong>(i + 1), prec);
            }
            return true;
        }
        AcbS top;
        AcbS below;
        AcbS rest;
        acb_add_ui(top.x, n.v, 1, prec);
        acb_add_ui(below.x, k.v, 1, prec);
        acb_sub(rest.x, top.x, k.v, prec);
        AcbS t;
        acb_gamma(r.v, top.x, prec);
        acb_rgamma(t.x, below.x, prec);
        acb_mul(r.v, r.v, t.x, prec);
        acb_rgamma(t.x, rest.x, prec);
        acb_mul(r.v, r.v, t.x, prec);
        if (!acb_is_finite(r.v)) {
            return undefined();  // a pole, or too near one
        }
        if (dual) {  // r' = r (psi(n + 1) n' - psi(k + 1) k' - psi(n - k + 1) (n' - k'))
            AcbS sum;
            acb_digamma(t.x, top.x, prec);
            acb_mul(sum.x, t.x, n.d, prec);
            acb_digamma(t.x, below.x, prec);
            acb_submul(sum.x, t.x, k.d, prec);
            acb_digamma(t.x, rest.x, prec);
            acb_sub(top.x, n.d, k.d, prec);
            acb_submul(sum.x, t.x, top.x, prec);
            acb_mul(r.d, r.v, sum.x, prec);
        }
        return true;
    }

    // A function of one argument: its value, and its derivative through the
    // chain rule.
    bool unary(WordE word, const DualC& a, DualC& r) {
        AcbS t;
        bool defined = false;
        if (isIn(kElementary, word)) {
            defined = elementary(word, a, r, t);
        } else if (isIn(kInverseOrHyperbolic, word)) {
            defined = inverseOrHyperbolic(word, a, r, t);
        } else if (isIn(kSpecial, word)) {
            defined = special(word, a, r, t);
        } else if (isIn(kKeepsValue, word)) {
            // The value of an operation that keeps values: its argument's.
            r = a;
            return true;
        } else if (isIn(kPartOrSign, word)) {
            defined = partOrSign(word, a, r, t);
        } else {
            hole = HoleE::Unknown;
            return false;
        }
        if (!defined) {
            return false;
        }
        chain(r, a, t.x);
        return true;
    }

    // The special functions and the reciprocal trigonometric ones: value in
    // r, the derivative's factor in t; false where undefined (poles, and
    // lgamma and Ci, which have branch cuts, where only holomorphic
    // functions may be met).
    bool special(WordE word, const DualC& a, DualC& r, AcbS& t) {
        AcbS u;
        switch (word) {
            case WordE::Erf:
            case WordE::Erfc:
                // d/dz erf(z) = 2 exp(-z^2) / sqrt(pi)
                word == WordE::Erf ? acb_hypgeom_erf(r.v, a.v, prec) : acb_hypgeom_erfc(r.v, a.v, prec);
                acb_mul(t.x, a.v, a.v, prec);
                acb_neg(t.x, t.x);
                acb_exp(t.x, t.x, prec);
                arb_const_sqrt_pi(acb_realref(u.x), prec);
                acb_div(t.x, t.x, u.x, prec);
                acb_mul_2exp_si(t.x, t.x, 1);
                if (word == WordE::Erfc) {
                    acb_neg(t.x, t.x);
                }
                break;
            case WordE::Gamma:
            case WordE::Lgamma:
                if (word == WordE::Lgamma && analytic) {
                    return undefined();
                }
                word == WordE::Gamma ? acb_gamma(r.v, a.v, prec) : acb_lgamma(r.v, a.v, prec);
                if (!acb_is_finite(r.v)) {
                    return undefined();  // a pole, or too near one
                }
                acb_digamma(t.x, a.v, prec);
                if (word == WordE::Gamma) {
                    acb_mul(t.x, t.x, r.v, prec);
                }
                break;
            case WordE::Si:
            case WordE::Ci:
                if (word == WordE::Ci && (analytic || nearZero(a.v))) {
                    return undefined();
                }
                word == WordE::Si ? acb_hypgeom_si(r.v, a.v, prec) : acb_hypgeom_ci(r.v, a.v, prec);
                if (!variable.empty()) {
                    // Si' = sin(z)/z (1 at 0), Ci' = cos(z)/z
                    word == WordE::Si ? acb_sinc(t.x, a.v, prec) : acb_cos(t.x, a.v, prec);
                    if (word == WordE::Ci) {
                        acb_div(t.x, t.x, a.v, prec);
                    }
                }
                break;
            case WordE::Sec:
            case WordE::Csc:
            case WordE::Cot:
                // sec' = sec tan, csc' = -csc cot, cot' = -(1 + cot^2)
                acb_sin_cos(u.x, t.x, a.v, prec);
                if (nearZero(word == WordE::Sec ? t.x : u.x)) {
                    return undefined();
                }
                if (word == WordE::Sec) {
                    acb_inv(r.v, t.x, prec);
                    acb_div(t.x, u.x, t.x, prec);
                    acb_mul(t.x, t.x, r.v, prec);
                } else if (word == WordE::Csc) {
                    acb_inv(r.v, u.x, prec);
                    acb_div(t.x, t.x, u.x, prec);
                    acb_mul(t.x, t.x, r.v, prec);
                    acb_neg(t.x, t.x);
                } else {
                    acb_div(r.v, t.x, u.x, prec);
                    acb_mul(t.x, r.v, r.v, prec);
                    acb_add_ui(t.x, t.x, 1, prec);
                    acb_neg(t.x, t.x);
                }
                break;
            default:
                break;
        }
        return true;
    }

    // The value of sin ... abs in r, the derivative's factor in t; false
    // where undefined.
    bool elementary(WordE word, const DualC& a, DualC& r, AcbS& t) {
        switch (word) {
            case WordE::Sin:
                acb_sin_cos(r.v, t.x, a.v, prec);
                break;
            case WordE::Cos:
                acb_sin_cos(t.x, r.v, a.v, prec);
                acb_neg(t.x, t.x);
                break;
            case WordE::Tan:
                return tangent(word, a, r, t);
            case WordE::Exp:
                acb_exp(r.v, a.v, prec);
                acb_set(t.x, r.v);
                break;
            case WordE::Log:
                if (nearZero(a.v)) {
                    return undefined();
                }
                acb_log_analytic(r.v, a.v, analytic ? 1 : 0, prec);
                if (!variable.empty()) {
                    acb_inv(t.x, a.v, prec);
                }
                break;
            case WordE::Sqrt:
                if (nearZero(a.v) && !variable.empty()) {
                    return undefined();  // no derivative at 0
                }
                acb_sqrt_analytic(r.v, a.v, analytic ? 1 : 0, prec);
                if (!variable.empty()) {
                    acb_mul_2exp_si(t.x, r.v, 1);
                    acb_inv(t.x, t.x, prec);
                }
                break;
            case WordE::Abs:
                if (nearZero(a.v) && !variable.empty()) {
                    return undefined();
                }
                if (acb_is_real(a.v)) {
                    acb_real_abs(r.v, a.v, analytic ? 1 : 0, prec);
                    acb_real_sgn(t.x, a.v, analytic ? 1 : 0, prec);
                } else {
                    if (analytic) {
                        return undefined();
                    }
                    acb_abs(acb_realref(r.v), a.v, prec);
                    acb_indeterminate(t.x);  // no complex derivative
                }
                break;
            default:
                break;
        }
        return true;
    }

    // The same for asin ... tanh.
    bool inverseOrHyperbolic(WordE word, const DualC& a, DualC& r, AcbS& t) {
        switch (word) {
            case WordE::Asin:
            case WordE::Acos:
                // 1/sqrt(1 - a^2), negated for acos
                acb_mul(t.x, a.v, a.v, prec);
                acb_sub_ui(t.x, t.x, 1, prec);
                acb_neg(t.x, t.x);
                if (nearZero(t.x)) {
                    return undefined();
                }
                acb_rsqrt(t.x, t.x, prec);
                if (word == WordE::Asin) {
                    acb_asin(r.v, a.v, prec);
                } else {
                    acb_acos(r.v, a.v, prec);
                    acb_neg(t.x, t.x);
                }
                break;
            case WordE::Atan:
                acb_mul(t.x, a.v, a.v, prec);
                acb_add_ui(t.x, t.x, 1, prec);
                if (nearZero(t.x)) {
                    return undefined();
                }
                acb_inv(t.x, t.x, prec);
                acb_atan(r.v, a.v, prec);
                break;
            case WordE::Sinh:
                acb_sinh_cosh(r.v, t.x, a.v, prec);
                break;
            case WordE::Cosh:
                acb_sinh_cosh(t.x, r.v, a.v, prec);
                break;
            case WordE::Tanh:
                return tangent(word, a, r, t);
            default:
                break;
        }
        return true;
    }

    // The same for tan and tanh: tan' = 1 + tan^2, tanh' = 1 - tanh^2,
    // undefined where cos or cosh is zero.
    bool tangent(WordE word, const DualC& a, DualC& r, AcbS& t) {
        const bool circular = word == WordE::Tan;
        AcbS u;
        circular ? acb_cos(u.x, a.v, prec) : acb_cosh(u.x, a.v, prec);
        if (nearZero(u.x)) {
            return undefined();
        }
        circular ? acb_tan(r.v, a.v, prec) : acb_tanh(r.v, a.v, prec);
        acb_mul(t.x, r.v, r.v, prec);
        if (circular) {
            acb_add_ui(t.x, t.x, 1, prec);
        } else {
            acb_sub_ui(t.x, t.x, 1, prec);
            acb_neg(t.x, t.x);
        }
        return true;
    }

    // The same for conjugate, re, im, csgn and step.
    bool partOrSign(WordE word, const DualC& a, DualC& r, AcbS& t) {
        switch (word) {
            case WordE::Conjugate:
            case WordE::RealPart:
            case WordE::ImagPart:
                if (analytic) {
                    return undefined();
                }
                if (word == WordE::Conjugate) {
                    acb_conj(r.v, a.v);
                } else {
                    arb_set(acb_realref(r.v), word == WordE::RealPart ? acb_realref(a.v) : acb_imagref(a.v));
                }
                // A derivative only where the argument is real and so is its derivative.
                if (acb_is_real(a.v) && acb_is_real(a.d)) {
                    acb_set_ui(t.x, word == WordE::ImagPart ? 0 : 1);
                } else {
                    acb_indeterminate(t.x);
                }
                break;
            case WordE::Csgn:
            case WordE::Step: {
                const arb_struct* side = acb_realref(a.v);
                if (word == WordE::Csgn && arb_is_zero(acb_realref(a.v))) {
                    side = acb_imagref(a.v);
                }
                if (arb_contains_zero(side) || (word == WordE::Step && !acb_is_real(a.v)) || analytic) {
                    return undefined();
                }
                const bool positive = arb_is_positive(side);
                if (word == WordE::Csgn) {
                    acb_set_si(r.v, positive ? 1 : -1);
                } else {
                    acb_set_si(r.v, positive ? 1 : 0);
                }
                acb_zero(t.x);
                break;
            }
            default:
                break;
        }
        return true;
    }

    const AnswerCheckC::ContextS& context;
    const PointT& point;
    const std::u16string& variable;
    const slong prec;
    const bool analytic;
    const bool dual;          // derivatives asked for
    const bool exact_floats;  // floats are the numbers they show (a numeric answer's)
    struct SeenS {
        const SymbolC* symbol;
        const DualC* value;
        bool variable;
    };
    std::vector<SeenS> seen_symbols;  // few: a linear search
    std::vector<DualC>& stack = reusedStack();

public:
    const std::map<std::u16string, bool>* free_functions = nullptr;  // the input's unknown functions

private:
    HoleE hole = HoleE::None;
    std::u16string unknown;
    bool floats = false;
    int float_digits = 0;  // the fewest significant digits of a float seen
};

// The symbols of a tree, by name (sorted: the points do not depend on the
// order they are met in), and its unknown functions.
// Also whether a tree may have a branch cut or a sign region where an
// identity fails (`branched`): a function other than sums, products,
// quotients, whole powers, exp, the trigonometric functions and the
// hyperbolic sine, cosine and tangent, erf, erfc, gamma, factorial, binomial and Si (which are
// meromorphic), taking an argument with a symbol in it; sqrt(2) or log(3)
// is one number on every branch. A function of the input that the engine
// knows nothing of is evaluated as a polynomial of its arguments (see
// EvaluatorC): no branch of its own. Post-order, with whether each part
// holds a symbol on a stack.
class SymbolsC : public NodeVisitorABC {
public:
    explicit SymbolsC(const AnswerCheckC::ContextS& context) : NodeVisitorABC(PostOrder), context(context) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE) override {
        const int code = node.getCode();
        const auto word =
            code >= 0 && static_cast<std::size_t>(code) < context.count ? context.words[code] : WordE::None;
        bool cut = !isIn(kMeromorphic, word);
        if (word == WordE::Power) {
            cut = node.numChildren() != 2 || node.child(1) == nullptr ||
                  node.child(1)->lookUpBase(IntegerNodeC::getCastableId()) == nullptr;
        }
        const bool symbolic = operandsHoldSymbols(node.numChildren());
        branched = branched || (cut && symbolic);
        return true;
    }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE) override {
        if (collect_functions) {
            functions[node.getSymbol()->getName()] = true;
        }
        operandsHoldSymbols(node.numChildren());
        return true;
    }
    bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return leaf(false); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
        names[node.getSymbol()->getName()] = true;
        return leaf(true);
    }
    bool visitFloatNode(FloatNodeC&) override { return leaf(false); }
    bool visitIntegerNode(IntegerNodeC&) override { return leaf(false); }
    bool collect_functions = false;
    std::map<std::u16string, bool> functions;
    std::map<std::u16string, bool> names;
    bool branched = false;

private:
    bool leaf(bool symbol) {
        symbolic.push_back(symbol ? 1 : 0);
        return true;
    }
    // Replaces the operands' entries by the part's own.
    bool operandsHoldSymbols(unsigned int count) {
        const std::size_t n = std::min<std::size_t>(count, symbolic.size());
        bool any = false;
        for (std::size_t i = symbolic.size() - n; i < symbolic.size(); ++i) {
            any = any || symbolic[i] != 0;
        }
        symbolic.resize(symbolic.size() - n);
        symbolic.push_back(any ? 1 : 0);
        return any;
    }
    const AnswerCheckC::ContextS& context;
    std::vector<unsigned char> symbolic;
};

// The seeded source of the points: splitmix64.
class SeedC {
public:
    explicit SeedC(std::uint64_t state) : state(state) {}
    std::uint64_t next() {
        state += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t state;
};

// A rational p/q, 1 <= p <= 13 (2q more when large), 2 <= q <= 8, no
// integer, with the sign asked for.
struct RationalS {
    long p;
    long q;
};

RationalS rational(SeedC& seed, bool negative, bool large = false, long whole = 0) {
    // No integers: at an integer, a power of a negative number keeps
    // identities that fail elsewhere.
    const long q = static_cast<long>(seed.next() % 7) + 2;
    long p = static_cast<long>(seed.next() % 12) + 1 + (large ? 2 * q : 0) + whole * q;  // large: beyond 2
    p += p % q == 0 ? 1 : 0;
    long a = p;
    long b = q;
    while (b != 0) {
        const long r = a % b;
        a = b;
        b = r;
    }
    return RationalS{negative ? -p / a : p / a, q / a};
}

std::u16string rationalText(long p, long q) {
    std::string s = std::to_string(p);
    if (q != 1) {
        s += "/" + std::to_string(q);
    }
    return std::u16string(s.begin(), s.end());
}

// One point: the symbols' values and their text ("x = -3/2, y = 1/4 + 2*i").
// One point: the symbols' values, and the rationals they were made of for
// the text of a failure ("x = -3/2, y = 1/4 + 2*i"), written only then.
struct PointS {
    struct PartS {
        RationalS re;
        RationalS im;
        bool complex;
    };
    PointT values;
    std::vector<PartS> parts;  // in the order of the names

    std::u16string where() const {
        std::u16string text;
        auto part = parts.begin();
        for (const auto& entry : values) {
            if (part == parts.end()) {
                break;
            }
            text += (text.empty() ? u"" : u", ") + entry.first + u" = " + rationalText(part->re.p, part->re.q);
            if (part->complex) {
                text += (part->im.p < 0 ? u" - " : u" + ") + rationalText(part->im.p < 0 ? -part->im.p : part->im.p, part->im.q) + u"*i";
            }
            ++part;
        }
        return text;
    }
};

// The points after the first two: signs all negative or alternating (the
// first symbol negative or positive), and sizes rising or falling by rank.
enum class SignsE : unsigned char { Negative, NegativeFirst, PositiveFirst };
struct OrderedS {
    SignsE signs;
    bool rising;
};
constexpr OrderedS kOrdered[] = {{SignsE::NegativeFirst, true},  {SignsE::Negative, true},
                                 {SignsE::Negative, false},      {SignsE::NegativeFirst, false},
                                 {SignsE::PositiveFirst, true},  {SignsE::PositiveFirst, false}};
constexpr int kOrderedPoints = sizeof kOrdered / sizeof kOrdered[0];

void makePoint(SeedC& seed, int index, const std::map<std::u16string, bool>& names,
               const AnswerCheckC::ContextS& context, PointS& point) {
    point.values.clear();
    point.parts.clear();
    int k = 0;
    const long count = static_cast<long>(std::min<std::size_t>(names.size(), kOrderedSymbols));
    for (const auto& entry : names) {
        // All negative first, then alternating signs, then each of the
        // patterns of signs that are not all positive with sizes rising and
        // falling by rank (a lone symbol small and large), then the seed's:
        // a branch cut of any symbol, of a sum or difference of two (where
        // which is larger counts), and at a small constant, is crossed early.
        const int fixed = index - 2;
        const bool ordered = fixed >= 0 && fixed < kOrderedPoints;
        const OrderedS order = ordered ? kOrdered[fixed] : OrderedS{SignsE::Negative, false};
        bool negative = index == 0                              ? true
                              : index == 1                            ? k % 2 == 1
                              : !ordered                              ? (seed.next() & 1) != 0
                              : order.signs == SignsE::Negative       ? true
                              : order.signs == SignsE::NegativeFirst ? k % 2 == 0
                                                                      : k % 2 == 1;
        const AssumedFactsC::FactsS known =
            context.facts != nullptr ? context.facts->of(entry.first) : AssumedFactsC::FactsS();
        if (known.sign != AssumedFactsC::SignE::Any) {
            negative = known.sign == AssumedFactsC::SignE::Negative;
        }
        const long rank = std::min<long>(k, count - 1);
        const long whole = !ordered ? 0 : order.rising ? 7 * rank : 7 * (count - rank);  // a lone symbol: small, large
        // The first point far from 0.
        PointS::PartS part{rational(seed, negative, index == 0, whole), RationalS{0, 1}, false};
        if (known.integer) {
            part.re.q = 1;  // p is not 0
        }
        DualC value;
        arb_set_si(acb_realref(value.v), part.re.p);
        arb_div_si(acb_realref(value.v), acb_realref(value.v), part.re.q, kMorePrecision);
        part.complex = context.symbols == AnswerCheckC::SymbolsE::Complex && !known.real;
        if (part.complex) {
            part.im = rational(seed, (seed.next() & 1) != 0);
            arb_set_si(acb_imagref(value.v), part.im.p);
            arb_div_si(acb_imagref(value.v), acb_imagref(value.v), part.im.q, kMorePrecision);
        }
        point.values.emplace(entry.first, std::move(value));
        point.parts.push_back(part);
        ++k;
    }
}

enum class PointE : unsigned char { Passed, Failed, Unusable, Unknown };

// The comparison of two balls: equal (tiny around zero), different (zero
// excluded, or beyond the float tolerance) or undecided.
// `tolerance` 0 asks for the exact test; otherwise the relative difference
// allowed (floats). Magnitudes are bounded from above (no square roots).
PointE compare(const acb_t left, const acb_t right, double tolerance, slong prec, slong tiny_bits = kTinyBits) {
    AcbS difference;
    acb_sub(difference.x, left, right, prec);
    if (tolerance == 0.0 && !acb_contains_zero(difference.x)) {
        return PointE::Failed;  // proven different
    }
    mag_t scale;
    mag_t other;
    mag_t size;
    mag_init(scale);
    mag_init(other);
    mag_init(size);
    acb_get_mag(scale, left);
    acb_get_mag(other, right);
    mag_max(scale, scale, other);
    mag_one(other);
    mag_add(scale, scale, other);  // 1 + the larger size
    PointE outcome = PointE::Unusable;
    if (tolerance == 0.0) {
        acb_get_mag(size, difference.x);
        mag_mul_2exp_si(scale, scale, -tiny_bits);
        outcome = mag_cmp(size, scale) <= 0 ? PointE::Passed : PointE::Unusable;
    } else {
        mag_set_d(other, tolerance);
        mag_mul(scale, scale, other);
        acb_get_mag(size, difference.x);
        if (mag_cmp(size, scale) <= 0) {
            outcome = PointE::Passed;
        } else {
            // Failed only when surely beyond: the smallest |difference| against the largest allowance.
            arb_t low;
            arb_init(low);
            acb_abs(low, difference.x, prec);
            arf_t least;
            arf_init(least);
            arb_get_lbound_arf(least, low, prec);  // below zero when the ball reaches it
            mag_t bound;
            mag_init(bound);
            if (arf_sgn(least) > 0) {
                arf_get_mag_lower(bound, least);
            }
            outcome = mag_cmp(bound, scale) > 0 ? PointE::Failed : PointE::Unusable;
            mag_clear(bound);
            arf_clear(least);
            arb_clear(low);
        }
    }
    mag_clear(scale);
    mag_clear(other);
    mag_clear(size);
    return outcome;
}

// What a check compares at a point: a left and a right tree (their values,
// or the right one's derivative), or Arb's integral against the answer.
struct PlanS {
    enum class KindE : unsigned char { Equal, Derivative, Integral, Root } kind = KindE::Equal;
    NodeABC* left = nullptr;   // the input side
    NodeABC* right = nullptr;  // the answer side
    std::u16string variable;
    NodeABC* from = nullptr;  // Integral: the ends
    NodeABC* to = nullptr;
    std::u16string what;  // "simplified form", ...
    bool numeric = false;  // the answer is a numeric one (nintegrate): its floats are right to the last digit
    int points = kUsablePoints;  // points that must pass
};

struct IntegrandS {
    const std::map<std::u16string, bool>* functions;
    const AnswerCheckC::ContextS* context;
    PointT* point;
    NodeABC* f;
    const std::u16string* variable;
};

// Arb's integrand: f at z, holomorphic where order is 1.
int integrand(acb_ptr out, const acb_t z, void* param, slong order, slong prec) {
    auto* s = static_cast<IntegrandS*>(param);
    try {
        acb_set((*s->point)[*s->variable].v, z);
        const std::u16string none;
        EvaluatorC evaluator(*s->context, *s->point, none, prec, order != 0);
        evaluator.free_functions = s->functions;
        DualC value;
        if (evaluator.run(*s->f, value) != HoleE::None) {
            acb_indeterminate(out);
        } else {
            acb_set(out, value.v);
        }
    } catch (...) {
        acb_indeterminate(out);
    }
    return 0;
}

// The values of both sides at one point, at one precision.
PointE atPoint(const AnswerCheckC::ContextS& context, const PlanS& plan, PointT& point, slong prec,
               std::u16string& unknown, bool& floats, const std::map<std::u16string, bool>& functions) {
    floats = false;
    int digits = 0;
    const auto value = [&](NodeABC* tree, const std::u16string& variable, DualC& out) {
        EvaluatorC evaluator(context, point, variable, prec, false, plan.numeric && tree == plan.right);
        evaluator.free_functions = &functions;
        const HoleE hole = evaluator.run(*tree, out);
        if (evaluator.sawFloat()) {
            digits = floats ? std::min(digits, evaluator.floatDigits()) : evaluator.floatDigits();
            floats = true;
        }
        if (hole == HoleE::Unknown && unknown.empty()) {
            unknown = evaluator.unknownName();
        }
        return hole;
    };
    // Floats are right to their last digit but one (numeric answers, to
    // their last digit), and engines' float arithmetic to 10^-8 at least.
    const auto allowed = [&]() {
        if (!floats) {
            return 0.0;
        }
        if (!plan.numeric) {
            return kFloatTolerance;
        }
        // A numeric answer's digits are computed: the session's, or 15 where
        // it says it gave fewer (a short text is exact to 15 at least).
        const int sure = std::max(digits, kNumericDigits);
        const int shown = context.digits != 0 ? std::min(static_cast<int>(context.digits), sure) : sure;
        return std::pow(10.0, 1 - shown);
    };
    DualC left;
    DualC right;
    const std::u16string none;
    HoleE hole = value(plan.right, plan.kind == PlanS::KindE::Derivative ? plan.variable : none, right);
    if (hole != HoleE::None) {
        return hole == HoleE::Unknown ? PointE::Unknown : PointE::Unusable;
    }
    if (plan.kind == PlanS::KindE::Integral) {
        DualC a;
        DualC b;
        if (value(plan.from, none, a) != HoleE::None || value(plan.to, none, b) != HoleE::None) {
            return unknown.empty() ? PointE::Unusable : PointE::Unknown;
        }
        PointT inner = point;
        inner[plan.variable];
        IntegrandS s{&functions, &context, &inner, plan.left, &plan.variable};
        acb_calc_integrate_opt_t options;
        acb_calc_integrate_opt_init(options);
        options->eval_limit = 600;
        options->verbose = 0;
        mag_t tolerance;
        mag_init(tolerance);
        const slong goal = prec / 2 + 16;
        mag_t bound;
        mag_init(bound);
        mag_set_ui_2exp_si(bound, 1, -goal);
        acb_calc_integrate(left.v, integrand, &s, a.v, b.v, goal, bound, options, prec);
        mag_clear(bound);
        // A ball of the integral that is too wide is Unusable; one that
        // excludes the answer, Failed.
        return compare(left.v, right.v, allowed(), prec, goal - 8);
    }
    hole = value(plan.left, none, left);
    if (hole != HoleE::None) {
        return hole == HoleE::Unknown ? PointE::Unknown : PointE::Unusable;
    }
    if (plan.kind == PlanS::KindE::Root) {
        acb_zero(right.v);
    }
    return compare(left.v, plan.kind == PlanS::KindE::Derivative ? right.d : right.v, allowed(), prec);
}

// The verdict of a plan over the seeded points.
VerdictE byPoints(const AnswerCheckC::ContextS& context, const PlanS& plan, std::u16string& why) {
    // The plan's trees live while it runs, and no longer: a tree made for
    // the next plan may take the address of one gone.
    struct Forget {
        Forget() { PartsC::forget(); }
        ~Forget() { PartsC::forget(); }
    } forget;
    SymbolsC symbols(context);
    for (NodeABC* tree : {plan.left, plan.from, plan.to, plan.right}) {
        symbols.collect_functions = tree != plan.right || plan.kind == PlanS::KindE::Root;
        if (tree != nullptr) {
            tree->traverse(symbols);
        }
    }
    if (plan.kind == PlanS::KindE::Integral) {
        symbols.names.erase(plan.variable);
    } else if (!plan.variable.empty()) {
        symbols.names[plan.variable] = true;
    }
    SeedC seed(context.seed);
    PointS point;
    int passed = 0;
    int wide = 0;
    std::u16string unknown;
    // The sign patterns and sizes beyond the first two points look for
    // branch cuts: where neither side has one, two points do.
    const int needed = symbols.branched ? plan.points : std::min(plan.points, kUsablePoints);
    for (int index = 0; index < kTriedPoints && passed < needed; ++index) {
        makePoint(seed, index, symbols.names, context, point);
        bool floats = false;
        PointE outcome = atPoint(context, plan, point.values, kPrecision, unknown, floats, symbols.functions);
        if (outcome == PointE::Unusable && (!floats || plan.numeric)) {  // a ball widened by floats stays wide
            outcome = atPoint(context, plan, point.values, kMorePrecision, unknown, floats, symbols.functions);
        }
        if (outcome == PointE::Unknown) {
            why = u"unchecked: the check has no value for " + unknown;
            return VerdictE::Unchecked;
        }
        if (outcome == PointE::Failed) {
            why = std::u16string(context.engine) + plan.what + (point.parts.empty() ? u"" : u" at " + point.where()) +
                  u"; refused";
            return VerdictE::Failed;
        }
        passed += outcome == PointE::Passed ? 1 : 0;
        wide += outcome == PointE::Unusable ? 1 : 0;
        if (wide == kWidePoints) {
            break;  // cancellation or floats keep every point wide: no use going on
        }
        if (symbols.names.empty() && outcome == PointE::Passed) {
            break;  // one point is all there is
        }
    }
    if (passed == 0) {
        why = plan.kind == PlanS::KindE::Integral
                  ? u"unchecked: Arb's integral comes no closer than the answer's digits within its evaluations"
                  : u"unchecked: no point where both the input and the answer have a value";
        return VerdictE::Unchecked;
    }
    return VerdictE::Passed;
}

// Child i of a core call, or null.
NodeABC* child(NodeABC& node, unsigned int i) {
    auto* parent = static_cast<ParentNodeABC*>(node.lookUpBase(ParentNodeABC::getCastableId()));
    return parent != nullptr ? parent->child(i) : nullptr;
}

unsigned int children(NodeABC& node) {
    auto* parent = static_cast<ParentNodeABC*>(node.lookUpBase(ParentNodeABC::getCastableId()));
    return parent != nullptr ? parent->numChildren() : 0;
}

WordE wordOf(const AnswerCheckC::ContextS& context, NodeABC& node) {
    auto* core = static_cast<CoreFunctionNodeC*>(node.lookUpBase(CoreFunctionNodeC::getCastableId()));
    if (core == nullptr) {
        return WordE::None;
    }
    const int code = core->getCode();
    return code >= 0 && static_cast<std::size_t>(code) < context.count && context.words[code] < WordE::Count
               ? context.words[code]
               : WordE::None;
}

std::u16string symbolName(NodeABC* node) {
    auto* symbol =
        node != nullptr ? static_cast<ExtendedSymbolNodeC*>(node->lookUpBase(ExtendedSymbolNodeC::getCastableId())) : nullptr;
    return symbol != nullptr ? symbol->getSymbol()->getName() : std::u16string();
}

// After expand no product has a sum as a factor and no sum is raised to a
// power of 2 or more, outside the arguments of functions (explicit stack).
bool expandedForm(const AnswerCheckC::ContextS& context, NodeABC& answer) {
    std::vector<NodeABC*> stack{&answer};
    while (!stack.empty()) {
        NodeABC* node = stack.back();
        stack.pop_back();
        const WordE word = wordOf(context, *node);
        const unsigned int n = children(*node);
        if (word == WordE::Times) {
            for (unsigned int i = 0; i < n; ++i) {
                if (child(*node, i) != nullptr && wordOf(context, *child(*node, i)) == WordE::Plus) {
                    return false;
                }
            }
        }
        if (word == WordE::Power && n == 2 && wordOf(context, *child(*node, 0)) == WordE::Plus) {
            const std::u16string exponent = child(*node, 1)->toString();
            if (!exponent.empty() && exponent[0] != u'-' && exponent != u"1" &&
                exponent.find_first_not_of(u"0123456789") == std::u16string::npos) {
                return false;
            }
        }
        if (word == WordE::Plus || word == WordE::Times || word == WordE::Minus || word == WordE::Neg ||
            word == WordE::Divide || word == WordE::List) {
            // A denominator is left as it is: expand multiplies out numerators.
            for (unsigned int i = 0; i < (word == WordE::Divide ? 1u : n); ++i) {
                if (child(*node, i) != nullptr) {
                    stack.push_back(child(*node, i));
                }
            }
        }
    }
    return true;
}

// Whether a tree holds infinity (explicit stack).
bool hasInfinity(const AnswerCheckC::ContextS& context, NodeABC& tree) {
    std::vector<NodeABC*> stack{&tree};
    while (!stack.empty()) {
        NodeABC* node = stack.back();
        stack.pop_back();
        auto* symbol = static_cast<CoreSymbolNodeC*>(node->lookUpBase(CoreSymbolNodeC::getCastableId()));
        if (symbol != nullptr && symbol->getCode() >= 0 && static_cast<std::size_t>(symbol->getCode()) < context.count &&
            context.words[symbol->getCode()] == WordE::Infinity) {
            return true;
        }
        for (unsigned int i = 0; i < children(*node); ++i) {
            if (child(*node, i) != nullptr) {
                stack.push_back(child(*node, i));
            }
        }
    }
    return false;
}

// The equation's left side minus its right (as a tree of our own), or the
// expression itself.
NodeABC* zeroSide(const AnswerCheckC::ContextS& context, NodeABC& equation, std::unique_ptr<NodeABC>& owner) {
    if (wordOf(context, equation) != WordE::Equal || children(equation) != 2) {
        return &equation;
    }
    int minus = -1;
    for (std::size_t code = 0; code < context.count; ++code) {
        if (context.words[code] == WordE::Minus) {
            minus = static_cast<int>(code);
            break;
        }
    }
    if (minus < 0) {
        return nullptr;
    }
    auto* difference = new CoreFunctionNodeC(minus);
    owner.reset(difference);
    for (unsigned int i = 0; i < 2; ++i) {
        const unsigned int before = difference->numChildren();
        difference->addChild(child(equation, i)->clone());
        if (difference->numChildren() == before) {
            throw std::bad_alloc();
        }
    }
    return difference;
}

// simplify, expand or factor: the answer equals the input at the points.
VerdictE checkForm(WordE word, NodeABC& input, NodeABC& answer, const AnswerCheckC::ContextS& context,
                   std::u16string& why) {
    const unsigned int n = children(input);
    PlanS plan;
    plan.right = &answer;
    if (n != (word == WordE::Apart ? 2u : 1u)) {
        return VerdictE::NotChecked;
    }
    plan.left = child(input, 0);
    // expand and factor multiply out and split polynomials, the same
    // on every branch: one point, where simplify needs one of each sign
    // pattern.
    plan.points = word == WordE::Simplify ? kSimplifyPoints : 1;
    plan.what = word == WordE::Simplify ? u"'s simplified form differs from the input"
                : word == WordE::Expand ? u"'s expansion differs from the input"
                : word == WordE::Apart  ? u"'s partial fractions differ from the input"
                                        : u"'s factored form differs from the input";
    if (word == WordE::Expand && !expandedForm(context, answer)) {
        why = std::u16string(context.engine) + u"'s expansion still holds a product or a power of a sum; refused";
        return VerdictE::Failed;
    }
    if (compareTrees(plan.left, &answer) == 0) {
        return VerdictE::Passed;  // the input itself: equal everywhere
    }
    return byPoints(context, plan, why);
}

// integrate or nintegrate: the antiderivative differentiates back to the
// integrand, the definite integral agrees with Arb's.
VerdictE checkIntegral(WordE word, NodeABC& input, NodeABC& answer, const AnswerCheckC::ContextS& context,
                       std::u16string& why) {
    const unsigned int n = children(input);
    PlanS plan;
    plan.right = &answer;
    plan.left = child(input, 0);
    plan.variable = symbolName(child(input, 1));
    if (plan.variable.empty()) {
        return VerdictE::NotChecked;
    }
    if (n == 2) {
        plan.kind = PlanS::KindE::Derivative;
        plan.what = u"'s antiderivative does not differentiate back to the integrand";
        return byPoints(context, plan, why);
    }
    if (n != 4) {
        return VerdictE::NotChecked;
    }
    if (wordOf(context, answer) == WordE::List) {
        // Giac gives its closed form beside a float where the two disagree.
        why = std::u16string(context.engine) + u"'s definite integral is two values, not one; refused";
        return VerdictE::Failed;
    }
    plan.kind = PlanS::KindE::Integral;
    plan.numeric = word == WordE::Nintegrate;
    if (hasInfinity(context, *child(input, 2)) || hasInfinity(context, *child(input, 3))) {
        why = u"unchecked: the check integrates over finite intervals only";
        return VerdictE::Unchecked;
    }
    plan.from = child(input, 2);
    plan.to = child(input, 3);
    plan.what = u"'s integral differs from Arb's numeric integral";
    return byPoints(context, plan, why);
}

// Walks the tree below `root` without recursion and calls
// slot(parent, i, child) for each child that is there: slot answers the node
// to walk on from there (the child, or what replaced it), or null for none.
template <class SlotF>
void walkChildren(NodeABC& root, SlotF slot) {
    std::vector<NodeABC*> stack{&root};
    while (!stack.empty()) {
        NodeABC* node = stack.back();
        stack.pop_back();
        auto* parent = static_cast<ParentNodeABC*>(node->lookUpBase(ParentNodeABC::getCastableId()));
        for (unsigned int i = 0; parent != nullptr && i < parent->numChildren(); ++i) {
            NodeABC* c = parent->child(i);
            NodeABC* next = c == nullptr ? nullptr : slot(*parent, i, *c);
            if (next != nullptr) {
                stack.push_back(next);
            }
        }
    }
}

// f with each leaf that is the variable replaced by a copy of value.
std::unique_ptr<NodeABC> substitute(NodeABC& f, const std::u16string& variable, NodeABC& value) {
    std::unique_ptr<NodeABC> substituted(f.clone());
    if (!substituted) {
        throw std::bad_alloc();
    }
    // The variable becomes the root: a walk that swaps the symbol's leaves.
    std::vector<std::pair<ParentNodeABC*, unsigned int>> places;
    walkChildren(*substituted, [&](ParentNodeABC& parent, unsigned int i, NodeABC& c) -> NodeABC* {
        if (symbolName(&c) == variable) {
            places.emplace_back(&parent, i);
            return nullptr;
        }
        return &c;
    });
    if (symbolName(substituted.get()) == variable) {
        substituted.reset(value.clone());
    }
    for (const auto& place : places) {
        NodeABC* copy = value.clone();
        if (copy == nullptr) {
            throw std::bad_alloc();
        }
        place.first->replaceChild(place.second, copy);
    }
    return substituted;
}

// solve: each root in place of the variable makes the equation zero.
// Whether the tree has a leaf that is one of the symbols (explicit stack).
bool namesAny(NodeABC& tree, const std::vector<std::u16string>& names) {
    std::vector<NodeABC*> stack{&tree};
    while (!stack.empty()) {
        NodeABC* node = stack.back();
        stack.pop_back();
        const std::u16string name = symbolName(node);
        if (!name.empty() && std::find(names.begin(), names.end(), name) != names.end()) {
            return true;
        }
        for (unsigned int i = 0; i < children(*node); ++i) {
            if (child(*node, i) != nullptr) {
                stack.push_back(child(*node, i));
            }
        }
    }
    return false;
}

// Whether `f`, a side with a root put in, is zero at the points (Passed or
// Unchecked, the latter kept in `verdict`); false when it is not (Failed,
// `why` saying so with `what`).
bool isZero(const AnswerCheckC::ContextS& context, NodeABC& f, std::u16string what, VerdictE& verdict,
            std::u16string& why) {
    PlanS plan;
    plan.kind = PlanS::KindE::Root;
    plan.left = &f;
    plan.right = &f;
    plan.what = std::move(what);
    const VerdictE v = byPoints(context, plan, why);
    if (v == VerdictE::Unchecked) {
        verdict = v;
    }
    return v != VerdictE::Failed;
}

// solve(list(equations), list(variables)): each solution's values in place
// of the variables make every equation zero. Values that name a variable
// are not checked (one variable at a time would misread them).
VerdictE checkSystem(NodeABC& equations, NodeABC& variables, NodeABC& answer, const AnswerCheckC::ContextS& context,
                     std::u16string& why) {
    if (wordOf(context, equations) != WordE::List || wordOf(context, answer) != WordE::List) {
        return VerdictE::NotChecked;
    }
    std::vector<std::u16string> names;
    for (unsigned int k = 0; k < children(variables); ++k) {
        names.push_back(symbolName(child(variables, k)));
        if (names.back().empty()) {
            return VerdictE::NotChecked;
        }
    }
    VerdictE verdict = VerdictE::Passed;
    for (unsigned int s = 0; s < children(answer); ++s) {
        NodeABC* solution = child(answer, s);
        if (solution == nullptr || wordOf(context, *solution) != WordE::List || children(*solution) != names.size()) {
            return VerdictE::NotChecked;
        }
        for (unsigned int k = 0; k < names.size(); ++k) {
            if (child(*solution, k) == nullptr || namesAny(*child(*solution, k), names)) {
                return VerdictE::NotChecked;
            }
        }
        for (unsigned int e = 0; e < children(equations); ++e) {
            std::unique_ptr<NodeABC> owner;
            NodeABC* f = child(equations, e) == nullptr ? nullptr : zeroSide(context, *child(equations, e), owner);
            if (f == nullptr) {
                return VerdictE::NotChecked;
            }
            std::unique_ptr<NodeABC> substituted;
            NodeABC* at = f;
            for (unsigned int k = 0; k < names.size(); ++k) {
                std::unique_ptr<NodeABC> next = substitute(*at, names[k], *child(*solution, k));
                substituted = std::move(next);
                at = substituted.get();
            }
            if (!isZero(
                    context, *at,
                    u"'s solution " + solution->toPrefixString().substr(0, 60) + u" does not make every equation zero",
                    verdict, why)) {
                return VerdictE::Failed;
            }
        }
    }
    return verdict;
}

VerdictE checkSolve(NodeABC& input, NodeABC& answer, const AnswerCheckC::ContextS& context, std::u16string& why) {
    if (children(input) != 2) {
        return VerdictE::NotChecked;
    }
    if (wordOf(context, *child(input, 1)) == WordE::List) {
        return checkSystem(*child(input, 0), *child(input, 1), answer, context, why);
    }
    std::unique_ptr<NodeABC> owner;
    NodeABC* f = zeroSide(context, *child(input, 0), owner);
    const std::u16string variable = symbolName(child(input, 1));
    if (f == nullptr || variable.empty()) {
        return VerdictE::NotChecked;
    }
    // Each root in place of the variable: f(root) is zero.
    std::vector<NodeABC*> roots;
    if (wordOf(context, answer) == WordE::List) {
        for (unsigned int i = 0; i < children(answer); ++i) {
            roots.push_back(child(answer, i));
        }
    } else {
        roots.push_back(&answer);
    }
    VerdictE verdict = VerdictE::Passed;
    for (NodeABC* root : roots) {
        if (root == nullptr) {
            continue;
        }
        NodeABC* value = root;
        if (wordOf(context, *root) == WordE::Equal && children(*root) == 2) {
            value = child(*root, 1);
        }
        std::unique_ptr<NodeABC> substituted = substitute(*f, variable, *value);
        if (!isZero(context, *substituted,
                    u"'s root " + variable + u" = " + value->toPrefixString().substr(0, 60) +
                        u" does not make the equation zero",
                    verdict, why)) {
            return VerdictE::Failed;
        }
    }
    return verdict;
}

VerdictE check(NodeABC& input, NodeABC& answer, const AnswerCheckC::ContextS& context, std::u16string& why) {
    const WordE word = wordOf(context, input);
    const unsigned int n = children(input);
    for (unsigned int i = 0; i < n; ++i) {
        if (child(input, i) == nullptr) {
            return VerdictE::NotChecked;
        }
    }
    switch (word) {
        case WordE::Simplify:
        case WordE::Expand:
        case WordE::Factor:
        case WordE::Apart:
            return checkForm(word, input, answer, context, why);
        case WordE::Integrate:
        case WordE::Nintegrate:
            return checkIntegral(word, input, answer, context, why);
        case WordE::Solve:
            return checkSolve(input, answer, context, why);
        default:
            return VerdictE::NotChecked;
    }
}

int codeOf(const AnswerCheckC::ContextS& context, WordE word) {
    for (std::size_t code = 0; code < context.count; ++code) {
        if (context.words[code] == word) {
            return static_cast<int>(code);
        }
    }
    return -1;
}

// +1 or -1 for an exponent of 1/2 or -1/2 as the readers and engines write
// it (divide(1,2), divide(-1,2), neg(divide(1,2))), else 0.
int halfPower(const AnswerCheckC::ContextS& context, NodeABC& exponent) {
    int sign = 1;
    NodeABC* e = &exponent;
    if (wordOf(context, *e) == WordE::Neg && children(*e) == 1 && child(*e, 0) != nullptr) {
        sign = -1;
        e = child(*e, 0);
    }
    if (wordOf(context, *e) != WordE::Divide || children(*e) != 2 || child(*e, 0) == nullptr || child(*e, 1) == nullptr ||
        child(*e, 1)->toPrefixString() != u"2") {
        return 0;
    }
    const std::u16string top = child(*e, 0)->toPrefixString();
    return top == u"1" ? sign : top == u"-1" ? -sign : 0;
}

}  // namespace

NodeABC* AnswerCheckC::rewritten(NodeABC& input, const ContextS& context) noexcept {
    try {
        const int sqrt = codeOf(context, WordE::Sqrt);
        const int divide = codeOf(context, WordE::Divide);
        if (sqrt < 0 || divide < 0) {
            return nullptr;
        }
        std::unique_ptr<NodeABC> copy(input.clone());
        if (!copy) {
            return nullptr;
        }
        bool changed = false;
        // A failure to build a replacement leaves as bad_alloc, answered null below.
        walkChildren(*copy, [&](ParentNodeABC& parent, unsigned int i, NodeABC& c) -> NodeABC* {
            const int half = wordOf(context, c) == WordE::Power && children(c) == 2 && child(c, 0) != nullptr &&
                                     child(c, 1) != nullptr
                                 ? halfPower(context, *child(c, 1))
                                 : 0;
            if (half == 0) {
                return &c;
            }
            // power(u, 1/2) as sqrt(u), power(u, -1/2) as divide(1, sqrt(u))
            auto root = std::make_unique<CoreFunctionNodeC>(sqrt);
            root->addChild(child(c, 0)->clone());
            if (root->numChildren() != 1) {
                throw std::bad_alloc();
            }
            std::unique_ptr<NodeABC> replacement(root.release());
            if (half < 0) {
                const auto read = AlgebraicExpressionC::fromPrefixString(u"1");
                std::unique_ptr<NodeABC> one(read && read->getNode() != nullptr ? read->getNode()->clone() : nullptr);
                if (!one) {
                    throw std::bad_alloc();
                }
                auto quotient = std::make_unique<CoreFunctionNodeC>(divide);
                quotient->addChild(one.release());
                quotient->addChild(replacement.release());
                if (quotient->numChildren() != 2) {
                    throw std::bad_alloc();
                }
                replacement.reset(quotient.release());
            }
            NodeABC* base = half < 0 ? child(*child(*replacement, 1), 0) : child(*replacement, 0);
            parent.replaceChild(i, replacement.release());
            changed = true;
            return base;  // rewritten too
        });
        return changed ? copy.release() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

namespace {

// Arb keeps constants (pi, log 2) in caches of each thread: a thread that
// checked frees its own when it ends.
struct ArbCachesS {
    bool used = false;
    ~ArbCachesS() {
        if (used) {
            flint_cleanup();
        }
    }
};

}  // namespace

AnswerCheckC::VerdictE AnswerCheckC::run(NodeABC& input, NodeABC& answer, const ContextS& context,
                                         std::u16string& why) noexcept {
    if (!context.on || context.words == nullptr) {
        return VerdictE::NotChecked;
    }
    static thread_local ArbCachesS caches;
    caches.used = true;
    try {
        return check(input, answer, context, why);
    } catch (...) {
        try {
            why = u"unchecked: out of memory";
        } catch (...) {
        }
        return VerdictE::Unchecked;
    }
}

// The driver's check step lives with the check: only the clients that link
// the check's objects call it.
NodeABC* EngineDriverC::checked(NodeABC& root, NodeABC* tree, const AnswerCheckC::ContextS& check,
                                std::u16string& reason, OutcomeE& kind, NodeABC*& again) noexcept {
    again = nullptr;
    std::u16string why;
    const AnswerCheckC::VerdictE verdict = AnswerCheckC::run(root, *tree, check, why);
    if (kind != OutcomeE::Unchecked) {
        kind = reason.empty() ? OutcomeE::Number : OutcomeE::NotANumber;
    }
    if (verdict == AnswerCheckC::VerdictE::Passed || verdict == AnswerCheckC::VerdictE::NotChecked) {
        return tree;
    }
    if (verdict == AnswerCheckC::VerdictE::Unchecked && !check.refuse_unchecked) {
        static constexpr char16_t kUnchecked[] = u"unchecked: ";
        constexpr std::size_t kLength = sizeof kUnchecked / sizeof kUnchecked[0] - 1;
        if (kind == OutcomeE::Unchecked) {  // the engine's own doubt comes first
            try {
                reason += u"; " + why.substr(kLength);
            } catch (...) {
            }
            return tree;
        }
        kind = OutcomeE::Unchecked;
        reason.swap(why);
        return tree;
    }
    delete tree;
    reason.swap(why);
    if (verdict == AnswerCheckC::VerdictE::Unchecked) {
        kind = OutcomeE::Refused;
        try {
            reason += u"; refused";
        } catch (...) {
        }
        return nullptr;
    }
    kind = OutcomeE::CheckFailed;
    again = AnswerCheckC::rewritten(root, check);
    return nullptr;
}

void EngineDriverC::discard(NodeABC* tree) noexcept { delete tree; }

NodeABC* EngineDriverC::passedAgain(NodeABC& root, NodeABC* tree, const AnswerCheckC::ContextS& check) noexcept {
    std::u16string why;
    if (AnswerCheckC::run(root, *tree, check, why) == AnswerCheckC::VerdictE::Passed) {
        return tree;
    }
    delete tree;
    return nullptr;
}

}  // namespace qorv::math::algexpr::support
