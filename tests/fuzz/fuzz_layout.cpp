// Feeds arbitrary text to the layout parser. Whatever it accepts must write
// back to text that reads as the same tree and writes the same again; whatever
// it refuses must be refused with a place.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/LayoutText.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckLines(const LayoutObject& object, int first, int last) {
    Check(object.line >= first && object.line <= last);
    for (const LayoutProperty& property : object.properties) Check(property.line >= object.line && property.line <= last);
    for (const LayoutObject& child : object.children) CheckLines(child, object.line, last);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    LayoutObject tree;
    try {
        tree = ParseLayout(text);
    } catch (const ELayoutError& e) {
        Check(e.Line() >= 1 && e.Line() <= lines && e.Column() >= 1);
        return 0;
    }
    CheckLines(tree, 1, lines);
    // The writer must take every tree the parser gives; an exception here ends the run.
    const std::string written = WriteLayout(tree);
    const LayoutObject again = ParseLayout(written);
    Check(again == tree);
    Check(WriteLayout(again) == written);
    return 0;
}
