#pragma once
// One line of a loopback recogniser script, parsed. The script language is
// described in README.md beside this file. No Windows types here, so that the
// parser can be tested on its own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace loopback {

enum class ScriptOp {
    Recognize,         // recognize TEXT
    Hypothesis,        // hypothesis TEXT
    False,             // false TEXT
    AudioLevel,        // audiolevel N
    Interference,      // interference N
    RequestUI,         // requestui TYPE
    StartStream,       // startstream [N]
    EndStream,         // endstream [N]
    SoundStart,        // soundstart
    SoundEnd,          // soundend
    PhraseStart,       // phrasestart
    OtherRecognition,  // otherrecognition
    Bookmark,          // bookmark [ID]
    PropertyNumber,    // propertynumber NAME N
    PropertyString,    // propertystring NAME TEXT
    StateChange,       // statechange N
    Adaptation,        // adaptation
    EnginePrivate,     // engineprivate TEXT
    Wait,              // wait MS
    Fail,              // fail METHOD HRESULT
    Unsupported,       // unsupported TYPE
};

struct ScriptCommand {
    ScriptOp op{};
    std::string text;     // UTF-8: phrase, UI type, method or property name, engine data
    std::string value;    // UTF-8: the string value of propertystring
    std::int64_t number = 0;
    bool hasNumber = false;  // false where an optional number was left out
};

enum class ScriptLineKind { Command, Blank, Invalid };

struct ParsedLine {
    ScriptLineKind kind = ScriptLineKind::Blank;
    ScriptCommand command;
};

// Parses one line without its line end (a trailing CR is ignored). Blank lines
// and lines starting with '#' are Blank; unknown words, missing or malformed
// numbers are Invalid.
ParsedLine ParseScriptLine(std::string_view line);

}  // namespace loopback
