#include "cli/cmd_support.h"

#include "resources/language.h"

#include <charconv>
#include <cstdio>
#include <ostream>

#include "config/file_io.h"
#include "config/macro_directory.h"
#include "config/sections.h"
#include "keys/key_tables.h"
#include "keys/naming.h"
#include "macros/script.h"
#include "resources/language.h"

namespace kelv::cli {

namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// The product name is stored as single bytes; anything outside printable ASCII is taken as
// Latin-1 so that the output is always valid UTF-8.
std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            text += static_cast<char>(b);
        } else {
            text += static_cast<char>(0xC0 | (b >> 6));
            text += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return text;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    out += "\\u" + Hex(b, 4);
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

// Control characters shown as '?' on the terminal.
std::string Printable(std::string_view utf8) {
    std::string out(utf8);
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F) ch = '?';
    return out;
}

std::string JsonBool(bool b) {
    return b ? "true" : "false";
}

template <typename T>
std::string JsonOptional(const std::optional<T>& value) {
    return value ? std::to_string(*value) : "null";
}

std::string JsonRgb(config::Rgb c) {
    return "{\"r\": " + std::to_string(c.r) + ", \"g\": " + std::to_string(c.g) +
           ", \"b\": " + std::to_string(c.b) + "}";
}

std::string TextRgb(config::Rgb c) {
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b);
}

// DPI value of a code (0..11), from the language table; nullopt for an empty level or a
// code without text.
std::optional<int> DpiValue(std::uint8_t code) {
    if (code > 11) return std::nullopt;
    const std::string text = EnglishTexts().Text("Str" + std::to_string(300 + code));
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct Button {
    int number;
    std::string code;
    std::string name;
    std::optional<keys::FireSettingsUpdate> fire;
};

struct MacroRow {
    macros::MacroEntry entry;
    int eventLength;
    int recordLength;  // packed only
    std::vector<std::string> script;
};

std::vector<MacroRow> MacroRows(const macros::MacroStore& store) {
    std::vector<MacroRow> rows;
    const macros::KeyNameFn keyName = [](std::uint8_t usage) {
        return std::string(keys::KeyNameFromUsage(usage));
    };
    for (const auto& entry : store.Entries()) {
        MacroRow row{entry,
                     store.EventLength(entry.slot),
                     store.Layout() == macros::MacroLayout::kPacked ? store.Length(entry.slot) : 0,
                     {}};
        const std::vector<std::uint8_t> events = store.Events(entry.slot);
        if (!events.empty()) row.script = macros::RefreshMacroList(events, keyName).script.Lines();
        rows.push_back(std::move(row));
    }
    return rows;
}

// A paged slot with neither name nor events is an empty page; the text form leaves it out.
bool EmptyPagedSlot(const macros::MacroStore& store, const MacroRow& row) {
    return store.Layout() == macros::MacroLayout::kPaged && row.entry.name.empty() &&
           row.eventLength <= 1;
}

}  // namespace

const res::StringTable& EnglishTexts() {
    // Language 3 of the built-in tables is English; the tool speaks it whatever the desktop's.
    static const res::LanguageTable table = res::LoadLanguageTable(3);
    return table;
}

Mouse::Mouse(Session& session)
    : connection(session),
      service(connection.Link(), session.Clock(), host),
      defaults(config::ParseDefaultImage(session.Image())) {
    config::ApplyDefaults(image, defaults);
}

std::unique_ptr<Mouse> Connect(Session& session, bool read, std::ostream& err) {
    auto mouse = std::make_unique<Mouse>(session);
    std::string error;
    if (!mouse->connection.Open(error)) {
        Fail(err, error);
        return nullptr;
    }
    if (read) mouse->service.ReadAll(mouse->image, mouse->store);
    return mouse;
}

void PrintConfiguration(const Configuration& c, bool json, std::ostream& out) {
    using namespace config;
    const ParameterSection& p = *c.parameter;
    const ProfileSection& r = *c.profile;
    const auto directory = config::MacroDirectoryOf(*c.store);
    const keys::NamingContext naming{EnglishTexts(), FireKeyIds(p), directory.get()};
    std::vector<std::vector<Button>> profiles(kProfileCount);
    for (int pr = 0; pr < kProfileCount; ++pr) {
        for (int k = 0; k < kKeySlotCount; ++k) {
            const std::string code = keys::FormatCodeText(KeySlot(r, pr, k));
            keys::CodeName name = keys::NameOfCode(code, naming);
            profiles[static_cast<std::size_t>(pr)].push_back(
                {k + 1, code, std::move(name.name), name.fire});
        }
    }
    const std::vector<MacroRow> macroRows = MacroRows(*c.store);
    const std::optional<int> levels = DpiLevelCount(p);
    const std::optional<int> current = CurrentDpiLevel(p);
    const int rate = ReportRateCode(p);
    const std::string layout(device::LayoutName(c.layout));
    const std::string storage(StorageText(c.storage));

    if (json) {
        out << "{\n  \"format\": 1,\n  \"source\": " << JsonString(c.source)
            << ",\n  \"layout\": " << JsonString(layout)
            << ",\n  \"storage\": " << JsonString(storage) << ",\n  \"parameter\": {\n"
            << "    \"storageMarker\": " << unsigned{StorageMarker(p)} << ",\n"
            << "    \"vendorId\": " << VendorId(p) << ",\n"
            << "    \"productId\": " << ProductId(p) << ",\n"
            << "    \"productName\": " << JsonString(Latin1ToUtf8(ProductName(p))) << ",\n"
            << "    \"activeProfile\": " << unsigned{ActiveProfile(p)} << ",\n"
            << "    \"reportRate\": {\"code\": " << rate << ", \"hz\": " << ReportRateHz(rate)
            << "},\n"
            << "    \"dpi\": {\n      \"levelCount\": " << JsonOptional(levels)
            << ",\n      \"currentLevel\": " << JsonOptional(current) << ",\n      \"levels\": [\n";
        for (int level = 1; level <= kDpiLevelMax; ++level) {
            const std::uint8_t code = DpiValueCode(p, level);
            out << "        {\"level\": " << level << ", \"code\": " << unsigned{code}
                << ", \"value\": " << JsonOptional(DpiValue(code))
                << ", \"colour\": " << JsonRgb(DpiColour(p, level)) << "}"
                << (level < kDpiLevelMax ? ",\n" : "\n");
        }
        out << "      ]\n    },\n    \"led\": {\n      \"type\": "
            << JsonString(LedTypeText(LedTypeOf(p))) << ",\n      \"mode\": " << LightingMode(p)
            << ",\n      \"colours\": [";
        for (int i = 0; i < kLedColourCount; ++i)
            out << (i ? ", " : "") << JsonRgb(LedColour(p, i));
        out << "]\n    },\n    \"fallTime\": " << FallTimeStep(p) << ",\n"
            << "    \"fireKeyIds\": " << unsigned{FireKeyIds(p)} << ",\n"
            << "    \"checksumValid\": " << JsonBool(ParameterChecksumValid(p)) << "\n  },\n"
            << "  \"profileChecksumValid\": " << JsonBool(ProfileChecksumValid(r)) << ",\n"
            << "  \"profiles\": [\n";
        for (std::size_t pr = 0; pr < profiles.size(); ++pr) {
            out << "    {\"profile\": " << pr + 1 << ", \"buttons\": [\n";
            for (std::size_t k = 0; k < profiles[pr].size(); ++k) {
                const Button& b = profiles[pr][k];
                out << "      {\"button\": " << b.number << ", \"code\": " << JsonString(b.code)
                    << ", \"name\": " << JsonString(b.name);
                if (b.fire) {
                    out << ", \"fire\": {\"key\": " << b.fire->fireKey
                        << ", \"repeat\": " << b.fire->settings.repeat
                        << ", \"delay\": " << b.fire->settings.delay
                        << ", \"continue\": " << JsonBool(b.fire->settings.continueFlag) << "}";
                }
                out << "}" << (k + 1 < profiles[pr].size() ? ",\n" : "\n");
            }
            out << "    ]}" << (pr + 1 < profiles.size() ? ",\n" : "\n");
        }
        out << "  ],\n  \"macros\": [";
        for (std::size_t i = 0; i < macroRows.size(); ++i) {
            const MacroRow& m = macroRows[i];
            out << (i ? ",\n" : "\n") << "    {\"slot\": " << m.entry.slot
                << ", \"name\": " << JsonString(m.entry.name)
                << ", \"address\": " << m.entry.address << ", \"length\": " << m.eventLength;
            if (c.store->Layout() == macros::MacroLayout::kPacked)
                out << ", \"recordLength\": " << m.recordLength;
            out << ", \"script\": [";
            for (std::size_t l = 0; l < m.script.size(); ++l)
                out << (l ? ", " : "") << JsonString(m.script[l]);
            out << "]}";
        }
        out << (macroRows.empty() ? "]\n}\n" : "\n  ]\n}\n");
        return;
    }

    const auto orDash = [](const std::optional<int>& v) {
        return v ? std::to_string(*v) : std::string("-");
    };
    out << "source          " << c.source << "\n"
        << "storage         " << (storage.empty() ? "unknown" : storage);
    if (!layout.empty()) out << " (layout " << layout << ")";
    out << "\n"
        << "device          " << Hex(VendorId(p), 4) << ":" << Hex(ProductId(p), 4) << " \""
        << Printable(Latin1ToUtf8(ProductName(p))) << "\"\n"
        << "active profile  " << unsigned{ActiveProfile(p)} + 1 << "\n"
        << "report rate     " << ReportRateHz(rate) << " Hz\n"
        << "LED             " << LedTypeText(LedTypeOf(p)) << ", mode " << LightingMode(p) << "\n"
        << "fall time       step " << FallTimeStep(p) << "\n"
        << "DPI levels      " << orDash(levels) << ", current " << orDash(current) << "\n";
    for (int level = 1; level <= kDpiLevelMax; ++level) {
        const std::uint8_t code = DpiValueCode(p, level);
        const std::optional<int> value = DpiValue(code);
        out << "  level " << level << "       " << (value ? std::to_string(*value) : "-")
            << " DPI (code " << unsigned{code} << "), colour " << TextRgb(DpiColour(p, level))
            << (levels && level > *levels ? "  (unused)" : "") << "\n";
    }
    out << "LED colours    ";
    for (int i = 0; i < kLedColourCount; ++i) out << " [" << TextRgb(LedColour(p, i)) << "]";
    out << "\nchecksums       parameter " << (ParameterChecksumValid(p) ? "ok" : "wrong")
        << ", profile " << (ProfileChecksumValid(r) ? "ok" : "wrong") << "\n";
    for (std::size_t pr = 0; pr < profiles.size(); ++pr) {
        out << "profile " << pr + 1 << "\n";
        for (const Button& b : profiles[pr]) {
            out << "  button " << b.number << (b.number < 10 ? "   " : "  ") << b.code << "  "
                << Printable(b.name) << "\n";
        }
    }
    int shown = 0;
    for (const MacroRow& m : macroRows) shown += EmptyPagedSlot(*c.store, m) ? 0 : 1;
    out << "macros          " << shown << "\n";
    for (const MacroRow& m : macroRows) {
        if (EmptyPagedSlot(*c.store, m)) continue;
        out << "  slot " << m.entry.slot << "  \"" << Printable(m.entry.name) << "\"  address 0x"
            << Hex(m.entry.address, 4) << "  length " << m.eventLength << "\n";
        for (const std::string& line : m.script) out << "    " << Printable(line) << "\n";
    }
}

std::optional<device::Layout> ParseLayout(std::string_view text) {
    if (text == "A" || text == "a") return device::Layout::A;
    if (text == "B" || text == "b") return device::Layout::B;
    if (text == "C" || text == "c") return device::Layout::C;
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::size_t maxBytes,
                                                   std::ostream& err) {
    config::ReadFileResult result = config::ReadFile(path, maxBytes);
    if (!result.ok) {
        Fail(err, result.error);
        return std::nullopt;
    }
    return std::move(result.bytes);
}

bool WriteOutput(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::ostream& err) {
    const config::WriteFileResult result = config::WriteFileAtomic(path, bytes);
    if (!result.ok) Fail(err, result.error);
    return result.ok;
}

}  // namespace kelv::cli
