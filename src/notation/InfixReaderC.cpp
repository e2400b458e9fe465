// SPDX-License-Identifier: MIT
#include "algexpr/InfixReaderC.h"

#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "InfixSyntax.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/Utf8C.h"

// The grammar is in the header. The reading is operator precedence with two
// explicit stacks, the operands read and the operators, groups and calls
// still open, so no nesting ever recurses. Running out of memory unwinds as
// std::bad_alloc to InfixReaderC::read, which reports it; the stacks own
// every node on them, so nothing leaks on any way out.

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

namespace {

using detail::FormE;
using detail::OperatorE;

enum class TokenE : unsigned char {
    End,
    Number,
    Name,
    Plus,
    Minus,
    Times,
    Divide,
    Power,
    Equal,
    Open,
    Close,
    OpenBracket,
    CloseBracket,
    Comma,
    Other
};

struct Token {
    TokenE kind;
    std::size_t start;
    std::size_t end;
};

// What the operator stack holds: an operator waiting for its right operand,
// an open "[" of a list, or an open "(" of a group or of a call. The first
// eight stand in OperatorE's order.
enum class PendingE : unsigned char { Plus, Minus, Times, Divide, Power, Neg, Equal, List, Group, Call };

struct Pending {
    PendingE kind;
    ParentNodeABC* call;  // owned: the function of a call or list, with its arguments so far
};

// An operand read. `chain` is set for the plus (times) that an unparenthesised
// "+" ("*") made: a further "+" ("*") appends to it instead of nesting.
struct Operand {
    NodeABC* node;  // owned
    ParentNodeABC* chain;
    PendingE chain_kind;
};

int precedence(PendingE kind) {
    switch (kind) {
        case PendingE::Equal:
            return 1;
        case PendingE::Plus:
        case PendingE::Minus:
            return 2;
        case PendingE::Times:
        case PendingE::Divide:
            return 3;
        case PendingE::Neg:
            return 4;
        case PendingE::Power:
            return 5;
        default:
            return 0;  // "(" and "[" stop every reduction
    }
}

OperatorE operatorOf(PendingE kind) { return static_cast<OperatorE>(static_cast<int>(kind)); }

// Appends the child, which the parent owns from then on; when the list cannot
// grow, addChild has deleted it.
void adopt(ParentNodeABC& parent, NodeABC* child) {
    const unsigned int before = parent.numChildren();
    parent.addChild(child);
    if (parent.numChildren() == before) {
        throw std::bad_alloc();
    }
}

class Reading {
public:
    // `at` follows the token being read, for the report of running out of memory.
    Reading(CASSessionBC& session, const std::u16string& text, std::size_t& at)
        : session(session), text(text.data()), n(text.size()), at(at) {}

    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;

    ~Reading() {
        for (Operand& operand : operands) {
            delete operand.node;
        }
        for (Pending& open : pending) {
            delete open.call;
        }
    }

    // The root read, owned by the caller; null with `error` set when the text
    // does not read.
    NodeABC* run() {
        for (;;) {
            const Token token = scan(next);
            at = token.start;
            next = token.end;
            const bool opened = after_open;
            after_open = false;
            const StepE step = operand_expected ? readOperand(token, opened) : readAfterOperand(token);
            if (step == StepE::Failed) {
                return nullptr;
            }
            if (step == StepE::Done) {
                return popOperand().release();
            }
            any_token = true;
        }
    }

    std::size_t error_position = 0;
    InfixReaderC::ErrorE error = InfixReaderC::NoError;
    std::u16string error_text;  // when not empty, the message instead of the kind's own

private:
    enum class StepE : unsigned char { Next, Failed, Done };

    // A token where an operand is expected. `opened`: the token before was a "(".
    StepE readOperand(const Token& token, bool opened) {
        switch (token.kind) {
            case TokenE::Number:
                return pushNumber(token.start, token.start, token.end);
            case TokenE::Name: {
                const Token open = scan(next);
                if (open.kind != TokenE::Open) {
                    pushOperand(makeSymbol(token.start, token.end));
                    operand_expected = false;
                    return StepE::Next;
                }
                pending.push_back(Pending{PendingE::Call, nullptr});
                pending.back().call = makeFunction(token.start, token.end);
                next = open.end;
                after_open = true;
                return StepE::Next;
            }
            case TokenE::Open:
                pending.push_back(Pending{PendingE::Group, nullptr});
                after_open = true;
                return StepE::Next;
            case TokenE::OpenBracket:
                if (!operators.lookUp(session, OperatorE::List)) {
                    return missing(OperatorE::List, token);
                }
                pending.push_back(Pending{PendingE::List, nullptr});
                pending.back().call = new CoreFunctionNodeC(operators.code(OperatorE::List));
                after_open = true;
                return StepE::Next;
            case TokenE::Plus:
                return StepE::Next;  // +a is a
            case TokenE::Minus: {
                const Token number = scan(next);
                if (number.kind == TokenE::Number && scan(number.end).kind != TokenE::Power) {
                    next = number.end;
                    return pushNumber(token.start, number.start, number.end);
                }
                return pushOperator(PendingE::Neg, token);
            }
            case TokenE::Close:
            case TokenE::CloseBracket:
                if (opened && pending.back().kind == (token.kind == TokenE::Close ? PendingE::Call : PendingE::List)) {
                    // f() or []: prefix text has no call without arguments.
                    return fail(token.start, InfixReaderC::NoArguments);
                }
                return fail(token.start, InfixReaderC::ExpectedOperand);
            case TokenE::End:
                return fail(n, !any_token ? InfixReaderC::EmptyText : opened ? unclosed() : InfixReaderC::ExpectedOperand);
            case TokenE::Other:
                return fail(token.start, InfixReaderC::UnexpectedCharacter);
            default:
                return fail(token.start, InfixReaderC::ExpectedOperand);
        }
    }

    // A token after an operand.
    StepE readAfterOperand(const Token& token) {
        switch (token.kind) {
            case TokenE::Plus:
            case TokenE::Minus:
            case TokenE::Times:
            case TokenE::Divide:
            case TokenE::Power:
                return pushOperator(
                    static_cast<PendingE>(static_cast<int>(token.kind) - static_cast<int>(TokenE::Plus)), token);
            case TokenE::Equal:
                return pushOperator(PendingE::Equal, token);
            case TokenE::Comma:
                reduce(0);
                if (pending.empty() || pending.back().kind == PendingE::Group) {
                    return fail(token.start, InfixReaderC::CommaOutside);
                }
                adopt(*pending.back().call, popOperand().release());
                operand_expected = true;
                return StepE::Next;
            case TokenE::Close:
            case TokenE::CloseBracket:
                return closeBracket(token);
            case TokenE::End:
                reduce(0);
                return pending.empty() ? StepE::Done : fail(n, unclosed());
            case TokenE::Other:
                return fail(token.start, InfixReaderC::UnexpectedCharacter);
            default:
                return fail(token.start, InfixReaderC::ExpectedOperator);
        }
    }

    Token scan(std::size_t i) const {
        while (i < n && detail::isWhitespace(text[i])) {
            ++i;
        }
        if (i == n) {
            return Token{TokenE::End, n, n};
        }
        switch (text[i]) {
            case u'+':
                return Token{TokenE::Plus, i, i + 1};
            case u'-':
            case detail::kMinusSign:
                return Token{TokenE::Minus, i, i + 1};
            case u'*':
                if (i + 1 < n && text[i + 1] == u'*') {
                    return Token{TokenE::Power, i, i + 2};
                }
                return Token{TokenE::Times, i, i + 1};
            case u'/':
                return Token{TokenE::Divide, i, i + 1};
            case u'^':
                return Token{TokenE::Power, i, i + 1};
            case u'(':
                return Token{TokenE::Open, i, i + 1};
            case u')':
                return Token{TokenE::Close, i, i + 1};
            case u',':
                return Token{TokenE::Comma, i, i + 1};
            case u'=':
                return Token{TokenE::Equal, i, i + 1};
            case u'[':
                return Token{TokenE::OpenBracket, i, i + 1};
            case u']':
                return Token{TokenE::CloseBracket, i, i + 1};
            default:
                break;
        }
        std::size_t end = detail::scanNumber(text, n, i);
        if (end > i) {
            return Token{TokenE::Number, i, end};
        }
        end = detail::scanIdentifier(text, n, i);
        if (end > i) {
            return Token{TokenE::Name, i, end};
        }
        return Token{TokenE::Other, i, i + 1};
    }

    StepE fail(std::size_t position, InfixReaderC::ErrorE kind) {
        error_position = position;
        error = kind;
        return StepE::Failed;
    }

    // "the vocabulary has no 'times' for '*'"
    StepE missing(OperatorE op, const Token& token) {
        fail(token.start, InfixReaderC::MissingOperator);
        error_text = u"the vocabulary has no '";
        error_text += detail::operatorName(op);
        error_text += u"' for '";
        error_text.append(text + token.start, token.end - token.start);
        error_text += u"'";
        return StepE::Failed;
    }

    // What the text leaves open at its end: the innermost "(" or "[".
    InfixReaderC::ErrorE unclosed() const {
        return pending.back().kind == PendingE::List ? InfixReaderC::UnclosedBracket
                                                     : InfixReaderC::UnclosedParenthesis;
    }

    // A ")" or "]" after an operand: it closes the innermost "(" or "[",
    // which must be of its kind.
    StepE closeBracket(const Token& token) {
        reduce(0);
        const bool bracket = token.kind == TokenE::CloseBracket;
        if (pending.empty()) {
            return fail(token.start, bracket ? InfixReaderC::BracketClosesNothing : InfixReaderC::ClosesNothing);
        }
        const PendingE open = pending.back().kind;
        if (bracket != (open == PendingE::List)) {
            return fail(token.start, bracket ? InfixReaderC::ExpectedParenthesis : InfixReaderC::ExpectedBracket);
        }
        if (open == PendingE::Group) {
            pending.pop_back();
            operands.back().chain = nullptr;  // (a+b)+c nests
        } else {
            adopt(*pending.back().call, popOperand().release());
            closeCall();
        }
        return StepE::Next;
    }

    // Pushes a prefix or binary operator after reducing what binds at least as
    // tightly on its left ("^" is right-associative; a prefix operator has no
    // left operand; "=" does not chain). Fails when the vocabulary lacks its
    // core name.
    StepE pushOperator(PendingE kind, const Token& token) {
        if (!operators.lookUp(session, operatorOf(kind))) {
            return missing(operatorOf(kind), token);
        }
        if (kind != PendingE::Neg) {
            reduce(precedence(kind) - (kind == PendingE::Power || kind == PendingE::Equal ? 0 : 1));
        }
        if (kind == PendingE::Equal && !pending.empty() && pending.back().kind == PendingE::Equal) {
            return fail(token.start, InfixReaderC::ChainedEquation);
        }
        pending.push_back(Pending{kind, nullptr});
        operand_expected = true;
        return StepE::Next;
    }

    // Applies the pending operators that bind more tightly than `level`, down
    // to the innermost open "(".
    void reduce(int level) {
        while (!pending.empty() && precedence(pending.back().kind) > level) {
            const PendingE kind = pending.back().kind;
            pending.pop_back();
            std::unique_ptr<NodeABC> right = popOperand();
            const int code = operators.code(operatorOf(kind));
            if (kind == PendingE::Neg) {
                std::unique_ptr<ParentNodeABC> node(new CoreFunctionNodeC(code));
                adopt(*node, right.release());
                pushOperand(node.release());
                continue;
            }
            Operand left = operands.back();
            if (left.chain != nullptr && left.chain_kind == kind) {
                adopt(*left.chain, right.release());
                continue;
            }
            operands.pop_back();
            std::unique_ptr<NodeABC> left_node(left.node);
            std::unique_ptr<ParentNodeABC> node(new CoreFunctionNodeC(code));
            adopt(*node, left_node.release());
            adopt(*node, right.release());
            ParentNodeABC* made = node.get();
            pushOperand(node.release());
            if (kind == PendingE::Plus || kind == PendingE::Times) {
                operands.back().chain = made;
                operands.back().chain_kind = kind;
            }
        }
    }

    // The call or list on top of the stack becomes an operand.
    void closeCall() {
        pushOperand(pending.back().call);
        pending.back().call = nullptr;
        pending.pop_back();
        operand_expected = false;
    }

    // Takes ownership of the node, even when the stack cannot grow.
    void pushOperand(NodeABC* node) {
        std::unique_ptr<NodeABC> owned(node);
        operands.push_back(Operand{node, nullptr, PendingE::Group});
        owned.release();
    }

    std::unique_ptr<NodeABC> popOperand() {
        std::unique_ptr<NodeABC> node(operands.back().node);
        operands.pop_back();
        return node;
    }

    // Pushes the number text[first, last), with a "-" before it when `sign`
    // (where the number starts) is before `first`. Fails when the factories
    // decline it.
    StepE pushNumber(std::size_t sign, std::size_t first, std::size_t last) {
        NodeABC* node = makeNumber(sign, first, last);
        if (node == nullptr) {
            return fail(sign, InfixReaderC::NumberNotAccepted);
        }
        pushOperand(node);
        operand_expected = false;
        return StepE::Next;
    }

    NodeABC* makeNumber(std::size_t sign, std::size_t first, std::size_t last) {
        std::u16string number;
        if (sign < first) {
            number += u'-';
        }
        for (std::size_t i = first; i < last; ++i) {
            number += text[i] == detail::kMinusSign ? u'-' : text[i];
        }
        if (!detail::isFloatText(number)) {
            PointerTC<IntegerValueFactoryABC> factory = session.getIntegerValueFactory();
            std::unique_ptr<IntegerValueABC> value(factory ? factory->fromString(number) : nullptr);
            if (value) {
                NodeABC* node = new IntegerNodeC(value.get());
                value.release();
                return node;
            }
        }
        PointerTC<FloatValueFactoryABC> factory = session.getFloatValueFactory();
        std::unique_ptr<FloatValueABC> value(factory ? factory->fromString(number) : nullptr);
        if (!value) {
            return nullptr;
        }
        NodeABC* node = new FloatNodeC(value.get());
        value.release();
        return node;
    }

    // A name resolved: a core element's code, or else a symbol.
    struct Name {
        int code = 0;
        PointerTC<SymbolC> symbol;
    };

    Name resolve(std::size_t first, std::size_t last, bool called) {
        Name name;
        const std::u16string spelled(text + first, last - first);
        PointerTC<CoreElementC> element = session.lookupCoreElement(spelled);
        const char16_t* canonical = called && !element ? InfixReaderC::familiarSpelling(spelled) : nullptr;
        if (canonical != nullptr) {
            element = session.lookupCoreElement(canonical);
        }
        if (element) {
            name.code = element->getCode();
            return name;
        }
        name.symbol = session.lookupSymbol(spelled);
        if (!name.symbol) {
            throw std::bad_alloc();
        }
        return name;
    }

    ParentNodeABC* makeFunction(std::size_t first, std::size_t last) {
        Name name = resolve(first, last, true);
        if (name.symbol) {
            return new ExtendedFunctionNodeC(std::move(name.symbol));
        }
        return new CoreFunctionNodeC(name.code);
    }

    NodeABC* makeSymbol(std::size_t first, std::size_t last) {
        Name name = resolve(first, last, false);
        if (name.symbol) {
            return new ExtendedSymbolNodeC(std::move(name.symbol));
        }
        return new CoreSymbolNodeC(name.code);
    }

    CASSessionBC& session;
    const char16_t* text;
    std::size_t n;
    std::size_t& at;
    std::size_t next = 0;  // where the next token is looked for
    bool operand_expected = true;
    bool after_open = false;  // the token before was a "("
    bool any_token = false;
    detail::OperatorCodesC operators;
    std::vector<Operand> operands;
    std::vector<Pending> pending;
};

}  // namespace

InfixReaderC::InfixReaderC() noexcept : error_kind(NoError), error_position(0), error_message_p(u"") {}

InfixReaderC::~InfixReaderC() = default;

PointerTC<AlgebraicExpressionC> InfixReaderC::read(const std::u16string& text) {
    error_kind = NoError;
    error_position = 0;
    error_message_p = u"";
    error_text.clear();
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    if (!session) {
        fail(NoSession, 0);
        return PointerTC<AlgebraicExpressionC>();
    }
    std::size_t at = 0;
    try {
        Reading reading(*session, text, at);
        std::unique_ptr<NodeABC> root(reading.run());
        if (!root) {
            fail(reading.error, reading.error_position);
            if (!reading.error_text.empty()) {
                error_text.swap(reading.error_text);
                error_message_p = error_text.c_str();
            }
            return PointerTC<AlgebraicExpressionC>();
        }
        auto* expression = new AlgebraicExpressionC(root.get());
        root.release();
        return PointerTC<AlgebraicExpressionC>(expression);
    } catch (const std::bad_alloc&) {
        fail(OutOfMemory, at);
        return PointerTC<AlgebraicExpressionC>();
    }
}

ReadResultC InfixReaderC::readResult(const std::u16string& text) {
    PointerTC<AlgebraicExpressionC> expression = read(text);
    if (expression) {
        return ReadResultC::success(std::move(expression));
    }
    using ReasonE = ReadResultC::ReasonE;
    ReasonE reason = ReasonE::Syntax;
    std::size_t position = error_position;
    switch (error_kind) {
        case NoSession:
            return ReadResultC();
        case OutOfMemory:
            reason = ReasonE::OutOfMemory;
            break;
        case NumberNotAccepted:
            reason = ReasonE::NumberNotAccepted;
            break;
        case MissingOperator:
            reason = ReasonE::Vocabulary;
            break;
        default:
            break;
    }
    return ReadResultC::failure(reason, position, Utf8C::toUtf8(error_message_p));
}

void InfixReaderC::fail(ErrorE kind, std::size_t position) noexcept {
    error_kind = kind;
    error_position = position;
    error_message_p = messageOf(kind);
}

const char16_t* InfixReaderC::messageOf(ErrorE kind) noexcept {
    switch (kind) {
        case NoError:
            break;
        case EmptyText:
            return u"empty text";
        case ExpectedOperand:
            return u"expected an operand";
        case ExpectedOperator:
            return u"expected an operator";
        case UnexpectedCharacter:
            return u"unexpected character";
        case UnclosedParenthesis:
            return u"unclosed '('";
        case ClosesNothing:
            return u"')' closes nothing";
        case CommaOutside:
            return u"',' outside a function's arguments";
        case NumberNotAccepted:
            return u"number not accepted";
        case MissingOperator:
            return u"the vocabulary lacks an operator's name";
        case ChainedEquation:
            return u"chained '=': put one equation in parentheses";
        case UnclosedBracket:
            return u"unclosed '['";
        case BracketClosesNothing:
            return u"']' closes nothing";
        case ExpectedParenthesis:
            return u"expected ')'";
        case ExpectedBracket:
            return u"expected ']'";
        case NoSession:
            return u"no session is current";
        case OutOfMemory:
            return u"out of memory";
        case NoArguments:
            return u"no arguments";
    }
    return u"";
}

std::size_t InfixReaderC::getErrorPosition() const noexcept { return error_position; }

const char16_t* InfixReaderC::getErrorMessage() const noexcept { return error_message_p; }

InfixReaderC::ErrorE InfixReaderC::getErrorKind() const noexcept { return error_kind; }

const char16_t* InfixReaderC::familiarSpelling(std::u16string_view name) noexcept {
    static const struct {
        const char16_t* familiar;
        const char16_t* canonical;
    } kSpellings[] = {{u"ln", u"log"},           {u"arcsin", u"asin"},     {u"arccos", u"acos"},
                      {u"arctan", u"atan"},      {u"re", u"real_part"},    {u"im", u"imag_part"}};
    for (const auto& spelling : kSpellings) {
        if (name == spelling.familiar) {
            return spelling.canonical;
        }
    }
    return nullptr;
}

}  // namespace qorv::math::algexpr
