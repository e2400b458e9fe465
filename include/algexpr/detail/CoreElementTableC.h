// SPDX-License-Identifier: MIT
// CoreElementTableC: a session's core elements, by code and by exact name.
// Internal to the library: clients reach it through the session's
// lookupCoreElement operations.
#ifndef ALGEXPR_DETAIL_COREELEMENTTABLEC_H
#define ALGEXPR_DETAIL_COREELEMENTTABLEC_H

#include <map>
#include <string>

#include "algexpr/CoreElementC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr {

class CoreElementTableC {
public:
    CoreElementTableC();
    CoreElementTableC(const CoreElementTableC&) = delete;
    CoreElementTableC& operator=(const CoreElementTableC&) = delete;
    /// Releases the name map's references, then the code map's (the members
    /// go in reverse order of declaration).
    virtual ~CoreElementTableC();

    /// Enters the element under its code and under its name, displacing what
    /// either key held; null is ignored. When memory runs out the element is
    /// entered under neither key.
    void addCoreElement(qorv::oss::PointerTC<CoreElementC> element);

    qorv::oss::PointerTC<CoreElementC> lookupCoreElement(int code) const;
    qorv::oss::PointerTC<CoreElementC> lookupCoreElement(const std::u16string& name) const;

private:
    std::map<int, qorv::oss::PointerTC<CoreElementC>> code_map;
    std::map<std::u16string, qorv::oss::PointerTC<CoreElementC>> name_map;
};

}  // namespace qorv::math::algexpr

#endif
