#include "dictation/ImeCharCodes.h"

#include <algorithm>

void TLeadByteRanges::AddRange(std::uint8_t first, std::uint8_t last) {
    for (unsigned b = first; b <= last; ++b) lead_[b] = true;
}

bool TLeadByteRanges::Empty() const { return std::none_of(lead_.begin(), lead_.end(), [](bool b) { return b; }); }

TByteKind ByteKindAt(std::string_view text, std::size_t index, const TLeadByteRanges& ranges) {
    const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    if (index >= text.size() || byteAt(index) == 0) return TByteKind::Single;
    std::size_t run = 0;
    for (std::size_t i = index; i > 0 && ranges.IsLead(byteAt(i - 1)); --i) ++run;
    if (run % 2 == 1) return TByteKind::Trail;
    return ranges.IsLead(byteAt(index)) ? TByteKind::Lead : TByteKind::Single;
}

std::vector<std::uint16_t> ImeCharCodes(std::string_view text, const TLeadByteRanges& ranges) {
    std::vector<std::uint16_t> codes;
    codes.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        if (!ranges.Empty() && ByteKindAt(text, i, ranges) != TByteKind::Single) {
            const std::uint8_t trail = i + 1 < text.size() ? static_cast<std::uint8_t>(text[i + 1]) : 0;
            codes.push_back(static_cast<std::uint16_t>(b << 8 | trail));
            i += 2;
        } else {
            codes.push_back(b);
            i += 1;
        }
    }
    return codes;
}
