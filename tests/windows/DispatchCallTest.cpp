// Late-bound calls: what a server says when it raises reaches the exception.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "speech/DispatchCall.h"
#include "speech/SpeechLib_TLB.h"

namespace {

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* error) {
    error->bstrDescription = SysAllocString(L"The microphone is unplugged");
    error->scode = E_ACCESSDENIED;
    return S_OK;
}

// A server whose every member raises, as the record it is given says.
struct RaisingServer : IDispatch {
    EXCEPINFO raise{};
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* id) override {
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* error,
                                     UINT*) override {
        *error = raise;
        return DISP_E_EXCEPTION;
    }
};

struct RaiseCase {
    const char* name;
    EXCEPINFO record;
    std::string message;
    HRESULT code;
};

}  // namespace

TEST(DispatchCall, AServersRaisedErrorReachesTheExceptionWithItsOwnText) {
    EXCEPINFO deferred{};
    deferred.pfnDeferredFillIn = FillInLater;
    EXCEPINFO ownCode{};
    ownCode.wCode = 1001;
    EXCEPINFO scodeOnly{};
    scodeOnly.scode = E_OUTOFMEMORY;
    const RaiseCase cases[] = {
        {"deferred fill-in", deferred, "The microphone is unplugged", E_ACCESSDENIED},
        {"server's own code", ownCode, "The automation server reported error 1001", DISP_E_EXCEPTION},
        {"failure code only", scodeOnly, OleErrorText(E_OUTOFMEMORY), E_OUTOFMEMORY},
    };
    for (const RaiseCase& c : cases) {
        SCOPED_TRACE(c.name);
        RaisingServer server;
        server.raise = c.record;
        VARIANT result;
        VariantInit(&result);
        try {
            GetByName(&server, L"Anything", result);
            ADD_FAILURE() << "no exception";
        } catch (const EOleException& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
            EXPECT_EQ(e.ErrorCode(), c.code);
        }
    }
}
