// SPDX-License-Identifier: MIT
#include "algexpr/PatternC.h"

#include <algorithm>
#include <new>
#include <utility>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/ParentNodeABC.h"
#include "services/Conditions.h"
#include "services/PatternData.h"
#include "tree/NodeKind.h"

namespace qorv::math::algexpr {

namespace {

using detail::NodeKind;
using qorv::oss::PointerTC;
using DataS = PatternC::DataS;
using KindE = DataS::KindE;
using TestE = DataS::TestE;
constexpr std::uint32_t kNoSlot = 0xffffffffu;

bool isFunction(NodeKind kind) { return kind == NodeKind::CoreFunction || kind == NodeKind::ExtendedFunction; }

// The name a leaf or function is written with (a core one's as the session
// calls it).
std::u16string nameOf(const NodeABC* node) { return node->toString(); }

std::vector<const NodeABC*> argumentsOf(const NodeABC* node) {
    std::vector<const NodeABC*> arguments;
    if (const ParentNodeABC* parent = detail::asParent(node)) {
        for (const NodeABC* argument : parent->children()) {
            if (argument != nullptr) {
                arguments.push_back(argument);
            }
        }
    }
    return arguments;
}

// Sorts before the others what fails soonest, so that commutative matching
// prunes early: whole subtrees, then functions, then wildcards with
// conditions, then bare ones, and the sequence last.
int rank(const DataS::NodeS& node) {
    switch (node.kind) {
        case KindE::Literal:
            return 0;
        case KindE::Function:
            return 1;
        case KindE::Wild:
            return node.condition_count > 0 ? 2 : 3;
        case KindE::Wilds:
            break;
    }
    return 4;
}

class CompilerC {
public:
    CompilerC(DataS& data, const PatternC::SettingsS& settings, std::u16string& problem)
        : data(data), settings(settings), problem(problem) {}

    bool run(const NodeABC* root);

private:
    bool visit(const NodeABC* node);
    bool wildcard(const NodeABC* node, bool sequence, DataS::NodeS& compiled);
    bool condition(const NodeABC* argument, DataS::NodeS& compiled);
    void finish();
    bool isCommutative(const NodeABC* node) const;

    DataS& data;
    const PatternC::SettingsS& settings;
    std::u16string& problem;
    std::vector<std::pair<const NodeABC*, std::uint32_t>> pending;  // node, its slot in data.args
    std::vector<int> commutative_codes;
    int times_code = -1;
    int neg_code = -1;
    void collapse(DataS::NodeS& node);
    bool makeMinusOne();
};

bool CompilerC::run(const NodeABC* root) {
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    for (const std::u16string& name : settings.commutative) {
        PointerTC<CoreElementC> element = session ? session->lookupCoreElement(name) : PointerTC<CoreElementC>();
        if (element) {
            commutative_codes.push_back(element->getCode());
        }
    }
    data.commutative_codes = commutative_codes;
    PointerTC<CoreElementC> times = session ? session->lookupCoreElement(u"times") : PointerTC<CoreElementC>();
    PointerTC<CoreElementC> neg = session ? session->lookupCoreElement(u"neg") : PointerTC<CoreElementC>();
    times_code = times ? times->getCode() : -1;
    neg_code = neg ? neg->getCode() : -1;
    data.neg_code = neg_code;
    pending.emplace_back(root, kNoSlot);
    while (!pending.empty()) {
        auto [node, slot] = pending.back();
        pending.pop_back();
        if (slot != kNoSlot) {
            data.args[slot] = static_cast<std::uint32_t>(data.nodes.size());
        }
        if (!visit(node)) {
            return false;
        }
    }
    finish();
    return true;
}

bool CompilerC::isCommutative(const NodeABC* node) const {
    if (detail::kindOf(node) != NodeKind::CoreFunction) {
        return false;
    }
    const int code = static_cast<const CoreFunctionNodeC*>(node)->getCode();
    return std::find(commutative_codes.begin(), commutative_codes.end(), code) != commutative_codes.end();
}

bool CompilerC::visit(const NodeABC* node) {
    DataS::NodeS compiled;
    compiled.node = node;
    compiled.kind = KindE::Literal;
    if (isFunction(detail::kindOf(node))) {
        const std::u16string name = nameOf(node);
        if (name == settings.wildcard || name == settings.sequence) {
            if (!wildcard(node, name == settings.sequence, compiled)) {
                return false;
            }
            data.nodes.push_back(compiled);
            return true;
        }
        const std::vector<const NodeABC*> arguments = argumentsOf(node);
        compiled.kind = KindE::Function;
        compiled.commutative = isCommutative(node);
        compiled.first_arg = static_cast<std::uint32_t>(data.args.size());
        compiled.arg_count = static_cast<std::uint32_t>(arguments.size());
        data.args.resize(data.args.size() + arguments.size());
        for (std::size_t i = arguments.size(); i-- > 0;) {
            pending.emplace_back(arguments[i], static_cast<std::uint32_t>(compiled.first_arg + i));
        }
    }
    data.nodes.push_back(compiled);
    return true;
}

bool CompilerC::wildcard(const NodeABC* node, bool sequence, DataS::NodeS& compiled) {
    const std::vector<const NodeABC*> arguments = argumentsOf(node);
    const NodeKind name_kind = arguments.empty() ? NodeKind::Other : detail::kindOf(arguments[0]);
    if (name_kind != NodeKind::ExtendedSymbol && name_kind != NodeKind::CoreSymbol) {
        problem = u"a wildcard needs a name: " + nameOf(node) + u"(NAME, ...)";
        return false;
    }
    const std::u16string name = nameOf(arguments[0]);
    std::size_t number = 0;
    while (number < data.wildcards.size() && data.wildcards[number].name != name) {
        ++number;
    }
    if (number == data.wildcards.size()) {
        data.wildcards.push_back(DataS::WildcardS{name, sequence});
    } else if (data.wildcards[number].sequence != sequence) {
        problem = u"the wildcard " + name + u" is both a single one and a sequence";
        return false;
    }
    compiled.kind = sequence ? KindE::Wilds : KindE::Wild;
    compiled.wildcard = static_cast<std::uint32_t>(number);
    compiled.first_condition = static_cast<std::uint32_t>(data.conditions.size());
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!condition(arguments[i], compiled)) {
            return false;
        }
    }
    compiled.condition_count = static_cast<std::uint32_t>(data.conditions.size() - compiled.first_condition);
    return true;
}

bool CompilerC::condition(const NodeABC* argument, DataS::NodeS& compiled) {
    const NodeKind kind = detail::kindOf(argument);
    const std::u16string name = nameOf(argument);
    if (name.empty()) {
        throw std::bad_alloc();  // no condition is unnamed: the name's copy failed
    }
    if (isFunction(kind) && name == u"default") {
        const std::vector<const NodeABC*> arguments = argumentsOf(argument);
        if (arguments.size() != 1 || compiled.kind == KindE::Wilds) {
            problem = arguments.size() != 1 ? u"default takes one argument: default(V)"
                                            : u"a sequence has no default";
            return false;
        }
        compiled.default_value = arguments[0];
        return true;
    }
    if (!isFunction(kind) && name == u"unordered") {
        data.wildcards[compiled.wildcard].unordered = true;
        return true;
    }
    if (isFunction(kind) && name == u"free") {
        const std::vector<const NodeABC*> arguments = argumentsOf(argument);
        if (arguments.size() == 1) {
            data.conditions.push_back(DataS::ConditionS{TestE::Free, arguments[0], nullptr});
            return true;
        }
        problem = u"free takes one argument: free(X)";
        return false;
    }
    if (kind != NodeKind::ExtendedSymbol && kind != NodeKind::CoreSymbol) {
        problem = u"a condition is a name or free(X), not " + name;
        return false;
    }
    TestE test = TestE::Client;
    if (detail::builtInCondition(name, test) && test != TestE::Free) {
        data.conditions.push_back(DataS::ConditionS{test, nullptr, nullptr});
        return true;
    }
    auto client = settings.conditions.find(name);
    if (client == settings.conditions.end() || !client->second) {
        problem = u"unknown condition '" + name + u"'";
        return false;
    }
    data.client_conditions.push_back(std::make_unique<PatternC::ConditionF>(client->second));
    data.conditions.push_back(DataS::ConditionS{TestE::Client, nullptr, data.client_conditions.back().get()});
    return true;
}

// Functions without a wildcard below become literals; commutative ones sort
// their arguments (children come after their parent in pre-order, so one
// backward pass sees them first).
void CompilerC::finish() {
    for (std::size_t i = data.nodes.size(); i-- > 0;) {
        DataS::NodeS& node = data.nodes[i];
        if (node.kind != KindE::Function) {
            continue;
        }
        bool wild = false;
        for (std::uint32_t a = 0; a < node.arg_count; ++a) {
            const DataS::NodeS& argument = data.nodes[data.args[node.first_arg + a]];
            wild = wild || argument.kind != KindE::Literal;
            node.has_sequence = node.has_sequence || argument.kind == KindE::Wilds;
        }
        if (!wild) {
            node.kind = KindE::Literal;
            continue;
        }
        collapse(node);
        if (node.commutative) {
            auto first = data.args.begin() + node.first_arg;
            std::stable_sort(first, first + node.arg_count, [this](std::uint32_t a, std::uint32_t b) {
                return rank(data.nodes[a]) < rank(data.nodes[b]);
            });
        }
    }
}

// A function whose arguments but one have defaults may stand for that one
// (power(x, wild(n, default(1))) for x); a times of two such, for neg(T)
// too, the default taking -1.
void CompilerC::collapse(DataS::NodeS& node) {
    std::uint32_t kept = DataS::kNoCollapse;
    std::uint32_t optional = 0;
    for (std::uint32_t a = 0; a < node.arg_count; ++a) {
        const DataS::NodeS& argument = data.nodes[data.args[node.first_arg + a]];
        if (argument.kind == KindE::Wild && argument.default_value != nullptr) {
            ++optional;
        } else if (kept != DataS::kNoCollapse || argument.kind == KindE::Wilds) {
            return;
        } else {
            kept = a;
        }
    }
    if (optional == 0 || kept == DataS::kNoCollapse) {
        return;
    }
    node.collapse = data.args[node.first_arg + kept];
    node.negates = optional == 1 && neg_code >= 0 && detail::kindOf(node.node) == NodeKind::CoreFunction &&
                   static_cast<const CoreFunctionNodeC*>(node.node)->getCode() == times_code && makeMinusOne();
}

bool CompilerC::makeMinusOne() {
    if (data.minus_one) {
        return true;
    }
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    PointerTC<IntegerValueFactoryABC> integers = session->getIntegerValueFactory();
    if (!integers) {
        return false;
    }
    IntegerValueABC* value = integers->fromInt64(-1);
    if (value == nullptr) {
        throw std::bad_alloc();
    }
    std::unique_ptr<IntegerValueABC> owned(value);
    data.minus_one.reset(new IntegerNodeC(owned.get()));
    owned.release();
    return true;
}

// The first commutative function with two sequences, or null.
const NodeABC* twoSequences(const DataS& data) {
    for (const DataS::NodeS& node : data.nodes) {
        if (node.kind != KindE::Function || !node.commutative || node.arg_count < 2) {
            continue;
        }
        if (data.nodes[data.args[node.first_arg + node.arg_count - 2]].kind == KindE::Wilds) {
            return node.node;
        }
    }
    return nullptr;
}

}  // namespace

PatternC::PatternC() noexcept = default;
PatternC::PatternC(PatternC&&) noexcept = default;
PatternC& PatternC::operator=(PatternC&&) noexcept = default;
PatternC::~PatternC() = default;

bool PatternC::compile(const NodeABC* pattern, const SettingsS& settings, std::u16string* problem) {
    data_p.reset();
    std::u16string why;
    bool out_of_memory = false;
    try {
        auto data = std::make_unique<DataS>();
        data->tree.reset(pattern != nullptr ? pattern->clone() : nullptr);
        if (data->tree == nullptr) {
            why = pattern != nullptr ? u"out of memory" : u"no pattern";
        } else if (CompilerC(*data, settings, why).run(data->tree.get())) {
            if (const NodeABC* node = twoSequences(*data)) {
                why = u"two sequence wildcards in one commutative function: " + nameOf(node);
            } else {
                data_p = std::move(data);
            }
        }
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
    }
    if (problem != nullptr && !data_p) {
        detail::tellProblem(out_of_memory, why, *problem);
    }
    return static_cast<bool>(data_p);
}

bool PatternC::isCompiled() const noexcept { return static_cast<bool>(data_p); }

const NodeABC* PatternC::tree() const noexcept { return data_p ? data_p->tree.get() : nullptr; }

std::size_t PatternC::wildcardCount() const noexcept { return data_p ? data_p->wildcards.size() : 0; }

const std::u16string& PatternC::wildcardName(std::size_t wildcard) const { return data_p->wildcards.at(wildcard).name; }

bool PatternC::isSequence(std::size_t wildcard) const { return data_p->wildcards.at(wildcard).sequence; }

std::size_t PatternC::findWildcard(const std::u16string& name) const {
    const std::size_t count = wildcardCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (data_p->wildcards[i].name == name) {
            return i;
        }
    }
    return count;
}

PatternC::ConditionF PatternC::fromConstraints(qorv::oss::PointerTC<ConstraintsBC> constraints, bool final_check) {
    return [constraints, final_check](const std::vector<const NodeABC*>& arguments) {
        if (arguments.size() != 1 || arguments[0] == nullptr || !constraints) {
            return false;
        }
        qorv::oss::PointerTC<AlgebraicExpressionC> copy(new AlgebraicExpressionC(arguments[0]->clone()));
        return final_check ? constraints->isAcceptableFinal(*copy) : constraints->isAcceptable(*copy);
    };
}

}  // namespace qorv::math::algexpr
