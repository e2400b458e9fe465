// SPDX-License-Identifier: MIT
// RefCountedBC: the intrusive reference count shared by every object that
// several owners hold (sessions, engines, factories, expressions, symbols...).
//
// Owners never call reference()/dereference() themselves; they hold the object
// through qorv::oss::PointerTC, which destroys it when the last owner lets go.
//
//   class Engine : public qorv::oss::RefCountedBC { public: virtual ~Engine(); };
//   qorv::oss::PointerTC<Engine> e(new Engine);   // count 1; destroyed with e
//
// Choices made here:
//  - The count is atomic, so objects may be shared between threads (the
//    objects themselves are not made thread-safe by this).
//  - A new object starts at zero: the first PointerTC that takes it owns it.
//  - A copy starts at zero too (a copy has no owners yet), and assignment
//    leaves the target's count unchanged: owners belong to an object, not to
//    its value.
//  - The class has no virtual functions; every derived class that is deleted
//    through a PointerTC declares a virtual destructor of its own.
#ifndef QORV_OSS_REFCOUNTEDBC_H
#define QORV_OSS_REFCOUNTEDBC_H

#include <atomic>
#include <cassert>

namespace qorv::oss {

class RefCountedBC {
public:
    RefCountedBC() noexcept : count_(0) {}
    RefCountedBC(const RefCountedBC&) noexcept : count_(0) {}
    RefCountedBC& operator=(const RefCountedBC&) noexcept { return *this; }
    ~RefCountedBC() { assert(count_.load(std::memory_order_relaxed) == 0 && "destroyed while still owned"); }

    /// Adds one owner.
    void reference() noexcept { count_.fetch_add(1, std::memory_order_relaxed); }

    /// Removes one owner and returns the count that remains; the caller
    /// destroys the object when it is zero.
    unsigned long dereference() noexcept { return count_.fetch_sub(1, std::memory_order_acq_rel) - 1; }

    /// The current number of owners.
    unsigned long references() const noexcept { return count_.load(std::memory_order_acquire); }

private:
    std::atomic<unsigned long> count_;
};

}  // namespace qorv::oss

#endif
