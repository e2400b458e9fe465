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

TEST(PointerTCTest, LastReleaseDestroysOnce) {
    int destroyed = 0;
    {
        PointerTC<Counted> a(new Counted(&destroyed));
        EXPECT_EQ(a->references(), 1u);
        {
            PointerTC<Counted> b = a;
            EXPECT_EQ(a->references(), 2u);
        }
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
    static_assert(sizeof(PointerTC<Counted>) == sizeof(Counted*), "one pointer in size");
}

TEST(PointerTCTest, NullCopiesTouchNothing) {
    PointerTC<Counted> a;
    PointerTC<Counted> b = a;
    EXPECT_FALSE(b);
    b = a;
    EXPECT_EQ(b.get(), nullptr);
}

TEST(PointerTCTest, AssignmentKeepsCountsRight) {
    int destroyed = 0;
    PointerTC<Counted> a(new Counted(&destroyed));
    PointerTC<Counted>& same = a;
    a = same;
    EXPECT_EQ(a->references(), 1u);

    // The old object is the only owner of the new one: the new one must gain
    // its reference before the old one is destroyed.
    a->owned = PointerTC<Counted>(new Counted(&destroyed));
    a = a->owned;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(a->references(), 1u);

    PointerTC<Counted> moved(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(moved->references(), 1u);
    PointerTC<Derived> derived(new Derived(&destroyed));
    PointerTC<Counted> base = derived;
    EXPECT_EQ(base->references(), 2u);
    moved = std::move(base);
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(moved->references(), 2u);
}

TEST(RefCountedBCTest, CopiesStartWithoutOwners) {
    int destroyed = 0;
    PointerTC<Counted> a(new Counted(&destroyed));
    Counted copy(*a);
    EXPECT_EQ(copy.references(), 0u);
    PointerTC<Counted> b = a;
    *a = copy;  // assignment leaves the target's owners alone
    EXPECT_EQ(a->references(), 2u);
    a->reference();
    EXPECT_EQ(a->dereference(), 2u);
}

}  // namespace
