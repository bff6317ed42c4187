// The English names of the shipped language table, as far as key naming uses them.
#pragma once

#include "resources/string_table.h"

namespace kelv::keys::test {

inline const res::MapStringTable& EnglishStrings() {
    static const res::MapStringTable table{
        {"Str210", "Left Key"},    {"Str211", "Right Key"},     {"Str212", "Middle Key"},
        {"Str213", "Backward"},    {"Str214", "Forward"},       {"Str230", "Fire Key"},
        {"Str231", "Fire Key1"},   {"Str232", "Fire Key2"},     {"Str233", "Fire Key3"},
        {"Str234", "AIM Key"},     {"Str241", "LED Switch"},    {"Str242", "KB Switch Key"},
        {"Str243", "CPI"},         {"Str244", "Report Rate"},   {"Str245", "KB Reset Key"},
        {"Str246", "LED Mode"},    {"Str247", "CPI +"},         {"Str248", "CPI -"},
        {"Str250", "Play/Pause"},  {"Str251", "Stop"},          {"Str252", "Previous Track"},
        {"Str253", "Next Track"},  {"Str254", "Volume +"},      {"Str255", "Volume -"},
        {"Str256", "Mute"},        {"Str260", "WWW Home"},      {"Str261", "WWW Search"},
        {"Str262", "WWW Back"},    {"Str263", "WWW Forward"},   {"Str264", "WWW Stop"},
        {"Str265", "WWW Refresh"}, {"Str266", "WWW Favorites"}, {"Str270", "My Computer"},
        {"Str271", "Calculator"},  {"Str272", "E-Mail"},        {"Str273", "Desktop"},
    };
    return table;
}

}  // namespace kelv::keys::test
