// SPDX-License-Identifier: MIT
// ResultWriterC: writes a GiNaC result as a new expression tree in the order
// and forms of ResultOrderC (see GinacEngineC.h), with an explicit stack, so
// results of any depth are written in time linear in the tree written (a
// part GiNaC shares is written out each time it occurs; kMaxResultNodes
// bounds that). Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_RESULTWRITERC_H
#define ALGEXPR_GINAC_SRC_RESULTWRITERC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "ResultOrderC.h"
#include "Vocabulary.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {
class CASSessionBC;
class NodeABC;
class ParentNodeABC;
class SymbolC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::ginac::detail {

class ResultWriterC {
public:
    struct ContextS {
        CASSessionBC& session;                                         // for names not in the input
        const std::vector<int>& codes;                                 // core code by operation, -1 if none
        const std::vector<qorv::oss::PointerTC<SymbolC>>& symbols;     // by OrderedSymbolC rank
        const std::unordered_map<unsigned, qorv::oss::PointerTC<SymbolC>>& functions;  // by serial
        unsigned long digits;                                          // of floats
    };

    ResultWriterC(const ResultOrderC& order, const ContextS& context);
    ~ResultWriterC();

    /// The tree of `root` (laid out by the order beforehand), owned by the
    /// caller. Throws RefusalC (limits, parts that cannot be written) and
    /// std::bad_alloc.
    NodeABC* write(const GiNaC::ex& root);

private:
    struct Task;

    void step(Task& task);
    void attach(ParentNodeABC* parent, NodeABC* node);
    void push(std::vector<Task>& children, ParentNodeABC* parent);
    void structure(ParentNodeABC* parent, OperationE operation, std::vector<Task> children);
    Task product(const GiNaC::ex& e, bool negate);
    Task number(const GiNaC::numeric& value);
    Task fold(const std::vector<TermS>& terms, std::size_t count);
    Task term(const TermS& term);
    ParentNodeABC* function(OperationE operation);
    ParentNodeABC* functionOfSerial(unsigned serial);
    NodeABC* constant(OperationE operation);
    NodeABC* named(const std::u16string& name);

    const ResultOrderC& order;
    const ContextS& context;
    std::vector<Task> stack;
    std::deque<std::vector<TermS>> pieces;  // the parts of complex numbers being written
    std::unique_ptr<NodeABC> root_p;
    std::size_t nodes = 0;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
