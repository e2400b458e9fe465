// SPDX-License-Identifier: MIT
// CoreElementTableC: a session's core elements, by code and by exact name.
// Internal to the library: clients reach it through the session's
// lookupCoreElement operations.
//
// Threads: one session serves every thread at once; a tree that no thread
// changes may be read by any number of threads at once (walked, printed,
// copied, compared, searched, substituted into new trees); a change to a
// tree needs the tree to itself. Here: lookups may run on any number
// of threads at once, without a lock.
// The table is read-mostly (filled by the session's constructor, seldom
// again), so each filling builds a new snapshot under a lock and publishes it
// with one store; lookups read whichever snapshot is current. Snapshots that
// a later one replaced stay, with their references to their elements, until
// the table is destroyed, so a lookup never meets a freed element.
#ifndef ALGEXPR_DETAIL_COREELEMENTTABLEC_H
#define ALGEXPR_DETAIL_COREELEMENTTABLEC_H

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "algexpr/CoreElementC.h"
#include "algexpr/detail/ForkSafeLocksC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class CoreElementTableC {
public:
    CoreElementTableC() noexcept;
    CoreElementTableC(const CoreElementTableC&) = delete;
    CoreElementTableC& operator=(const CoreElementTableC&) = delete;
    /// Releases the elements, those held by name before those held by code.
    virtual ~CoreElementTableC();

    /// Enters the elements in turn, each under its code (its position in the
    /// list it came from, 0 or more) and its name, displacing what either key
    /// held; null entries are skipped. When memory runs out none is entered.
    void addCoreElements(const std::vector<qorv::oss::PointerTC<CoreElementC>>& elements);

    qorv::oss::PointerTC<CoreElementC> lookupCoreElement(int code) const;
    qorv::oss::PointerTC<CoreElementC> lookupCoreElement(const std::u16string& name) const;

    /// Spreads (or gathers back) the counts of the elements entered so far
    /// over thread slots (see oss/RefCountedBC.h): for
    /// the current session, whose elements every reading takes and drops.
    void spreadCounts() noexcept;
    void gatherCounts() noexcept;

private:
    struct Snapshot;

    void eachElement(void (*apply)(qorv::oss::RefCountedBC&)) noexcept;

    std::atomic<Snapshot*> current_p;  // null while empty
    detail::ForkSafeLocksC locks;      // one, for those who fill the table
};

}  // namespace qorv::math::algexpr

#endif
