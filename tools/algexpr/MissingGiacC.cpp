// SPDX-License-Identifier: MIT
// The Giac engine's entry in a tool built without the Giac client.
#include "MissingEntryC.h"

namespace qorv::math::algexpr::cli {

const EngineEntryABC& giacEntry() {
    static const MissingEntryC entry(
        "giac", "Giac", support::EngineColumnE::Giac,
        "this algexpr was built without Giac: install libgiac-dev (scripts/install-deps.sh does) and rebuild");
    return entry;
}

}  // namespace qorv::math::algexpr::cli
