// SPDX-License-Identifier: MIT
#include "algexpr/RuleReaderC.h"

#include <new>
#include <utility>

#include "algexpr/InfixReaderC.h"
#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/RewriterC.h"
#include "services/Conditions.h"

namespace qorv::math::algexpr {

namespace {

using qorv::oss::PointerTC;

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f'; }

std::size_t skipSpace(const std::u16string& text, std::size_t at, std::size_t end) {
    while (at < end && isSpace(text[at])) {
        ++at;
    }
    return at;
}

std::size_t trimEnd(const std::u16string& text, std::size_t begin, std::size_t end) {
    while (end > begin && isSpace(text[end - 1])) {
        --end;
    }
    return end;
}

// Where the separators of a line are, outside parentheses and brackets:
// the first "->" and the first word "if" between spaces after it.
struct SplitS {
    std::size_t arrow = std::u16string::npos;
    std::size_t condition = std::u16string::npos;
};

SplitS split(const std::u16string& line, std::size_t begin, std::size_t end) {
    SplitS found;
    int depth = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const char16_t c = line[i];
        depth += (c == u'(' || c == u'[' || c == u'{') ? 1 : (c == u')' || c == u']' || c == u'}') ? -1 : 0;
        if (depth != 0) {
            continue;
        }
        if (c == u'-' && i + 1 < end && line[i + 1] == u'>' && found.arrow == std::u16string::npos) {
            found.arrow = i;
        } else if (c == u'i' && i + 1 < end && line[i + 1] == u'f' && (i + 2 == end || isSpace(line[i + 2])) && i > begin &&
                   isSpace(line[i - 1]) && found.condition == std::u16string::npos) {
            found.condition = i;
        }
    }
    return found;
}

}  // namespace

RuleReaderC::ReadF RuleReaderC::prefix() {
    return [](const std::u16string& text, std::size_t& position, std::u16string& message) {
        const PrefixSyntaxCheckC check(text);
        if (!check.isWellFormed()) {
            position = check.getPosition();
            const std::string ascii = check.getMessage();
            message.assign(ascii.begin(), ascii.end());
            return PointerTC<AlgebraicExpressionC>();
        }
        PointerTC<AlgebraicExpressionC> read = AlgebraicExpressionC::fromPrefixString(text);
        if (!read) {
            position = 0;
            message = u"does not read (a number not accepted, or no session)";
        }
        return read;
    };
}

RuleReaderC::ReadF RuleReaderC::infix() {
    return [](const std::u16string& text, std::size_t& position, std::u16string& message) {
        InfixReaderC reader;
        PointerTC<AlgebraicExpressionC> read = reader.read(text);
        if (!read) {
            position = reader.getErrorPosition();
            message = reader.getErrorMessage();
        }
        return read;
    };
}

RuleReaderC::RuleReaderC(ReadF read, FormE form) : read_f(std::move(read)), form(form) {}

std::size_t RuleReaderC::column(const std::u16string& line, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
        const bool trailing_surrogate = line[i] >= 0xDC00 && line[i] <= 0xDFFF && i > 0 && line[i - 1] >= 0xD800 &&
                                        line[i - 1] <= 0xDBFF;
        column += trailing_surrogate ? 0 : 1;
    }
    return column;
}

bool RuleReaderC::read(const std::u16string& text, std::vector<LineS>& lines, ErrorS& error) const {
    lines.clear();
    try {
        std::size_t start = 0;
        for (std::size_t number = 1; start <= text.size(); ++number) {
            std::size_t stop = text.find(u'\n', start);
            stop = stop == std::u16string::npos ? text.size() : stop;
            const std::u16string line = text.substr(start, stop - start);
            start = stop + 1;
            LineS rule;
            rule.line = number;
            error.line = number;
            if (!readLine(line, rule, error)) {
                lines.clear();
                return false;
            }
            if (rule.pattern) {
                lines.push_back(std::move(rule));
            }
        }
    } catch (const std::bad_alloc&) {
        lines.clear();
        error.column = 0;
        detail::tellProblem(true, std::u16string(), error.message);
        return false;
    }
    return true;
}

// One line: nothing (blank or comment), or a rule or form.
bool RuleReaderC::readLine(const std::u16string& line, LineS& rule, ErrorS& error) const {
    std::size_t end = line.find(u'#');
    end = trimEnd(line, 0, end == std::u16string::npos ? line.size() : end);
    std::size_t begin = skipSpace(line, 0, end);
    if (begin == end) {
        return true;
    }
    if (form == FormE::Forms) {
        for (const char16_t* keyword : {u"accept", u"reject"}) {
            const std::u16string word(keyword);
            if (line.compare(begin, word.size(), word) == 0 && begin + word.size() < end &&
                isSpace(line[begin + word.size()])) {
                rule.keyword = word;
                begin = skipSpace(line, begin + word.size(), end);
            }
        }
        if (rule.keyword.empty()) {
            rule.keyword = u"accept";
        }
    }
    rule.text = line.substr(begin, end - begin);
    const SplitS parts = split(line, begin, end);
    const bool arrow = parts.arrow != std::u16string::npos;
    const bool condition = parts.condition != std::u16string::npos && (!arrow || parts.condition > parts.arrow);
    if (arrow != (form == FormE::Rules)) {
        error.column = column(line, arrow ? parts.arrow : end);
        error.message = arrow ? u"a form has no '->'" : u"expected '->' and a replacement";
        return false;
    }
    const std::size_t pattern_end = arrow ? parts.arrow : condition ? parts.condition : end;
    if (!readPart(line, begin, pattern_end, u"a pattern", rule.pattern, rule.pattern_column, error)) {
        return false;
    }
    if (arrow && !readPart(line, parts.arrow + 2, condition ? parts.condition : end, u"a replacement",
                           rule.replacement, rule.replacement_column, error)) {
        return false;
    }
    return !condition ||
           readPart(line, parts.condition + 2, end, u"a condition", rule.condition, rule.condition_column, error);
}

bool RuleReaderC::readPart(const std::u16string& line, std::size_t begin, std::size_t end, const char16_t* what,
                           PointerTC<AlgebraicExpressionC>& part, std::size_t& part_column, ErrorS& error) const {
    begin = skipSpace(line, begin, end);
    end = trimEnd(line, begin, end);
    part_column = column(line, begin);
    if (begin == end) {
        error.column = part_column;
        error.message = std::u16string(u"expected ") + what;
        return false;
    }
    std::size_t position = 0;
    std::u16string message;
    part = read_f ? read_f(line.substr(begin, end - begin), position, message) : PointerTC<AlgebraicExpressionC>();
    if (!part) {
        error.column = column(line, begin + std::min(position, end - begin));
        error.message = message.empty() ? u"does not read" : message;
        return false;
    }
    return true;
}

bool RuleReaderC::addTo(const std::vector<LineS>& lines, RewriterC& rewriter, ErrorS& error) {
    for (const LineS& rule : lines) {
        std::u16string problem;
        if (!rule.replacement ||
            !rewriter.addRule(rule.pattern->getNode(), rule.replacement->getNode(),
                              rule.condition ? rule.condition->getNode() : nullptr, &problem)) {
            error.line = rule.line;
            error.column = rule.pattern_column;
            error.message = problem.empty() ? u"no replacement" : problem;
            return false;
        }
    }
    return true;
}

}  // namespace qorv::math::algexpr
