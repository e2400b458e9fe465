// SPDX-License-Identifier: MIT
// OperationE: the engines' one operation enum, made from the vocabulary
// table (Vocabulary.def): None, one enumerator a line in code order, Count.
// Every engine reads the table through it (VocabularyTC<OperationE>, with
// its own EngineColumnE) and keeps the operation of each core code in it.
// The installed engine headers only declare it (an opaque enum, unsigned
// char), for their private members.
#ifndef ALGEXPR_CLIENTS_SUPPORT_OPERATIONE_H
#define ALGEXPR_CLIENTS_SUPPORT_OPERATIONE_H

namespace qorv::math::algexpr::support {

enum class OperationE : unsigned char {
#include "VocabularyOperations.inc"
};

}  // namespace qorv::math::algexpr::support

#endif
