#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace voltmetr {

// A fixed array whose first element has index 1, as the meter tables are numbered: position 1
// of the range switch is element 1, meter 1 is element 1.
template <typename T, std::size_t N> class OneBased
{
public:
    constexpr OneBased() = default;
    explicit constexpr OneBased(const std::array<T, N>& values) : m_values(values) {}

    constexpr T& operator[](int index)
    {
        assert(index >= 1 && static_cast<std::size_t>(index) <= N);
        return m_values[static_cast<std::size_t>(index - 1)];
    }
    constexpr const T& operator[](int index) const
    {
        assert(index >= 1 && static_cast<std::size_t>(index) <= N);
        return m_values[static_cast<std::size_t>(index - 1)];
    }
    static constexpr int size() { return static_cast<int>(N); }

    friend constexpr bool operator==(const OneBased&, const OneBased&) = default;

private:
    std::array<T, N> m_values{};
};

} // namespace voltmetr
