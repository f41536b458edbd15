#include "skin/data/SkinReader.h"

#include <algorithm>

#include "core/ByteOrder.h"
#include "skin/data/LZH.h"

std::vector<std::string> SplitLines(std::span<const std::uint8_t> text, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size() && lines.size() < maxLines) {
        const std::size_t start = i;
        while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
        lines.emplace_back(reinterpret_cast<const char*>(text.data()) + start, i - start);
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
    }
    return lines;
}

bool TSkinReader::Refuse(std::string text) {
    names_.clear();
    sizes_.clear();
    offsets_.clear();
    fileData_.Clear();
    refusal_ = std::move(text);
    return false;
}

bool TSkinReader::LoadArchive(TStream& compressed) {
    TMemoryStream archive;
    TLZH().Decompress(compressed, archive);
    return LoadDecompressed(archive.Bytes());
}

bool TSkinReader::LoadArchive(std::span<const std::uint8_t> compressed) {
    const std::vector<std::uint8_t> archive = TLZH::Decode(compressed);
    return LoadDecompressed(archive);
}

bool TSkinReader::LoadDecompressed(std::span<const std::uint8_t> archive) {
    Refuse({});
    header_.fill(0);  // a short archive reads as zeros, failing the version test
    std::copy_n(archive.begin(), std::min(archive.size(), header_.size()), header_.begin());
    if (ReadLE32Signed(&header_[0]) != kVersion) return Refuse(kOlderSkinText);

    const std::int64_t total = static_cast<std::int64_t>(archive.size());
    const std::int64_t listLength = ReadLE32Signed(&header_[4]);
    if (listLength < 0 || 16 + listLength > total)
        return Refuse("Skin archive: the name list length " + std::to_string(listLength) +
                      " does not fit the " + std::to_string(total) + "-byte archive");
    // One line past the limit is enough to refuse; a hostile list of
    // millions of empty lines must not become millions of strings.
    std::vector<std::string> names =
        SplitLines(archive.subspan(16, static_cast<std::size_t>(listLength)), kMaxFiles + 1);
    const auto count = static_cast<std::int64_t>(names.size());
    if (count > kMaxFiles)
        return Refuse("Skin archive: more than " + std::to_string(kMaxFiles) + " names");
    const std::int64_t dataStart = 16 + listLength + 4 * count;
    if (dataStart > total)
        return Refuse("Skin archive: the size table runs past the end of the archive");

    std::vector<std::int32_t> sizes(names.size());
    std::vector<std::int64_t> offsets(names.size());
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        sizes[i] = ReadLE32Signed(archive.data() + 16 + listLength + 4 * i);
        if (sizes[i] < 0)
            return Refuse("Skin archive: file " + std::to_string(i) + " has the negative size " +
                          std::to_string(sizes[i]));
        offsets[i] = sum;
        sum += sizes[i];
    }
    if (dataStart + sum > total)
        return Refuse("Skin archive: the file sizes add up to " + std::to_string(sum) +
                      " bytes, more than the " + std::to_string(total - dataStart) +
                      " bytes of file data");

    for (auto& name : names) name = AsciiLower(std::move(name));
    names_ = std::move(names);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    const auto data = archive.subspan(static_cast<std::size_t>(dataStart));
    fileData_.Assign(std::vector<std::uint8_t>(data.begin(), data.end()));
    return true;
}

std::span<const std::uint8_t> TSkinReader::FileBytes(int index) const {
    const auto i = static_cast<std::size_t>(index);
    return fileData_.Bytes().subspan(static_cast<std::size_t>(offsets_.at(i)),
                                     static_cast<std::size_t>(sizes_.at(i)));
}

void TSkinReader::Extract(std::size_t index, TMemoryStream& target) const {
    const auto bytes = FileBytes(static_cast<int>(index));
    target.WriteBuffer(bytes.data(), bytes.size());
    target.Rewind();
}

bool TSkinReader::ExtractFile(const std::string& name, TMemoryStream& target) const {
    target.Clear();
    const std::string wanted = AsciiLower(name);
    const auto it = std::find(names_.begin(), names_.end(), wanted);
    if (it == names_.end()) return false;
    Extract(static_cast<std::size_t>(it - names_.begin()), target);
    return true;
}

bool TSkinReader::ExtractFileLike(const std::string& fragment, TMemoryStream& target,
                                  std::string& storedName) const {
    target.Clear();
    const auto it = std::find_if(names_.begin(), names_.end(), [&](const std::string& name) {
        return name.find(fragment) != std::string::npos;
    });
    if (it == names_.end()) return false;
    storedName = *it;
    Extract(static_cast<std::size_t>(it - names_.begin()), target);
    return true;
}
