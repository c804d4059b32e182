#pragma once

#include <cstdint>
#include <random>

namespace voltmetr {

// Uniform 32-bit floats in [0, 1): 24 random bits scaled by 2^-24, so 1.0 is never drawn.
class RandomSource
{
public:
    explicit RandomSource(std::uint32_t seed = 1) : m_engine(seed) {}

    void seed(std::uint32_t seed) { m_engine.seed(seed); }
    float next() { return static_cast<float>(m_engine() >> 8) * 0x1p-24f; }

private:
    std::mt19937 m_engine;
};

} // namespace voltmetr
