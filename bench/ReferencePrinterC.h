// SPDX-License-Identifier: MIT
// ReferencePrinterC: the shortest road from a tree of the library's nodes to
// its prefix text, as a yardstick for the library's printer. It walks the
// tree with an explicit stack, tells node classes apart by their castable id,
// takes core names from its own copy of the vocabulary and every other text
// from the nodes. The text is the library printer's for the library's own
// node classes.
#ifndef ALGEXPR_BENCH_REFERENCEPRINTERC_H
#define ALGEXPR_BENCH_REFERENCEPRINTERC_H

#include <string>
#include <vector>

#include "algexpr/NumberDisplayFormatE.h"

namespace qorv::math::algexpr {
class NodeABC;
class ParentNodeABC;
}  // namespace qorv::math::algexpr

namespace qorv::math::algexpr::bench {

class ReferencePrinterC {
public:
    /// `core_element_names` is the list the session was built from.
    explicit ReferencePrinterC(const char16_t* const* core_element_names);
    ~ReferencePrinterC();

    /// The prefix text of the tree; the empty text for null.
    std::u16string print(const NodeABC* root, unsigned long digits, qorv::math::NumberDisplayFormatE format);

private:
    struct Frame {
        const ParentNodeABC* node;
        unsigned int next;
        bool written;  // a child was written: the next one needs a ","
    };

    /// Writes a leaf, or an application's name and "(" and opens a frame.
    void enter(const NodeABC& node, std::u16string& out);
    void appendCoreName(int code, const NodeABC& node, std::u16string& out);

    std::vector<std::u16string> core_names;
    std::vector<Frame> frames;
    unsigned long digits;
    qorv::math::NumberDisplayFormatE format;
};

}  // namespace qorv::math::algexpr::bench

#endif
