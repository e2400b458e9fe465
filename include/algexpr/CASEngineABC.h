// SPDX-License-Identifier: MIT
// CASEngineABC: the client's computer-algebra engine. The session keeps one
// and hands it out (CASSessionBC::getCASEngine); the library never calls it.
// Evaluation reaches the client through CASSessionBC::executeExpression.
#ifndef ALGEXPR_CASENGINEABC_H
#define ALGEXPR_CASENGINEABC_H

#include <string>

#include "algexpr/algexpr_export.h"
#include "oss/RefCountedBC.h"

namespace qorv::math::algexpr {

class ALGEXPR_API CASEngineABC : public qorv::oss::RefCountedBC {
public:
    CASEngineABC();
    virtual ~CASEngineABC();
    /// The engine's display name.
    virtual std::u16string getName() const = 0;
};

}  // namespace qorv::math::algexpr

#endif
