// SPDX-License-Identifier: MIT
// The engine's core vocabulary: the engines' one operation enum and table
// (OperationE.h and Vocabulary.def in the client support), read by the
// engine's own column.
#ifndef ALGEXPR_GIAC_SRC_VOCABULARY_H
#define ALGEXPR_GIAC_SRC_VOCABULARY_H

#include "OperationE.h"
#include "VocabularyTC.h"

namespace qorv::math::algexpr::giac::detail {

using support::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Giac;

}  // namespace qorv::math::algexpr::giac::detail

#endif
