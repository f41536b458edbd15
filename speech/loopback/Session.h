#pragma once
// What the context, its grammars, its recogniser objects and its results
// share: the call log with its planned failures, and the state that decides
// which script events are delivered.
#include "SpeechApi.h"

#include <set>
#include <string>

#include "CallLog.h"

namespace loopback {

struct Session {
    CallLog calls;
    // Pause sets it, Resume clears it (not counted).
    bool paused = false;
    // Grammars whose dictation is active; recognitions need at least one.
    int activeDictations = 0;
    // The runtime's default: every event but the audio level.
    LONG eventInterests = SREAllEvents & ~SREAudioLevel;
    // UI types IsUISupported answers false for ("unsupported TYPE").
    std::set<std::wstring, std::less<>> unsupportedUI;

    bool Listening() const { return !paused && activeDictations > 0; }
};

}  // namespace loopback
