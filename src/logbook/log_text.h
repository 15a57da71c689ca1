// Number texts of the flight log, fast enough for a log of 60000 rows: the
// same texts as the runtime's Str and its Format with the patterns "0.00"
// and "0.000".
#pragma once

#include <string>

namespace zarv::records {

// Room that PutStr and PutFixed may fill.
inline constexpr int kNumberTextRoom = 48;

// Writes Str(v) at p and returns the end.
char* PutStr(char* p, double v);
// Writes Format(v, "0.00") for decimals 2, Format(v, "0.000") for 3 at p and
// returns the end: at least one integer digit, halves rounded away from zero
// on the 15-digit decimal form, no sign when the value rounds to zero. For
// |v| below 1E+40 (any single-precision value), which keeps it in the room.
char* PutFixed(char* p, double v, int decimals);

// The same as text; the fixed patterns here take any value.
void AppendFixed(std::string& out, double v, int decimals);
std::string FormatFixed(double v, int decimals);
std::string FormatStr(double v);

// Lenient numeric parse of a log field; the runtime's Val, with a quick path
// for the plain numbers the writer produces.
double FieldValue(const char* begin, const char* end);

// A number read from a log, made one the screens can show and compute with:
// NaN becomes 0, magnitudes beyond kLogValueLimit (inf, 1e400, no flight's
// value) become the limit, so no readout shows "Inf" or "NaN".
inline constexpr double kLogValueLimit = 1e9;
double LogValue(double v);

}  // namespace zarv::records
