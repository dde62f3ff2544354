#pragma once

#include "core/Ref.h"

#include <climits>
#include <cstdint>

namespace core {

// The hash of a key type for core::HashTable: a static hashCode turning a key
// into an unsigned 32-bit number. Only the key types below have one; any
// other key type fails to compile rather than hashing badly.
// Contract: keys that compare equal hash equally. Integers hash to their own
// bits, so the bucket of an integer key is one unsigned remainder; wider
// values and addresses fold their upper half in, so that keys differing only
// there do not all share a bucket.
template <typename T>
struct HashCode;

namespace detail {

inline std::uint32_t foldTo32Bits(std::uint64_t bits)
{
    return static_cast<std::uint32_t>(bits ^ (bits >> 32));
}

} // namespace detail

template <>
struct HashCode<int> {
    static std::uint32_t hashCode(const int& key) { return static_cast<std::uint32_t>(key); }
};

template <>
struct HashCode<unsigned short> {
    static std::uint32_t hashCode(const unsigned short& key) { return key; }
};

#if INTPTR_MAX != INT_MAX
// Pointer-wide handles (a physics geometry, for one) used as integer keys.
template <>
struct HashCode<std::intptr_t> {
    static std::uint32_t hashCode(const std::intptr_t& key)
    {
        return detail::foldTo32Bits(static_cast<std::uint64_t>(key));
    }
};
#endif

template <typename X>
struct HashCode<X*> {
    static std::uint32_t hashCode(X* const& key) { return detail::foldTo32Bits(reinterpret_cast<std::uintptr_t>(key)); }
};

// The address of the referenced object; the count is not touched.
template <typename X>
struct HashCode<Ref<X>> {
    static std::uint32_t hashCode(const Ref<X>& key) { return HashCode<X*>::hashCode(key.get()); }
};

} // namespace core
