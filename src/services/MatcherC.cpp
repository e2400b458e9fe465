// SPDX-License-Identifier: MIT
#include "algexpr/MatcherC.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/TreeCursorC.h"
#include "algexpr/TreeOrder.h"
#include "services/Conditions.h"
#include "services/NodeCopy.h"
#include "services/PatternData.h"
#include "tree/NodeKind.h"

// The search is a machine with a list of goals still to prove and a stack of
// choice points. Goals are cells in one array, each pointing to the next, so
// a choice point keeps the list it continues with as one index. Everything a
// step adds (goal cells, tree arguments, bindings) goes at the end of its
// array; going back to a choice point cuts the arrays to the sizes they had
// when it was made and undoes the bindings made since (the trail).

namespace qorv::math::algexpr {

namespace {

using DataS = PatternC::DataS;
using KindE = DataS::KindE;
using TestE = DataS::TestE;
using detail::isSlot;

// Whether two trees are equal when the arguments of the core functions of
// `codes` may stand in any order. Each subtree of either gets the number of
// its class: its node's kind and text with its arguments' numbers, sorted
// for those functions. Post-order walks; n log n.
bool equalUnordered(const NodeABC* a, const NodeABC* b, const std::vector<int>& codes) {
    std::map<std::pair<std::u16string, std::vector<std::uint32_t>>, std::uint32_t> classes;
    std::vector<std::uint32_t> numbers;
    for (const NodeABC* tree : {a, b}) {
        for (TreeCursorC cursor(tree, PostOrder); cursor.node() != nullptr; cursor.next()) {
            const NodeABC* node = cursor.node();
            const detail::NodeKind kind = detail::kindOf(node);
            const ParentNodeABC* parent = detail::asParent(node);
            const std::size_t count = parent != nullptr ? detail::argumentCount(*parent) : 0;
            std::vector<std::uint32_t> arguments(numbers.end() - static_cast<std::ptrdiff_t>(count), numbers.end());
            numbers.resize(numbers.size() - count);
            if (kind == detail::NodeKind::CoreFunction &&
                std::find(codes.begin(), codes.end(), static_cast<const CoreFunctionNodeC*>(node)->getCode()) !=
                    codes.end()) {
                std::sort(arguments.begin(), arguments.end());
            }
            std::u16string head(1, static_cast<char16_t>(kind));
            head += node->toString();
            const auto next = static_cast<std::uint32_t>(classes.size());
            numbers.push_back(classes.emplace(std::make_pair(std::move(head), std::move(arguments)), next).first->second);
        }
    }
    return numbers.size() == 2 && numbers[0] == numbers[1];
}

bool passes(const DataS::ConditionS& condition, const NodeABC* node) {
    if (condition.test != TestE::Client) {
        return detail::passesBuiltIn(condition.test, node, condition.free_of);
    }
    return (*condition.client_p)(std::vector<const NodeABC*>{node});
}

}  // namespace

struct MatcherC::StateS {
    static constexpr std::uint32_t kRoot = 0xffffffffu;
    enum class GoalE : std::uint8_t { Node, Ordered, Commutative };
    struct GoalS {
        GoalE kind;
        std::uint32_t p;         // the pattern node
        const NodeABC* t;        // Node: the tree node
        std::uint32_t from = kRoot;  // Node: its entry in `targs`, or kRoot
        std::uint32_t i = 0;     // Ordered, Commutative: the pattern argument to match next
        std::uint32_t j = 0;     // Ordered: the tree argument to match next
        std::int32_t chosen = -1;   // Commutative: the tree arguments taken (cells of `chosen`)
        std::uint32_t args = 0;  // Ordered, Commutative: the tree node's arguments in `targs`
        std::uint32_t arg_count = 0;
        std::int32_t next = -1;
    };
    struct ChoiceS {
        GoalS goal;
        std::uint32_t alternative;
        std::size_t goals, targs, chosen, trail, values;
    };
    struct BindS {
        std::uint32_t first = 0;  // in `values`
        std::uint32_t count = 0;
        bool bound = false;
    };
    enum class OutcomeE { Continue, Done };

    const DataS* data = nullptr;
    bool matched = false;  // the bindings are those of a match
    bool slots = false;
    std::size_t attempts = 0;
    std::int32_t head = -1;
    std::vector<GoalS> goals;
    std::vector<const NodeABC*> targs;
    std::vector<OriginS> torigins;  // beside targs
    std::vector<std::pair<std::uint32_t, std::int32_t>> chosen;
    std::vector<std::uint32_t> trail;
    std::vector<const NodeABC*> values;
    std::vector<OriginS> vorigins;  // beside values
    std::vector<BindS> binds;
    std::vector<ChoiceS> choices;

    MatchResultE run(const DataS& pattern, const NodeABC* tree, std::size_t limit, const MatcherC& matcher,
                     const AcceptF* accept);
    bool resume(std::size_t limit, MatchResultE& failed);
    bool accepts(const MatcherC& matcher, const AcceptF& accept);
    bool step(const GoalS& goal, std::uint32_t alternative);
    bool node(const GoalS& goal, std::uint32_t alternative);
    bool optional(const GoalS& goal, const DataS::NodeS& pattern, std::uint32_t alternative);
    bool bindDefault(const DataS::NodeS& wildcard, const NodeABC* value);
    bool same(std::uint32_t wildcard, const NodeABC* bound, const NodeABC* tree) const;
    bool function(const DataS::NodeS& pattern, const NodeABC* tree);
    bool ordered(const GoalS& goal, std::uint32_t alternative);
    bool sequence(const GoalS& goal, const DataS::NodeS& wilds, std::uint32_t alternative);
    bool commutative(const GoalS& goal, std::uint32_t alternative);
    bool leftOver(const GoalS& goal, const DataS::NodeS& wilds);

    void push(GoalS goal) {
        goal.next = head;
        goals.push_back(goal);
        head = static_cast<std::int32_t>(goals.size() - 1);
    }
    void choice(const GoalS& goal, std::uint32_t alternative) {
        choices.push_back(ChoiceS{goal, alternative, goals.size(), targs.size(), chosen.size(), trail.size(),
                                  values.size()});
    }
    void restore(const ChoiceS& point) {
        while (trail.size() > point.trail) {
            binds[trail.back()].bound = false;
            trail.pop_back();
        }
        goals.resize(point.goals);
        targs.resize(point.targs);
        torigins.resize(point.targs);
        chosen.resize(point.chosen);
        values.resize(point.values);
        vorigins.resize(point.values);
        head = point.goal.next;
    }
    bool conditions(const DataS::NodeS& wildcard, const NodeABC* tree) const {
        if (slots && isSlot(tree)) {
            return true;
        }
        for (std::uint32_t c = 0; c < wildcard.condition_count; ++c) {
            if (!passes(data->conditions[wildcard.first_condition + c], tree)) {
                return false;
            }
        }
        return true;
    }
    bool equal(const NodeABC* bound, const NodeABC* tree) const {
        return (slots && isSlot(tree)) || equalTrees(bound, tree);
    }
    void value(std::uint32_t from, const NodeABC* tree) {
        values.push_back(tree);
        vorigins.push_back(from == kRoot ? OriginS{nullptr, 0} : torigins[from]);
    }
    void bind(std::uint32_t wildcard, std::uint32_t first, std::uint32_t count) {
        binds[wildcard] = BindS{first, count, true};
        trail.push_back(wildcard);
    }
    bool taken(std::int32_t cell, std::uint32_t index) const {
        for (; cell >= 0; cell = chosen[cell].second) {
            if (chosen[cell].first == index) {
                return true;
            }
        }
        return false;
    }
};

MatchResultE MatcherC::StateS::run(const DataS& pattern, const NodeABC* tree, std::size_t limit,
                                   const MatcherC& matcher, const AcceptF* accept) {
    data = &pattern;
    attempts = 0;
    head = -1;
    goals.clear();
    targs.clear();
    torigins.clear();
    vorigins.clear();
    chosen.clear();
    trail.clear();
    values.clear();
    choices.clear();
    binds.assign(pattern.wildcards.size(), BindS());
    push(GoalS{GoalE::Node, 0, tree});
    MatchResultE failed = MatchResultE::NoMatch;
    for (;;) {
        while (head >= 0) {
            const GoalS goal = goals[head];
            head = goal.next;
            if (!step(goal, 0) && !resume(limit, failed)) {
                return failed;
            }
        }
        // Every goal is proved: a match, unless the caller refuses it and
        // the search goes on from the last choice.
        if (accept == nullptr || accepts(matcher, *accept)) {
            return MatchResultE::Matched;
        }
        if (!resume(limit, failed)) {
            return failed;
        }
    }
}

// Goes back to the choice points, newest first, until one gives a way on;
// false, with NoMatch or GaveUp in `failed`, when none does.
bool MatcherC::StateS::resume(std::size_t limit, MatchResultE& failed) {
    while (!choices.empty()) {
        const ChoiceS point = choices.back();
        choices.pop_back();
        if (++attempts > limit) {
            failed = MatchResultE::GaveUp;
            return false;
        }
        restore(point);
        if (step(point.goal, point.alternative)) {
            return true;
        }
    }
    failed = MatchResultE::NoMatch;
    return false;
}

// The caller's verdict on the bindings found, which it reads through the
// matcher while the verdict is asked.
bool MatcherC::StateS::accepts(const MatcherC& matcher, const AcceptF& accept) {
    struct ShownS {
        bool& matched;
        explicit ShownS(bool& flag) : matched(flag) { matched = true; }
        ~ShownS() { matched = false; }
    } shown(matched);
    return accept(matcher);
}

bool MatcherC::StateS::step(const GoalS& goal, std::uint32_t alternative) {
    switch (goal.kind) {
        case GoalE::Node:
            return node(goal, alternative);
        case GoalE::Ordered:
            return ordered(goal, alternative);
        case GoalE::Commutative:
            break;
    }
    return commutative(goal, alternative);
}

bool MatcherC::StateS::node(const GoalS& goal, std::uint32_t alternative) {
    const DataS::NodeS& pattern = data->nodes[goal.p];
    const NodeABC* tree = goal.t;
    switch (pattern.kind) {
        case KindE::Literal:
            if (slots && detail::asParent(pattern.node) != nullptr) {
                return function(pattern, tree);
            }
            return equal(pattern.node, tree);
        case KindE::Function:
            if (pattern.collapse != DataS::kNoCollapse) {
                return optional(goal, pattern, alternative);
            }
            return function(pattern, tree);
        case KindE::Wild:
        case KindE::Wilds:  // a sequence standing alone is one subtree
            break;
    }
    const BindS& bound = binds[pattern.wildcard];
    if (bound.bound) {
        return bound.count == 1 && same(pattern.wildcard, values[bound.first], tree);
    }
    if (!conditions(pattern, tree)) {
        return false;
    }
    value(goal.from, tree);
    bind(pattern.wildcard, static_cast<std::uint32_t>(values.size() - 1), 1);
    return true;
}

// A function whose arguments but one have defaults: as written (alternative
// 0), as that one argument with the defaults bound (1), or, for a negating
// times, as neg(T) with the default -1 and the argument matching T (2).
bool MatcherC::StateS::optional(const GoalS& goal, const DataS::NodeS& pattern, std::uint32_t alternative) {
    if (alternative < (pattern.negates ? 2u : 1u)) {
        choice(goal, alternative + 1);
    }
    if (alternative == 0) {
        return function(pattern, goal.t);
    }
    std::uint32_t from = goal.from;
    const NodeABC* target = goal.t;
    if (alternative == 2) {
        const ParentNodeABC* parent = detail::asParent(goal.t);
        if (detail::kindOf(goal.t) != detail::NodeKind::CoreFunction ||
            static_cast<const CoreFunctionNodeC*>(goal.t)->getCode() != data->neg_code ||
            detail::argumentCount(*parent) != 1 || parent->child(0) == nullptr) {
            return false;
        }
        target = parent->child(0);
        targs.push_back(target);
        torigins.push_back(OriginS{parent, 0});
        from = static_cast<std::uint32_t>(targs.size() - 1);
    }
    for (std::uint32_t a = 0; a < pattern.arg_count; ++a) {
        const std::uint32_t argument = data->args[pattern.first_arg + a];
        if (argument == pattern.collapse) {
            continue;
        }
        const DataS::NodeS& wildcard = data->nodes[argument];
        if (!bindDefault(wildcard, alternative == 2 ? data->minus_one.get() : wildcard.default_value)) {
            return false;
        }
    }
    push(GoalS{GoalE::Node, pattern.collapse, target, from});
    return true;
}

bool MatcherC::StateS::bindDefault(const DataS::NodeS& wildcard, const NodeABC* value) {
    const BindS& bound = binds[wildcard.wildcard];
    if (bound.bound) {
        return bound.count == 1 && same(wildcard.wildcard, values[bound.first], value);
    }
    this->value(kRoot, value);
    bind(wildcard.wildcard, static_cast<std::uint32_t>(values.size() - 1), 1);
    return true;
}

bool MatcherC::StateS::same(std::uint32_t wildcard, const NodeABC* bound, const NodeABC* tree) const {
    if (!data->wildcards[wildcard].unordered || (slots && isSlot(tree))) {
        return equal(bound, tree);
    }
    return equalUnordered(bound, tree, data->commutative_codes);
}

bool MatcherC::StateS::function(const DataS::NodeS& pattern, const NodeABC* tree) {
    if (slots && isSlot(tree)) {
        return true;
    }
    const ParentNodeABC* parent = detail::asParent(tree);
    if (parent == nullptr || !equalHeads(pattern.node, tree)) {
        return false;
    }
    const std::size_t first = targs.size();
    const unsigned int children = parent->numChildren();
    for (unsigned int index = 0; index < children; ++index) {
        if (const NodeABC* argument = parent->child(index)) {
            targs.push_back(argument);
            torigins.push_back(OriginS{parent, index});
        }
    }
    const auto count = static_cast<std::uint32_t>(targs.size() - first);
    if (!pattern.has_sequence && count != pattern.arg_count) {
        return false;
    }
    GoalS goal{pattern.commutative ? GoalE::Commutative : GoalE::Ordered,
               static_cast<std::uint32_t>(&pattern - data->nodes.data()), tree};
    goal.args = static_cast<std::uint32_t>(first);
    goal.arg_count = count;
    if (pattern.commutative && pattern.has_sequence && count + 1 < pattern.arg_count) {
        return false;  // fewer arguments than the pattern's fixed ones
    }
    push(goal);
    return true;
}

bool MatcherC::StateS::ordered(const GoalS& goal, std::uint32_t alternative) {
    const DataS::NodeS& pattern = data->nodes[goal.p];
    if (goal.i == pattern.arg_count) {
        return goal.j == goal.arg_count;
    }
    const std::uint32_t argument = data->args[pattern.first_arg + goal.i];
    const DataS::NodeS& sub = data->nodes[argument];
    if (sub.kind == KindE::Wilds) {
        return sequence(goal, sub, alternative);
    }
    if (goal.j >= goal.arg_count) {
        return false;
    }
    GoalS rest = goal;
    ++rest.i;
    ++rest.j;
    push(rest);
    push(GoalS{GoalE::Node, argument, targs[goal.args + goal.j], goal.args + goal.j});
    return true;
}

// A sequence in an ordered function: `alternative` is the length tried.
bool MatcherC::StateS::sequence(const GoalS& goal, const DataS::NodeS& wilds, std::uint32_t alternative) {
    const DataS::NodeS& pattern = data->nodes[goal.p];
    const std::uint32_t available = goal.arg_count - goal.j;
    const BindS bound = binds[wilds.wildcard];
    std::uint32_t length = bound.count;
    if (bound.bound) {
        if (length > available) {
            return false;
        }
        for (std::uint32_t k = 0; k < length; ++k) {
            if (!equal(values[bound.first + k], targs[goal.args + goal.j + k])) {
                return false;
            }
        }
    } else {
        std::uint32_t fixed_after = 0;
        for (std::uint32_t a = goal.i + 1; a < pattern.arg_count; ++a) {
            fixed_after += data->nodes[data->args[pattern.first_arg + a]].kind != KindE::Wilds ? 1 : 0;
        }
        if (available < fixed_after) {
            return false;
        }
        const std::uint32_t longest = available - fixed_after;
        const bool last = goal.i + 1 == pattern.arg_count;
        length = last ? longest : alternative;
        if (!last && length < longest) {
            choice(goal, length + 1);
        }
        const auto first = static_cast<std::uint32_t>(values.size());
        for (std::uint32_t k = 0; k < length; ++k) {
            const NodeABC* element = targs[goal.args + goal.j + k];
            if (!conditions(wilds, element)) {
                return false;
            }
            value(goal.args + goal.j + k, element);
        }
        bind(wilds.wildcard, first, length);
    }
    GoalS rest = goal;
    ++rest.i;
    rest.j += length;
    push(rest);
    return true;
}

// A commutative function: pattern argument i takes a tree argument not taken
// yet; `alternative` is the first tree argument to try.
bool MatcherC::StateS::commutative(const GoalS& goal, std::uint32_t alternative) {
    const DataS::NodeS& pattern = data->nodes[goal.p];
    const std::uint32_t fixed = pattern.arg_count - (pattern.has_sequence ? 1 : 0);
    if (goal.i == fixed) {
        return !pattern.has_sequence || leftOver(goal, data->nodes[data->args[pattern.first_arg + fixed]]);
    }
    std::uint32_t index = alternative;
    while (index < goal.arg_count && taken(goal.chosen, index)) {
        ++index;
    }
    if (index >= goal.arg_count) {
        return false;
    }
    if (index + 1 < goal.arg_count) {
        choice(goal, index + 1);
    }
    chosen.emplace_back(index, goal.chosen);
    GoalS rest = goal;
    ++rest.i;
    rest.chosen = static_cast<std::int32_t>(chosen.size() - 1);
    push(rest);
    push(GoalS{GoalE::Node, data->args[pattern.first_arg + goal.i], targs[goal.args + index], goal.args + index});
    return true;
}

// The arguments no pattern argument took, in their order, for the sequence.
bool MatcherC::StateS::leftOver(const GoalS& goal, const DataS::NodeS& wilds) {
    const BindS bound = binds[wilds.wildcard];
    const auto first = static_cast<std::uint32_t>(values.size());
    for (std::uint32_t index = 0; index < goal.arg_count; ++index) {
        if (taken(goal.chosen, index)) {
            continue;
        }
        const NodeABC* element = targs[goal.args + index];
        const std::uint32_t k = static_cast<std::uint32_t>(values.size()) - first;
        if (bound.bound ? k >= bound.count || !equal(values[bound.first + k], element) : !conditions(wilds, element)) {
            return false;
        }
        value(goal.args + index, element);
    }
    const auto count = static_cast<std::uint32_t>(values.size()) - first;
    if (bound.bound) {
        values.resize(first);
        vorigins.resize(first);
        return count == bound.count;
    }
    bind(wilds.wildcard, first, count);
    return true;
}

MatcherC::MatcherC() noexcept = default;

MatcherC::~MatcherC() = default;

void MatcherC::setAttemptLimit(std::size_t attempts) noexcept { attempt_limit = attempts; }

std::size_t MatcherC::getAttemptLimit() const noexcept { return attempt_limit; }

void MatcherC::setSlotsMatchAnything(bool on) noexcept { slots = on; }

MatchResultE MatcherC::match(const PatternC& pattern, const NodeABC* tree) { return matchWith(pattern, tree, nullptr); }

MatchResultE MatcherC::match(const PatternC& pattern, const NodeABC* tree, const AcceptF& accept) {
    return matchWith(pattern, tree, &accept);
}

MatchResultE MatcherC::matchWith(const PatternC& pattern, const NodeABC* tree, const AcceptF* accept) {
    try {
        if (!state_p) {
            state_p = std::make_unique<StateS>();
        }
        state_p->matched = false;
        if (tree == nullptr || !pattern.data_p) {
            return MatchResultE::NoMatch;
        }
        state_p->slots = slots;
        const MatchResultE result = state_p->run(*pattern.data_p, tree, attempt_limit, *this, accept);
        state_p->matched = result == MatchResultE::Matched;
        return result;
    } catch (const std::bad_alloc&) {
        return MatchResultE::OutOfMemory;
    }
}

std::size_t MatcherC::bindingCount(std::size_t wildcard) const noexcept {
    if (!state_p || !state_p->matched || wildcard >= state_p->binds.size() || !state_p->binds[wildcard].bound) {
        return 0;
    }
    return state_p->binds[wildcard].count;
}

const NodeABC* MatcherC::bindingAt(std::size_t wildcard, std::size_t k) const noexcept {
    return k < bindingCount(wildcard) ? state_p->values[state_p->binds[wildcard].first + k] : nullptr;
}

MatcherC::OriginS MatcherC::bindingOrigin(std::size_t wildcard, std::size_t k) const noexcept {
    return k < bindingCount(wildcard) ? state_p->vorigins[state_p->binds[wildcard].first + k] : OriginS{nullptr, 0};
}

std::vector<const NodeABC*> MatcherC::binding(std::size_t wildcard) const {
    std::vector<const NodeABC*> nodes;
    try {
        for (std::size_t k = 0; k < bindingCount(wildcard); ++k) {
            nodes.push_back(bindingAt(wildcard, k));
        }
    } catch (const std::bad_alloc&) {
        nodes.clear();
    }
    return nodes;
}

MatchResultE MatcherC::matchAll(const PatternC& pattern, const NodeABC* tree, std::vector<PlaceS>& places) {
    places.clear();
    gave_up_somewhere = false;
    std::size_t index = 0;
    try {
        for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next(), ++index) {
            const MatchResultE found = match(pattern, cursor.node());
            if (found == MatchResultE::OutOfMemory) {
                places.clear();
                return found;
            }
            gave_up_somewhere = gave_up_somewhere || found == MatchResultE::GaveUp;
            if (found == MatchResultE::Matched) {
                places.push_back(PlaceS{index, cursor.node()});
            }
        }
    } catch (const std::bad_alloc&) {
        places.clear();
        return MatchResultE::OutOfMemory;
    }
    if (!places.empty()) {
        return MatchResultE::Matched;
    }
    return gave_up_somewhere ? MatchResultE::GaveUp : MatchResultE::NoMatch;
}

bool MatcherC::gaveUpSomewhere() const noexcept { return gave_up_somewhere; }

std::vector<unsigned int> MatcherC::pathTo(const NodeABC* tree, std::size_t index) {
    std::vector<unsigned int> path;
    std::size_t number = 0;
    try {
        for (TreeCursorC cursor(tree, PreOrder); cursor.node() != nullptr; cursor.next(), ++number) {
            const std::size_t depth = cursor.depth();
            if (depth > path.size()) {
                path.push_back(0);  // the first argument of the node before
            } else if (depth > 0) {
                path.resize(depth);
                ++path.back();
            }
            if (number == index) {
                return path;
            }
        }
    } catch (const std::bad_alloc&) {
    }
    path.clear();
    return path;
}

}  // namespace qorv::math::algexpr
