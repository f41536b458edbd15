#include "classlib/ObjectInstance.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kSlotSize = 32;

// Executable pages cut into slots. Pages are never given back: a window may
// still call a thunk after its owner has gone (see TWindowSubclass).
class ThunkPool {
public:
    void* Take() {
        std::lock_guard lock(mutex_);
        if (free_.empty()) Grow();
        void* slot = free_.back();
        free_.pop_back();
        ++live_;
        return slot;
    }
    void Give(void* slot) {
        std::lock_guard lock(mutex_);
        std::memset(slot, 0xCC, kSlotSize);  // int3: a stale call traps at once
        free_.push_back(slot);
        --live_;
    }
    int Live() {
        std::lock_guard lock(mutex_);
        return live_;
    }

private:
    void Grow() {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        const std::size_t size = info.dwPageSize ? info.dwPageSize : 4096;
        auto* page = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE,
                                                             PAGE_EXECUTE_READWRITE));
        if (!page) throw std::bad_alloc();
        for (std::size_t offset = size; offset >= kSlotSize; offset -= kSlotSize)
            free_.push_back(page + offset - kSlotSize);
    }

    std::mutex mutex_;
    std::vector<void*> free_;
    int live_ = 0;
};

ThunkPool& Pool() {
    static ThunkPool pool;
    return pool;
}

void WriteThunk(void* slot, void* object, TObjectInstance::Target target) {
    auto* code = static_cast<std::uint8_t*>(slot);
    std::size_t n = 0;
    auto put = [&](const void* bytes, std::size_t count) {
        std::memcpy(code + n, bytes, count);
        n += count;
    };
#if defined(_M_X64) || defined(__x86_64__)
    const std::uint8_t movRcx[] = {0x48, 0xB9};
    const std::uint8_t movRax[] = {0x48, 0xB8};
    const std::uint8_t jmpRax[] = {0xFF, 0xE0};
    const auto objectBits = reinterpret_cast<std::uint64_t>(object);
    const auto targetBits = reinterpret_cast<std::uint64_t>(target);
    put(movRcx, sizeof movRcx);
    put(&objectBits, 8);
    put(movRax, sizeof movRax);
    put(&targetBits, 8);
    put(jmpRax, sizeof jmpRax);
#elif defined(_M_IX86) || defined(__i386__)
    const std::uint8_t movArg[] = {0xC7, 0x44, 0x24, 0x04};
    const std::uint8_t jmpRel = 0xE9;
    const auto objectBits = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(object));
    put(movArg, sizeof movArg);
    put(&objectBits, 4);
    put(&jmpRel, 1);
    const auto next = reinterpret_cast<std::uintptr_t>(code + n + 4);
    const auto relative = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(target) - next);
    put(&relative, 4);
#else
#error "object instances need an x86_64 or i686 target"
#endif
    FlushInstructionCache(GetCurrentProcess(), slot, n);
}

}  // namespace

TObjectInstance::TObjectInstance(void* object, Target target) : code_(Pool().Take()) {
    WriteThunk(code_, object, target);
}

TObjectInstance::~TObjectInstance() { Reset(); }

TObjectInstance::TObjectInstance(TObjectInstance&& other) noexcept : code_(other.code_) { other.code_ = nullptr; }

TObjectInstance& TObjectInstance::operator=(TObjectInstance&& other) noexcept {
    if (this != &other) {
        Reset();
        code_ = other.code_;
        other.code_ = nullptr;
    }
    return *this;
}

void TObjectInstance::Retarget(void* object, Target target) {
    if (code_) WriteThunk(code_, object, target);
}

void TObjectInstance::Reset() {
    if (code_) Pool().Give(code_);
    code_ = nullptr;
}

int TObjectInstance::LiveCount() { return Pool().Live(); }
