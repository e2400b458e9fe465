// SPDX-License-Identifier: MIT
#include "algexpr/RewriterC.h"

#include <new>
#include <utility>

#include "algexpr/ParentNodeABC.h"
#include "algexpr/TreeCursorC.h"
#include "services/Conditions.h"
#include "services/NodeCopy.h"
#include "services/RuleC.h"

namespace qorv::math::algexpr {

RewriterC::RewriterC(PatternC::SettingsS settings) : settings(std::move(settings)) {}

RewriterC::~RewriterC() = default;

bool RewriterC::addRule(const NodeABC* pattern, const NodeABC* replacement, const NodeABC* condition,
                        std::u16string* problem) {
    return detail::RuleC::addTo(rules, pattern, replacement, true, condition, settings, problem);
}

std::size_t RewriterC::ruleCount() const noexcept { return rules.size(); }

void RewriterC::setStepBudget(std::size_t steps) noexcept { budget = steps; }

std::size_t RewriterC::getStepBudget() const noexcept { return budget; }

MatcherC& RewriterC::matcher() noexcept { return matcher_c; }

RewriterC::ResultS RewriterC::rewrite(const NodeABC* tree) {
    ResultS result;
    try {
        if (tree == nullptr) {
            result.status = StatusE::Done;
            return result;
        }
        std::unique_ptr<NodeABC> current(tree->clone());
        bool changed = current != nullptr;
        while (changed && result.status != StatusE::BudgetSpent) {
            changed = false;
            result.status = StatusE::Done;
            if (!pass(current, result, changed)) {
                result.status = StatusE::OutOfMemory;
                return result;
            }
        }
        result.tree = std::move(current);
        if (!result.tree) {
            result.status = StatusE::OutOfMemory;
        }
    } catch (const std::bad_alloc&) {
        result.tree.reset();
        result.status = StatusE::OutOfMemory;
    }
    return result;
}

// The first rule that applies to `node` (which it takes), or the node itself.
NodeABC* RewriterC::applyFirst(NodeABC* node, ResultS& result, bool& changed) {
    std::unique_ptr<NodeABC> owned(node);
    for (const std::unique_ptr<detail::RuleC>& rule : rules) {
        const MatchResultE found = rule->matchAt(matcher_c, node, settings);
        if (found == MatchResultE::OutOfMemory) {
            throw std::bad_alloc();
        }
        result.gave_up = result.gave_up || found == MatchResultE::GaveUp;
        if (found != MatchResultE::Matched) {
            continue;
        }
        if (result.steps == budget) {
            result.status = StatusE::BudgetSpent;
            break;
        }
        NodeABC* replacement = rule->instantiate(matcher_c, owned);
        if (replacement == nullptr) {
            throw std::bad_alloc();
        }
        ++result.steps;
        changed = true;
        return replacement;
    }
    return owned.release();
}

// One bottom-up pass: the tree rebuilt in post-order, each node offered to
// the rules once its arguments are done. False when memory runs out.
bool RewriterC::pass(std::unique_ptr<NodeABC>& tree, ResultS& result, bool& changed) {
    detail::BuiltNodesC built;
    for (TreeCursorC cursor(tree.get(), PostOrder); cursor.node() != nullptr; cursor.next()) {
        built.reserve(1);
        const ParentNodeABC* parent = detail::asParent(cursor.node());
        NodeABC* copy =
            detail::copyNode(cursor.node(), built.nodes, parent != nullptr ? detail::argumentCount(*parent) : 0);
        if (copy == nullptr) {
            return false;
        }
        built.nodes.push_back(result.status == StatusE::BudgetSpent ? copy : applyFirst(copy, result, changed));
    }
    NodeABC* root = built.takeRoot();
    if (root == nullptr) {
        return false;
    }
    tree.reset(root);
    return true;
}

}  // namespace qorv::math::algexpr
