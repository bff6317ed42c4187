// Deleting events with their partners and inserting delays, on the script.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "macros/editor.h"
#include "macros/script.h"

namespace kelv::macros {
namespace {

using Lines = std::vector<std::string>;

const Lines kCtrlC = {"10",   "1 Ctrl CODE:8101", "0 30", "1 C CODE:8206",
                      "0 40", "2 C CODE:0206",    "0 50", "2 Ctrl CODE:0101"};

struct DeleteCase {
    const char* what;
    Lines before;
    std::size_t item;
    Lines after;
    std::optional<std::size_t> selection;
};

TEST(DeleteEvent, RemovesTheEventWithItsPartner) {
    const DeleteCase cases[] = {
        {"press takes its release, delays stay",
         kCtrlC,
         2,
         {"10", "1 Ctrl CODE:8101", "0 30", "0 40", "0 50", "2 Ctrl CODE:0101"},
         1},
        {"release takes the earlier press",
         kCtrlC,
         6,
         {"10", "0 30", "1 C CODE:8206", "0 40", "2 C CODE:0206", "0 50"},
         4},
        {"a delay alone",
         kCtrlC,
         1,
         {"10", "1 Ctrl CODE:8101", "1 C CODE:8206", "0 40", "2 C CODE:0206", "0 50",
          "2 Ctrl CODE:0101"},
         0},
        {"mouse press and the next LeftKey line",
         {"00", "1 LeftKey CODE:00A1", "1 RightKey CODE:00A2", "2 LeftKey CODE:0021"},
         0,
         {"00", "1 RightKey CODE:00A2"},
         0},
        {"the only delay of a two-line list",
         {"10", "0 5", "1 A CODE:8204"},
         0,
         {"10", "1 A CODE:8204"},
         0},
        {"release at item 1 with its press at item 0",
         {"00", "1 A CODE:8204", "2 A CODE:0204", "0 7"},
         1,
         {"00", "0 7"},
         0},
        {"last pair empties the list",
         {"00", "1 A CODE:8204", "2 A CODE:0204"},
         0,
         {"00"},
         std::nullopt},
        {"press without a release goes alone",
         {"00", "0 1", "1 A CODE:8204", "0 2"},
         1,
         {"00", "0 1", "0 2"},
         0},
        {"release without a press goes alone, the mode line is no partner",
         {"00", "2 A CODE:0204", "0 2"},
         0,
         {"00", "0 2"},
         0},
        {"item outside the list", {"00", "0 1"}, 1, {"00", "0 1"}, std::nullopt},
    };
    for (const DeleteCase& c : cases) {
        MacroScript script(c.before);
        const ScriptEdit edit = DeleteEvent(script, c.item);
        EXPECT_EQ(script.Lines(), c.after) << c.what;
        EXPECT_EQ(edit.selection, c.selection) << c.what;
        EXPECT_EQ(edit.changed, c.before != c.after) << c.what;
    }
}

TEST(InsertDelay, BeforeOrAfterTheSelectedEvent) {
    struct Case {
        const char* what;
        std::size_t item;
        bool after;
        Lines lines;
        std::optional<std::size_t> selection;
    };
    const Lines base = {"00", "1 A CODE:8204", "2 A CODE:0204"};
    const Case cases[] = {
        {"before the first", 0, false, {"00", "0 9", "1 A CODE:8204", "2 A CODE:0204"}, 0},
        {"after the last", 1, true, {"00", "1 A CODE:8204", "2 A CODE:0204", "0 9"}, 2},
        {"after the first", 0, true, {"00", "1 A CODE:8204", "0 9", "2 A CODE:0204"}, 1},
        {"no such event", 2, false, base, std::nullopt},
    };
    for (const Case& c : cases) {
        MacroScript script(base);
        const ScriptEdit edit = InsertDelay(script, c.item, c.after, "9");
        EXPECT_EQ(script.Lines(), c.lines) << c.what;
        EXPECT_EQ(edit.selection, c.selection) << c.what;
    }
}

TEST(ClampDelayField, KeepsOneToSixtyFiveThousand) {
    const std::pair<long long, long long> cases[] = {{0, 1},     {-3, 1},        {1, 1},
                                                     {500, 500}, {65535, 65535}, {65536, 65535}};
    for (const auto& [in, out] : cases) EXPECT_EQ(ClampDelayField(in), out) << in;
}

}  // namespace
}  // namespace kelv::macros
