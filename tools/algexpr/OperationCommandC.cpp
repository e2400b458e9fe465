// SPDX-License-Identifier: MIT
#include "OperationCommandC.h"

#include <memory>
#include <new>
#include <utility>

#include "AppendUtf8.h"
#include "CommandLineC.h"
#include "EngineRegistryC.h"
#include "ExpressionReaderABC.h"
#include "SessionInstallerC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreElementC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/NodeABC.h"
#include "algexpr/ParentNodeABC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::cli {

using qorv::oss::PointerTC;

OperationCommandC::OperationCommandC(const char* operation, std::vector<OperandS> operands,
                                     ExpressionReaderABC& reader, ExpressionWriterABC& writer,
                                     const CommandLineC* options)
    : operation(operation), operand_texts(std::move(operands)), reader(reader), writer(writer), options(options) {}

bool OperationCommandC::prepare(std::string& problem) {
    const std::string name = operation;
    PointerTC<CoreElementC> element =
        CASSessionBC::getSession()->lookupCoreElement(std::u16string(name.begin(), name.end()));
    if (!element) {
        problem = "the vocabulary has no '" + name + "' for the " + name + " command";
        return false;
    }
    code = element->getCode();
    for (auto [name_of, code_of] : {std::pair<const char16_t*, int*>{u"plus", &plus_code}, {u"order", &order_code}}) {
        PointerTC<CoreElementC> known = CASSessionBC::getSession()->lookupCoreElement(name_of);
        *code_of = known ? known->getCode() : -1;
    }
    for (const OperandS& operand : operand_texts) {
        std::u16string text;
        std::size_t bad = 0;
        if (Utf8C::decode(operand.text, text, bad) != Utf8C::Converted) {
            problem = std::string("the ") + operand.role + " is not valid UTF-8";
            return false;
        }
        ReadErrorC error;
        PointerTC<AlgebraicExpressionC> read = reader.read(text, error);
        if (!read) {
            problem = error.describe(std::string("the ") + operand.role, text);
            return false;
        }
        operands.push_back(std::move(read));
    }
    return true;
}

bool OperationCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                               std::string& problem) {
    // The input is lent; the call gets a copy (trees are cheap to copy next
    // to what the engine does with them).
    std::unique_ptr<CoreFunctionNodeC> owner(new CoreFunctionNodeC(code));
    CoreFunctionNodeC* call = owner.get();
    PointerTC<AlgebraicExpressionC> wrapped(new AlgebraicExpressionC(call));  // owns the call from here on
    owner.release();
    NodeABC* copy = expression.getNode()->clone();
    bool complete = copy != nullptr;
    call->addChild(copy);
    for (const PointerTC<AlgebraicExpressionC>& operand : operands) {
        NodeABC* argument = complete ? operand->getNode()->clone() : nullptr;
        complete = complete && argument != nullptr;
        call->addChild(argument);
    }
    if (!complete || call->numChildren() != operands.size() + 1) {
        throw std::bad_alloc();
    }
    support::OutcomeS outcome = evaluate(options, wrapped, false);
    if (outcome.kind == support::OutcomeE::CheckFailed) {
        askAnother(wrapped, outcome);
    }
    PointerTC<AlgebraicExpressionC> result = outcome.tree;
    if (!outcome.answered() || result->getNode() == nullptr) {
        problem = "cannot evaluate: ";
        appendUtf8(outcome.reason, problem);
        return false;
    }
    noteOutcome(outcome);
    if (drop_order) {
        PointerTC<AlgebraicExpressionC> shorter = withoutOrder(*result->getNode());
        result = shorter ? shorter : result;
    }
    return writeLine(writer, *result->getNode(), out, problem);
}

// The other engine's answer is written when its own check passed it (an
// unchecked one is not, so there is no note of its own to keep); the note
// says which engine answered and why.
void OperationCommandC::askAnother(const PointerTC<AlgebraicExpressionC>& call, support::OutcomeS& outcome) {
    const EngineEntryABC* other =
        options != nullptr ? EngineRegistryC::answering(*options->engine, options->command) : nullptr;
    if (other == nullptr) {
        return;
    }
    support::OutcomeS second = SessionInstallerC::evaluateAside(*options, *other, call);
    const std::u16string title(other->title(), other->title() + std::char_traits<char>::length(other->title()));
    if (second.answered() && second.kind != support::OutcomeE::Unchecked) {
        std::string note = std::string("answered by ") + other->title() + ": ";
        appendUtf8(outcome.reason, note);
        outcome = std::move(second);
        setNote(std::move(note));
        return;
    }
    outcome.reason += u"; asked of " + title + u": " + second.reason;
}

PointerTC<AlgebraicExpressionC> OperationCommandC::withoutOrder(const NodeABC& root) const {
    const auto coreCode = [](const NodeABC& node) {
        const auto* core = static_cast<const CoreFunctionNodeC*>(node.lookUpBase(CoreFunctionNodeC::getCastableId()));
        return core != nullptr ? core->getCode() : -1;
    };
    if (order_code < 0) {
        return PointerTC<AlgebraicExpressionC>();
    }
    if (coreCode(root) == order_code) {
        return AlgebraicExpressionC::fromPrefixString(u"0");
    }
    const auto& sum = static_cast<const ParentNodeABC&>(root);
    if (coreCode(root) != plus_code || sum.numChildren() < 2 || coreCode(*sum.child(sum.numChildren() - 1)) != order_code) {
        return PointerTC<AlgebraicExpressionC>();
    }
    NodeABC* kept = nullptr;
    if (sum.numChildren() == 2) {
        kept = sum.child(0)->clone();
    } else {
        std::unique_ptr<CoreFunctionNodeC> shorter(new CoreFunctionNodeC(plus_code));
        for (unsigned int i = 0; i + 1 < sum.numChildren(); ++i) {
            const unsigned int before = shorter->numChildren();
            shorter->addChild(sum.child(i)->clone());  // a null clone or a list that cannot grow adds nothing
            if (shorter->numChildren() == before) {
                throw std::bad_alloc();
            }
        }
        kept = shorter.release();
    }
    if (kept == nullptr) {
        throw std::bad_alloc();
    }
    std::unique_ptr<NodeABC> owner(kept);
    PointerTC<AlgebraicExpressionC> written(new AlgebraicExpressionC(kept));
    owner.release();  // the expression owns it
    return written;
}

}  // namespace qorv::math::algexpr::cli
