#include "channel/DividerCalculation.h"

#include <limits>
#include <string_view>

#include "channel/CellText.h"
#include "platform/IntegerConversion.h"
#include "platform/RuntimeFailure.h"

namespace vx40 {
namespace {

constexpr std::int32_t kSelectBit = 128;
constexpr std::int32_t kModulatorBit = 128;
constexpr std::int32_t kTestNibbleOff = 4;  // Testfunktion not checked
constexpr std::int32_t kTestNibbleOn = 0;   // Testfunktion checked
constexpr std::int64_t kHzPerKhz = 1000;
constexpr std::int32_t kMaxNFactor = kMaxPart * kN2Weight + kMaxPart * kN1Weight + kMaxPart;

struct TextCode {
    std::string_view text;
    std::int32_t code;
};

constexpr std::array<TextCode, 4> kR1Codes = {{{"9", 0}, {"5", 1}, {"6", 2}, {"7", 3}}};
constexpr std::array<TextCode, 4> kR2Codes = {{{"1", 0}, {"2", 4}, {"4", 8}, {"8", 12}}};

struct R0Select {
    std::string_view text;
    std::int32_t n0Bit;
    std::int32_t n1Bit;
};
constexpr std::array<R0Select, 4> kR0Selects = {
    {{"12", 0, 0}, {"13", kSelectBit, 0}, {"14", 0, kSelectBit}, {"15", kSelectBit, kSelectBit}}};

void UpdateCode(std::string_view text, const std::array<TextCode, 4>& list, std::int32_t& code) {
    for (const auto& entry : list) {
        if (text == entry.text) {
            code = entry.code;
            return;
        }
    }
}

void UpdateSelectionCodes(const CalculationInputs& inputs, SelectionCodes& kept) {
    for (const auto& entry : kR0Selects) {
        if (inputs.r0Text == entry.text) {
            kept.n0SelectBit = entry.n0Bit;
            kept.n1SelectBit = entry.n1Bit;
            break;
        }
    }
    UpdateCode(inputs.r1Text, kR1Codes, kept.r1Code);
    UpdateCode(inputs.r2Text, kR2Codes, kept.r2Code);
}

std::int64_t Divide(std::int64_t dividend, std::int32_t divisor) {
    if (divisor == 0) {
        throw DivisionFailure();
    }
    return dividend / divisor;
}

// "0" and the last or the first character of a byte's two-digit hexadecimal text.
std::string LowNibbleText(std::int32_t byte) {
    return std::string{'0', TwoDigitHexText(byte).back()};
}
std::string HighNibbleText(std::int32_t byte) {
    return std::string{'0', TwoDigitHexText(byte).front()};
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
        const std::int64_t n = std::int64_t{n2} * kN2Weight + std::int64_t{n1} * kN1Weight + n0;
        return std::int64_t{ratio} * n - frequencyHz;
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
    return n2 * kN2Weight + n1 * kN1Weight + n0;
}

CalculationResult CalculateDividerWord(const CalculationInputs& inputs, SelectionCodes& kept) {
    CalculationResult result;
    result.ratio = CalculateRatio(inputs);
    result.ratioText = DecimalText(result.ratio);

    UpdateSelectionCodes(inputs, kept);
    const std::int32_t modulatorBit = inputs.modulator ? kModulatorBit : 0;
    const std::int32_t testNibble = inputs.test ? kTestNibbleOn : kTestNibbleOff;
    const std::int64_t frequencyHz = std::int64_t{inputs.frequencyKhz} * kHzPerKhz;

    const auto n = SearchNFactor(result.ratio, frequencyHz);
    if (!n) {
        return result;
    }
    DividerWord word;
    word.n2 = *n / kN2Weight;
    word.n1 = (*n / kN1Weight) % kPartRange;
    word.n0 = *n % kPartRange;
    const std::int32_t n0Byte = word.n0 + kept.n0SelectBit;
    const std::int32_t n1Byte = word.n1 + kept.n1SelectBit;
    const std::int32_t n2Byte = word.n2 + modulatorBit;
    word.nibbles = {LowNibbleText(kept.r1Code + kept.r2Code),
                    HighNibbleText(n2Byte),
                    LowNibbleText(n2Byte),
                    HighNibbleText(n1Byte),
                    LowNibbleText(n1Byte),
                    HighNibbleText(n0Byte),
                    LowNibbleText(n0Byte),
                    TwoDigitHexText(testNibble)};
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
