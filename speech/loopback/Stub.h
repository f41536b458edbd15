#pragma once
// A member the loopback recogniser does not offer: the call is logged under
// its automation name and answers E_NOTIMPL (or a failure a script planned).
#define LOOPBACK_STUB(Method, LogName, ...)                              \
    HRESULT STDMETHODCALLTYPE Method(__VA_ARGS__) override {             \
        const HRESULT planned = session_->calls.Record(LogName);         \
        return planned != S_OK ? planned : E_NOTIMPL;                    \
    }
