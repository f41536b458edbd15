// Feeds arbitrary bytes to the skin definition reader and asks it what the
// skin data component would ask, checking that the answers hang together.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Stream.h"
#include "skin/data/AnsiSameText.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinValues.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

const char* const kSections[] = {"Buttons", "Personality", "Colours", "Button0", "Tab.Pane", ""};
const char* const kKeys[] = {"Image", "RightWidth", "Trans", "Tile",
                             "ButtonFace", "ActiveTextR", ""};

void Query(const TQuickIni& ini, std::string_view section, std::string_view key) {
    const std::string text = ini.ReadString(section, key, "\x01");
    Check(!text.empty());
    Check(text == "\x01" || TrimIniText(text) == text);
    const std::int32_t n = ini.ReadInteger(section, key, 12345);
    if (text == "\x01") Check(n == 12345);
    const TColor c = ReadColourTriple(ini, section, key, -1);
    Check(c == -1 || (c >= 0 && c <= 0xFFFFFF));
    const TColor rgb = ReadColourComponents(ini, section, key);
    Check(rgb == kUnsetColour || (rgb >= 0 && rgb <= 0xFFFFFF));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMemoryStream stream;
    stream.WriteBuffer(data, size);
    stream.Rewind();
    TQuickIni ini;
    ini.LoadFromStream(stream);

    for (const std::string& line : ini.Lines()) {
        Check(!line.empty() && line.front() != ';' && TrimIniText(line) == line);
        Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    }

    std::vector<std::string> sections;
    ini.ReadSections(sections);
    Check(sections.size() == ini.Sections().size());
    for (const std::string& name : sections) {
        const std::ptrdiff_t index = ini.SectionIndex(name);
        Check(index >= 0 && static_cast<std::size_t>(index) < ini.Lines().size());
        Check(AnsiSameText(ini.Lines()[static_cast<std::size_t>(index)], "[" + name + "]"));
    }

    // The fixed questions of the schema, then the sections and keys the text names itself.
    for (const char* section : kSections) {
        for (const char* key : kKeys) Query(ini, section, key);
    }
    std::size_t asked = 0;
    for (const std::string& name : sections) {
        if (++asked > 16) break;
        const auto first = static_cast<std::size_t>(ini.SectionIndex(name)) + 1;
        const std::size_t last = std::min(ini.Lines().size(), first + 16);
        for (std::size_t i = first; i < last; ++i) {
            const std::string& line = ini.Lines()[i];
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            Query(ini, name, TrimIniText(std::string_view(line).substr(0, eq)));
        }
    }

    // The value conversions on the raw bytes too.
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    IntegerValue(raw, 0);
    ColourTripleValue(raw, 0);
    return 0;
}
