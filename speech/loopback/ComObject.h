#pragma once
// The reference counting and IDispatch plumbing every object of the loopback
// recogniser shares. IDispatch works without a type library: each class names
// its members in a table (name, DISPID) and answers InvokeMember by DISPID.
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <span>
#include <type_traits>
#include <utility>

#include "ComPtr.h"
#include "DispArgs.h"

namespace loopback {

// Live objects and class factory locks; DllCanUnloadNow answers from these.
void ModuleAddRef();
void ModuleRelease();

struct DispName {
    const wchar_t* name;
    DISPID id;
};

// Looks names up case-insensitively, as automation clients expect.
HRESULT LookUpNames(std::span<const DispName> table, LPOLESTR* names, UINT count, DISPID* ids);

template <class Derived, class Interface>
class ComObject : public Interface {
public:
    ComObject() { ModuleAddRef(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // Makes an object with one reference, owned by the returned pointer.
    template <class... A>
    static ComPtr<Derived> Make(A&&... args) {
        return ComPtr<Derived>::Adopt(std::make_unique<Derived>(std::forward<A>(args)...).release());
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
        } else if constexpr (std::is_base_of_v<IDispatch, Interface>) {
            if (riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
        }
        if (!*out) *out = static_cast<Derived*>(this)->QueryOther(riid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        // The last reference owns the object.
        if (left == 0) std::unique_ptr<Derived> last(static_cast<Derived*>(this));
        return left;
    }

    // Further interfaces of the object (not AddRef'd), or null.
    void* QueryOther(REFIID) { return nullptr; }

protected:
    ~ComObject() { ModuleRelease(); }

private:
    ULONG refs_ = 1;  // all objects live on one thread, as apartment objects do
};

template <class Derived, class Interface>
class DispatchObject : public ComObject<Derived, Interface> {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        return LookUpNames(Derived::Names(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT* argErr) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        DispArgs args(params, flags);
        if (!args.Valid()) return DISP_E_NONAMEDARGS;
        VARIANT ignored;
        VariantInit(&ignored);
        VARIANT& out = result ? *result : ignored;
        if (result) VariantInit(result);
        const HRESULT hr = static_cast<Derived*>(this)->InvokeMember(id, args, out);
        if (argErr && args.BadArgument()) *argErr = *args.BadArgument();
        VariantClear(&ignored);
        return hr;
    }
};

}  // namespace loopback
