#include "core/LayoutText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "core/AsciiCase.h"

ELayoutError::ELayoutError(int line, int column, std::string_view what)
    : Exception("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                std::string(what)),
      line_(line),
      column_(column) {}

bool LayoutList::operator==(const LayoutList& other) const { return items == other.items; }

bool LayoutCollection::operator==(const LayoutCollection& other) const { return items == other.items; }

bool LayoutProperty::operator==(const LayoutProperty& other) const {
    return path == other.path && value == other.value;
}

bool LayoutObject::operator==(const LayoutObject& other) const {
    return name == other.name && className == other.className && kind == other.kind &&
           properties == other.properties && children == other.children;
}

LayoutValue MakeLayoutBinary(std::span<const std::uint8_t> bytes) {
    return LayoutValue{LayoutBinary{std::vector<std::uint8_t>(bytes.begin(), bytes.end())}};
}

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// -1 for anything that is not a hex digit.
constexpr std::array<std::int8_t, 256> kHexValue = [] {
    std::array<std::int8_t, 256> t{};
    t.fill(-1);
    for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<std::int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        t['A' + i] = static_cast<std::int8_t>(10 + i);
        t['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return t;
}();

int HexValue(char c) { return kHexValue[static_cast<unsigned char>(c)]; }

// The words that open or close an object body cannot be names: a property
// called "end" would read as the end of its object.
bool IsReservedWord(std::string_view word) {
    return SameAsLowerKeyword(word, "object") || SameAsLowerKeyword(word, "inherited") || SameAsLowerKeyword(word, "inline") ||
           SameAsLowerKeyword(word, "end");
}

bool IsIdentifier(std::string_view s) {
    if (s.empty() || !IsIdentStart(s[0])) return false;
    return std::all_of(s.begin(), s.end(), IsIdentChar);
}

bool IsName(std::string_view s) { return IsIdentifier(s) && !IsReservedWord(s); }

// Offset of the first byte that does not start a valid UTF-8 sequence
// (overlong forms, surrogates and code points above U+10FFFF are invalid),
// or npos when the whole text is valid.
std::size_t FindInvalidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return i;
        }
        if (n - i < length || p[i + 1] < low || p[i + 1] > high) return i;
        for (std::size_t k = 2; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool IsHighSurrogate(std::uint32_t cp) { return cp >= 0xD800 && cp <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t cp) { return cp >= 0xDC00 && cp <= 0xDFFF; }

// Recursive descent straight over the text. Only the nesting of objects,
// lists and collections recurses, and that is bounded by kLayoutMaxDepth.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {
        if (text_.starts_with(kBom)) pos_ = start_ = kBom.size();
    }

    LayoutObject ParseRoot() {
        SkipSpace();
        if (AtEnd()) Fail(pos_, "expected 'object'");
        LayoutObject root = ParseObject(1);
        SkipSpace();
        if (!AtEnd()) Fail(pos_, "text after the end of the layout");
        return root;
    }

private:
    std::string_view text_;
    std::size_t start_ = 0;
    std::size_t pos_ = 0;
    int line_ = 1;  // line of pos_, kept by everything that steps over a newline

    bool AtEnd() const { return pos_ >= text_.size(); }
    // '\0' at the end; a NUL in the text is never valid where Peek is asked.
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    [[noreturn]] void Fail(std::size_t at, std::string_view what) const {
        int line = 1;
        std::size_t lineStart = start_;
        for (std::size_t i = start_; i < at; ++i) {
            if (text_[i] == '\n') {
                ++line;
                lineStart = i + 1;
            }
        }
        int column = 1;
        for (std::size_t i = lineStart; i < at; ++i) {
            if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++column;
        }
        throw ELayoutError(line, column, what);
    }

    // Names what stands at pos_ for "expected ..." messages.
    [[noreturn]] void FailExpected(std::string_view expected) const {
        if (AtEnd()) Fail(pos_, "unexpected end of text, expected " + std::string(expected));
        Fail(pos_, "expected " + std::string(expected));
    }

    void CheckDepth(int depth) const {
        if (depth > kLayoutMaxDepth) {
            Fail(pos_, "nesting deeper than " + std::to_string(kLayoutMaxDepth) + " levels");
        }
    }

    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) {
            if (text_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }

    void Expect(char c) {
        if (Peek() != c) FailExpected(std::string("'") + c + "'");
        ++pos_;
    }

    std::string_view PeekWord() const {
        std::size_t end = pos_;
        while (end < text_.size() && IsIdentChar(text_[end])) ++end;
        return text_.substr(pos_, end - pos_);
    }

    std::string_view ReadIdentifier(std::string_view what) {
        if (!IsIdentStart(Peek())) FailExpected(what);
        const std::string_view word = PeekWord();
        pos_ += word.size();
        return word;
    }

    std::string ReadName(std::string_view what) {
        const std::size_t at = pos_;
        const std::string_view word = ReadIdentifier(what);
        if (IsReservedWord(word)) Fail(at, "'" + std::string(word) + "' is a reserved word, not a name");
        return std::string(word);
    }

    LayoutObject ParseObject(int depth) {
        CheckDepth(depth);
        LayoutObject object;
        object.line = line_;
        const std::size_t at = pos_;
        const std::string_view keyword = PeekWord();
        if (SameAsLowerKeyword(keyword, "object")) {
            object.kind = LayoutObjectKind::Object;
        } else if (SameAsLowerKeyword(keyword, "inherited")) {
            object.kind = LayoutObjectKind::Inherited;
        } else if (SameAsLowerKeyword(keyword, "inline")) {
            object.kind = LayoutObjectKind::Inline;
        } else {
            Fail(at, "expected 'object'");
        }
        pos_ += keyword.size();
        SkipSpace();
        object.name = ReadName("an object name");
        SkipSpace();
        Expect(':');
        SkipSpace();
        object.className = ReadName("a class name");

        for (;;) {
            SkipSpace();
            if (AtEnd()) Fail(pos_, "unexpected end of text, expected 'end' of object '" + object.name + "'");
            if (!IsIdentStart(Peek())) FailExpected("a property, 'object' or 'end'");
            const std::size_t wordAt = pos_;
            const std::string_view word = PeekWord();
            if (SameAsLowerKeyword(word, "end")) {
                pos_ += word.size();
                return object;
            }
            if (SameAsLowerKeyword(word, "object") || SameAsLowerKeyword(word, "inherited") || SameAsLowerKeyword(word, "inline")) {
                object.children.push_back(ParseObject(depth + 1));
                continue;
            }
            if (!object.children.empty()) Fail(wordAt, "property after the child objects");
            object.properties.push_back(ParseProperty(depth));
        }
    }

    // depth is that of the object or item holding the property.
    LayoutProperty ParseProperty(int depth) {
        LayoutProperty property;
        property.line = line_;
        property.path.push_back(ReadName("a property name"));
        while (Peek() == '.') {
            ++pos_;
            property.path.push_back(ReadName("a property name after '.'"));
        }
        SkipSpace();
        Expect('=');
        SkipSpace();
        property.value = ParseValue(depth);
        return property;
    }

    LayoutValue ParseValue(int depth) {
        const char c = Peek();
        if (c == '\'' || c == '#') return LayoutValue{ParseString()};
        if (IsDigit(c) || c == '-' || c == '+' || c == '$') return ParseNumber();
        if (c == '[') return LayoutValue{ParseSet()};
        if (c == '{') return LayoutValue{ParseBinary()};
        if (c == '(') return LayoutValue{ParseList(depth + 1)};
        if (c == '<') return LayoutValue{ParseCollection(depth + 1)};
        if (IsIdentStart(c)) return LayoutValue{ParseIdentValue()};
        FailExpected("a value");
    }

    LayoutValue ParseNumber() {
        const std::size_t at = pos_;
        LayoutValue value;
        if (Peek() == '$') {
            ++pos_;
            std::uint64_t bits = 0;
            const std::size_t digits = pos_;
            for (; !AtEnd() && HexValue(text_[pos_]) >= 0; ++pos_) {
                if (bits >> 60) Fail(at, "integer out of range");
                bits = bits << 4 | static_cast<unsigned>(HexValue(text_[pos_]));
            }
            if (pos_ == digits) FailExpected("a hex digit");
            // $FFFFFFFFFFFFFFFF is -1, as in the class library's 64-bit integers.
            value.data = static_cast<std::int64_t>(bits);
        } else {
            const std::size_t first = Peek() == '+' ? pos_ + 1 : pos_;
            if (Peek() == '-' || Peek() == '+') ++pos_;
            if (!IsDigit(Peek())) FailExpected("a digit");
            while (IsDigit(Peek())) ++pos_;
            bool isFloat = false;
            if (Peek() == '.') {
                isFloat = true;
                ++pos_;
                if (!IsDigit(Peek())) FailExpected("a digit after '.'");
                while (IsDigit(Peek())) ++pos_;
            }
            if (Peek() == 'e' || Peek() == 'E') {
                isFloat = true;
                ++pos_;
                if (Peek() == '-' || Peek() == '+') ++pos_;
                if (!IsDigit(Peek())) FailExpected("a digit in the exponent");
                while (IsDigit(Peek())) ++pos_;
            }
            const char* begin = text_.data() + first;
            const char* end = text_.data() + pos_;
            if (isFloat) {
                double d = 0;
                const auto r = std::from_chars(begin, end, d);
                if (r.ec != std::errc() || r.ptr != end || !std::isfinite(d)) Fail(at, "number out of range");
                value.data = d;
            } else {
                std::int64_t i = 0;
                const auto r = std::from_chars(begin, end, i);
                if (r.ec != std::errc() || r.ptr != end) Fail(at, "integer out of range");
                value.data = i;
            }
        }
        if (IsIdentChar(Peek()) || Peek() == '.' || Peek() == '$') Fail(at, "malformed number");
        return value;
    }

    std::string ParseString() {
        std::string out;
        std::uint32_t high = 0;  // a high surrogate waiting for its low half
        std::size_t highAt = 0;
        for (;;) {
            if (Peek() == '\'') {
                if (high) Fail(highAt, "unpaired surrogate character code");
                ReadQuoted(out);
            } else if (Peek() == '#') {
                const std::size_t at = pos_;
                const std::uint32_t cp = ReadCharCode();
                if (high) {
                    if (!IsLowSurrogate(cp)) Fail(highAt, "unpaired surrogate character code");
                    AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (cp - 0xDC00));
                    high = 0;
                } else if (IsHighSurrogate(cp)) {
                    high = cp;
                    highAt = at;
                } else if (IsLowSurrogate(cp)) {
                    Fail(at, "unpaired surrogate character code");
                } else {
                    AppendUtf8(out, cp);
                }
            } else {
                // A '+' joins the next segment, across lines if need be.
                const std::size_t savedPos = pos_;
                const int savedLine = line_;
                SkipSpace();
                if (Peek() != '+') {
                    pos_ = savedPos;
                    line_ = savedLine;
                    break;
                }
                ++pos_;
                SkipSpace();
                if (Peek() != '\'' && Peek() != '#') FailExpected("a string after '+'");
            }
        }
        if (high) Fail(highAt, "unpaired surrogate character code");
        return out;
    }

    // One quoted segment; '' stands for a quote. A segment ends on its line.
    void ReadQuoted(std::string& out) {
        const std::size_t open = pos_;
        ++pos_;
        for (;;) {
            const std::size_t stop = text_.find_first_of("'\r\n", pos_);
            if (stop == std::string_view::npos || text_[stop] != '\'') Fail(open, "unterminated string");
            const std::string_view piece = text_.substr(pos_, stop - pos_);
            const std::size_t bad = FindInvalidUtf8(piece);
            if (bad != std::string_view::npos) Fail(pos_ + bad, "invalid UTF-8 in string");
            out.append(piece);
            pos_ = stop + 1;
            if (Peek() != '\'') return;
            out += '\'';
            ++pos_;
        }
    }

    std::uint32_t ReadCharCode() {
        const std::size_t at = pos_;
        ++pos_;
        std::uint32_t cp = 0;
        const bool hex = Peek() == '$';
        if (hex) ++pos_;
        const std::size_t digits = pos_;
        for (;;) {
            const int d = hex ? HexValue(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
            if (AtEnd() || d < 0) break;
            cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            if (cp > 0x10FFFF) Fail(at, "character code out of range");
            ++pos_;
        }
        if (pos_ == digits) FailExpected(hex ? "a hex digit" : "a digit");
        return cp;
    }

    LayoutIdent ParseIdentValue() {
        // A keyword here most likely means the value was left out.
        if (IsReservedWord(PeekWord())) FailExpected("a value");
        LayoutIdent ident{ReadName("a value")};
        while (Peek() == '.') {
            ++pos_;
            ident.name += '.';
            ident.name += ReadName("a name after '.'");
        }
        return ident;
    }

    LayoutSet ParseSet() {
        LayoutSet set;
        ++pos_;
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return set;
        }
        for (;;) {
            set.members.push_back(ReadName("a set member"));
            SkipSpace();
            if (Peek() == ']') {
                ++pos_;
                return set;
            }
            if (Peek() != ',') FailExpected("',' or ']'");
            ++pos_;
            SkipSpace();
        }
    }

    // Skin archives make this the bulk of a layout: one pass, no reallocation.
    LayoutBinary ParseBinary() {
        const std::size_t open = pos_;
        const std::size_t close = text_.find('}', open + 1);
        const std::size_t stop = close == std::string_view::npos ? text_.size() : close;
        LayoutBinary binary;
        binary.bytes.resize((stop - open - 1) / 2);
        std::uint8_t* const out = binary.bytes.data();
        std::size_t n = 0;
        int pending = -1;  // high nibble split from its low one by whitespace
        std::size_t lastDigit = open;
        for (std::size_t i = open + 1; i < stop; ++i) {
            const char c = text_[i];
            const int d = HexValue(c);
            if (d >= 0) {
                lastDigit = i;
                int low = -1;
                if (pending >= 0) {
                    out[n++] = static_cast<std::uint8_t>(pending << 4 | d);
                    pending = -1;
                } else if (i + 1 < stop && (low = HexValue(text_[i + 1])) >= 0) {
                    out[n++] = static_cast<std::uint8_t>(d << 4 | low);
                    lastDigit = ++i;
                } else {
                    pending = d;
                }
            } else if (c == '\n') {
                ++line_;
            } else if (!IsSpace(c)) {
                Fail(i, "invalid character in binary data");
            }
        }
        if (close == std::string_view::npos) Fail(open, "unterminated binary data");
        if (pending >= 0) Fail(lastDigit, "odd number of hex digits in binary data");
        binary.bytes.resize(n);
        pos_ = close + 1;
        return binary;
    }

    LayoutList ParseList(int depth) {
        CheckDepth(depth);
        const std::size_t open = pos_;
        ++pos_;
        LayoutList list;
        for (;;) {
            SkipSpace();
            if (AtEnd()) Fail(open, "unterminated list, expected ')'");
            if (Peek() == ')') {
                ++pos_;
                return list;
            }
            list.items.push_back(ParseValue(depth));
        }
    }

    LayoutCollection ParseCollection(int depth) {
        CheckDepth(depth);
        ++pos_;
        LayoutCollection collection;
        for (;;) {
            SkipSpace();
            if (Peek() == '>') {
                ++pos_;
                return collection;
            }
            if (!SameAsLowerKeyword(PeekWord(), "item")) FailExpected("'item' or '>'");
            pos_ += 4;
            std::vector<LayoutProperty>& item = collection.items.emplace_back();
            for (;;) {
                SkipSpace();
                if (SameAsLowerKeyword(PeekWord(), "end")) {
                    pos_ += 3;
                    break;
                }
                if (!IsIdentStart(Peek())) FailExpected("a property or 'end'");
                item.push_back(ParseProperty(depth));
            }
        }
    }
};

class Writer {
public:
    std::string Write(const LayoutObject& root) {
        WriteObject(root, 0, 1);
        return std::move(out_);
    }

private:
    std::string out_;

    [[noreturn]] static void Fail(const std::string& what) {
        throw ELayoutError("cannot write layout: " + what);
    }

    static void CheckDepth(int depth) {
        if (depth > kLayoutMaxDepth) Fail("nesting deeper than " + std::to_string(kLayoutMaxDepth) + " levels");
    }

    static void CheckName(const std::string& name) {
        if (!IsName(name)) Fail("'" + name + "' is not a valid name");
    }

    void Indent(int indent) { out_.append(static_cast<std::size_t>(indent), ' '); }

    void WriteObject(const LayoutObject& object, int indent, int depth) {
        CheckDepth(depth);
        CheckName(object.name);
        CheckName(object.className);
        Indent(indent);
        switch (object.kind) {
            case LayoutObjectKind::Object: out_ += "object "; break;
            case LayoutObjectKind::Inherited: out_ += "inherited "; break;
            case LayoutObjectKind::Inline: out_ += "inline "; break;
        }
        out_ += object.name;
        out_ += ": ";
        out_ += object.className;
        out_ += '\n';
        for (const LayoutProperty& property : object.properties) WriteProperty(property, indent + 2, depth);
        for (const LayoutObject& child : object.children) WriteObject(child, indent + 2, depth + 1);
        Indent(indent);
        out_ += "end\n";
    }

    void WriteProperty(const LayoutProperty& property, int indent, int depth) {
        if (property.path.empty()) Fail("a property without a name");
        Indent(indent);
        for (std::size_t i = 0; i < property.path.size(); ++i) {
            CheckName(property.path[i]);
            if (i) out_ += '.';
            out_ += property.path[i];
        }
        out_ += " = ";
        WriteValue(property.value, indent, depth);
        out_ += '\n';
    }

    // indent is that of the line the value starts on; continuation lines go
    // two deeper. No newline after the value.
    void WriteValue(const LayoutValue& value, int indent, int depth) {
        std::visit([&](const auto& v) { WriteData(v, indent, depth); }, value.data);
    }

    void WriteData(std::int64_t i, int, int) {
        char buffer[24];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, i);
        out_.append(buffer, r.ptr);
    }

    void WriteData(double d, int, int) {
        if (!std::isfinite(d)) Fail("a float that is not finite");
        char buffer[64];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, d);
        const std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
        out_ += text;
        // Shortest form of 100.0 is "100", which would read back as an integer.
        if (text.find_first_of(".e") == std::string_view::npos) out_ += ".0";
    }

    void WriteData(const std::string& s, int, int) {
        if (FindInvalidUtf8(s) != std::string::npos) Fail("a string that is not valid UTF-8");
        if (s.empty()) {
            out_ += "''";
            return;
        }
        bool quoted = false;
        for (const char c : s) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x20 || b == 0x7F) {
                if (quoted) out_ += '\'';
                quoted = false;
                out_ += '#';
                WriteData(std::int64_t{b}, 0, 0);
                continue;
            }
            if (!quoted) out_ += '\'';
            quoted = true;
            if (c == '\'') out_ += '\'';
            out_ += c;
        }
        if (quoted) out_ += '\'';
    }

    void WriteData(const LayoutIdent& ident, int, int) {
        std::string_view rest = ident.name;
        for (;;) {
            const std::size_t dot = rest.find('.');
            if (!IsName(rest.substr(0, dot))) Fail("'" + ident.name + "' is not a valid identifier");
            if (dot == std::string_view::npos) break;
            rest.remove_prefix(dot + 1);
        }
        out_ += ident.name;
    }

    void WriteData(const LayoutSet& set, int, int) {
        out_ += '[';
        for (std::size_t i = 0; i < set.members.size(); ++i) {
            if (!IsName(set.members[i])) Fail("'" + set.members[i] + "' is not a valid set member");
            if (i) out_ += ", ";
            out_ += set.members[i];
        }
        out_ += ']';
    }

    void WriteData(const LayoutBinary& binary, int indent, int) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        constexpr std::size_t kBytesPerLine = 16;
        out_ += '{';
        const std::size_t n = binary.bytes.size();
        out_.reserve(out_.size() + n * 2 + (n / kBytesPerLine + 1) * static_cast<std::size_t>(indent + 3));
        char line[kBytesPerLine * 2];
        for (std::size_t i = 0; i < n; i += kBytesPerLine) {
            const std::size_t count = std::min(kBytesPerLine, n - i);
            for (std::size_t k = 0; k < count; ++k) {
                line[2 * k] = kDigits[binary.bytes[i + k] >> 4];
                line[2 * k + 1] = kDigits[binary.bytes[i + k] & 15];
            }
            out_ += '\n';
            Indent(indent + 2);
            out_.append(line, 2 * count);
        }
        out_ += '}';
    }

    void WriteData(const LayoutList& list, int indent, int depth) {
        CheckDepth(depth + 1);
        out_ += '(';
        for (const LayoutValue& item : list.items) {
            out_ += '\n';
            Indent(indent + 2);
            WriteValue(item, indent + 2, depth + 1);
        }
        out_ += ')';
    }

    void WriteData(const LayoutCollection& collection, int indent, int depth) {
        CheckDepth(depth + 1);
        out_ += '<';
        for (const std::vector<LayoutProperty>& item : collection.items) {
            out_ += '\n';
            Indent(indent + 2);
            out_ += "item\n";
            for (const LayoutProperty& property : item) WriteProperty(property, indent + 4, depth + 1);
            Indent(indent + 2);
            out_ += "end";
        }
        out_ += '>';
    }
};

}  // namespace

LayoutObject ParseLayout(std::string_view text) { return Parser(text).ParseRoot(); }

std::string WriteLayout(const LayoutObject& root) { return Writer().Write(root); }
