// SPDX-License-Identifier: MIT
#include "PrefixParserC.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/PrefixSyntaxCheckC.h"

// How every text reads is written once, in include/algexpr/AlgebraicExpressionC.h
// ("Reading prefix text"); this reader keeps to those rules exactly, calls
// included. What follows are notes on how it does so.
//
// The reading is one pass with an explicit stack, in time linear in the text
// whatever its nesting. Let D(i) be the count of "(" minus ")" before
// position i. The arguments after a "(" at position p start at depth
// L = D(p) + 1, and their separators are exactly the "," of level D == L that
// follow. So every "(" and "," is linked beforehand to the next "," of its
// level, and every position to the last ")" before it. Texts written the plain
// way (each ")" closing the innermost "(" and followed only by ",", ")" or
// the end) need none of that and are read in a single pass. D is kept in a signed
// 64-bit integer: it cannot wrap for any text that fits in memory.

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

namespace {

bool isWhitespace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

bool isExponentLetter(char16_t c) { return c == u'e' || c == u'E'; }

bool isFloatText(const char16_t* first, const char16_t* last) {
    for (const char16_t* p = first; p != last; ++p) {
        if (*p == u'.' || isExponentLetter(*p)) {
            return true;
        }
    }
    return false;
}

// Removes the whitespace in place.
void stripWhitespace(std::u16string& text) {
    std::size_t kept = 0;
    for (char16_t c : text) {
        if (!isWhitespace(c)) {
            text[kept++] = c;
        }
    }
    text.resize(kept);
}

using Index = std::size_t;  // a position in the text

class Reader {
public:
    Reader(CASSessionBC& session, const std::u16string& text) : session(session), text(text) {}

    // The root read, owned by the caller, or null. Client exceptions pass
    // through; the partial tree is freed on the way.
    NodeABC* read() {
        if (isBalanced()) {
            return readBalanced();
        }
        if (!link()) {
            return failAt(0);
        }
        if (!readPiece(0, text.size(), nullptr)) {
            return nullptr;
        }
        while (!frames.empty()) {
            Frame& frame = frames.back();
            ParentNodeABC* parent = frame.node;
            Index first = frame.start;
            Index last;
            if (frame.comma != kNone && frame.comma < frame.end) {
                last = frame.comma;
                frame.start = last + 1;
                frame.comma = next_comma[last];
            } else {
                last = frame.end;
                frames.pop_back();
            }
            if (!readPiece(first, last, parent)) {
                return nullptr;
            }
        }
        return root.release();
    }

private:
    static constexpr Index kNone = std::numeric_limits<Index>::max();

    // An application whose remaining arguments are still to be read.
    struct Frame {
        ParentNodeABC* node;
        Index start;  // where the next argument starts
        Index comma;  // the next "," of the arguments' level, or kNone
        Index end;    // where the arguments end
    };

    // True for a text in which every application's arguments end at the ")"
    // that balances its "(" and nothing follows that ")" but ",", ")" or the
    // end: there the arguments of an application are exactly the pieces
    // between its "(", its top-level commas and its ")", so one pass with a
    // stack reads the same tree with the same calls. Texts with "()" are left
    // to the general reading, which fails them.
    bool isBalanced() const {
        const std::size_t n = text.size();
        std::size_t depth = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const char16_t c = text[i];
            if (c == u'(') {
                ++depth;
                if (i + 1 < n && text[i + 1] == u')') {
                    return false;
                }
            } else if (c == u')') {
                if (depth == 0) {
                    return false;
                }
                --depth;
                if (i + 1 < n ? depth == 0 || (text[i + 1] != u')' && text[i + 1] != u',') : depth != 0) {
                    return false;
                }
            } else if (c == u',' && depth == 0) {
                return false;
            }
        }
        return depth == 0;
    }

    // The reading of a text for which isBalanced() holds.
    NodeABC* readBalanced() {
        const std::size_t n = text.size();
        std::size_t i = 0;
        try {
            open.reserve(16);  // one allocation for the usual nesting, not one per doubling
        } catch (const std::bad_alloc&) {
            return failAt(0);
        }
        for (;;) {
            const std::size_t start = i;
            while (i < n && text[i] != u'(' && text[i] != u')' && text[i] != u',') {
                ++i;
            }
            ParentNodeABC* parent = open.empty() ? nullptr : open.back();
            if (i < n && text[i] == u'(') {
                ParentNodeABC* node = makeFunctionNode(start, i);
                if (node == nullptr || !attach(node, parent)) {
                    return failAt(start);
                }
                try {
                    open.push_back(node);
                } catch (const std::bad_alloc&) {
                    return failAt(start);
                }
                ++i;
                continue;
            }
            NodeABC* leaf = readLeaf(start, i);
            if (leaf == nullptr || !attach(leaf, parent)) {
                return failAt(start);
            }
            while (i < n && text[i] == u')') {
                open.pop_back();
                ++i;
            }
            if (i == n) {
                return root.release();
            }
            ++i;  // a ","
        }
    }

    bool link() {
        const std::size_t n = text.size();
        try {
            last_close.resize(n + 1);
            next_comma.resize(n);
        } catch (const std::bad_alloc&) {
            return false;
        }
        std::int64_t depth = 0;
        std::int64_t lowest = 0;
        std::int64_t highest = 0;
        Index close = kNone;
        for (std::size_t i = 0; i < n; ++i) {
            last_close[i] = close;
            if (text[i] == u')') {
                close = i;
                --depth;
                lowest = depth < lowest ? depth : lowest;
            } else if (text[i] == u'(') {
                ++depth;
                highest = depth > highest ? depth : highest;
            }
        }
        last_close[n] = close;
        std::vector<Index> nearest;  // by level - lowest: the nearest "," to the right
        try {
            nearest.assign(static_cast<std::size_t>(highest - lowest) + 1, kNone);
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (std::size_t i = n; i-- > 0;) {
            const char16_t c = text[i];
            if (c == u'(') {
                next_comma[i] = nearest[static_cast<std::size_t>(depth - lowest)];
                --depth;
            } else if (c == u')') {
                ++depth;
            } else if (c == u',') {
                Index& slot = nearest[static_cast<std::size_t>(depth - lowest)];
                next_comma[i] = slot;
                slot = i;
            }
        }
        return true;
    }

    // Reads the expression text [first, last) and hangs its node under
    // `parent` (or makes it the root). An application's arguments are left
    // on the frame stack.
    bool readPiece(Index first, Index last, ParentNodeABC* parent) {
        Index open = first;
        while (open < last && text[open] != u'(') {
            ++open;
        }
        if (open == last) {
            NodeABC* leaf = readLeaf(first, last);
            return (leaf != nullptr && attach(leaf, parent)) || failAt(first) != nullptr;
        }
        const Index close = last_close[last];
        const Index end = close != kNone && close > open ? close : last;
        ParentNodeABC* node = makeFunctionNode(first, open);
        if (node == nullptr || !attach(node, parent)) {
            return failAt(first) != nullptr;
        }
        if (end == open + 1) {
            problem = ProblemE::NoArguments;
            return failAt(end) != nullptr;
        }
        try {
            frames.push_back(Frame{node, open + 1, next_comma[open], end});
        } catch (const std::bad_alloc&) {
            return failAt(first) != nullptr;
        }
        return true;
    }

    bool attach(NodeABC* node, ParentNodeABC* parent) {
        if (parent == nullptr) {
            root.reset(node);
            return true;
        }
        const unsigned int before = parent->numChildren();
        parent->addChild(node);  // deletes the node when the list cannot grow
        return parent->numChildren() != before;
    }

    NodeABC* readLeaf(Index first, Index last) {
        const char16_t* begin = text.data() + first;
        const char16_t* end = text.data() + last;
        if (!PrefixSyntaxCheckC::readsAsNumber(std::u16string_view(begin, last - first))) {
            return makeSymbolNode(first, last);
        }
        std::u16string token;
        if (!copy(first, last, token)) {
            return nullptr;
        }
        return isFloatText(begin, end) ? makeFloatNode(token) : makeIntegerNode(token);
    }

    ParentNodeABC* makeFunctionNode(Index first, Index last) {
        Name name;
        if (!resolve(first, last, name)) {
            return nullptr;
        }
        if (name.symbol) {
            return new (std::nothrow) ExtendedFunctionNodeC(std::move(name.symbol));
        }
        return new (std::nothrow) CoreFunctionNodeC(name.code);
    }

    NodeABC* makeSymbolNode(Index first, Index last) {
        Name name;
        if (!resolve(first, last, name)) {
            return nullptr;
        }
        if (name.symbol) {
            return new (std::nothrow) ExtendedSymbolNodeC(std::move(name.symbol));
        }
        return new (std::nothrow) CoreSymbolNodeC(name.code);
    }

    // A name resolved: a core element's code, or else a symbol.
    struct Name {
        int code = 0;
        PointerTC<SymbolC> symbol;
    };

    // Asks the session for a core element of the name and, when there is
    // none, for the name's symbol. False when memory runs out.
    bool resolve(Index first, Index last, Name& out) {
        std::u16string name;
        std::u16string argument;
        if (!copy(first, last, name) || !copy(first, last, argument)) {
            return false;
        }
        PointerTC<CoreElementC> element = session.lookupCoreElement(std::move(argument));
        if (element) {
            out.code = element->getCode();
            return true;
        }
        out.symbol = session.lookupSymbol(std::move(name));
        return static_cast<bool>(out.symbol);
    }

    NodeABC* makeIntegerNode(const std::u16string& token) {
        if (!integers_asked) {
            integers = session.getIntegerValueFactory();
            integers_asked = true;
        }
        if (integers) {
            IntegerValueABC* value = integers->fromString(token);  // null: declined
            if (value != nullptr) {
                auto* node = new (std::nothrow) IntegerNodeC(value);
                if (node == nullptr) {
                    delete value;
                }
                return node;
            }
        }
        return makeFloatNode(token);
    }

    NodeABC* makeFloatNode(const std::u16string& token) {
        if (!floats_asked) {
            floats = session.getFloatValueFactory();
            floats_asked = true;
        }
        FloatValueABC* value = floats ? floats->fromString(token) : nullptr;
        if (value == nullptr) {
            problem = ProblemE::NumberNotAccepted;
            return nullptr;
        }
        auto* node = new (std::nothrow) FloatNodeC(value);
        if (node == nullptr) {
            delete value;
        }
        return node;
    }

    bool copy(Index first, Index last, std::u16string& out) {
        try {
            out.assign(text, first, last - first);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

public:
    /// Why the reading failed and where in the text read (without its
    /// whitespace), for the caller that asks.
    using ProblemE = PrefixParserC::ProblemE;
    ProblemE problem = ProblemE::OutOfMemory;
    Index problem_at = 0;

private:
    // Notes where the reading failed, keeping the problem that a step below
    // already named; null.
    NodeABC* failAt(Index at) {
        problem_at = at;
        return nullptr;
    }

    CASSessionBC& session;
    // The factories, asked for once per reading: each request hands out a
    // counted pointer, whose count threads reading at once would share.
    PointerTC<IntegerValueFactoryABC> integers;
    PointerTC<FloatValueFactoryABC> floats;
    bool integers_asked = false;
    bool floats_asked = false;
    const std::u16string& text;
    std::vector<Index> last_close;  // at i: the last ")" before i
    std::vector<Index> next_comma;  // at "(" and ",": the next "," of the level after it
    std::vector<Frame> frames;
    std::vector<ParentNodeABC*> open;  // the applications being read, innermost last
    std::unique_ptr<NodeABC> root;
};

}  // namespace

PrefixParserC::PrefixParserC() = default;

PrefixParserC::~PrefixParserC() = default;

PointerTC<AlgebraicExpressionC> PrefixParserC::parse(std::u16string text, FailureS* failure) {
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    FailureS ignored;
    FailureS& failed = failure != nullptr ? *failure : ignored;
    failed = FailureS{ProblemE::NoSession, 0};
    if (!session) {
        return PointerTC<AlgebraicExpressionC>();
    }
    stripWhitespace(text);
    if (text.empty()) {
        failed.problem = ProblemE::EmptyText;
        return PointerTC<AlgebraicExpressionC>();
    }
    Reader reader(*session, text);
    std::unique_ptr<NodeABC> root(reader.read());
    if (!root) {
        failed = FailureS{reader.problem, reader.problem_at};
        return PointerTC<AlgebraicExpressionC>();
    }
    auto* expression = new (std::nothrow) AlgebraicExpressionC(root.get());
    if (expression == nullptr) {
        failed = FailureS{ProblemE::OutOfMemory, 0};
        return PointerTC<AlgebraicExpressionC>();
    }
    root.release();
    return PointerTC<AlgebraicExpressionC>(expression);
}

}  // namespace qorv::math::algexpr
