#pragma once
// Object instances: a few bytes of machine code per object that Windows can
// call as a window procedure (or any other procedure of the same shape) and
// that hand the call to a static function with the object's pointer in place
// of the first argument. The thunks live in executable pages shared by all
// instances of the process; a freed slot is reused.
//
// x86_64:  mov rcx, object ; mov rax, target ; jmp rax
// i686:    mov dword [esp+4], object ; jmp target   (stdcall: the callee pops)
#include <windows.h>

class TObjectInstance {
public:
    // The function the thunk jumps to: the first argument is the object.
    using Target = LRESULT(CALLBACK*)(HWND objectInPlaceOfWindow, UINT, WPARAM, LPARAM);

    TObjectInstance() = default;
    TObjectInstance(void* object, Target target);
    ~TObjectInstance();
    TObjectInstance(TObjectInstance&& other) noexcept;
    TObjectInstance& operator=(TObjectInstance&& other) noexcept;
    TObjectInstance(const TObjectInstance&) = delete;
    TObjectInstance& operator=(const TObjectInstance&) = delete;

    // The thunk as a window procedure; nullptr when empty.
    WNDPROC Proc() const { return reinterpret_cast<WNDPROC>(code_); }
    explicit operator bool() const { return code_ != nullptr; }
    void Reset();
    // Points the thunk at another object and function (same slot, so a
    // window that holds the thunk now calls the new target).
    void Retarget(void* object, Target target);
    // Gives up ownership without returning the slot: for a thunk that a
    // window may still call after its owner has gone.
    void Abandon() { code_ = nullptr; }

    // Thunk slots handed out and not yet returned (for leak tests).
    static int LiveCount();

private:
    void* code_ = nullptr;
};
