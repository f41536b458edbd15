// The DLL's entry points: the class factory and the unload check.
// Registration is in Registration.cpp.
#include <windows.h>
#include <ole2.h>

#include <atomic>

#include "ComObject.h"
#include "Ids.h"
#include "RecoContext.h"
#include "TickWindow.h"

namespace loopback {
namespace {

// The module's own state, as every COM server has: its handle and the count
// of live objects and locks that keeps it loaded.
HINSTANCE g_instance = nullptr;
std::atomic<long> g_liveObjects{0};

class ClassFactory : public ComObject<ClassFactory, IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return RecoContext::Make()->QueryInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ModuleAddRef();
        else
            ModuleRelease();
        return S_OK;
    }
};

}  // namespace

void ModuleAddRef() { ++g_liveObjects; }
void ModuleRelease() { --g_liveObjects; }
HINSTANCE ModuleInstance() { return g_instance; }

}  // namespace loopback

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        loopback::g_instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        loopback::TickWindow::UnregisterClass();  // unloaded by FreeLibrary, not at process exit
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != loopback::kClsidSpSharedRecoContext) return CLASS_E_CLASSNOTAVAILABLE;
    return loopback::ClassFactory::Make()->QueryInterface(riid, out);
}

STDAPI DllCanUnloadNow() { return loopback::g_liveObjects == 0 ? S_OK : S_FALSE; }
