#include "core/Stream.h"

#include <algorithm>
#include <cstring>

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (Write(buffer, count) != count) throw Exception("Stream write error");
}

std::size_t TStream::CopyFrom(TStream& source, std::size_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::uint8_t chunk[16384];
    std::size_t copied = 0;
    while (copied < count) {
        const std::size_t want = std::min(sizeof chunk, count - copied);
        source.ReadBuffer(chunk, want);
        WriteBuffer(chunk, want);
        copied += want;
    }
    return copied;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    if (position_ >= data_.size()) return 0;
    const std::size_t n = std::min(count, data_.size() - position_);
    if (n) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    if (position_ + count > data_.size()) data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

void TMemoryStream::SetSize(std::size_t size) {
    data_.resize(size);
    position_ = std::min(position_, size);
}
