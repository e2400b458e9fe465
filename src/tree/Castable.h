// SPDX-License-Identifier: MIT
// Castable identity boilerplate shared by the node classes: the id constant,
// its two accessors, and lookUpBase answering for the class's own id before
// asking its direct base (called as the base's own function).
#ifndef ALGEXPR_SRC_TREE_CASTABLE_H
#define ALGEXPR_SRC_TREE_CASTABLE_H

#define ALGEXPR_DEFINE_CASTABLE(Class, Base, id_text)                    \
    const char16_t* const Class::TheCastableId = id_text;                \
    const char16_t* Class::getCastableId() { return TheCastableId; }     \
    const char16_t* Class::qCastableId() const { return TheCastableId; } \
    void* Class::lookUpBase(const char16_t* castable_id) const {         \
        if (sameCastableId(castable_id, TheCastableId)) {                \
            return const_cast<Class*>(this);                             \
        }                                                                \
        return Base::lookUpBase(castable_id);                            \
    }

#endif
