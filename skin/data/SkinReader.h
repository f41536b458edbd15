#pragma once
// Reads a decompressed skin archive: a 16-byte header (version 20000, the
// name-list length, two reserved words), the names as text lines, one
// 32-bit size per name, then the files' bytes back to back.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/AsciiCase.h"
#include "core/Stream.h"

class TSkinReader {
public:
    static constexpr std::int32_t kVersion = 20000;
    static constexpr int kMaxFiles = 1001;
    static constexpr const char* kOlderSkinText =
        "This is Older Skin File\rPlease update to new version !";

    // Decompresses and reads the archive; false when it is refused (see
    // RefusalText). A stream the decoder refuses raises ElzhException.
    bool LoadArchive(TStream& compressed);
    bool LoadArchive(std::span<const std::uint8_t> compressed);
    // The same for an archive that is already decompressed.
    bool LoadDecompressed(std::span<const std::uint8_t> archive);

    // Clears target, then copies the first file named name (compared after
    // ASCII lower-casing) into it and rewinds it. False when there is none.
    bool ExtractFile(const std::string& name, TMemoryStream& target) const;
    // Like ExtractFile for the first stored name containing fragment (taken
    // as passed, not lower-cased); storedName receives that name.
    bool ExtractFileLike(const std::string& fragment, TMemoryStream& target,
                         std::string& storedName) const;

    const std::vector<std::string>& Names() const { return names_; }
    int FileCount() const { return static_cast<int>(names_.size()); }
    const std::vector<std::int32_t>& Sizes() const { return sizes_; }
    const TMemoryStream& FileData() const { return fileData_; }
    // The bytes of file index (0 <= index < FileCount()).
    std::span<const std::uint8_t> FileBytes(int index) const;
    const std::array<std::uint8_t, 16>& Header() const { return header_; }

    // After a refused load: the text to show. Wrong version gives
    // kOlderSkinText, the program's only message about a skin.
    bool Refused() const { return !refusal_.empty(); }
    const std::string& RefusalText() const { return refusal_; }
    bool VersionRefused() const { return refusal_ == kOlderSkinText; }

private:
    bool Refuse(std::string text);
    void Extract(std::size_t index, TMemoryStream& target) const;

    std::vector<std::string> names_;
    std::vector<std::int32_t> sizes_;
    std::vector<std::int64_t> offsets_;  // start of each file in fileData_
    TMemoryStream fileData_;
    std::array<std::uint8_t, 16> header_{};
    std::string refusal_;
};

// Splits text at CR LF, lone CR or lone LF; a final break adds no line.
// Stops after maxLines lines.
std::vector<std::string> SplitLines(std::span<const std::uint8_t> text,
                                    std::size_t maxLines = SIZE_MAX);
