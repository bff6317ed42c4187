// Any text as script lines, any bytes as events: encoding always gives whole records and one
// terminator, and decoding encodes back to the records it read.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "macros/events.h"
#include "macros/name_field.h"
#include "macros/script.h"

using namespace kelv::macros;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    const MacroScript script(lines);
    const std::vector<std::uint8_t> bytes = MacroListToBin(script);
    const EventWalk walk = WalkEvents(bytes, bytes.size());
    if (!walk.terminated || walk.eventBytes + 1 != bytes.size()) __builtin_trap();
    (void)InvalidLines(script);
    (void)ParseModeLine(script.ModeLine());

    const std::span<const std::uint8_t> raw(data, size);
    const EventWalk rawWalk = WalkEvents(raw, raw.size());
    const auto decoded =
        RefreshMacroList(raw, [](std::uint8_t u) { return std::string(u % 2 ? "K" : ""); });
    const auto again = MacroListToBin(decoded.script);
    if (again.size() != rawWalk.eventBytes + 1) __builtin_trap();
    for (std::size_t i = 0; i < rawWalk.eventBytes; ++i)
        if (again[i] != raw[i]) __builtin_trap();

    (void)MacroNameFromField(MacroNameStrToUnicode(text));
    (void)UnicodeHexToStr(text);
    (void)StrToUnicodeHex(text);
    return 0;
}
