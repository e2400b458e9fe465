// SPDX-License-Identifier: MIT
// The GiNaC engine's entry in a tool built without the GiNaC client.
#include "MissingEntryC.h"

namespace qorv::math::algexpr::cli {

const EngineEntryABC& ginacEntry() {
    static const MissingEntryC entry(
        "ginac", "GiNaC", support::EngineColumnE::Ginac,
        "this algexpr was built without GiNaC: install libginac-dev (scripts/install-deps.sh does) and rebuild");
    return entry;
}

}  // namespace qorv::math::algexpr::cli
