#pragma once
// The walk that turns a phrase in the ANSI code page into input-method
// character codes, one per character: a single byte as itself, a double-byte
// character as lead byte * 256 + trail byte. Kept free of Windows so that it
// is tested for any code page.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// Which byte values start a double-byte character; none in a single-byte code page.
class TLeadByteRanges {
public:
    TLeadByteRanges() { lead_.fill(false); }
    void AddRange(std::uint8_t first, std::uint8_t last);
    bool IsLead(std::uint8_t b) const { return lead_[b]; }
    bool Empty() const;

private:
    std::array<bool, 256> lead_;
};

enum class TByteKind { Single, Lead, Trail };

// The kind of the byte at index, counting from the start of the text: a zero
// byte is single; a byte preceded by an odd-length run of lead-range bytes is
// a trail byte; otherwise a lead-range byte is a lead byte.
TByteKind ByteKindAt(std::string_view text, std::size_t index, const TLeadByteRanges& ranges);

// The wParam of each WM_IME_CHAR for text, in order. A position that is not a
// single byte is paired with the next byte (0 past the end of the text).
std::vector<std::uint16_t> ImeCharCodes(std::string_view text, const TLeadByteRanges& ranges);
