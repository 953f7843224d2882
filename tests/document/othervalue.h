// An edit for any field, shared by the line-keeping save's tests and its fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "sr2shipfile.h"

// A value unlike the field's own, of its type, that every script form holds exactly.
inline FieldValue OtherValue(const FieldValue& v) {
    switch (v.index()) {
        case 0: return std::string(std::get<std::string>(v) == "tvk_edited" ? "tvk_other" : "tvk_edited");
        case 1: return std::int32_t(std::get<std::int32_t>(v) == 4321 ? 4322 : 4321);
        case 2: return std::int16_t(std::get<std::int16_t>(v) == 321 ? 322 : 321);
        case 3: return std::get<double>(v) == 123.25 ? 124.5 : 123.25;
        default: return !std::get<bool>(v);
    }
}
