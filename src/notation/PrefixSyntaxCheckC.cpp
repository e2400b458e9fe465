// SPDX-License-Identifier: MIT
#include "algexpr/PrefixSyntaxCheckC.h"

namespace qorv::math::algexpr {

namespace {

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isNameCharacter(char16_t c) { return !isWhitespace(c) && c != u'(' && c != u')' && c != u','; }

bool isNumberCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'\u2013' || c == u'\u2212';
}

struct Verdict {
    PrefixSyntaxCheckC::ProblemE problem;
    std::size_t position;
};

// One pass from left to right. Every argument list has the same shape, so a
// count of the lists still open is all the state that nesting needs.
Verdict check(std::u16string_view text) {
    using C = PrefixSyntaxCheckC;
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t open_lists = 0;
    bool after_open = false;  // the expression to come is a list's first argument
    auto skipWhitespace = [&] {
        while (i < n && isWhitespace(text[i])) {
            ++i;
        }
    };
    for (;;) {
        // An expression starts here.
        skipWhitespace();
        if (i == n) {
            return {open_lists == 0 ? C::EmptyText : C::UnclosedParenthesis, n};
        }
        switch (text[i]) {
            case u'(':
                return {C::MissingName, i};
            case u')':
                return {open_lists == 0 ? C::ClosesNothing : after_open ? C::NoArguments : C::EmptyArgument, i};
            case u',':
                return {open_lists == 0 ? C::CommaOutside : C::EmptyArgument, i};
            default:
                break;
        }
        while (i < n && isNameCharacter(text[i])) {
            ++i;
        }
        const std::size_t name_end = i;
        skipWhitespace();
        if (i < n && text[i] == u'(') {  // the name was a function's
            ++open_lists;
            ++i;
            after_open = true;
            continue;
        }
        if (i < n && isNameCharacter(text[i])) {  // a second name after whitespace
            return {C::SpaceInsideToken, name_end};
        }
        // The expression is complete: close lists until a "," opens the next
        // argument, or the text ends.
        for (;;) {
            skipWhitespace();
            if (i == n) {
                return {open_lists == 0 ? C::NoProblem : C::UnclosedParenthesis, n};
            }
            if (text[i] == u')') {
                if (open_lists == 0) {
                    return {C::ClosesNothing, i};
                }
                --open_lists;
                ++i;
            } else if (text[i] == u',') {
                if (open_lists == 0) {
                    return {C::CommaOutside, i};
                }
                ++i;
                after_open = false;
                break;
            } else {
                return {C::TextAfterExpression, i};
            }
        }
    }
}

}  // namespace

PrefixSyntaxCheckC::PrefixSyntaxCheckC(std::u16string_view text) noexcept {
    const Verdict verdict = check(text);
    problem = verdict.problem;
    position = verdict.position;
}

bool PrefixSyntaxCheckC::isWellFormed() const noexcept { return problem == NoProblem; }

PrefixSyntaxCheckC::ProblemE PrefixSyntaxCheckC::getProblem() const noexcept { return problem; }

std::size_t PrefixSyntaxCheckC::getPosition() const noexcept { return position; }

const char* PrefixSyntaxCheckC::getMessage() const noexcept { return getMessage(problem); }

const char* PrefixSyntaxCheckC::getMessage(ProblemE problem) noexcept {
    switch (problem) {
        case NoProblem:
            return "";
        case EmptyText:
            return "empty text";
        case UnclosedParenthesis:
            return "unclosed '('";
        case ClosesNothing:
            return "')' closes nothing";
        case CommaOutside:
            return "',' outside parentheses";
        case TextAfterExpression:
            return "text after the expression";
        case EmptyArgument:
            return "empty argument";
        case NoArguments:
            return "no arguments";
        case MissingName:
            return "a function needs a name";
        case SpaceInsideToken:
            return "space inside a name or number";
    }
    return "unknown problem";
}

bool PrefixSyntaxCheckC::readsAsNumber(std::u16string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isNumberCharacter(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return true;
    }
    if (i == 0 || (text[i] != u'e' && text[i] != u'E')) {
        return false;
    }
    for (++i; i < text.size(); ++i) {
        if (!isNumberCharacter(text[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace qorv::math::algexpr
