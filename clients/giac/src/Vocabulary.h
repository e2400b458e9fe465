// SPDX-License-Identifier: MIT
// The engine's core vocabulary: the engines' one table (Vocabulary.def in
// the client support), read through the engine's operation enum.
#ifndef ALGEXPR_GIAC_SRC_VOCABULARY_H
#define ALGEXPR_GIAC_SRC_VOCABULARY_H

#include "VocabularyTC.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac {

enum class GiacEngineC::OperationE : unsigned char {
#include "VocabularyOperations.inc"
};

namespace detail {

using OperationE = GiacEngineC::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Giac;

}  // namespace detail
}  // namespace qorv::math::algexpr::giac

#endif
