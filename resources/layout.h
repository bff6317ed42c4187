// OEM layout resources: ORG holds [org] (the web link), ORG1..ORG3 hold [org1]..[org3], one
// complete layout per language. Single-byte INI text; every value but Web is a decimal integer.
//
// The reader hands the keys out in the one order the window applies them and stops at the
// first value that is absent or not an integer, so a partial layout is applied exactly as far
// as it is valid. Applying the values to widgets is the application's business.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelv::res {

// An INI text: lines trimmed; empty, ';' and '//' lines are comments; "[name]" opens a
// section; "key=value" is an entry (both trimmed, split at the first '='). Section names and
// keys ignore case; the later of two equal keys wins; lines before the first section are
// dropped.
class IniText {
  public:
    IniText() = default;
    static IniText Parse(std::string_view text);

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // As Find(), absent gives "".
    std::string Read(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

  private:
    std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
};

// Thrown by ParseLayoutInteger; what() is the user-facing text.
class LayoutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "'<value>' is not a valid integer value".
std::string InvalidIntegerText(std::string_view value);

// A decimal integer with an optional sign that fits 32 bits; anything else (also "") throws
// LayoutError with InvalidIntegerText(value).
int ParseLayoutInteger(std::string_view value);

// File sections of a layout, in the order they are applied. Web is the [org] section.
enum class LayoutSection : std::uint8_t { Web, A, B, C, D, E, F, I };

enum class LayoutKind : std::uint8_t {
    Int,     // one integer key
    Colour,  // three keys <key>_R, <key>_G, <key>_B read in that order; red + 256 g + 65536 b
    Bool,    // an _Enable key: shown when the integer is 1, hidden for any other integer
    Text,    // taken as it is (only Web)
};

// One step of the layout. `target` names the controls it acts on ("n" stands for the page
// copies 1..5); `gate`, when not empty, is the Bool key that must read 1 for this key to be
// read at all (X and Y of a hidden pair may be absent).
struct LayoutKey {
    LayoutSection section;
    std::string_view key;
    LayoutKind kind;
    std::string_view target;
    std::string_view gate;
};

// Sections A, B, C, D, E, F, I of a language layout, in application order.
std::span<const LayoutKey> LanguageLayoutKeys();
// Web, Web_X, Web_Y, Rev_Manu_ID, Rev_Pro_ID of [org].
std::span<const LayoutKey> WebLinkKeys();

struct LayoutValue {
    const LayoutKey* key = nullptr;
    int number = 0;    // Int, Colour (combined), Bool (the integer as written)
    std::string text;  // Text keys; for others the value as written (a colour: its _B text)
    bool Shown() const { return number == 1; }
};

struct LayoutRead {
    std::vector<LayoutValue> values;  // every key read, in order, up to the failure
    std::string error;                // "" when complete, else the user-facing error text
    std::string failedKey;            // the key (with _R/_G/_B for a colour) that failed
    bool Ok() const { return error.empty(); }
    // The value of `key` among those read (case ignored), or nullptr.
    const LayoutValue* Find(std::string_view key) const;
};

// Reads `keys` from `section` of `ini`, skipping keys whose gate reads hidden.
LayoutRead ReadLayout(const IniText& ini, std::string_view section,
                      std::span<const LayoutKey> keys);

// "org1".."org3" for language 1..3 (std::out_of_range otherwise).
std::string LayoutResourceName(int language);

// Reads `keys` from the section named like the built-in resource `name` ("org", "org1");
// a missing resource gives the error "Resource <name> not found" with no values.
LayoutRead ReadLayoutResource(std::string_view name, std::span<const LayoutKey> keys);

// Reads the built-in layout of language 1..3; a missing resource gives the error
// "Resource org1 not found" with no values.
LayoutRead ReadLanguageLayout(int language);

// Parses layout bytes (a UTF-8 byte-order mark is skipped).
IniText ParseLayoutText(std::span<const std::uint8_t> data);

struct WebLink {
    std::string url;
    int x = 0;
    int y = 0;
    int manufacturerId = 0;  // reserved
    int productId = 0;       // reserved
};

// Reads [org] of the built-in ORG resource. `read` receives what was read (and the error);
// the returned link holds the values read before any failure.
WebLink LoadWebLink(LayoutRead* read = nullptr);
WebLink WebLinkFrom(const LayoutRead& read);

// ---- Placement rules shared by the window and its tests -----------------------------------

struct LayoutPoint {
    int x = 0;
    int y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// The label of a skinned pair whose picture (width x height) sits at (x, y): the picture's
// rectangle narrowed by the front and back insets; insets wider than the picture leave no width.
LayoutRect PairLabelRect(int x, int y, int width, int height, int frontInset = 0,
                         int backInset = 0);

// Step k (from 1) of a ten-step strip at (x, y) whose first picture is `width` wide, and its
// number label.
LayoutPoint TenStepPicture(int x, int y, int width, int k);
LayoutPoint TenStepLabel(int x, int y, int width, int k);

// Step k (from 1) of a twelve-step DPI strip: orientation 1 a row to the right, 0 a column
// growing upward from y; any other orientation leaves the pictures where they are (nullopt).
std::optional<LayoutPoint> DpiStepPicture(int orientation, int x, int y, int width, int height,
                                          int k);

// Click label of a choice picture (report rate, lighting mode) at (x, y).
LayoutPoint ChoiceLabel(int x, int y);
// lbl_Delay and lbl_s_A beside the insert delay box at (x, y).
LayoutPoint InsertDelayLabel(int x, int y);
LayoutPoint InsertDelayUnitLabel(int x, int y);

// A layout colour (red + 256 green + 65536 blue) split into its channels.
struct LayoutRgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const LayoutRgb&) const = default;
};
LayoutRgb SplitLayoutColour(int colour);

}  // namespace kelv::res
