#pragma once
// TQuickIni: the small in-memory reader for a skin's definition text.
// Text is kept as bytes of the ANSI code page, exactly as the file holds it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStream;

// Drops leading and trailing blanks and control characters (bytes up to
// 0x20); lines, keys and values of the definition are trimmed this way.
std::string_view TrimIniText(std::string_view text);

class TQuickIni {
public:
    struct TSectionHeader {
        std::string Header;       // as stored in Lines, brackets included
        std::size_t LineIndex;    // its index in Lines
    };

    // Reads from the stream's position to its end, replacing any earlier content.
    void LoadFromStream(TStream& stream);
    // Same parsing, from bytes already in memory.
    void LoadFromText(std::string_view text);

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // Replaces the list's content with the bare section names, in file order.
    void ReadSections(std::vector<std::string>& list) const;
    // Index in Lines of the section's header, or -1.
    std::ptrdiff_t SectionIndex(std::string_view name) const;

    const std::vector<std::string>& Lines() const { return lines_; }
    const std::vector<TSectionHeader>& Sections() const { return sections_; }

private:
    std::vector<std::string> lines_;
    std::vector<TSectionHeader> sections_;
};
