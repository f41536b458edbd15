#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "AllocationCount.h"
#include "core/LayoutText.h"

// Failures show values as layout text rather than raw bytes.
void PrintTo(const LayoutValue& value, std::ostream* os) {
    try {
        *os << WriteLayout(LayoutObject{"A", "TA", {}, {LayoutProperty{{"P"}, value}}, {}});
    } catch (const ELayoutError& e) {
        *os << "<" << e.what() << ">";
    }
}

namespace {

LayoutValue Int(std::int64_t i) { return LayoutValue{i}; }
LayoutValue Float(double d) { return LayoutValue{d}; }
LayoutValue Str(std::string s) { return LayoutValue{std::move(s)}; }
LayoutValue Ident(std::string s) { return LayoutValue{LayoutIdent{std::move(s)}}; }
LayoutValue Set(std::vector<std::string> members) { return LayoutValue{LayoutSet{std::move(members)}}; }
LayoutValue Bin(std::vector<std::uint8_t> bytes) { return LayoutValue{LayoutBinary{std::move(bytes)}}; }
LayoutValue List(std::vector<LayoutValue> items) { return LayoutValue{LayoutList{std::move(items)}}; }
LayoutValue Items(std::vector<std::vector<LayoutProperty>> items) {
    return LayoutValue{LayoutCollection{std::move(items)}};
}
LayoutProperty Prop(std::vector<std::string> path, LayoutValue value) {
    return LayoutProperty{std::move(path), std::move(value)};
}

LayoutObject WithProperty(LayoutValue value) {
    LayoutObject o{"A", "TA"};
    o.properties.push_back(Prop({"P"}, std::move(value)));
    return o;
}

std::string HexLines(const std::vector<std::uint8_t>& bytes, int indent) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            out += '\n';
            out.append(static_cast<std::size_t>(indent), ' ');
        }
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::vector<std::uint8_t> Pattern(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    std::uint32_t x = 12345;
    for (auto& b : bytes) {
        x = x * 1103515245 + 12345;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    return bytes;
}

int LineOf(const std::string& text, const std::string& needle) {
    const std::size_t at = text.find(needle);
    EXPECT_NE(at, std::string::npos) << needle;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

const std::string kSmile = "\xF0\x9F\x98\x80";  // U+1F600

TEST(LayoutText, ValueKinds) {
    struct Case {
        const char* name;
        std::string text;
        LayoutValue expected;
    };
    const Case cases[] = {
        {"decimal", "197", Int(197)},
        {"negative", "-5", Int(-5)},
        {"explicit plus", "+7", Int(7)},
        {"leading zeros", "007", Int(7)},
        {"int64 max", "9223372036854775807", Int(std::numeric_limits<std::int64_t>::max())},
        {"int64 min", "-9223372036854775808", Int(std::numeric_limits<std::int64_t>::min())},
        {"hex colour", "$0080FFFF", Int(0x0080FFFF)},
        {"hex lower case", "$ff", Int(255)},
        {"hex all 64 bits is -1", "$FFFFFFFFFFFFFFFF", Int(-1)},
        {"hex leading zeros past 16 digits", "$00000000000000000001", Int(1)},
        {"float", "1.5", Float(1.5)},
        {"float exponent without point", "1e3", Float(1000.0)},
        {"float signed exponent", "-2.5E-3", Float(-0.0025)},
        {"float exponent plus", "1e+20", Float(1e20)},
        {"quoted", "'Quellory'", Str("Quellory")},
        {"empty string", "''", Str("")},
        {"doubled quote", "'it''s'", Str("it's")},
        {"only a quote", "''''", Str("'")},
        {"codes between segments", "'a'#13#10'b'", Str("a\r\nb")},
        {"hex code", "#$4E2D", Str("\xE4\xB8\xAD")},
        {"decimal code beyond BMP", "#128512", Str(kSmile)},
        {"surrogate pair", "#$D83D#$DE00", Str(kSmile)},
        {"surrogate pair across plus", "#55357 +\n  #56832", Str(kSmile)},
        {"NUL code", "'a'#0", Str(std::string("a\0", 2))},
        {"plus across lines", "'abc' +\n    'def'", Str("abcdef")},
        {"plus on the next line", "'abc'\n    + 'def'", Str("abcdef")},
        {"Chinese kept as UTF-8", "'开始(F5)'", Str("开始(F5)")},
        {"raw tab inside quotes", "'a\tb'", Str("a\tb")},
        {"identifier", "True", Ident("True")},
        {"dotted reference", "Form1.Button1", Ident("Form1.Button1")},
        {"set", "[biSystemMenu, biMinimize]", Set({"biSystemMenu", "biMinimize"})},
        {"set over lines", "[ a ,\n b ]", Set({"a", "b"})},
        {"empty set", "[]", Set({})},
        {"empty set with space", "[ ]", Set({})},
        {"binary", "{\n    0000010001002020\n    1000}", Bin({0, 0, 1, 0, 1, 0, 0x20, 0x20, 0x10, 0})},
        {"binary split inside a byte", "{0 0 0\n1}", Bin({0x00, 0x01})},
        {"binary lower case", "{ff}", Bin({0xFF})},
        {"empty binary", "{}", Bin({})},
        {"list of strings", "(\n    'first'\n    'second')", List({Str("first"), Str("second")})},
        {"empty list", "()", List({})},
        {"list of every kind", "(1 2.5 'x' True [a] {00} ('in') <>)",
         List({Int(1), Float(2.5), Str("x"), Ident("True"), Set({"a"}), Bin({0}), List({Str("in")}),
               Items({})})},
        {"plus joins inside a list", "('a' + 'b' 'c')", List({Str("ab"), Str("c")})},
        {"collection", "<\n    item\n      Width = 50\n    end\n    item\n      Text = 'x'\n    end>",
         Items({{Prop({"Width"}, Int(50))}, {Prop({"Text"}, Str("x"))}})},
        {"empty collection", "<>", Items({})},
        {"item without properties", "<item end>", Items({{}})},
        {"item keywords in any case", "<ITEM Width = 1 End>", Items({{Prop({"Width"}, Int(1))}})},
        {"'item' as a property name inside an item", "<item item = 1 end>", Items({{Prop({"item"}, Int(1))}})},
        {"collection in a collection", "<item Sub.Panels = <item end> end>",
         Items({{Prop({"Sub", "Panels"}, Items({{}}))}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LayoutObject o;
        ASSERT_NO_THROW(o = ParseLayout("object A: TA\n  P = " + c.text + "\nend\n"));
        ASSERT_EQ(o.properties.size(), 1u);
        EXPECT_EQ(o.properties[0].value, c.expected);
        // Whatever was read writes back and reads again unchanged.
        EXPECT_EQ(ParseLayout(WriteLayout(o)), o);
    }
}

TEST(LayoutText, ErrorsNameTheirPlace) {
    struct Case {
        const char* name;
        std::string text;
        int line, column;
        const char* what;
    };
    const std::string head = "object A: TA\n  P = ";  // a value starts at line 2, column 7
    const Case cases[] = {
        {"empty text", "", 1, 1, "expected 'object'"},
        {"only whitespace", "  \n ", 2, 2, "expected 'object'"},
        {"other word than object", "thing A: TA\nend", 1, 1, "expected 'object'"},
        {"missing name", "object : TA\nend", 1, 8, "expected an object name"},
        {"name starting with a digit", "object 1A: TA\nend", 1, 8, "expected an object name"},
        {"reserved word as name", "object End: TA\nend", 1, 8, "reserved word"},
        {"missing colon", "object A TA\nend", 1, 10, "expected ':'"},
        {"missing class name", "object A:\nend", 2, 1, "reserved word"},
        {"missing end", "object A: TA\n  P = 1\n", 3, 1, "unexpected end of text"},
        {"missing equals", "object A: TA\n  P 1\nend", 2, 5, "expected '='"},
        {"missing value", "object A: TA\n  P =\nend", 3, 1, "expected a value"},
        {"dot without name", "object A: TA\n  Font. = 1\nend", 2, 8, "expected a property name"},
        {"property after a child", "object A: TA\n  object B: TB\n  end\n  P = 1\nend", 4, 3, "property after"},
        {"text after the end", "object A: TA\nend\nx", 3, 1, "text after the end"},
        {"second top-level object", "object A: TA\nend\nobject B: TB\nend", 3, 1, "text after the end"},
        {"integer too large", head + "9223372036854775808\nend", 2, 7, "out of range"},
        {"integer too small", head + "-9223372036854775809\nend", 2, 7, "out of range"},
        {"hex wider than 64 bits", head + "$10000000000000000\nend", 2, 7, "out of range"},
        {"hex without digits", head + "$\nend", 2, 8, "expected a hex digit"},
        {"sign without digits", head + "-\nend", 2, 8, "expected a digit"},
        {"point without digits", head + "1.\nend", 2, 9, "expected a digit after '.'"},
        {"exponent without digits", head + "1e\nend", 2, 9, "exponent"},
        {"float too large", head + "1e999\nend", 2, 7, "out of range"},
        {"number glued to a word", head + "12abc\nend", 2, 7, "malformed number"},
        {"two points", head + "1.2.3\nend", 2, 7, "malformed number"},
        {"unterminated string", head + "'abc", 2, 7, "unterminated string"},
        {"string broken by a newline", head + "'abc\ndef'\nend", 2, 7, "unterminated string"},
        {"lone high surrogate", head + "#$D83D\nend", 2, 7, "unpaired surrogate"},
        {"high surrogate then text", head + "#$D83D'x'\nend", 2, 7, "unpaired surrogate"},
        {"two high surrogates", head + "#$D83D#$D83D\nend", 2, 7, "unpaired surrogate"},
        {"lone low surrogate", head + "'x'#$DE00\nend", 2, 10, "unpaired surrogate"},
        {"code beyond Unicode", head + "#1114112\nend", 2, 7, "out of range"},
        {"code without digits", head + "#x\nend", 2, 8, "expected a digit"},
        {"invalid UTF-8 byte", head + "'a\xFF" "b'\nend", 2, 9, "invalid UTF-8"},
        {"overlong UTF-8", head + "'\xC0\xAF'\nend", 2, 8, "invalid UTF-8"},
        {"UTF-8 encoded surrogate", head + "'\xED\xA0\x80'\nend", 2, 8, "invalid UTF-8"},
        {"truncated UTF-8", head + "'\xE4\xB8'\nend", 2, 8, "invalid UTF-8"},
        {"UTF-8 beyond U+10FFFF", head + "'\xF4\x90\x80\x80'\nend", 2, 8, "invalid UTF-8"},
        {"plus without a string", head + "'a' + 5\nend", 2, 13, "expected a string after '+'"},
        {"columns count characters", head + "'中文' + 5\nend", 2, 14, "expected a string after '+'"},
        {"set trailing comma", head + "[a, ]\nend", 2, 11, "expected a set member"},
        {"set of numbers", head + "[1]\nend", 2, 8, "expected a set member"},
        {"unclosed set", head + "[a, b\nend", 3, 1, "expected ',' or ']'"},
        {"odd hex digit count", head + "{ABC}\nend", 2, 10, "odd number of hex digits"},
        {"invalid character in binary", head + "{00 zz}\nend", 2, 11, "invalid character in binary"},
        {"unterminated binary", head + "{0011", 2, 7, "unterminated binary"},
        {"unterminated list", head + "('a'", 2, 7, "unterminated list"},
        {"other word than item", head + "<thing end>\nend", 2, 8, "expected 'item' or '>'"},
        {"unterminated item", head + "<item W = 1", 2, 18, "unexpected end of text"},
        {"non-ASCII outside strings", head + "中\nend", 2, 7, "expected a value"},
        {"NUL byte", head + std::string("\0", 1) + "\nend", 2, 7, "expected a value"},
        {"reserved word in a set", head + "[a, end]\nend", 2, 11, "reserved word"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ParseLayout(c.text);
            ADD_FAILURE() << "no error";
        } catch (const ELayoutError& e) {
            EXPECT_EQ(e.Line(), c.line) << e.what();
            EXPECT_EQ(e.Column(), c.column) << e.what();
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + ": ", 0), 0u)
                << message;
            EXPECT_NE(message.find(c.what), std::string::npos) << message;
        }
    }
}

TEST(LayoutText, ObjectsChildrenPathsAndLines) {
    const std::string text =
        "\xEF\xBB\xBF"
        "inherited frmMain: TfrmMain\r\n"
        "  Font.Name = 'MS Sans Serif'\r\n"
        "  Font.Style = [fsBold]\r\n"
        "  OBJECT Panel: TPanel\r\n"
        "    inline Frame1: TFrame1\r\n"
        "      Align=alClient\r\n"
        "    END\r\n"
        "  end\r\n"
        "  object BStart : TButton Caption = 'x' end\r\n"
        "end\r\n";
    const LayoutObject root = ParseLayout(text);
    EXPECT_EQ(root.kind, LayoutObjectKind::Inherited);
    EXPECT_EQ(root.name, "frmMain");
    EXPECT_EQ(root.className, "TfrmMain");
    EXPECT_EQ(root.line, 1);
    ASSERT_EQ(root.properties.size(), 2u);
    EXPECT_EQ(root.properties[0].path, (std::vector<std::string>{"Font", "Name"}));
    EXPECT_EQ(root.properties[1].line, 3);
    ASSERT_EQ(root.children.size(), 2u);
    const LayoutObject& panel = root.children[0];
    EXPECT_EQ(panel.kind, LayoutObjectKind::Object);
    EXPECT_EQ(panel.line, 4);
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].kind, LayoutObjectKind::Inline);
    EXPECT_EQ(panel.children[0].properties.at(0).line, 6);
    EXPECT_EQ(panel.children[0].properties.at(0).value, Ident("alClient"));
    EXPECT_EQ(root.children[1].name, "BStart");
    EXPECT_EQ(root.children[1].line, 9);

    // Lines are where a node came from, not part of what it says.
    LayoutObject moved = root;
    moved.line = 40;
    moved.children[0].properties.clear();
    moved.children[0].children[0].properties[0].line = 41;
    EXPECT_EQ(moved, root);
}

TEST(LayoutText, NestingIsLimited) {
    auto nestedObjects = [](int levels) {
        std::string text;
        for (int i = 0; i < levels; ++i) text += "object O" + std::to_string(i) + ": TO\n";
        for (int i = 0; i < levels; ++i) text += "end\n";
        return text;
    };
    EXPECT_EQ(ParseLayout(nestedObjects(kLayoutMaxDepth)).children.size(), 1u);
    try {
        ParseLayout(nestedObjects(kLayoutMaxDepth + 1));
        ADD_FAILURE() << "no error";
    } catch (const ELayoutError& e) {
        EXPECT_EQ(e.Line(), kLayoutMaxDepth + 1);
        EXPECT_NE(std::string(e.what()).find("nesting"), std::string::npos);
    }

    // The object is one level, each list another.
    auto nestedLists = [](int lists) {
        return "object A: TA\n  P = " + std::string(static_cast<std::size_t>(lists), '(') +
               std::string(static_cast<std::size_t>(lists), ')') + "\nend\n";
    };
    EXPECT_NO_THROW(ParseLayout(nestedLists(kLayoutMaxDepth - 1)));
    EXPECT_THROW(ParseLayout(nestedLists(kLayoutMaxDepth)), ELayoutError);
    EXPECT_THROW(ParseLayout(nestedLists(200000)), ELayoutError);
    const std::string deepItems = "object A: TA\n  P = " + [] {
        std::string s;
        for (int i = 0; i < 100000; ++i) s += "<item P = ";
        return s;
    }();
    EXPECT_THROW(ParseLayout(deepItems), ELayoutError);

    // The writer refuses what the parser would refuse.
    LayoutValue deepest = List({});
    for (int i = 2; i < kLayoutMaxDepth; ++i) deepest = List({deepest});
    EXPECT_EQ(ParseLayout(WriteLayout(WithProperty(deepest))), WithProperty(deepest));
    EXPECT_THROW(WriteLayout(WithProperty(List({deepest}))), ELayoutError);
    LayoutObject chain{"O", "TO"};
    for (int i = 1; i < kLayoutMaxDepth; ++i) chain = LayoutObject{"O", "TO", {}, {}, {chain}};
    EXPECT_EQ(ParseLayout(WriteLayout(chain)), chain);
    EXPECT_THROW(WriteLayout(LayoutObject{"O", "TO", {}, {}, {chain}}), ELayoutError);
}

TEST(LayoutText, WriterCanonicalForms) {
    struct Case {
        const char* name;
        LayoutValue value;
        std::string text;  // what follows "  P = " in the written layout
    };
    std::vector<std::uint8_t> twenty(20);
    for (std::size_t i = 0; i < twenty.size(); ++i) twenty[i] = static_cast<std::uint8_t>(i * 13);
    const Case cases[] = {
        {"negative integer", Int(-5), "-5"},
        {"float that looks integral", Float(100.0), "100.0"},
        {"float", Float(1.5), "1.5"},
        {"large float", Float(1e20), "1e+20"},
        {"negative zero", Float(-0.0), "-0.0"},
        {"tiny float", Float(5e-324), "5e-324"},
        {"quote doubled", Str("it's"), "'it''s'"},
        {"control characters as codes", Str("a\r\nb"), "'a'#13#10'b'"},
        {"leading code", Str("\tx"), "#9'x'"},
        {"DEL as a code", Str("\x7F"), "#127"},
        {"NUL as a code", Str(std::string("\0", 1)), "#0"},
        {"empty string", Str(""), "''"},
        {"Chinese kept", Str("《Quellory》"), "'《Quellory》'"},
        {"set", Set({"a", "b"}), "[a, b]"},
        {"empty set", Set({}), "[]"},
        {"binary over two lines", Bin(twenty), "{" + HexLines(twenty, 4) + "}"},
        {"empty binary", Bin({}), "{}"},
        {"list", List({Str("a"), Int(1)}), "(\n    'a'\n    1)"},
        {"nested list", List({List({Str("x")})}), "(\n    (\n      'x'))"},
        {"empty list", List({}), "()"},
        {"binary in a list", List({Bin({1})}), "(\n    {\n      01})"},
        {"collection", Items({{Prop({"Width"}, Int(50))}, {}}),
         "<\n    item\n      Width = 50\n    end\n    item\n    end>"},
        {"empty collection", Items({}), "<>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LayoutObject o = WithProperty(c.value);
        const std::string text = WriteLayout(o);
        EXPECT_EQ(text, "object A: TA\n  P = " + c.text + "\nend\n");
        EXPECT_EQ(ParseLayout(text), o);
    }
    EXPECT_EQ(HexLines(twenty, 4).substr(1, 36), "    000D1A2734414E5B6875828F9CA9B6C3");
}

TEST(LayoutText, WriterRefusesWhatCannotBeRead) {
    struct Case {
        const char* name;
        LayoutObject tree;
    };
    auto renamed = [](std::string name) { return LayoutObject{std::move(name), "TA"}; };
    auto withPath = [](std::vector<std::string> path) {
        LayoutObject o{"A", "TA"};
        o.properties.push_back(Prop(std::move(path), Int(1)));
        return o;
    };
    const Case cases[] = {
        {"empty object name", renamed("")},
        {"space in a name", renamed("a b")},
        {"reserved word as a name", renamed("end")},
        {"non-ASCII name", renamed("按钮")},
        {"class name starting with a digit", LayoutObject{"A", "1T"}},
        {"property without a path", withPath({})},
        {"empty path part", withPath({"Font", ""})},
        {"reserved path part", withPath({"Object"})},
        {"NaN", WithProperty(Float(std::nan("")))},
        {"infinity", WithProperty(Float(std::numeric_limits<double>::infinity()))},
        {"invalid UTF-8", WithProperty(Str("a\xFF"))},
        {"lone surrogate in UTF-8", WithProperty(Str("\xED\xB0\x80"))},
        {"empty identifier", WithProperty(Ident(""))},
        {"identifier with empty part", WithProperty(Ident("a..b"))},
        {"identifier with trailing dot", WithProperty(Ident("Form1."))},
        {"reserved identifier value", WithProperty(Ident("end"))},
        {"set member with a space", WithProperty(Set({"a b"}))},
        {"bad name inside an item", WithProperty(Items({{Prop({"1x"}, Int(1))}}))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(WriteLayout(c.tree), ELayoutError);
    }
}

// The main window as stored with the program: Chinese captions and hints, a
// menu tree with shortcuts, the skin component with its list and archive.
std::string MainWindowLayout(const std::vector<std::uint8_t>& skin) {
    return R"(object frmContinuousDictation: TfrmContinuousDictation
  Left = 197
  Top = 115
  Width = 315
  Height = 105
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = 'Quellory'
  Color = -16777201
  Font.Charset = DEFAULT_CHARSET
  Font.Color = -16777208
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Hint = '将光标切换到要进行输入的窗口中，对着麦克风讲话，就可以进行语音输入了。请注意保持周围环境的安静，并用质量好的头戴式麦克风。'
  Icon.Data = {
    0000010001002020100000000000E802
    00001600000028000000200000004000}
  Menu = MainMenu1
  ShowHint = True
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object ProgressBar: TProgressBar
    Left = 9
    Top = 5
    Width = 292
    Height = 15
    Smooth = True
    TabOrder = 0
    Visible = False
  end
  object BStart: TButton
    Left = 6
    Top = 4
    Width = 87
    Height = 22
    Hint = '开始接受语音输入(F5、回车键)'
    Caption = '开始(F5)'
    Default = True
    TabOrder = 1
    OnClick = BStartClick
  end
  object BStop: TButton
    Left = 106
    Top = 4
    Width = 87
    Height = 22
    Hint = '停止接受语音录入(F6、Esc)'
    Cancel = True
    Caption = '停止(F6)'
    TabOrder = 2
    OnClick = BStopClick
  end
  object BDict: TButton
    Left = 210
    Top = 4
    Width = 87
    Height = 22
    Hint = '将总是不能正确进行识别的词组、短语、句子等输入编辑框中，然后点[录制发音]'
    Caption = '词典(F8)'
    TabOrder = 3
    OnClick = BDictClick
  end
  object Memo3: TMemo
    Left = 192
    Top = 40
    Width = 25
    Height = 9
    Lines.Strings = ()
    TabOrder = 4
    Visible = False
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 32
    Width = 307
    Height = 19
    Panels = <>
    SimplePanel = True
    SimpleText = '用你的声音进行文字聊天，就用《Quellory》。  '
  end
  object MainMenu1: TMainMenu
    object N1: TMenuItem
      Caption = '文件(&F)'
      object NReadme: TMenuItem
        Caption = '请读'
        OnClick = NReadmeClick
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object NWindowTop: TMenuItem
        Caption = '最顶端'
        OnClick = NWindowTopClick
      end
      object NTouMingDu: TMenuItem
        Caption = '透明度'
        object NQianTouMing: TMenuItem
          Caption = '浅透明'
          OnClick = NQianTouMingClick
        end
        object NShenTouMing: TMenuItem
          Caption = '深透明'
          OnClick = NShenTouMingClick
        end
        object NBuTouMing: TMenuItem
          Caption = '不透明'
          OnClick = NBuTouMingClick
        end
      end
      object NClose: TMenuItem
        Caption = '关闭'
        OnClick = NCloseClick
      end
    end
    object N3: TMenuItem
      Caption = '选项(&I)'
      object NDict: TMenuItem
        Caption = '★词典'
        ShortCut = 119
        OnClick = NDictClick
      end
    end
    object N4: TMenuItem
      Caption = '控制(&C)'
      object NStart: TMenuItem
        Caption = '开始'
        ShortCut = 116
        OnClick = NStartClick
      end
      object NStop: TMenuItem
        Caption = '停止'
        ShortCut = 117
        OnClick = NStopClick
      end
    end
    object N5: TMenuItem
      Caption = '帮助(&H)'
      object NTell: TMenuItem
        Caption = '☆告诉我的好友'
        OnClick = NTellClick
      end
      object NAbout: TMenuItem
        Caption = '关于(&A)'
        OnClick = NAboutClick
      end
    end
  end
  object SkinData1: TSkinData
    Active = True
    DisableTag = 99
    SkinControls = [xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSpinEdit]
    Options = [xoPreview, xoToolbarBK]
    Skin3rd.Strings = (
      'TCategoryButtons=scrollbar'
      'TPngBitBtn=pngbitbtn'
      'TVirtualStringTree=scrollbar'
      'TOVCDBNUMERICFIELD=Edit')
    SkinFormtype = sfMainform
    MenuUpdate = True
    MenuMerge = False
    SkinStream = {)" +
           HexLines(skin, 6) + R"(}
  end
  object SpSharedRecoContext: TSpSharedRecoContext
    AutoConnect = False
    ConnectKind = ckNewInstance
    OnRecognition = SpSharedRecoContextRecognition
    OnHypothesis = SpSharedRecoContextHypothesis
  end
end
)";
}

TEST(LayoutText, MainWindowReadsAndWritesBackUnchanged) {
    const std::vector<std::uint8_t> skin = Pattern(6000);
    const std::string text = MainWindowLayout(skin);
    const LayoutObject root = ParseLayout(text);
    EXPECT_EQ(root.className, "TfrmContinuousDictation");
    ASSERT_EQ(root.children.size(), 9u);
    EXPECT_EQ(root.properties.at(10).path, (std::vector<std::string>{"Font", "Name"}));
    EXPECT_EQ(root.properties.at(13).value, Bin({0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x20, 0x20, 0x10, 0x00, 0x00,
                                                0x00, 0x00, 0x00, 0xE8, 0x02, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00,
                                                0x28, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x40, 0x00}));

    const LayoutObject& start = root.children[1];
    EXPECT_EQ(start.line, LineOf(text, "object BStart"));
    EXPECT_EQ(start.properties.at(5).value, Str("开始(F5)"));

    const LayoutObject& menu = root.children[6];
    ASSERT_EQ(menu.children.size(), 4u);
    const LayoutObject& transparency = menu.children[0].children.at(3);
    EXPECT_EQ(transparency.properties.at(0).value, Str("透明度"));
    EXPECT_EQ(transparency.children.size(), 3u);
    const LayoutObject& startItem = menu.children[2].children.at(0);
    EXPECT_EQ(startItem.properties.at(1).path, std::vector<std::string>{"ShortCut"});
    EXPECT_EQ(startItem.properties.at(1).value, Int(116));
    EXPECT_EQ(startItem.line, LineOf(text, "object NStart"));

    const LayoutObject& skinData = root.children[7];
    const LayoutProperty& stream = skinData.properties.at(8);
    EXPECT_EQ(stream.path, std::vector<std::string>{"SkinStream"});
    ASSERT_NE(stream.value.Get<LayoutBinary>(), nullptr);
    EXPECT_EQ(stream.value.Get<LayoutBinary>()->bytes, skin);
    EXPECT_EQ(skinData.properties.at(4).value.Get<LayoutList>()->items.size(), 4u);
    EXPECT_EQ(skinData.properties.at(2).value.Get<LayoutSet>()->members.size(), 19u);
    // Lines after the archive are still counted right.
    EXPECT_EQ(root.children[8].line, LineOf(text, "object SpSharedRecoContext"));

    EXPECT_EQ(WriteLayout(root), text);
}

TEST(LayoutText, ToolsEmbedArchivesAsBinary) {
    LayoutObject root = ParseLayout(MainWindowLayout({}));
    LayoutProperty& stream = root.children.at(7).properties.at(8);
    EXPECT_EQ(stream.value, Bin({}));
    const std::vector<std::uint8_t> archive = Pattern(100 * 1024);
    stream.value = MakeLayoutBinary(archive);
    const std::string text = WriteLayout(root);
    EXPECT_EQ(text, MainWindowLayout(archive));
    const LayoutObject back = ParseLayout(text);
    EXPECT_EQ(back, root);
    EXPECT_EQ(back.children.at(7).properties.at(8).value.Get<LayoutBinary>()->bytes, archive);
}

// Bytes the parse of text allocates: work that grows with the square of
// the input shows as copies of copies, whatever the machine's speed.
std::size_t ParseAllocation(const std::string& text) {
    const std::size_t before = AllocatedBytes();
    const LayoutObject o = ParseLayout(text);
    EXPECT_EQ(o.properties.size(), 1u);
    return AllocatedBytes() - before;
}

TEST(LayoutText, LongInputsStayLinear) {
    const auto joined = [](int n) {
        std::string text = "object A: TA\n  P = 'x'";
        for (int i = 0; i < n; ++i) text += " + 'y'#13";
        return text + "\nend\n";
    };
    const auto items = [](int n) {
        std::string text = "object A: TA\n  P = (";
        for (int i = 0; i < n; ++i) text += "1 ";
        return text + ")\nend\n";
    };
    const LayoutObject o = ParseLayout(joined(50000));
    EXPECT_EQ(o.properties.at(0).value.Get<std::string>()->size(), 1u + 2u * 50000u);
    EXPECT_EQ(ParseLayout(WriteLayout(o)), o);
    EXPECT_EQ(ParseLayout(items(50000)).properties.at(0).value.Get<LayoutList>()->items.size(), 50000u);

    for (const auto& make : {std::function<std::string(int)>(joined), std::function<std::string(int)>(items)}) {
        // Twice the input, about twice the bytes; square work would take four times.
        const std::size_t single = ParseAllocation(make(10000)), twice = ParseAllocation(make(20000));
        EXPECT_LT(twice, 3 * single) << single << " bytes for 10000 items, " << twice << " for 20000";
    }
}

}  // namespace
