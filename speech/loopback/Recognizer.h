#pragma once
// The shared recogniser as the context hands it out: it answers which set-up
// dialogs it has (all but those a script marked unsupported) and shows a
// small modal stand-in for each.
#include "SpeechApi.h"

#include <memory>
#include <span>

#include "ComObject.h"
#include "Session.h"
#include "Stub.h"

namespace loopback {

class Recognizer : public DispatchObject<Recognizer, ISpeechRecognizer> {
public:
    explicit Recognizer(std::shared_ptr<Session> session) : session_(std::move(session)) {}

    static std::span<const DispName> Names();
    HRESULT InvokeMember(DISPID id, DispArgs& args, VARIANT& result);

    HRESULT STDMETHODCALLTYPE IsUISupported(const BSTR typeOfUI, const VARIANT* extraData,
                                            VARIANT_BOOL* supported) override;
    HRESULT STDMETHODCALLTYPE DisplayUI(LONG hWndParent, BSTR title, const BSTR typeOfUI,
                                        const VARIANT* extraData) override;
    LOOPBACK_STUB(putref_Recognizer, L"Recognizer", ISpeechObjectToken*)
    LOOPBACK_STUB(get_Recognizer, L"Recognizer", ISpeechObjectToken**)
    LOOPBACK_STUB(put_AllowAudioInputFormatChangesOnNextSet, L"AllowAudioInputFormatChangesOnNextSet", VARIANT_BOOL)
    LOOPBACK_STUB(get_AllowAudioInputFormatChangesOnNextSet, L"AllowAudioInputFormatChangesOnNextSet", VARIANT_BOOL*)
    LOOPBACK_STUB(putref_AudioInput, L"AudioInput", ISpeechObjectToken*)
    LOOPBACK_STUB(get_AudioInput, L"AudioInput", ISpeechObjectToken**)
    LOOPBACK_STUB(putref_AudioInputStream, L"AudioInputStream", ISpeechBaseStream*)
    LOOPBACK_STUB(get_AudioInputStream, L"AudioInputStream", ISpeechBaseStream**)
    LOOPBACK_STUB(get_IsShared, L"IsShared", VARIANT_BOOL*)
    LOOPBACK_STUB(put_State, L"State", SpeechRecognizerState)
    LOOPBACK_STUB(get_State, L"State", SpeechRecognizerState*)
    LOOPBACK_STUB(get_Status, L"Status", ISpeechRecognizerStatus**)
    LOOPBACK_STUB(putref_Profile, L"Profile", ISpeechObjectToken*)
    LOOPBACK_STUB(get_Profile, L"Profile", ISpeechObjectToken**)
    LOOPBACK_STUB(EmulateRecognition, L"EmulateRecognition", VARIANT, VARIANT*, LONG)
    LOOPBACK_STUB(CreateRecoContext, L"CreateRecoContext", ISpeechRecoContext**)
    LOOPBACK_STUB(GetFormat, L"GetFormat", SpeechFormatType, ISpeechAudioFormat**)
    LOOPBACK_STUB(SetPropertyNumber, L"SetPropertyNumber", const BSTR, LONG, VARIANT_BOOL*)
    LOOPBACK_STUB(GetPropertyNumber, L"GetPropertyNumber", const BSTR, LONG*, VARIANT_BOOL*)
    LOOPBACK_STUB(SetPropertyString, L"SetPropertyString", const BSTR, const BSTR, VARIANT_BOOL*)
    LOOPBACK_STUB(GetPropertyString, L"GetPropertyString", const BSTR, BSTR*, VARIANT_BOOL*)
    LOOPBACK_STUB(GetRecognizers, L"GetRecognizers", BSTR, BSTR, ISpeechObjectTokens**)
    LOOPBACK_STUB(GetAudioInputs, L"GetAudioInputs", BSTR, BSTR, ISpeechObjectTokens**)
    LOOPBACK_STUB(GetProfiles, L"GetProfiles", BSTR, BSTR, ISpeechObjectTokens**)

private:
    std::shared_ptr<Session> session_;
};

}  // namespace loopback
