// SPDX-License-Identifier: MIT
// The engine's core vocabulary: the engines' one table (Vocabulary.def in
// the client support), read through the engine's operation enum.
#ifndef ALGEXPR_GIAC_SRC_VOCABULARY_H
#define ALGEXPR_GIAC_SRC_VOCABULARY_H

#include "VocabularyTC.h"
#include "algexpr/giac/GiacEngineC.h"

namespace qorv::math::algexpr::giac {

enum class GiacEngineC::OperationE : unsigned char {
    None,
#define ALGEXPR_WORD(id, ...) id,
#include "Vocabulary.def"
#undef ALGEXPR_WORD
    Count  // not an operation: the number of them
};

namespace detail {

using OperationE = GiacEngineC::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Giac;

}  // namespace detail
}  // namespace qorv::math::algexpr::giac

#endif
