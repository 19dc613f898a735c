// Sets of enumeration values (up to 64 members), the storage of set-valued properties.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <class E>
class TSet {
    static_assert(std::is_enum_v<E>);

public:
    using Element = E;

    constexpr TSet() = default;
    constexpr TSet(E member) : bits_(Bit(member)) {}
    constexpr TSet(std::initializer_list<E> members) {
        for (E m : members) bits_ |= Bit(m);
    }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E member) { bits_ |= Bit(member); return *this; }
    constexpr TSet& Exclude(E member) { bits_ &= ~Bit(member); return *this; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E member) {
        return std::uint64_t{1} << static_cast<unsigned>(member);
    }

    std::uint64_t bits_ = 0;
};
