// SPDX-License-Identifier: MIT
// Reference counting and the intrusive pointer.
#include <gtest/gtest.h>

#include "oss/PointerTC.h"
#include "oss/RefCountedBC.h"

namespace {

using qorv::oss::PointerTC;
using qorv::oss::RefCountedBC;

struct Counted : RefCountedBC {
    explicit Counted(int* destroyed) : destroyed(destroyed) {}
    virtual ~Counted() { ++*destroyed; }
    int* destroyed;
    PointerTC<Counted> owned;
};

struct Derived : Counted {
    using Counted::Counted;
};

TEST(SharedObjectsTest, OwnersAreCountedThroughCopiesAndAssignments) {
    static_assert(sizeof(PointerTC<Counted>) == sizeof(Counted*), "one pointer in size");
    int destroyed = 0;
    PointerTC<Counted> a(new Counted(&destroyed));
    {
        PointerTC<Counted> b = a;
        EXPECT_EQ(a->references(), 2u);
    }
    PointerTC<Counted>& same = a;
    a = same;
    EXPECT_EQ(a->references(), 1u);
    PointerTC<Counted> null;
    PointerTC<Counted> copy = null;  // null copies touch nothing
    copy = null;
    EXPECT_FALSE(copy);

    // The old object is the only owner of the new one: the new one must gain
    // its reference before the old one is destroyed.
    a->owned = PointerTC<Counted>(new Counted(&destroyed));
    a = a->owned;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(a->references(), 1u);

    PointerTC<Counted> moved(std::move(a));
    EXPECT_FALSE(a);
    PointerTC<Derived> derived(new Derived(&destroyed));
    PointerTC<Counted> base = derived;
    EXPECT_EQ(base->references(), 2u);
    moved = std::move(base);
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(moved->references(), 2u);
    Counted plain(*moved);  // copies start without owners, and assignment leaves the target's alone
    EXPECT_EQ(plain.references(), 0u);
    *moved = plain;
    EXPECT_EQ(moved->references(), 2u);
    moved = nullptr;
    derived = nullptr;
    EXPECT_EQ(destroyed, 3);  // each object once, at its last release
}

}  // namespace
