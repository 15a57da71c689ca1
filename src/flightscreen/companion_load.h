// Loading the companion flight: the first flight log ("*.csv") in the
// program folder is read into the companion record, sample by sample, with
// the outline block of the aircraft that flew it. The flight screen's load
// calls LoadCompanionFlight once, before its menu, start state and wind
// sound; the flight loop then moves the companion (UpdateCompanionPosition)
// and fires at it (UpdateGunRounds), see ConnectCompanionSeams.
//
// The reader is lenient: any text parses (a field without a number is 0),
// and there is no message. The log's own layout decides how it is read,
// whatever aircraft is flown now: a column-name line of 35 columns is a
// powered aircraft's (rows from 1, positions shifted by -20 m east and
// +22 m north), a narrower one a light aircraft's (rows from 40, the first
// two seconds).
// Reading stops at the end of the file, at the record's capacity, and at the
// first line that cannot be a data row (one without a comma: the engine
// trailer or the outline title of a log whose writer was cancelled); a last
// row cut off by the end of the file (records::LogRowFields) is dropped, as
// the log reader drops it. What was read is kept. The file is read a block
// at a time, only as far as needed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flight/flight_seams.h"
#include "flight/flight_state.h"
#include "model/outline.h"
#include "model/polygon_list.h"
#include "model/rotation.h"

namespace zarv::flightscreen {

inline constexpr int kLightFirstRow = 40;     // the first row a light log's companion uses
inline constexpr int kOutlineBlockLines = 452;

// The progress dialog as the loader drives it. Empty hooks are skipped (a
// headless load).
struct CompanionLoadProgress {
  std::function<void()> Opened;  // a log was taken, before its rows: the companion menu shows
  std::function<void(const std::string&)> SetTitle;  // the dialog's title caption (shows it)
  std::function<void(const std::string&)> SetText;   // the progress caption (draws the bar)
  std::function<void()> Yield;   // pending events, once per row: the cancel acts here
  std::function<void()> Close;   // unloads the dialog after the companion part
};

struct CompanionLoadResult {
  bool FileTaken = false;  // a log was found and read
  std::string FileName;
  bool Powered = false;    // the log's layout
};

// Reads the companion from the first "*.csv" in programFolder whose name is
// longer than five characters. The companion is reset first. Bounds its row
// loop by record.LogRowCount, re-read after every yield, so a cancel that
// zeroes it ends the load with no companion. On return
// companion.CompanionSampleCount is the log's last row index (0 when no row
// was usable), and `reference` holds the companion's part pivots when its
// outline block was read. taskStartTime gets Timer() seconds during the
// rows, 0 after.
CompanionLoadResult LoadCompanionFlight(const std::string& programFolder,
                                        flight::FlightRecord& record,
                                        flight::CompanionData& companion,
                                        model::PartReference& reference, double& taskStartTime,
                                        const CompanionLoadProgress& progress);

// The same on the program-wide records: ProgramFolder(), Record(),
// Companion(), the model scene's part references and the shell's task time.
CompanionLoadResult LoadCompanionFlight(const CompanionLoadProgress& progress);

// The progress caption at row `row` of `rows`: "37％完了しました", and once
// more than 0.5 s have passed, CR LF "あと12秒かかります".
std::string CompanionProgressText(int32_t row, int32_t rows, double elapsedSeconds);

// A row split as the loader splits it: commas separate fields, at most
// `maxFields` fields from at most `maxChars` characters; the field after
// the last separator keeps only its first character.
std::vector<std::string> SplitLogLine(const std::string& line, int maxFields, int maxChars);

// Fills the flight loop's UpdateCompanion and UpdateGunRounds hooks with the
// companion and the gun on the given records. The view setup is read at each
// step (the cockpit view's projection as last drawn); SetHitVolume is the
// sound's level change at a hit, called whenever the sound is on.
struct CompanionSeamLinks {
  flight::FlightState* State = nullptr;
  flight::FlightRecord* Record = nullptr;
  flight::CompanionData* Companion = nullptr;
  const model::AirframeOutline* Outline = nullptr;
  const model::ViewSetup* View = nullptr;
  const int16_t* SoundOn = nullptr;  // the flight options' sound switch
  std::function<void()> SetHitVolume;
};
void ConnectCompanionSeams(flight::FlightSeams& seams, const CompanionSeamLinks& links);

}  // namespace zarv::flightscreen
