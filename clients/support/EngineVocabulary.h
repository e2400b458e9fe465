// SPDX-License-Identifier: MIT
// Each engine's view of the core vocabulary (VocabularyTC over OperationE),
// by its own column of the table: the names its sources use. One place for
// all engines, beside the table whose columns they are.
#ifndef ALGEXPR_CLIENTS_SUPPORT_ENGINEVOCABULARY_H
#define ALGEXPR_CLIENTS_SUPPORT_ENGINEVOCABULARY_H

#include "OperationE.h"
#include "VocabularyTC.h"

namespace qorv::math::algexpr {

namespace numeric::detail {
using support::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Numeric;
}  // namespace numeric::detail

namespace ginac::detail {
using support::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Ginac;
}  // namespace ginac::detail

namespace giac::detail {
using support::OperationE;
using Words = support::VocabularyTC<OperationE>;
constexpr support::EngineColumnE kColumn = support::EngineColumnE::Giac;
}  // namespace giac::detail

}  // namespace qorv::math::algexpr

#endif
