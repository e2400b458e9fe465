// SPDX-License-Identifier: MIT
// GinacWalkerTC: the one walk over a GiNaC expression: each distinct part
// once, its operands before it, without recursion, folding a Value from the
// operands' values. Parts are told apart by address; the operands of sums
// and products are made afresh by each op() call, so every part met is kept
// alive while the walk runs (a freed one's address could come back for
// another), and let go when it ends. The containers are kept between runs
// for their capacity.
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
#include <algorithm>
#include <cstdint>
#include <vector>

namespace qorv::math::algexpr::ginac::detail {

template <class Value>
class GinacWalkerTC {
public:
    // Room for a small expression from the start: most walks are of one.
    GinacWalkerTC() {
        frames.reserve(kFirstRoom);
        values.reserve(kFirstRoom);
        alive.reserve(kFirstRoom);
    }

    /// `descend(part)`: whether to visit the part's operands (those not
    /// visited give leave() no values). `leave(part, values, count)`: the
    /// part's value from its operands' values, in operand order.
    template <class Descend, class Leave>
    Value run(const GiNaC::ex& root, Descend descend, Leave leave) {
        return runOver(
            root, [&descend](const GiNaC::ex& e) { return descend(e) ? e.nops() : 0; },
            [](const GiNaC::ex& e, std::size_t i) { return e.op(i); }, leave);
    }

    /// The same over operands of one's own choosing: `count(part)` of them,
    /// `operand(part, i)` the i-th (the terms of a sum without their
    /// coefficients, say, which op() would make afresh).
    template <class Count, class Operand, class Leave>
    Value runOver(const GiNaC::ex& root, Count count, Operand operand, Leave leave) {
        clearMemo();
        values.clear();
        // The parts go when the walk ends, thrown out of or not; the
        // capacity stays.
        struct Released {
            GinacWalkerTC& walker;
            ~Released() {
                walker.frames.clear();
                walker.alive.clear();
            }
        } released{*this};
        frames.push_back(Frame{root, 0, 0, count(root)});
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next < frame.count) {
                GiNaC::ex part = operand(frame.e, frame.next++);
                const Value* found = find(keyOf(part));
                if (found != nullptr) {
                    values.push_back(*found);
                } else {
                    const std::size_t operands = count(part);
                    frames.push_back(Frame{std::move(part), 0, values.size(), operands});
                }
                continue;
            }
            Value value = leave(frame.e, values.data() + frame.base, values.size() - frame.base);
            values.resize(frame.base);
            remember(keyOf(frame.e), value);
            alive.push_back(frame.e);
            frames.pop_back();
            values.push_back(std::move(value));
        }
        return values.back();
    }

private:
    static constexpr std::size_t kFirstRoom = 32;

    struct Frame {
        GiNaC::ex e;
        std::size_t next;   // the operand to take next
        std::size_t base;   // where its operands' values start
        std::size_t count;  // operands to visit
    };

    static const GiNaC::basic* keyOf(const GiNaC::ex& e) { return &GiNaC::ex_to<GiNaC::basic>(e); }

    // The memo: open addressing by address, linear probing; a power of two
    // at least twice the parts remembered.
    struct Slot {
        const GiNaC::basic* key;
        Value value;
    };

    static std::size_t slotOf(const GiNaC::basic* key, std::size_t mask) {
        const auto bits = reinterpret_cast<std::uintptr_t>(key);
        return static_cast<std::size_t>((bits >> 4) * 0x9e3779b97f4a7c15ull >> 7) & mask;
    }

    const Value* find(const GiNaC::basic* key) const {
        if (slots.empty()) {
            return nullptr;
        }
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = slotOf(key, mask); slots[i].key != nullptr; i = (i + 1) & mask) {
            if (slots[i].key == key) {
                return &slots[i].value;
            }
        }
        return nullptr;
    }

    void remember(const GiNaC::basic* key, const Value& value) {
        if (2 * (used + 1) > slots.size()) {
            std::vector<Slot> old;
            old.swap(slots);
            slots.assign(old.empty() ? 64 : old.size() * 2, Slot{nullptr, Value()});
            used = 0;
            for (const Slot& slot : old) {
                if (slot.key != nullptr) {
                    remember(slot.key, slot.value);
                }
            }
        }
        const std::size_t mask = slots.size() - 1;
        std::size_t i = slotOf(key, mask);
        while (slots[i].key != nullptr) {
            i = (i + 1) & mask;
        }
        slots[i] = Slot{key, value};
        ++used;
    }

    void clearMemo() {
        if (slots.size() > 1024) {
            slots.assign(64, Slot{nullptr, Value()});  // a huge walk's table is not kept for every small one after it
        } else {
            std::fill(slots.begin(), slots.end(), Slot{nullptr, Value()});
        }
        used = 0;
    }

    std::vector<Slot> slots;
    std::size_t used = 0;
    std::vector<GiNaC::ex> alive;
    std::vector<Frame> frames;
    std::vector<Value> values;
};

}  // namespace qorv::math::algexpr::ginac::detail

#endif
