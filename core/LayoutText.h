#pragma once
// Stored form layouts in their text form: parsed into a tree that the class
// library walks (creating components by class name, setting properties by
// name), and written back from such a tree by tools and tests.
//
// The text, UTF-8 (a leading byte order mark is skipped):
//
//   object frmMain: TfrmMain          'inherited' or 'inline' may replace 'object'
//     Left = -5                       integer: decimal or $hex, 64-bit
//     Scale = 1.5                     float: digits with '.' and/or an exponent
//     Caption = '开始(F5)'#13#10'x'   string: 'quoted' ('' is a quote), #65, #$4E2D,
//       + 'more'                        segments adjacent or joined by '+'
//     Visible = False                 identifier, also dotted: Form1.Button1
//     Font.Style = [fsBold, fsItalic] set of identifiers, [] when empty
//     Icon.Data = {                   binary: hex digits, whitespace anywhere
//       0000010001002020}
//     Lines.Strings = (               list of values
//       'first'
//       'second')
//     Panels = <                      collection: items of property lines
//       item
//         Width = 50
//       end>
//     object BStart: TButton          children follow the properties
//     end
//   end
//
// Names (of objects, classes, properties, set members and the parts of
// identifier values) are ASCII letters, digits and '_', not starting with a
// digit, and not one of the words object, inherited, inline, end. Those words,
// and 'item', are matched without regard to case. Newlines are whitespace;
// there are no comments. Character codes are Unicode code points; a surrogate
// pair written as two codes is one character. Nesting (objects, lists,
// collections) is limited to kLayoutMaxDepth levels.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/Exception.h"

// Every malformed layout text, and every tree the writer cannot express.
// Parse errors carry their place; the message starts "line L, column C: ".
class ELayoutError : public Exception {
public:
    using Exception::Exception;
    ELayoutError(int line, int column, std::string_view what);
    // 1-based; 0 for writer errors. Columns count characters, not bytes.
    int Line() const { return line_; }
    int Column() const { return column_; }

private:
    int line_ = 0;
    int column_ = 0;
};

inline constexpr int kLayoutMaxDepth = 64;

struct LayoutValue;
struct LayoutProperty;

// An unquoted word: True, False, an enumeration member, an event handler or
// a component reference (possibly dotted, "Form1.Button1").
struct LayoutIdent {
    std::string name;
    bool operator==(const LayoutIdent&) const = default;
};

struct LayoutSet {
    std::vector<std::string> members;
    bool operator==(const LayoutSet&) const = default;
};

struct LayoutBinary {
    std::vector<std::uint8_t> bytes;
    bool operator==(const LayoutBinary&) const = default;
};

struct LayoutList {
    std::vector<LayoutValue> items;
    bool operator==(const LayoutList&) const;
};

// Each item is the property lines between 'item' and 'end'.
struct LayoutCollection {
    std::vector<std::vector<LayoutProperty>> items;
    bool operator==(const LayoutCollection&) const;
};

struct LayoutValue {
    // Strings are UTF-8.
    using Data = std::variant<std::int64_t, double, std::string, LayoutIdent, LayoutSet, LayoutBinary,
                              LayoutList, LayoutCollection>;
    Data data;

    template <class T>
    const T* Get() const { return std::get_if<T>(&data); }
    bool operator==(const LayoutValue&) const = default;
};

// Equality of properties and objects ignores the line numbers: they say where
// a node was read from, not what it holds. The empty initialisers let tools
// build nodes from their leading members alone.
struct LayoutProperty {
    std::vector<std::string> path{};  // "Font.Name" is {"Font", "Name"}
    LayoutValue value{};
    int line = 0;
    bool operator==(const LayoutProperty& other) const;
};

enum class LayoutObjectKind { Object, Inherited, Inline };

struct LayoutObject {
    std::string name{};
    std::string className{};
    LayoutObjectKind kind = LayoutObjectKind::Object;
    std::vector<LayoutProperty> properties{};
    std::vector<LayoutObject> children{};
    int line = 0;
    bool operator==(const LayoutObject& other) const;
};

// Parses one top-level object; anything but whitespace after its 'end' is an error.
LayoutObject ParseLayout(std::string_view text);

// Canonical text: two-space indents, strings with control characters as #nn
// and everything else kept as UTF-8, binary as lines of 32 hex digits.
// ParseLayout(WriteLayout(tree)) == tree for every tree it accepts; it raises
// ELayoutError for trees the text cannot express (bad names, non-finite floats,
// invalid UTF-8, too deep).
std::string WriteLayout(const LayoutObject& root);

LayoutValue MakeLayoutBinary(std::span<const std::uint8_t> bytes);
