#pragma once
// Byte streams in the class library's shape: a position, Read/Write that
// move it, and an in-memory stream whose bytes can be reached directly.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/Exception.h"

class EReadError : public Exception {
public:
    using Exception::Exception;
};

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Reads up to count bytes; returns how many were read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::size_t Size() const = 0;
    virtual std::size_t Position() const = 0;
    // Positions past the end are allowed; reads there return nothing.
    virtual void SetPosition(std::size_t position) = 0;

    // Like Read, but a short read raises EReadError.
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies count bytes from source's position (all of source from 0 when count is 0).
    std::size_t CopyFrom(TStream& source, std::size_t count);
};

class TMemoryStream : public TStream {
public:
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::size_t Size() const override { return data_.size(); }
    std::size_t Position() const override { return position_; }
    void SetPosition(std::size_t position) override { position_ = position; }

    void Clear() { data_.clear(); position_ = 0; }
    // Grows with zero bytes or truncates; the position is kept (clamped to the size).
    void SetSize(std::size_t size);
    void Rewind() { position_ = 0; }

    std::uint8_t* Memory() { return data_.data(); }
    const std::uint8_t* Memory() const { return data_.data(); }
    std::span<const std::uint8_t> Bytes() const { return data_; }
    // Takes over a buffer (position 0) or hands its bytes out (leaving it empty).
    void Assign(std::vector<std::uint8_t> bytes) { data_ = std::move(bytes); position_ = 0; }
    std::vector<std::uint8_t> Release() { position_ = 0; return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
    std::size_t position_ = 0;
};
