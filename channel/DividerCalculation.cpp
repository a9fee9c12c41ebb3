// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/DividerCalculation.h"

#include <algorithm>
#include <limits>

#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

constexpr std::int32_t kTestNibbleOff = 4;  // Testfunktion not checked
constexpr std::int32_t kTestNibbleOn = 0;   // Testfunktion checked
constexpr std::int64_t kHzPerKhz = 1000;
constexpr std::int32_t kMaxNFactor = ComposeNFactor({kMaxPart, kMaxPart, kMaxPart});

std::int64_t Divide(std::int64_t dividend, std::int32_t divisor) {
    if (divisor == 0) {
        throw DivisionFailure();
    }
    return dividend / divisor;
}

}  // namespace

std::int32_t CalculateRatio(std::int32_t crystalHz, const PrescalerSettings& prescalers) {
    // 64-bit steps cannot overflow; the quotient of a 32-bit dividend by a non-zero divisor fits
    // again except for INT_MIN / -1, which a crystal divided by 4 can never be.
    std::int64_t ratio = static_cast<std::int64_t>(crystalHz) / 4;
    ratio = Divide(ratio, prescalers.r0);
    ratio = Divide(ratio, prescalers.r1);
    ratio = Divide(ratio, prescalers.r2);
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

Result<DividerWord> DividerWordAt(std::int32_t ratio, const CalculationInputs& inputs) {
    const auto n = SearchNFactor(ratio, std::int64_t{inputs.frequencyKhz} * kHzPerKhz);
    if (!n) {
        return Failure{FailureKind::NotCalculable, 0, {}, 0};
    }
    const SelectionCodes& codes = inputs.prescalers.codes;
    ChannelWord channel;
    channel.parts = SplitNFactor(*n);
    channel.flags = {codes.n0SelectBit != 0, codes.n1SelectBit != 0, inputs.modulator};
    channel.prescalerCode = codes.r1Code + codes.r2Code;
    channel.testNibble = inputs.test ? kTestNibbleOn : kTestNibbleOff;
    return DividerWord{channel.parts, PackChannelWord(channel)};
}

CalculationResult CalculateDividerWord(const CalculationInputs& inputs) {
    const std::int32_t ratio = CalculateRatio(inputs.crystalHz, inputs.prescalers);
    return {ratio, DividerWordAt(ratio, inputs)};
}

// The calculation fails in one way only: no N factor hits the frequency.
std::string CalculationFailureText(const Failure& /*failure*/) {
    return std::string(kFrequencyRefusedMessage);
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
