// SPDX-License-Identifier: MIT
// VisitationOrderE: the kinds of visit a traversal makes. The values are
// single bits so that they double as the bits of a visitor's mask.
#ifndef ALGEXPR_VISITATIONORDERE_H
#define ALGEXPR_VISITATIONORDERE_H

namespace qorv::math::algexpr {

enum VisitationOrderE {
    PreOrder = 1,   ///< a function node, before its first argument
    InOrder = 2,    ///< a function node, between two consecutive arguments
    PostOrder = 4,  ///< a function node, after its last argument
    LeafOrder = 8   ///< a leaf, its only visit (always made, whatever the mask)
};

}  // namespace qorv::math::algexpr

#endif
