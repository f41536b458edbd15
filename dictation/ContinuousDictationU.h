#pragma once
// The main window: three buttons and a menu over the shared recogniser.
// Start-up opens the recognition context with dictation active; every
// recognised phrase is typed into the focused control of the foreground
// window. The window also carries the recogniser's set-up dialogs, the window
// options remembered by marker files and the information commands.
#include <windows.h>
#include <sapi.h>

#include <initializer_list>
#include <string>
#include <variant>

#include "classlib/ComPtr.h"
#include "classlib/Forms.h"
#include "speech/SpeechLib_TLB.h"

class TButton;
class TMemo;
class TMenuItem;
class TProgressBar;
class TStatusBar;

// One argument of a formatted log line: %d takes an integer, %s a text.
using TLogArg = std::variant<int, std::wstring>;

class TfrmContinuousDictation : public TForm {
    DECLARE_CLASS_INFO()
public:
    explicit TfrmContinuousDictation(TComponent* owner);
    ~TfrmContinuousDictation() override;

    // Errors of the creation handler go to the application's error box, and
    // the window is created all the same.
    void DoCreate() override;

    void FormCreate(TObject* sender);

    void BStartClick(TObject* sender);
    void NStartClick(TObject* sender);
    void BStopClick(TObject* sender);
    void NStopClick(TObject* sender);

    void BDictClick(TObject* sender);
    void NDictClick(TObject* sender);
    void NMicroPhoneClick(TObject* sender);
    void NYuYinXunLianXiangDaoClick(TObject* sender);
    void NLingMinDuClick(TObject* sender);
    void NvoicesClick(TObject* sender);

    void NWindowTopClick(TObject* sender);
    void NAutoRunClick(TObject* sender);
    void NQianTouMingClick(TObject* sender);
    void NShenTouMingClick(TObject* sender);
    void NBuTouMingClick(TObject* sender);

    void NReadmeClick(TObject* sender);
    void NDownSDKClick(TObject* sender);
    void NSDKlanguageClick(TObject* sender);
    void NHelpsClick(TObject* sender);
    void NHowInputOneClick(TObject* sender);
    void NSoftsClick(TObject* sender);
    void NTellClick(TObject* sender);
    void NSoftDiyClick(TObject* sender);
    void NSoftAdClick(TObject* sender);
    void NAboutClick(TObject* sender);
    void NCloseClick(TObject* sender);

    void SpSharedRecoContextStartStream(TObject* sender, int streamNumber, const VARIANT& streamPosition);
    void SpSharedRecoContextEndStream(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                      bool streamReleased);
    void SpSharedRecoContextSoundStart(TObject* sender, int streamNumber, const VARIANT& streamPosition);
    void SpSharedRecoContextSoundEnd(TObject* sender, int streamNumber, const VARIANT& streamPosition);
    void SpSharedRecoContextPhraseStart(TObject* sender, int streamNumber, const VARIANT& streamPosition);
    void SpSharedRecoContextRecognition(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                        int recognitionType, ISpeechRecoResult* result);
    void SpSharedRecoContextHypothesis(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                       ISpeechRecoResult* result);
    void SpSharedRecoContextFalseRecognition(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                             ISpeechRecoResult* result);
    void SpSharedRecoContextInterference(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                         int interference);
    void SpSharedRecoContextRequestUI(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                      const std::wstring& uiType);
    void SpSharedRecoContextRecognitionForOtherContext(TObject* sender, int streamNumber,
                                                       const VARIANT& streamPosition);
    void SpSharedRecoContextAudioLevel(TObject* sender, int streamNumber, const VARIANT& streamPosition,
                                       int audioLevel);

    // Opens one of the recogniser's own dialogs when it supports the type.
    void ShowRecognizerUI(const std::wstring& uiType, const std::wstring& title);

    // The event log: formatted, then dropped.
    void LogEvent(const std::wstring& message);
    void LogEvent(const std::wstring& format, std::initializer_list<TLogArg> args);

    // The components by role, as the layout names them.
    TSpSharedRecoContext* SpSharedRecoContext() const;
    TProgressBar* ProgressBar() const;
    TMemo* Memo3() const;
    TMenuItem* MenuItem(const wchar_t* name) const;
    ISpeechRecoGrammar* DictationGrammar() const { return dictationGrammar_.Get(); }

protected:
    void Loaded() override;

private:
    void WriteMarkerFile(const wchar_t* name);
    void SetTransparency(bool alphaBlend, BYTE alpha);
    void RestoreOptions();

    ComPtr<ISpeechRecoGrammar> dictationGrammar_;
};

// The name of an interference value; empty for values outside the table.
std::wstring InterferenceName(int interference);
// printf-like: %s takes a text (or an integer in its decimal form), %d an
// integer (or a text as given), %% a percent sign.
std::wstring FormatLogLine(const std::wstring& format, std::initializer_list<TLogArg> args);
// The directory of the executable followed by a backslash and the file name.
std::wstring BesideExecutable(const std::wstring& fileName);
