// SPDX-License-Identifier: MIT
// PointerTC<T>: the intrusive smart pointer for classes derived from
// qorv::oss::RefCountedBC. Exactly one raw pointer in size; passed by value.
//
//   PointerTC<SymbolC> s = session->lookupSymbol(u"x");   // one more owner
//   PointerTC<SymbolC> t = s;                              // and another
//   // both released at the end of the scope; the last release deletes the
//   // object through its virtual destructor.
//
// Wrapping a raw pointer takes a reference, so wrapping an object that some
// other PointerTC already owns is safe (it only adds an owner). Wrapping an
// object that nothing owns makes the new PointerTC its only owner: when it is
// released the object is deleted, so never wrap an object on the stack.
//
// Thread safety: as for a raw pointer; one PointerTC object must not be
// assigned on one thread while read on another. Counting itself is atomic.
#ifndef QORV_OSS_POINTERTC_H
#define QORV_OSS_POINTERTC_H

#include <type_traits>

namespace qorv::oss {

template <class T>
class PointerTC {
public:
    // Implicit on purpose: any owned object may be wrapped. Usable in
    // constant initialisation for a null pointer.
    constexpr PointerTC(T* p = nullptr) noexcept : p_(p) {
        if (p_ != nullptr) {
            p_->reference();
        }
    }

    PointerTC(const PointerTC& other) noexcept : p_(other.p_) {
        if (p_ != nullptr) {
            p_->reference();
        }
    }

    PointerTC(PointerTC&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }

    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    PointerTC(const PointerTC<U>& other) noexcept : p_(other.get()) {
        if (p_ != nullptr) {
            p_->reference();
        }
    }

    // The new object gains its owner before the old one loses its own: the
    // old object may be the only owner of the new one.
    PointerTC& operator=(const PointerTC& other) noexcept {
        if (this != &other) {
            T* old = p_;
            p_ = other.p_;
            if (p_ != nullptr) {
                p_->reference();
            }
            release(old);
        }
        return *this;
    }

    PointerTC& operator=(PointerTC&& other) noexcept {
        if (this != &other) {
            T* old = p_;
            p_ = other.p_;
            other.p_ = nullptr;
            release(old);
        }
        return *this;
    }

    // Null before the release: code that the object's destruction runs may
    // read this very pointer (the current session at unload) and must not
    // find the dying object there.
    ~PointerTC() {
        T* p = p_;
        p_ = nullptr;
        release(p);
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

private:
    static void release(T* p) noexcept {
        if (p != nullptr && p->dereference() == 0) {
            delete p;
        }
    }

    T* p_;
};

template <class T, class U>
bool operator==(const PointerTC<T>& a, const PointerTC<U>& b) noexcept {
    return a.get() == b.get();
}
template <class T, class U>
bool operator!=(const PointerTC<T>& a, const PointerTC<U>& b) noexcept {
    return a.get() != b.get();
}

}  // namespace qorv::oss

#endif
