// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/DividerCalculation.h"

#include <limits>
#include <string_view>

#include "base/RuntimeFailure.h"
#include "channel/CellText.h"
#include "channel/NibbleLayout.h"
#include "text/IntegerConversion.h"

namespace vx40 {
namespace {

// An R0 select bit as the kept code holds it: bit 7 of the part's byte, the high nibble's flag.
constexpr std::int32_t kSelectBit = kFlagBit * 16;
constexpr std::int32_t kTestNibbleOff = 4;  // Testfunktion not checked
constexpr std::int32_t kTestNibbleOn = 0;   // Testfunktion checked
constexpr std::int64_t kHzPerKhz = 1000;
constexpr std::int32_t kMaxNFactor = ComposeNFactor({kMaxPart, kMaxPart, kMaxPart});

void UpdateSelectionCodes(const CalculationInputs& inputs, SelectionCodes& kept) {
    if (const auto r0 = FindPrescalerByText(kR0Entries, inputs.r0Text)) {
        kept.n0SelectBit = (r0->code & kR0SelectN0Bit) != 0 ? kSelectBit : 0;
        kept.n1SelectBit = (r0->code & kR0SelectN1Bit) != 0 ? kSelectBit : 0;
    }
    if (const auto r1 = FindPrescalerByText(kR1Entries, inputs.r1Text)) {
        kept.r1Code = r1->code;
    }
    if (const auto r2 = FindPrescalerByText(kR2Entries, inputs.r2Text)) {
        kept.r2Code = r2->code;
    }
}

std::int64_t Divide(std::int64_t dividend, std::int32_t divisor) {
    if (divisor == 0) {
        throw DivisionFailure();
    }
    return dividend / divisor;
}

}  // namespace

std::int32_t CalculateRatio(const CalculationInputs& inputs) {
    const std::int32_t r0 = StrToInt(inputs.r0Text);
    const std::int32_t r1 = StrToInt(inputs.r1Text);
    const std::int32_t r2 = StrToInt(inputs.r2Text);
    // 64-bit steps cannot overflow; the quotient of a 32-bit dividend by a non-zero divisor fits
    // again except for INT_MIN / -1, which a crystal divided by 4 can never be.
    std::int64_t ratio = static_cast<std::int64_t>(inputs.crystalHz) / 4;
    ratio = Divide(ratio, r0);
    ratio = Divide(ratio, r1);
    ratio = Divide(ratio, r2);
    return static_cast<std::int32_t>(ratio);
}

std::optional<std::int32_t> SearchNFactor(std::int32_t ratio, std::int64_t frequencyHz) {
    const auto difference = [&](std::int32_t n2, std::int32_t n1, std::int32_t n0) {
        return std::int64_t{ratio} * ComposeNFactor({n0, n1, n2}) - frequencyHz;
    };
    // Without a positive reference step no N factor means anything: a ratio of 0 would even
    // "hit" a frequency of 0 with N = 1.
    if (ratio <= 0) {
        return std::nullopt;
    }
    // A counter that passes 128 can only end in a refusal, so each search stops there.
    std::int32_t n2 = 0;
    do {
        if (++n2 > kPartRange) {
            return std::nullopt;
        }
    } while (difference(n2, 0, 0) < 0);
    --n2;

    std::int32_t n1 = 0;
    do {
        if (++n1 > kPartRange) {
            return std::nullopt;
        }
    } while (difference(n2, n1, 0) < 0);
    --n1;

    std::int32_t n0 = 0;
    std::int64_t d = 0;
    do {
        if (++n0 > kMaxPart) {
            return std::nullopt;
        }
        d = difference(n2, n1, n0);
    } while (d != 0 && d <= kMaxPart);
    if (d != 0) {
        return std::nullopt;
    }
    return ComposeNFactor({n0, n1, n2});
}

CalculationResult CalculateDividerWord(const CalculationInputs& inputs, SelectionCodes& kept) {
    CalculationResult result;
    result.ratio = CalculateRatio(inputs);
    result.ratioText = DecimalText(result.ratio);

    UpdateSelectionCodes(inputs, kept);
    const std::int64_t frequencyHz = std::int64_t{inputs.frequencyKhz} * kHzPerKhz;

    const auto n = SearchNFactor(result.ratio, frequencyHz);
    if (!n) {
        return result;
    }
    ChannelWord channel;
    channel.parts = SplitNFactor(*n);
    channel.flags = {kept.n0SelectBit != 0, kept.n1SelectBit != 0, inputs.modulator};
    channel.prescalerCode = kept.r1Code + kept.r2Code;
    channel.testNibble = inputs.test ? kTestNibbleOn : kTestNibbleOff;
    const NibbleValues values = PackChannelWord(channel);

    DividerWord word;
    word.n0 = channel.parts.n0;
    word.n1 = channel.parts.n1;
    word.n2 = channel.parts.n2;
    for (int k = 0; k < kNibblesPerChannel; ++k) {
        word.nibbles[static_cast<std::size_t>(NibbleColumn(k) - kFirstNibbleColumn)] =
            NibbleText(values[static_cast<std::size_t>(k)]);
    }
    result.word = std::move(word);
    return result;
}

void ApplyCalculation(ChannelTable& table, int row, const CalculationResult& result,
                      const std::function<void()>& showRefusal) {
    if (result.Refused()) {
        for (int c = kN2Column; c >= kN0Column; --c) {
            table.SetCell(c, row, std::string(kRefusedPartText));
        }
        if (showRefusal) {
            showRefusal();
        }
        for (int c = kFirstNibbleColumn; c <= kLastNibbleColumn; ++c) {
            table.SetCell(c, row, std::string(kRefusedNibbleText));
        }
        return;
    }
    const DividerWord& word = *result.word;
    table.SetCell(kN2Column, row, DecimalText(word.n2));
    table.SetCell(kN1Column, row, DecimalText(word.n1));
    table.SetCell(kN0Column, row, DecimalText(word.n0));
    for (int c = kLastNibbleColumn; c >= kFirstNibbleColumn; --c) {
        table.SetCell(c, row, word.nibbles[static_cast<std::size_t>(c - kFirstNibbleColumn)]);
    }
}

NearestFrequencies NearestAchievableFrequencies(std::int32_t ratio, std::int32_t frequencyKhz) {
    NearestFrequencies nearest;
    if (ratio <= 0) {
        return nearest;
    }
    // An N factor is reachable when its N0 part is not 0; its frequency must be whole kHz.
    const auto wholeKhz = [&](std::int64_t n) -> std::optional<std::int32_t> {
        if (n % kPartRange == 0) {
            return std::nullopt;
        }
        const std::int64_t hz = std::int64_t{ratio} * n;
        if (hz % kHzPerKhz != 0 || hz / kHzPerKhz > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(hz / kHzPerKhz);
    };
    const std::int64_t target = std::int64_t{frequencyKhz} * kHzPerKhz;
    // The largest N whose frequency lies below the target, and the smallest above it.
    std::int64_t start = target > 0 ? (target - 1) / ratio : 0;
    for (std::int64_t n = std::min<std::int64_t>(start, kMaxNFactor); n >= 1; --n) {
        if (const auto khz = wholeKhz(n); khz && *khz < frequencyKhz) {
            nearest.below = khz;
            break;
        }
    }
    start = target >= 0 ? target / ratio + 1 : 1;
    for (std::int64_t n = start; n <= kMaxNFactor; ++n) {
        if (const auto khz = wholeKhz(n); khz) {
            if (*khz > frequencyKhz) {
                nearest.above = khz;
                break;
            }
        }
    }
    return nearest;
}

}  // namespace vx40
