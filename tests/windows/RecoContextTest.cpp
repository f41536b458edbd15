// The recognition context component: event dispatch by DISPID with the
// arguments in declaration order, and the error texts of failed calls.
#include <gtest/gtest.h>

#include "speech/SpeechLib_TLB.h"

namespace {

// DISPPARAMS as a connection point passes them: the last argument first.
struct EventArgs {
    std::vector<VARIANT> args;  // declaration order
    DISPPARAMS params{};
    ~EventArgs() {
        for (auto& v : args) VariantClear(&v);
    }
    EventArgs& Int(int value) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = value;
        args.push_back(v);
        return *this;
    }
    EventArgs& Text(const wchar_t* value) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(value);
        args.push_back(v);
        return *this;
    }
    DISPPARAMS& Params() {
        reversed.assign(args.rbegin(), args.rend());
        params.rgvarg = reversed.data();
        params.cArgs = static_cast<UINT>(reversed.size());
        return params;
    }
    std::vector<VARIANT> reversed;
};

}  // namespace

TEST(RecoContext, EventsReachTheirHandlersWithTheArgumentsInOrder) {
    TSpSharedRecoContext context(nullptr);
    std::vector<std::string> seen;
    context.OnStartStream = [&](TObject* s, int stream, const VARIANT& pos) {
        EXPECT_EQ(s, &context);
        seen.push_back("start " + std::to_string(stream) + " " + std::to_string(pos.lVal));
    };
    context.OnInterference = [&](TObject*, int stream, const VARIANT&, int interference) {
        seen.push_back("interference " + std::to_string(stream) + " " + std::to_string(interference));
    };
    context.OnRequestUI = [&](TObject*, int, const VARIANT&, const std::wstring& type) {
        seen.push_back("requestui " + WideToUtf8(type));
    };
    context.OnAudioLevel = [&](TObject*, int, const VARIANT&, int level) {
        seen.push_back("audio " + std::to_string(level));
    };
    EventArgs start;
    start.Int(3).Int(1234);
    context.DispatchEvent(1, start.Params());
    EventArgs interference;
    interference.Int(4).Int(0).Int(6);
    context.DispatchEvent(12, interference.Params());
    EventArgs ui;
    ui.Int(1).Int(0).Text(L"MicTraining");
    context.DispatchEvent(13, ui.Params());
    EventArgs level;
    level.Int(1).Int(0).Int(57);
    context.DispatchEvent(17, level.Params());
    EventArgs unknown;
    unknown.Int(1).Int(0);
    context.DispatchEvent(3, unknown.Params());   // no handler assigned
    context.DispatchEvent(99, unknown.Params());  // not an event of this interface
    EXPECT_EQ(seen, (std::vector<std::string>{"start 3 1234", "interference 4 6", "requestui MicTraining", "audio 57"}));
}

TEST(RecoContext, FailedCallsCarryThePlatformsTextOrTheOleErrorCode) {
    EXPECT_EQ(OleErrorText(static_cast<HRESULT>(0x8004503A)), "OLE error 8004503A");
    // The system's message where it has one (Windows), the code where not (Wine has none for this one).
    wchar_t buf[512] = {};
    const bool systemHasText = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                              static_cast<DWORD>(REGDB_E_CLASSNOTREG), 0, buf, 512, nullptr) != 0;
    if (systemHasText) {
        EXPECT_EQ(OleErrorText(REGDB_E_CLASSNOTREG).rfind("OLE error", 0), std::string::npos);
    } else {
        EXPECT_EQ(OleErrorText(REGDB_E_CLASSNOTREG), "OLE error 80040154");
    }
    EXPECT_NE(OleErrorText(E_OUTOFMEMORY).rfind("OLE error", 0), 0u) << "the system knows this one";
    try {
        OleCheck(static_cast<HRESULT>(0x8004503A));
        ADD_FAILURE();
    } catch (const EOleException& e) {
        EXPECT_EQ(e.ErrorCode(), static_cast<HRESULT>(0x8004503A));
        EXPECT_STREQ(e.what(), "OLE error 8004503A");
    }
    EXPECT_NO_THROW(OleCheck(S_OK));
}
