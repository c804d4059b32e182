#pragma once

#include <array>
#include <cstdint>

namespace voltmetr {

// The 32 key bytes of the pupils' encoded reports. The teacher's tool decodes with the same
// bytes; change them only together with every report still waiting to be decoded.
inline constexpr std::array<std::uint8_t, 32> ReportKeyBytes = {
    0x5a, 0x13, 0xc7, 0x8e, 0x21, 0xf4, 0x6b, 0x90, 0x3d, 0xa2, 0x57, 0x0e, 0xb9, 0x64, 0xd1, 0x2f,
    0x88, 0x4c, 0xe3, 0x15, 0x7a, 0xbe, 0x02, 0x99, 0x36, 0xcd, 0x41, 0xf8, 0x6e, 0x1b, 0xa5, 0x73,
};

// The first token of every report: the code of "K".
inline constexpr std::uint8_t ReportMagic = 75;
// Tokens per line of an encoded report.
inline constexpr int ReportTokensPerLine = 10;
// The exercise's type code, written as TypZkous and on the report's third line.
inline constexpr int ExerciseTypeCode = 2;

} // namespace voltmetr
