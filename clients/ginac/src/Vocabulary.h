// SPDX-License-Identifier: MIT
// The engine's core vocabulary: the engines' one table (Vocabulary.def in
// the client support), read through the engine's operation enum.
#ifndef ALGEXPR_GINAC_SRC_VOCABULARY_H
#define ALGEXPR_GINAC_SRC_VOCABULARY_H

#include "VocabularyTC.h"
#include "algexpr/ginac/GinacEngineC.h"

namespace qorv::math::algexpr::ginac {

enum class GinacEngineC::OperationE : unsigned char {
#include "VocabularyOperations.inc"
};

namespace detail {

using OperationE = GinacEngineC::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Ginac;

}  // namespace detail
}  // namespace qorv::math::algexpr::ginac

#endif
