#include "ScriptLine.h"

#include <array>
#include <charconv>
#include <limits>

#include "core/AsciiCase.h"

namespace loopback {
namespace {

enum class Args {
    None,            // nothing after the word
    Text,            // the rest of the line, verbatim (may be empty)
    RequiredText,    // the rest of the line, not empty
    Number,          // one integer
    OptionalNumber,  // one integer or nothing
    NameNumber,      // a word and an integer
    NameText,        // a word and the rest of the line
};

struct Word {
    std::string_view word;
    ScriptOp op;
    Args args;
};

constexpr std::array kWords{
    Word{"recognize", ScriptOp::Recognize, Args::Text},
    Word{"hypothesis", ScriptOp::Hypothesis, Args::Text},
    Word{"false", ScriptOp::False, Args::Text},
    Word{"audiolevel", ScriptOp::AudioLevel, Args::Number},
    Word{"interference", ScriptOp::Interference, Args::Number},
    Word{"requestui", ScriptOp::RequestUI, Args::Text},
    Word{"startstream", ScriptOp::StartStream, Args::OptionalNumber},
    Word{"endstream", ScriptOp::EndStream, Args::OptionalNumber},
    Word{"soundstart", ScriptOp::SoundStart, Args::None},
    Word{"soundend", ScriptOp::SoundEnd, Args::None},
    Word{"phrasestart", ScriptOp::PhraseStart, Args::None},
    Word{"otherrecognition", ScriptOp::OtherRecognition, Args::None},
    Word{"bookmark", ScriptOp::Bookmark, Args::OptionalNumber},
    Word{"propertynumber", ScriptOp::PropertyNumber, Args::NameNumber},
    Word{"propertystring", ScriptOp::PropertyString, Args::NameText},
    Word{"statechange", ScriptOp::StateChange, Args::Number},
    Word{"adaptation", ScriptOp::Adaptation, Args::None},
    Word{"engineprivate", ScriptOp::EnginePrivate, Args::Text},
    Word{"wait", ScriptOp::Wait, Args::Number},
    Word{"fail", ScriptOp::Fail, Args::NameNumber},
    Word{"unsupported", ScriptOp::Unsupported, Args::RequiredText},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Decimal with an optional minus, or hexadecimal after 0x. The whole token
// must be the number; the value must fit 32 bits, signed or (hex) unsigned,
// since every number of the script ends up as a LONG or an HRESULT.
std::optional<std::int64_t> ParseNumber(std::string_view s) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty() || s.front() == '-' || s.front() == '+') return std::nullopt;
    std::uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    constexpr std::uint64_t kMaxUnsigned = std::numeric_limits<std::uint32_t>::max();
    constexpr std::uint64_t kMaxNegative = std::uint64_t{1} << 31;
    if (negative) {
        if (magnitude > kMaxNegative) return std::nullopt;
        return -static_cast<std::int64_t>(magnitude);
    }
    if (magnitude > (base == 16 ? kMaxUnsigned : kMaxUnsigned >> 1)) return std::nullopt;
    return static_cast<std::int64_t>(magnitude);
}

// Splits off the first blank-separated word of s (after leading blanks).
std::pair<std::string_view, std::string_view> SplitWord(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    size_t i = 0;
    while (i < s.size() && !IsBlank(s[i])) ++i;
    std::string_view rest = s.substr(i);
    if (!rest.empty()) rest.remove_prefix(1);  // exactly one separator: the text keeps the rest
    return {s.substr(0, i), rest};
}

ParsedLine Invalid() { return ParsedLine{ScriptLineKind::Invalid, {}}; }

}  // namespace

ParsedLine ParseScriptLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (TrimBlanks(line).empty() || TrimBlanks(line).front() == '#') return {};

    auto [word, rest] = SplitWord(line);
    const Word* found = nullptr;
    for (const Word& w : kWords)
        if (SameAsLowerKeyword(word, w.word)) found = &w;
    if (!found) return Invalid();

    ParsedLine parsed{ScriptLineKind::Command, {}};
    ScriptCommand& cmd = parsed.command;
    cmd.op = found->op;
    switch (found->args) {
    case Args::None:
        if (!TrimBlanks(rest).empty()) return Invalid();
        break;
    case Args::Text:
        cmd.text = rest;
        break;
    case Args::RequiredText:
        if (TrimBlanks(rest).empty()) return Invalid();
        cmd.text = rest;
        break;
    case Args::Number:
    case Args::OptionalNumber: {
        std::string_view token = TrimBlanks(rest);
        if (token.empty() && found->args == Args::OptionalNumber) break;
        auto n = ParseNumber(token);
        if (!n) return Invalid();
        cmd.number = *n;
        cmd.hasNumber = true;
        break;
    }
    case Args::NameNumber: {
        auto [name, number] = SplitWord(rest);
        auto n = ParseNumber(TrimBlanks(number));
        if (name.empty() || !n) return Invalid();
        cmd.text = name;
        cmd.number = *n;
        cmd.hasNumber = true;
        break;
    }
    case Args::NameText: {
        auto [name, text] = SplitWord(rest);
        if (name.empty()) return Invalid();
        cmd.text = name;
        cmd.value = text;
        break;
    }
    }
    if (cmd.op == ScriptOp::Wait && cmd.number < 0) return Invalid();
    if (cmd.op != ScriptOp::Fail && cmd.hasNumber && cmd.number > std::numeric_limits<std::int32_t>::max())
        return Invalid();
    return parsed;
}

}  // namespace loopback
