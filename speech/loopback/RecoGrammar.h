#pragma once
// A grammar of the context; only its dictation state does anything: while
// any grammar's dictation is active (and the context runs), recognitions are
// delivered. A grammar that goes away takes its dictation with it.
#include "SpeechApi.h"

#include <memory>
#include <span>

#include "ComObject.h"
#include "Session.h"
#include "Stub.h"

namespace loopback {

class RecoGrammar : public DispatchObject<RecoGrammar, ISpeechRecoGrammar> {
public:
    explicit RecoGrammar(std::shared_ptr<Session> session) : session_(std::move(session)) {}
    ~RecoGrammar();

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    HRESULT STDMETHODCALLTYPE DictationSetState(SpeechRuleState state) override;
    LOOPBACK_STUB(get_Id, L"Id", VARIANT*)
    LOOPBACK_STUB(get_RecoContext, L"RecoContext", ISpeechRecoContext**)
    LOOPBACK_STUB(put_State, L"State", SpeechGrammarState)
    LOOPBACK_STUB(get_State, L"State", SpeechGrammarState*)
    LOOPBACK_STUB(get_Rules, L"Rules", ISpeechGrammarRules**)
    LOOPBACK_STUB(Reset, L"Reset", SpeechLanguageId)
    LOOPBACK_STUB(CmdLoadFromFile, L"CmdLoadFromFile", const BSTR, SpeechLoadOption)
    LOOPBACK_STUB(CmdLoadFromObject, L"CmdLoadFromObject", const BSTR, const BSTR, SpeechLoadOption)
    LOOPBACK_STUB(CmdLoadFromResource, L"CmdLoadFromResource", LONG, VARIANT, VARIANT, SpeechLanguageId,
                  SpeechLoadOption)
    LOOPBACK_STUB(CmdLoadFromMemory, L"CmdLoadFromMemory", VARIANT, SpeechLoadOption)
    LOOPBACK_STUB(CmdLoadFromProprietaryGrammar, L"CmdLoadFromProprietaryGrammar", const BSTR, const BSTR,
                  VARIANT, SpeechLoadOption)
    LOOPBACK_STUB(CmdSetRuleState, L"CmdSetRuleState", const BSTR, SpeechRuleState)
    LOOPBACK_STUB(CmdSetRuleIdState, L"CmdSetRuleIdState", LONG, SpeechRuleState)
    LOOPBACK_STUB(DictationLoad, L"DictationLoad", const BSTR, SpeechLoadOption)
    LOOPBACK_STUB(DictationUnload, L"DictationUnload")
    LOOPBACK_STUB(SetWordSequenceData, L"SetWordSequenceData", const BSTR, LONG, ISpeechTextSelectionInformation*)
    LOOPBACK_STUB(SetTextSelection, L"SetTextSelection", ISpeechTextSelectionInformation*)
    LOOPBACK_STUB(IsPronounceable, L"IsPronounceable", const BSTR, SpeechWordPronounceable*)

private:
    std::shared_ptr<Session> session_;
    bool dictationActive_ = false;
};

}  // namespace loopback
