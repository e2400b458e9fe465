// SPDX-License-Identifier: MIT
#include "services/RuleC.h"

#include <functional>
#include <memory>
#include <new>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/IntegerValueFactoryABC.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/TreeCursorC.h"
#include "services/Conditions.h"
#include "services/NodeCopy.h"
#include "services/PatternData.h"
#include "support/NodeAccess.h"
#include "tree/NodeKind.h"

namespace qorv::math::algexpr::detail {

namespace {

using TestE = PatternC::DataS::TestE;
enum class OperatorE { And, Or, Not, None };

OperatorE operatorOf(const NodeABC* node) {
    if (asParent(node) == nullptr) {
        return OperatorE::None;
    }
    const std::u16string name = node->toString();
    return name == u"and" ? OperatorE::And : name == u"or" ? OperatorE::Or : name == u"not" ? OperatorE::Not : OperatorE::None;
}

std::vector<const NodeABC*> argumentsOf(const ParentNodeABC& node) {
    std::vector<const NodeABC*> arguments;
    for (const NodeABC* argument : node.children()) {
        if (argument != nullptr) {
            arguments.push_back(argument);
        }
    }
    return arguments;
}

// Walks the and/or/not levels of a condition without recursion, asking
// `test` about each predicate call; "not" takes its one argument.
bool walkCondition(const NodeABC* condition, const std::function<bool(const NodeABC*)>& test) {
    struct FrameS {
        const ParentNodeABC* node;
        OperatorE op;
        unsigned int next;
        bool value;
        void fold(bool argument) {
            value = op == OperatorE::And ? value && argument : op == OperatorE::Or ? value || argument : !argument;
        }
    };
    std::vector<FrameS> frames;
    const NodeABC* node = condition;
    for (;;) {
        const OperatorE op = operatorOf(node);
        if (op != OperatorE::None) {
            frames.push_back(FrameS{asParent(node), op, 0, op == OperatorE::And});
        } else {
            const bool value = test(node);
            if (frames.empty()) {
                return value;
            }
            frames.back().fold(value);
        }
        for (;;) {  // the next argument to evaluate, closing the levels done
            FrameS& frame = frames.back();
            while (frame.next < frame.node->numChildren() && frame.node->child(frame.next) == nullptr) {
                ++frame.next;
            }
            if (frame.next < frame.node->numChildren()) {
                node = frame.node->child(frame.next++);
                break;
            }
            const bool value = frame.value;
            frames.pop_back();
            if (frames.empty()) {
                return value;
            }
            frames.back().fold(value);
        }
    }
}

}  // namespace

bool checkCondition(const NodeABC* condition, const PatternC::SettingsS& settings, std::u16string& problem) {
    return walkCondition(condition, [&](const NodeABC* call) {
               const ParentNodeABC* parent = asParent(call);
               const std::u16string name = call->toString();
               if (!problem.empty()) {
                   return false;
               }
               if (parent == nullptr) {
                   problem = u"a condition is a call such as integer(wild(a)), not " + name;
                   return false;
               }
               const unsigned int count = argumentCount(*parent);
               TestE test = TestE::Client;
               if (builtInCondition(name, test) && count != (test == TestE::Free ? 2u : 1u)) {
                   problem = name + (test == TestE::Free ? u" takes two arguments" : u" takes one argument");
               } else if (test == TestE::Client && settings.conditions.count(name) == 0) {
                   problem = u"unknown condition '" + name + u"'";
               }
               return problem.empty();
           }) ||
           problem.empty();
}

bool evaluateCondition(const NodeABC* condition, const PatternC::SettingsS& settings) {
    return walkCondition(condition, [&](const NodeABC* call) {
        const ParentNodeABC* parent = asParent(call);
        if (parent == nullptr) {
            return false;
        }
        const std::vector<const NodeABC*> arguments = argumentsOf(*parent);
        const std::u16string name = call->toString();
        TestE test = TestE::Client;
        if (builtInCondition(name, test)) {
            return !arguments.empty() &&
                   passesBuiltIn(test, arguments[0], arguments.size() > 1 ? arguments[1] : nullptr);
        }
        auto client = settings.conditions.find(name);
        return client != settings.conditions.end() && client->second && client->second(arguments);
    });
}

bool RuleC::addTo(std::vector<std::unique_ptr<RuleC>>& rules, const NodeABC* pattern, const NodeABC* replacement,
                  bool replacement_needed, const NodeABC* condition, const PatternC::SettingsS& settings,
                  std::u16string* problem) {
    std::u16string why;
    bool out_of_memory = false;
    try {
        auto rule = std::make_unique<RuleC>();
        if (replacement == nullptr && replacement_needed) {
            why = u"no replacement";
        } else if (rule->compile(pattern, replacement, condition, settings, why)) {
            rules.push_back(std::move(rule));
            return true;
        }
    } catch (const std::bad_alloc&) {
        out_of_memory = true;
    }
    if (problem != nullptr) {
        tellProblem(out_of_memory, why, *problem);
    }
    return false;
}

bool RuleC::compile(const NodeABC* pattern, const NodeABC* replacement, const NodeABC* condition,
                    const PatternC::SettingsS& settings, std::u16string& problem) {
    if (!pattern_c.compile(pattern, settings, &problem)) {
        return false;
    }
    if (replacement != nullptr && !compileTemplate(replacement, replacement_t, settings, problem)) {
        return false;
    }
    if (replacement != nullptr && replacement_t.tree.data_p->nodes[0].kind == PatternC::DataS::KindE::Wilds) {
        problem = u"a sequence cannot be the whole replacement";
        return false;
    }
    if (condition == nullptr) {
        return true;
    }
    return compileTemplate(condition, condition_t, settings, problem) &&
           checkCondition(condition_t.tree.tree(), settings, problem);
}

bool RuleC::compileTemplate(const NodeABC* tree, TemplateS& part, const PatternC::SettingsS& settings,
                            std::u16string& problem) {
    if (!part.tree.compile(tree, settings, &problem)) {
        return false;
    }
    const PatternC::DataS& data = *part.tree.data_p;
    for (const PatternC::DataS::NodeS& node : data.nodes) {
        if (node.kind == PatternC::DataS::KindE::Function && node.has_sequence &&
            kindOf(node.node) == NodeKind::CoreFunction) {
            const std::u16string name = node.node->toString();
            if (name == u"plus" || name == u"times") {
                part.units[node.node] = name == u"plus" ? 0 : 1;
            }
        }
        if (node.kind == PatternC::DataS::KindE::Function && node.has_sequence && node.arg_count > 0 &&
            part.units.count(node.node) == 0) {
            std::vector<std::uint32_t> sequences;
            for (std::uint32_t a = 0; a < node.arg_count; ++a) {
                const PatternC::DataS::NodeS& argument = data.nodes[data.args[node.first_arg + a]];
                if (argument.kind != PatternC::DataS::KindE::Wilds) {
                    sequences.clear();
                    break;
                }
                const std::size_t number = pattern_c.findWildcard(data.wildcards[argument.wildcard].name);
                sequences.push_back(static_cast<std::uint32_t>(number));
            }
            if (!sequences.empty()) {
                part.emptiable.push_back(std::move(sequences));
            }
        }
        if (node.kind != PatternC::DataS::KindE::Wild && node.kind != PatternC::DataS::KindE::Wilds) {
            continue;
        }
        const std::u16string& name = data.wildcards[node.wildcard].name;
        const std::size_t number = pattern_c.findWildcard(name);
        if (number == pattern_c.wildcardCount() || pattern_c.isSequence(number) != data.wildcards[node.wildcard].sequence) {
            problem = u"the wildcard " + name + u" is not in the pattern";
            return false;
        }
        part.wildcards[node.node] = static_cast<std::uint32_t>(number);
    }
    return true;
}

bool RuleC::holds(const MatcherC& matcher, const PatternC::SettingsS& settings) const {
    if (!condition_t.tree.isCompiled()) {
        return true;
    }
    std::unique_ptr<NodeABC> filled(fill(condition_t, matcher, nullptr));
    if (!filled) {
        throw std::bad_alloc();
    }
    return evaluateCondition(filled.get(), settings);
}

bool RuleC::fits(const MatcherC& matcher) const {
    for (const std::vector<std::uint32_t>& sequences : replacement_t.emptiable) {
        std::size_t arguments = 0;
        for (std::uint32_t wildcard : sequences) {
            arguments += matcher.bindingCount(wildcard);
        }
        if (arguments == 0) {
            return false;
        }
    }
    return true;
}

MatchResultE RuleC::matchAt(MatcherC& matcher, const NodeABC* tree, const PatternC::SettingsS& settings) const {
    if (!condition_t.tree.isCompiled() && replacement_t.emptiable.empty()) {
        return matcher.match(pattern_c, tree);
    }
    return matcher.match(pattern_c, tree,
                         [this, &settings](const MatcherC& found) { return fits(found) && holds(found, settings); });
}

NodeABC* RuleC::instantiate(const MatcherC& matcher, std::unique_ptr<NodeABC>& matched) const {
    return fill(replacement_t, matcher, &matched);
}

namespace {

// The bound subtree, taken out of the tree matched (its place there left
// null), or copied; a default from the pattern is always copied.
NodeABC* takeOrCopy(const NodeABC* value, const MatcherC::OriginS& origin, std::unique_ptr<NodeABC>* matched) {
    if (matched == nullptr || (origin.parent == nullptr && value != matched->get())) {
        return value->clone();
    }
    if (origin.parent == nullptr) {
        return matched->release();
    }
    return NodeAccess::release(*const_cast<ParentNodeABC*>(origin.parent), origin.index);
}

}  // namespace

// A post-order copy of the template, as SubstitutionC builds one, but a
// wildcard call gives the copies of its binding: one entry, or any number for
// a sequence, so each node's copies make a group on `built`, whose sizes
// wait on `groups`.
NodeABC* RuleC::fill(const TemplateS& part, const MatcherC& matcher, std::unique_ptr<NodeABC>* matched) {
    BuiltNodesC built;
    std::vector<unsigned int> groups;
    std::vector<bool> taken;  // by wildcard: its subtrees moved already (bindings never overlap)
    try {
        for (TreeCursorC cursor(part.tree.tree(), PostOrder); cursor.node() != nullptr; cursor.next()) {
            const NodeABC* node = cursor.node();
            const ParentNodeABC* parent = asParent(node);
            const unsigned int children = parent != nullptr ? argumentCount(*parent) : 0;
            unsigned int entries = 0;
            for (unsigned int c = 0; c < children; ++c) {
                entries += groups.back();
                groups.pop_back();
            }
            auto wildcard = part.wildcards.find(node);
            if (wildcard == part.wildcards.end()) {
                built.reserve(1);
                if (entries <= 1 && fillUnit(part, node, entries, built, groups)) {
                    continue;
                }
                NodeABC* copy = copyNode(node, built.nodes, entries);
                if (copy == nullptr) {
                    return nullptr;
                }
                built.nodes.push_back(copy);
                groups.push_back(1);
                continue;
            }
            for (unsigned int e = 0; e < entries; ++e) {  // the call's own arguments
                delete built.nodes.back();
                built.nodes.pop_back();
            }
            const std::size_t count = matcher.bindingCount(wildcard->second);
            if (taken.size() <= wildcard->second) {
                taken.resize(wildcard->second + 1, false);
            }
            const bool take = !taken[wildcard->second];
            taken[wildcard->second] = true;
            built.reserve(count);
            for (std::size_t k = 0; k < count; ++k) {
                const NodeABC* bound = matcher.bindingAt(wildcard->second, k);
                NodeABC* copy =
                    take ? takeOrCopy(bound, matcher.bindingOrigin(wildcard->second, k), matched) : bound->clone();
                if (copy == nullptr) {
                    return nullptr;
                }
                built.nodes.push_back(copy);
            }
            groups.push_back(static_cast<unsigned int>(count));
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return built.takeRoot();
}

// A sum or product of the template whose sequences left it one argument or
// none: the argument stands for it, or 0 or 1. False to build it as written
// (also when no integer can be made).
bool RuleC::fillUnit(const TemplateS& part, const NodeABC* node, unsigned int entries, BuiltNodesC& built,
                     std::vector<unsigned int>& groups) {
    auto unit = part.units.find(node);
    if (unit == part.units.end()) {
        return false;
    }
    if (entries == 0) {
        qorv::oss::PointerTC<CASSessionBC> session = CASSessionBC::getSession();
        qorv::oss::PointerTC<IntegerValueFactoryABC> integers;
        if (session) {
            integers = session->getIntegerValueFactory();
        }
        IntegerValueABC* value = integers ? integers->fromInt64(unit->second) : nullptr;
        if (value == nullptr) {
            return false;
        }
        auto* number = new (std::nothrow) IntegerNodeC(value);
        if (number == nullptr) {
            delete value;
            return false;
        }
        built.nodes.push_back(number);  // room made by the caller's reserve
    }
    groups.push_back(1);
    return true;
}

}  // namespace qorv::math::algexpr::detail
