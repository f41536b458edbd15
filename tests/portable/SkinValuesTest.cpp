#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "core/Stream.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinValues.h"

namespace {

struct IntegerCase {
    const char* name;
    const char* text;
    std::int32_t expected;  // kDefault when the text does not convert
};

void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.name; }

constexpr std::int32_t kDefault = -77;

const IntegerCase kIntegerCases[] = {
    {"Decimal", "42", 42},
    {"LeadingZeros", "00012", 12},
    {"PlusSign", "+7", 7},
    {"MinusSign", "-5", -5},
    {"LargestDecimal", "2147483647", INT_MAX},
    {"SmallestDecimal", "-2147483648", INT_MIN},
    {"DecimalOverflow", "2147483648", kDefault},
    {"NegativeDecimalOverflow", "-2147483649", kDefault},
    {"LongDecimalOverflow", "99999999999999999999999", kDefault},
    {"ZeroXPrefix", "0x1", 1},
    {"UpperZeroXPrefix", "0X1f", 31},
    {"DollarPrefix", "$10", 16},
    {"MixedCaseHexDigits", "$fF", 255},
    {"HexWrapsToMinusOne", "$FFFFFFFF", -1},
    {"ZeroXWrapsToMinusOne", "0xFFFFFFFF", -1},
    {"HexTopBit", "$80000000", INT_MIN},
    {"HexLeadingZerosBeyondEightDigits", "$0000000010", 16},
    {"HexOverflow", "$100000000", kDefault},
    {"NegativeHex", "-$10", -16},
    {"ZeroXAloneIsNotReplaced", "0x", kDefault},
    {"DollarAlone", "$", kDefault},
    {"SignAlone", "-", kDefault},
    {"DoubleSign", "--1", kDefault},
    {"SignAfterZeroX", "0x-1", kDefault},
    {"BadHexDigit", "$1G", kDefault},
    {"Letters", "abc", kDefault},
    {"Empty", "", kDefault},
    {"TrailingText", "12abc", kDefault},
    {"TrailingComment", "1 ; transparent", kDefault},
    {"TrailingBlank", "5 ", kDefault},
    {"LeadingBlanks", "  5", 5},
    {"BlankAfterSign", "- 5", kDefault},
    {"Exponent", "1e3", kDefault},
    {"Fraction", "1.0", kDefault},
};

class IntegerValueTest : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerValueTest, Converts) {
    EXPECT_EQ(IntegerValue(GetParam().text, kDefault), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntegerValueTest, testing::ValuesIn(kIntegerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StrToInt32, ZeroXIsOnlyRewrittenByTheIniRule) {
    EXPECT_FALSE(StrToInt32("0x10").has_value());
    EXPECT_EQ(StrToInt32("$10"), 16);
}

struct TripleCase {
    const char* name;
    const char* text;
    TColor expected;
};

void PrintTo(const TripleCase& c, std::ostream* os) { *os << c.name; }

constexpr TColor kDefaultColour = static_cast<TColor>(0x8000000F);  // a system-colour reference

const TripleCase kTripleCases[] = {
    {"EmptyGivesDefault", "", kDefaultColour},
    {"White", "255 255 255", MakeColour(255, 255, 255)},
    {"ShippedButtonFace", "236 233 216", MakeColour(236, 233, 216)},
    {"TrailingSeparatorStoresBlue", "255,0,0,", MakeColour(255, 0, 0)},
    {"SingleNumberDropped", "128", 0},
    {"NumbersAfterThirdIgnored", "1 2 3 4 5", MakeColour(1, 2, 3)},
    {"TwoNumbersKeepOnlyRed", "200 100", MakeColour(200, 0, 0)},
    {"TwoNumbersAndSeparator", "200 100,", MakeColour(200, 100, 0)},
    {"TrailingBlankIsTrimmedAway", "200 100 ", MakeColour(200, 0, 0)},
    {"SurroundingBlanksTrimmed", "  10 20 30  ", MakeColour(10, 20, 30)},
    {"AnySeparators", "r=1;g=2;b=3", MakeColour(1, 2, 3)},
    {"RunsOfSeparators", "1,, ,2;;3", MakeColour(1, 2, 3)},
    {"MinusIsASeparator", "-5 -6 -7", MakeColour(5, 6, 7)},
    {"HighBytesAreSeparators", "\xA3\xB1" "2\xA3\xB1" "3\xA3\xB1" "4", MakeColour(2, 3, 4)},
    {"NoDigits", "abc", 0},
    {"Modulo256", "256 257 511", MakeColour(0, 1, 255)},
    {"LargestRunModulo256", "2147483647 0 0", MakeColour(255, 0, 0)},
    {"LeadingZerosAreNotLarge", "0000000000000000000042 1 2", MakeColour(42, 1, 2)},
    {"TooLargeFirstRunEndsAll", "2147483648 7 8", 0},
    {"TooLargeMiddleRunEndsConversion", "1 2147483648 3 4", MakeColour(1, 0, 0)},
    {"TooLargePendingRunIgnored", "1 2 99999999999999999999", MakeColour(1, 2, 0)},
    {"TooLargeRunAfterThirdHarmless", "1 2 3 99999999999999999999 5", MakeColour(1, 2, 3)},
};

class ColourTripleTest : public testing::TestWithParam<TripleCase> {};

TEST_P(ColourTripleTest, Converts) {
    EXPECT_EQ(ColourTripleValue(GetParam().text, kDefaultColour), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColourTripleTest, testing::ValuesIn(kTripleCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ComponentsCase {
    const char* name;
    std::int32_t r, g, b;
    TColor expected;
};

void PrintTo(const ComponentsCase& c, std::ostream* os) { *os << c.name; }

const ComponentsCase kComponentsCases[] = {
    {"Black", 0, 0, 0, 0},
    {"RedInLowByte", 255, 128, 1, 0x0180FF},
    {"NegativeRedUnset", -1, 0, 0, kUnsetColour},
    {"NegativeBlueUnset", 0, 0, -1, kUnsetColour},
    {"AllDefaultUnset", -1, -1, -1, kUnsetColour},
    {"AboveByteModulo256", 256, 511, 300, MakeColour(0, 255, 44)},
    {"LargestModulo256", INT_MAX, 0, 0, MakeColour(255, 0, 0)},
};

class ColourComponentsTest : public testing::TestWithParam<ComponentsCase> {};

TEST_P(ColourComponentsTest, Converts) {
    const ComponentsCase& c = GetParam();
    EXPECT_EQ(ColourFromComponents(c.r, c.g, c.b), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColourComponentsTest, testing::ValuesIn(kComponentsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TQuickIni LoadIni(const std::string& text) {
    TMemoryStream s;
    s.WriteBuffer(text.data(), text.size());
    s.Rewind();
    TQuickIni ini;
    ini.LoadFromStream(s);
    return ini;
}

TEST(ReadColourComponents, ReadsThreeIntegerKeys) {
    const TQuickIni ini = LoadIni(
        "[Personality]\n"
        "ActiveTextR=255\nactivetextg=0x80\nActiveTextB=1\n"
        "InActiveTextR=10\nInActiveTextG=20\n"
        "BadTextR=1\nBadTextG=x\nBadTextB=3\n");
    EXPECT_EQ(ReadColourComponents(ini, "Personality", "ActiveText"), MakeColour(255, 128, 1));
    EXPECT_EQ(ReadColourComponents(ini, "Personality", "InActiveText"), kUnsetColour)
        << "a missing component defaults to -1";
    EXPECT_EQ(ReadColourComponents(ini, "Personality", "BadText"), kUnsetColour)
        << "a component that does not convert defaults to -1";
    EXPECT_EQ(ReadColourComponents(ini, "Missing", "ActiveText"), kUnsetColour);
}

TEST(ReadColourTriple, MissingOrEmptyKeyGivesDefault) {
    const TQuickIni ini = LoadIni("[Colours]\nMenu=\nMenuText=1 2 3\n");
    EXPECT_EQ(ReadColourTriple(ini, "Colours", "Menu", kDefaultColour), kDefaultColour);
    EXPECT_EQ(ReadColourTriple(ini, "Colours", "Hilight", kDefaultColour), kDefaultColour);
    EXPECT_EQ(ReadColourTriple(ini, "colours", "menutext", kDefaultColour), MakeColour(1, 2, 3));
}

}  // namespace
