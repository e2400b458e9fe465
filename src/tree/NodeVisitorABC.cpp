// SPDX-License-Identifier: MIT
#include "algexpr/NodeVisitorABC.h"

namespace qorv::math::algexpr {

NodeVisitorABC::NodeVisitorABC(int visitations_mask) : visitations_mask(visitations_mask) {}

NodeVisitorABC::~NodeVisitorABC() = default;

bool NodeVisitorABC::interestedInVisit(VisitationOrderE order) { return (visitations_mask & order) != 0; }

int NodeVisitorABC::getVisitationsMask() const { return visitations_mask; }

void NodeVisitorABC::setVisitationsMask(int mask) { visitations_mask = mask; }

}  // namespace qorv::math::algexpr
