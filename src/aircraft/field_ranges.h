// The values an aircraft file may hold: each numeric field's allowed range in
// the file's own units, so that the set-up's roots, powers and divisions stay
// finite and no magnitude runs away. The reader refuses a file with a value
// outside; the editor refuses to write one.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/aircraft_data.h"

namespace zarv::aircraft {

// "" when the lines the reader takes (the first 55) could be an aircraft file,
// else why they are none: bytes that are no text, or a numeric field whose
// text begins with no number. The tag and the length are no reason: any tag
// only names a folder, and a short file is read as far as it goes.
std::string CheckAircraftFileFormat(const std::vector<std::string>& lines);

// The line holds bytes no text file holds (control characters other than the
// tab): the reader refuses such a file.
bool HoldsNonText(std::string_view line);

// The message for field `field` (0..53) holding `text` when its value (or the
// second value of a pair field) lies outside the allowed range, or when the
// text is blank (a short file reads missing fields as "") and 0 lies outside;
// "" when it is inside or the field has no range. `powered` is the aircraft
// class (launch speed above 10 m/s): it names fields 1, 2 and 28 and decides
// whether the gear position of field 28 is read at all.
std::string CheckFieldRange(int field, std::string_view text, bool powered);

// The first field of 1..53 out of range, as above; "" when all are inside.
// Field 36 counts only with an engine, as the reader takes it.
std::string CheckFieldRanges(const std::array<std::string, kAircraftFieldCount>& fields);

}  // namespace zarv::aircraft
