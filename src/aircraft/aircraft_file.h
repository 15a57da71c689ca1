// Aircraft files (*.brd) and the hand-over file Temp/file.dat: 55 lines of
// cp932 text with CR LF, line 1 the tag, lines 2..55 fields 0..53.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "aircraft/aircraft_data.h"

namespace zarv::aircraft {

// 55 short lines: a file far larger is no aircraft file, and is not read.
inline constexpr int64_t kMaxAircraftFileBytes = 64 * 1024;
// The longest text the editor takes for a field (the name, a number). A line
// is at most 3 bytes a UTF-16 unit (a line cp932 cannot hold goes in UTF-8
// after a 3-byte mark): 33 typed lines of 3 + 3 * 255 + 2 = 770 bytes and 22
// short ones of under 64 come to 26,818 bytes, well below the 65,536 read.
inline constexpr int kMaxFieldTextLength = 255;

// Reads the file into out (every field, conversions and corrections applied;
// the tag as written, whatever it is; fields past the end of a short file
// read as empty text). False, with out holding the defaults and error saying
// why, when the file cannot be read, is no aircraft file at all (bytes that
// are no text, a numeric field that holds no number) or holds or lacks a
// value its field's range does not allow (field_ranges.h).
// The reader leaves the flight state alone: a caller that needs TrackAngle
// set to the current heading does that itself.
bool LoadAircraftData(const std::string& path, AircraftData& out, std::string* error = nullptr);

// Parses the lines of a file already in memory (the reading rules above,
// without the format and range checks).
void ParseAircraftLines(const std::vector<std::string>& lines, AircraftData& out);

// The control settings (fields 39..42) and the launch and weather
// conditions (45..53) read from the record's own field lines into its
// values, as the reader reads them; every other value is left alone.
void ReadSettingFields(AircraftData& a);

// The whole reading of lines already in memory: the format check, the
// parse and the range check. False, with out reset and error set, on a
// refusal.
bool ReadAircraftLines(const std::vector<std::string>& lines, AircraftData& out, std::string* error = nullptr);

// Writes the tag and the 54 field texts of AircraftLines, each trimmed of
// blanks (TrimmedField): the form of the hand-over file and of a saved
// aircraft file. Atomic. False when the file could not be written, or (with
// *tooLarge set) would be larger than kMaxAircraftFileBytes; the old one is
// then kept.
[[nodiscard]] bool SaveAircraftData(const std::string& path, const AircraftData& a, bool* tooLarge = nullptr);

// The 55 lines SaveAircraftData writes.
std::vector<std::string> AircraftFileLines(const AircraftData& a);

// Rewrites the file with the tag and the 54 field texts exactly as held,
// blanks included: the form of the back-to-platform rewrite, whose launch
// fields (StoreLaunchFields) begin with a blank. A line that stays as the
// file has it keeps its bytes. Atomic; refused as SaveAircraftData.
[[nodiscard]] bool SaveAircraftDataAsHeld(const std::string& path, const AircraftData& a, bool* tooLarge = nullptr);

// Hand-over file: ProgramPath("\Temp\file.dat").
std::string HandOverPath();
// The hand-over file of the aircraft read from aircraftPath: a line that
// reads as the aircraft file has it keeps that file's bytes.
[[nodiscard]] bool SaveHandOverFile(const AircraftData& a, const std::string& aircraftPath,
                                    bool* tooLarge = nullptr);

// Editor form: fields 39..53 of a.AircraftLines are set from the live values
// in the editor's pictures; 43 and 44 become "20" and "1.6".
void StoreEditorFields(AircraftData& a);

// Back-to-platform form: fields 39..42 and 45..53 of a.AircraftLines are set
// from the live values (leading-blank forms), 43 and 44 keep their texts.
void StoreLaunchFields(AircraftData& a);

// Numeric value of a field line and the second value of a pair field ("a/b":
// the text after the first "/" among the first 20 characters).
double FieldValue(std::string_view line);
double PairSecondValue(std::string_view line);
// Fields 14, 15, 17, 20 and 28 hold two values.
bool IsPairField(int field);
// A field's text as a writer writes it, trimmed of blanks; but a pair field
// whose trim would change its second value (19 blanks then "5/718": the "/"
// moves into the first 20 characters) keeps its leading blanks, so that
// the file reads as before.
std::string TrimmedField(int field, std::string_view line);

}  // namespace zarv::aircraft
