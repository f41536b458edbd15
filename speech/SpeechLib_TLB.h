#pragma once
// The shared recognition context of the speech runtime's automation
// interfaces, as a component: created on first use, its events connected
// through the connection point to a sink that calls the component's event
// handlers by DISPID. Failed calls raise EOleException.
#include <windows.h>
#include <sapi.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/ComPtr.h"
#include "classlib/Component.h"

// A failed platform call: the platform's description, else the system's
// message for the code, else "OLE error XXXXXXXX".
class EOleException : public Exception {
public:
    EOleException(const std::string& message, HRESULT code) : Exception(message), code_(code) {}
    HRESULT ErrorCode() const { return code_; }

private:
    HRESULT code_;
};

// Raises EOleException for a failure code (with the thread's error information, if any).
void OleCheck(HRESULT hr);
// The text OleCheck would raise for a code without error information.
std::string OleErrorText(HRESULT hr);

enum class TConnectKind { ckRunningOrNew, ckNewInstance, ckRunningInstance, ckRemote, ckAttachToInterface };

// Event handler types, arguments in the events' declaration order.
using TRecoStreamEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition)>;
using TRecoEndStreamEvent =
    std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition, bool streamReleased)>;
using TRecoBookmarkEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                              const VARIANT& bookmarkId, int options)>;
using TRecoRecognitionEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                                 int recognitionType, ISpeechRecoResult* result)>;
using TRecoResultEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                            ISpeechRecoResult* result)>;
using TRecoPropertyNumberEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                                    const std::wstring& propertyName, int newNumberValue)>;
using TRecoPropertyStringEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                                    const std::wstring& propertyName, const std::wstring& newValue)>;
using TRecoInterferenceEvent =
    std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition, int interference)>;
using TRecoRequestUIEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                               const std::wstring& uiType)>;
using TRecoStateEvent =
    std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition, int newState)>;
using TRecoAudioLevelEvent =
    std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition, int audioLevel)>;
using TRecoEnginePrivateEvent = std::function<void(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                                   const VARIANT& engineData)>;

class TSpSharedRecoContext : public TComponent {
    DECLARE_CLASS_INFO()
public:
    explicit TSpSharedRecoContext(TComponent* owner);
    ~TSpSharedRecoContext() override;

    bool AutoConnect() const { return autoConnect_; }
    void SetAutoConnect(bool v) { autoConnect_ = v; }
    TConnectKind ConnectKind() const { return connectKind_; }
    void SetConnectKind(TConnectKind v) { connectKind_ = v; }

    // The context; the first use creates it and connects its events. A failed
    // creation raises, and the next use tries again.
    ISpeechRecoContext* DefaultInterface();
    void Connect();
    void Disconnect();
    bool Connected() const { return static_cast<bool>(context_); }

    void SetEventInterests(long interests);
    ComPtr<ISpeechRecoGrammar> CreateGrammar(const VARIANT& grammarId);
    void Resume();
    void Pause();
    ComPtr<ISpeechRecognizer> Recognizer();

    TRecoStreamEvent OnStartStream;
    TRecoEndStreamEvent OnEndStream;
    TRecoBookmarkEvent OnBookmark;
    TRecoStreamEvent OnSoundStart;
    TRecoStreamEvent OnSoundEnd;
    TRecoStreamEvent OnPhraseStart;
    TRecoRecognitionEvent OnRecognition;
    TRecoResultEvent OnHypothesis;
    TRecoPropertyNumberEvent OnPropertyNumberChange;
    TRecoPropertyStringEvent OnPropertyStringChange;
    TRecoResultEvent OnFalseRecognition;
    TRecoInterferenceEvent OnInterference;
    TRecoRequestUIEvent OnRequestUI;
    TRecoStateEvent OnRecognizerStateChange;
    TRecoStreamEvent OnAdaptation;
    TRecoStreamEvent OnRecognitionForOtherContext;
    TRecoAudioLevelEvent OnAudioLevel;
    TRecoEnginePrivateEvent OnEnginePrivate;

    // Calls the handler for one event (the sink's Invoke); other DISPIDs are ignored.
    void DispatchEvent(DISPID id, DISPPARAMS& params);

protected:
    void Loaded() override;

private:
    class TEventSink;
    bool autoConnect_ = false;
    TConnectKind connectKind_ = TConnectKind::ckRunningOrNew;
    ComPtr<ISpeechRecoContext> context_;
    ComPtr<IConnectionPoint> connectionPoint_;
    DWORD cookie_ = 0;
    ComPtr<IDispatch> sink_;
};

// The class identifier of the shared recognition context.
extern const CLSID kSpSharedRecoContextClassId;
