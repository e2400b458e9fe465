// SPDX-License-Identifier: MIT
// The GiNaC client's engine driver: the one thread on which all GiNaC and
// CLN work of a process runs (GiNaC's reference counts and globals are not
// thread-safe), with a stack of GinacEngineC::kWorkerStackBytes, and the
// catch ladder with GiNaC's messages (support::EngineDriverC). A caller that
// wants many evaluations without a hand-off between threads each runs them
// all as one job (GinacEngineC::runOnWorker): work asked for from the thread
// runs at once. Forks and exit are safe as support::WorkerThreadC describes.
#ifndef ALGEXPR_GINAC_SRC_DRIVER_H
#define ALGEXPR_GINAC_SRC_DRIVER_H

#include "EngineDriverC.h"

namespace qorv::math::algexpr::ginac::detail {

/// Made on first use and never deleted.
support::EngineDriverC& driver() noexcept;

}  // namespace qorv::math::algexpr::ginac::detail

#endif
