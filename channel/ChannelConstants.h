// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vx40 {

inline constexpr int kColumnCount = 12;
inline constexpr int kRowCount = 17;  // the header row 0 and channel rows 1 to 16
inline constexpr int kChannelCount = 16;
inline constexpr int kFirstNibbleColumn = 4;  // D7; D0 is column 11
inline constexpr int kLastNibbleColumn = 11;
inline constexpr int kNibblesPerChannel = 8;

inline constexpr int kFrequencyColumn = 0;
inline constexpr int kN0Column = 1;
inline constexpr int kN1Column = 2;
inline constexpr int kN2Column = 3;

// Nibble Dk of a channel stands in column 11 - k.
constexpr int NibbleColumn(int k) {
    return kLastNibbleColumn - k;
}

inline constexpr std::array<std::string_view, kColumnCount> kHeaderTexts = {
    "Frequenz", "n0", "n1", "n2", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"};

// N = N2 * 16384 + N1 * 128 + N0, each part seven bits.
inline constexpr std::int32_t kPartRange = 128;
inline constexpr std::int32_t kN1Weight = 128;
inline constexpr std::int32_t kN2Weight = 16384;
inline constexpr std::int32_t kMaxPart = 127;

// The back-calculation works at a fixed step of 12.5 kHz: frequency = N * 125 / 10.
inline constexpr std::int32_t kBackStepNumerator = 125;
inline constexpr std::int32_t kBackStepDenominator = 10;

// The crystal the synthesizer runs on, in Hz; the crystal field shows it and cannot change it.
inline constexpr std::int32_t kCrystalHz = 6000000;
// The crystal frequency the calculation accepts, in Hz: the range of the crystal field.
inline constexpr std::int32_t kMinCrystalHz = 0;
inline constexpr std::int32_t kMaxCrystalHz = 10000000;

inline constexpr std::string_view kClearedCellText = "  ";
inline constexpr std::string_view kRefusedPartText = " ";
inline constexpr std::string_view kRefusedNibbleText = "0F";

inline constexpr std::string_view kFrequencyRefusedMessage = "Frequenz nicht berechenbar";

}  // namespace vx40
