// SPDX-License-Identifier: MIT
// FormWriterC: writes a ResultFormC as a new expression tree, with
// deterministic rules of its own that depend on nothing but the form:
//  - the terms of a sum by falling degree in the symbols, then by their
//    factors (as below), numbers last; written left to right with minus for
//    negative terms, a leading negative term giving way to the first
//    positive one: plus(power(x,2),times(2,x),1), minus(1,x),
//    plus(minus(power(x,2),x),1); neg(x) starts a sum without positive terms;
//  - the factors of a product: the number first, then constants, symbols
//    (by name), functions (by name, then arguments), sums; a power sorts with
//    its base; negative powers and a rational's denominator go below a
//    divide: divide(times(2,x),times(3,y)); neg(x) for -x, times(-3,x);
//  - numbers: integers, divide(p,q) for rationals, floats, a + b i as
//    plus(a,times(b,i)); power(x,divide(1,2)) as sqrt(x), exp(1) as e.
// Structures are compared through ranks computed bottom-up once (no
// recursion, n log n in the size of the form). Names come from the
// session's vocabulary where it has them (core nodes) and from its symbol
// table otherwise.
#ifndef ALGEXPR_GIAC_SRC_FORMWRITERC_H
#define ALGEXPR_GIAC_SRC_FORMWRITERC_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ResultFormC.h"

namespace qorv::math::algexpr {
class CASSessionBC;
class NodeABC;
class ParentNodeABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::giac::detail {

class FormWriterC {
public:
    /// `code_of(name)` gives the session's core code of a vocabulary name,
    /// or -1 when its vocabulary lacks the name.
    using CodeOfF = int (*)(const void* context, const std::u16string& name);

    FormWriterC(const ResultFormC& form, CASSessionBC& session, CodeOfF code_of, const void* code_context,
                std::size_t max_nodes);
    ~FormWriterC();

    /// The tree of the form's root, owned by the caller. Throws RefusalC
    /// beyond max_nodes nodes and std::bad_alloc.
    NodeABC* write();

    /// Why the form does not stand for a real number, or empty when it does:
    /// the first free symbol by name, else the first unknown function, else
    /// an order term, else a list or an equation, else a complex number.
    static std::u16string reasonOf(const ResultFormC& form);

private:
    struct TaskS;
    struct StepS;
    using Index = std::uint32_t;

    void rank();
    int compareOwn(Index a, Index b) const;
    int compare(Index a, Index b) const;
    int compareStructure(Index a, Index b) const;
    int compareFactors(Index a, Index b) const;
    int compareTerms(Index a, Index b) const;
    void layOut();
    bool isNegative(Index term) const;
    Index baseOf(Index factor) const;
    bool isNegativeNumber(Index item) const;

    void step(TaskS& task);
    void item(const TaskS& task);
    void number(const TaskS& task);
    void product(const TaskS& task, const std::vector<Index>& factors);
    void sum(const TaskS& task);
    void fold(const TaskS& task);
    void push(std::vector<TaskS>& children, ParentNodeABC* parent);
    void structure(ParentNodeABC* parent, const std::u16string& name, std::vector<TaskS> children);
    void attach(ParentNodeABC* parent, NodeABC* node);
    ParentNodeABC* function(const std::u16string& name);
    NodeABC* constant(const std::u16string& name);
    NodeABC* integer(const std::u16string& digits, bool negate);

    const ResultFormC& form;
    CASSessionBC& session;
    CodeOfF code_of;
    const void* code_context;
    std::size_t max_nodes;
    std::size_t nodes = 0;
    std::vector<std::uint32_t> heights;
    std::vector<std::uint32_t> ranks;
    std::vector<double> degrees;
    std::vector<double> magnitudes;           // of numbers, for their order
    std::vector<std::vector<Index>> sorted;   // arguments of sums and products, in writing order
    std::vector<TaskS> stack;
    std::vector<std::vector<StepS>> folds;   // the steps of each sum being written
    std::unique_ptr<NodeABC> root_p;
};

}  // namespace qorv::math::algexpr::giac::detail

#endif
