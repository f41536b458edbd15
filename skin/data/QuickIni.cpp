#include "skin/data/QuickIni.h"

#include <algorithm>
#include <array>

#include "core/Stream.h"
#include "skin/data/AnsiSameText.h"
#include "skin/data/IniIntegers.h"

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Keys are compared with ASCII letters lower-cased on both sides.
bool SameKey(std::string_view lineKey, std::string_view wanted) {
    return std::ranges::equal(lineKey, wanted,
                              [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

}  // namespace

std::string_view TrimIniText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

void TQuickIni::LoadFromStream(TStream& stream) {
    std::string text;
    if (stream.Position() < stream.Size()) text.reserve(stream.Size() - stream.Position());
    // Read until the stream has nothing more rather than trusting Size alone.
    std::array<char, 16384> chunk;
    while (const std::size_t n = stream.Read(chunk.data(), chunk.size())) {
        text.append(chunk.data(), n);
    }
    LoadFromText(text);
}

void TQuickIni::LoadFromText(std::string_view text) {
    // The text ends at a NUL byte, as a C string would.
    text = text.substr(0, std::min(text.size(), text.find('\0')));

    std::vector<std::string> lines;
    std::vector<TSectionHeader> sections;
    auto keep = [&](std::string_view raw) {
        const std::string_view line = TrimIniText(raw);
        if (line.empty() || line.front() == ';') return;
        if (IsSectionHeader(line)) sections.push_back({std::string(line), lines.size()});
        lines.emplace_back(line);
    };

    // Breaks at CR, LF and CR LF; LF CR is two breaks.
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        keep(text.substr(start, i - start));
        ++i;
        if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
        start = i;
    }
    keep(text.substr(start));

    lines_ = std::move(lines);
    sections_ = std::move(sections);
}

std::ptrdiff_t TQuickIni::SectionIndex(std::string_view name) const {
    std::string wanted;
    wanted.reserve(name.size() + 2);
    wanted.append(1, '[').append(name).append(1, ']');
    // The first of duplicate sections wins.
    for (const TSectionHeader& s : sections_) {
        if (AnsiSameText(s.Header, wanted)) return static_cast<std::ptrdiff_t>(s.LineIndex);
    }
    return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
    const std::ptrdiff_t header = SectionIndex(section);
    if (header < 0) return std::string(defaultValue);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        if (IsSectionHeader(line)) break;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (!SameKey(TrimIniText(line.substr(0, eq)), key)) continue;
        // The first line with the key decides, even when its value is empty.
        const std::string_view value = TrimIniText(line.substr(eq + 1));
        return std::string(value.empty() ? defaultValue : value);
    }
    return std::string(defaultValue);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
    return IntegerValue(ReadString(section, key, ""), defaultValue);
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
    list.clear();
    list.reserve(sections_.size());
    for (const TSectionHeader& s : sections_) {
        list.push_back(s.Header.substr(1, s.Header.size() - 2));
    }
}
