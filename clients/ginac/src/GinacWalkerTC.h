// SPDX-License-Identifier: MIT
// GinacWalkerTC: the one walk over a GiNaC expression: each distinct part
// once, its operands before it, without recursion, folding a Value from the
// operands' values. Parts are told apart by address; the operands of sums
// and products are made afresh by each op() call, so every part met is kept
// alive while the walk runs (a freed one's address could come back for
// another). The containers are kept between runs for their capacity.
//
//   GinacWalkerTC<double> walker;
//   double leaves = walker.run(e, [](const GiNaC::ex&) { return true; },
//       [](const GiNaC::ex& part, const double* values, std::size_t n) { ... return total; });
//
// Worker thread only.
#ifndef ALGEXPR_GINAC_SRC_GINACWALKERTC_H
#define ALGEXPR_GINAC_SRC_GINACWALKERTC_H

#include <ginac/ginac.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace qorv::math::algexpr::ginac::detail {

template <class Value>
class GinacWalkerTC {
public:
    /// `descend(part)`: whether to visit the part's operands (those not
    /// visited give leave() no values). `leave(part, values, count)`: the
    /// part's value from its operands' values, in operand order.
    template <class Descend, class Leave>
    Value run(const GiNaC::ex& root, Descend descend, Leave leave) {
        memo.clear();
        alive.clear();
        frames.clear();
        values.clear();
        frames.push_back(Frame{root, 0, 0, descend(root) ? root.nops() : 0});
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next < frame.count) {
                GiNaC::ex part = frame.e.op(frame.next++);
                const auto found = memo.find(keyOf(part));
                if (found != memo.end()) {
                    values.push_back(found->second);
                } else {
                    const std::size_t count = descend(part) ? part.nops() : 0;
                    frames.push_back(Frame{std::move(part), 0, values.size(), count});
                }
                continue;
            }
            Value value = leave(frame.e, values.data() + frame.base, values.size() - frame.base);
            values.resize(frame.base);
            memo.emplace(keyOf(frame.e), value);
            alive.push_back(frame.e);
            frames.pop_back();
            values.push_back(std::move(value));
        }
        return values.back();
    }

private:
    struct Frame {
        GiNaC::ex e;
        std::size_t next;   // the operand to take next
        std::size_t base;   // where its operands' values start
        std::size_t count;  // operands to visit
    };

    static const GiNaC::basic* keyOf(const GiNaC::ex& e) { return &GiNaC::ex_to<GiNaC::basic>(e); }

    std::unordered_map<const GiNaC::basic*, Value> memo;
    std::vector<GiNaC::ex> alive;
    std::vector<Frame> frames;
    std::vector<Value> values;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
