// Filing the working copy of a new flight log under FlightData: each
// aircraft keeps at most ten logs, numbered from 0 without gaps, the newest
// with the highest number.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zarv::records {

// The aircraft file's name less its four-character extension, then ".csv".
std::string LogSuffixFor(const std::string& aircraftFileName);

// True when fileName is one digit followed by exactly suffix. Only such
// files are this aircraft's logs: "0XMarden7.csv" and "01Marden7.csv" are
// not logs of "Marden7.brd", nor "0747.csv" of "47.brd".
bool IsLogOf(const std::string& fileName, const std::string& suffix);

// What the user is told when an aircraft is chosen whose logs cannot be
// named in folder ("9" + suffix is longer than a name there may be): the
// aircraft file's name with the reason; "" when they can.
std::string LogNamesNotice(const std::string& folder, const std::string& aircraftFileName);

// This aircraft's logs in folder, in the folder list's order (by name).
std::vector<std::string> AircraftLogs(const std::string& folder, const std::string& suffix);

// The file operations filing uses; tests put failing ones in.
struct FileOps {
  std::function<bool(const std::string& from, const std::string& to)> Move;  // fails when `to` exists
  std::function<bool(const std::string& path)> Delete;
};
FileOps RuntimeFileOps();

struct FilingResult {
  bool Filed = false;       // the working copy became FiledName
  bool Discarded = false;   // too short or cancelled: the working copy was deleted
  std::string FiledName;    // e.g. "3Marden7.csv"
  std::string Problem;      // a message for the user when filing failed
};

// Files workingCopy into folder as the aircraft's newest log, or deletes it
// when logRowCount <= 3 or when the aircraft's logs cannot be named there
// (the user was told so when the aircraft was chosen). When a rename or delete fails filing stops there,
// nothing is overwritten and the working copy is kept. The folders are
// synced afterwards.
FilingResult FileFlightLog(const std::string& folder, const std::string& suffix, const std::string& workingCopy,
                           int32_t logRowCount, const FileOps& ops = RuntimeFileOps());

// Copies of the program in one folder share the working copy: each writes
// and files its log in turn, waiting this long for another's.
inline constexpr double kWorkingCopyWaitSeconds = 10;

struct NewLogFiling {
  bool Written = false;     // the log reached a working copy
  std::string WorkingCopy;  // the file it went to
  FilingResult Filing;      // its filing, when written
};

// Writes a new log (its file bytes) into workingCopy and files it into
// folder as FileFlightLog does, in this copy's turn. A file already in
// workingCopy (a log that could not be filed, which its user was told is
// there) is never written over: the log goes to the first free name beside
// it ("before1.csv", ...), as it does when another copy keeps its turn
// past waitSeconds (it is stopped), whose working copy that is.
NewLogFiling WriteAndFileLog(const std::string& workingCopy, const std::string& folder, const std::string& suffix,
                             std::string_view bytes, int32_t logRowCount,
                             double waitSeconds = kWorkingCopyWaitSeconds);

// A log that an earlier run left in workingCopy (it was killed before the
// filing, or the filing failed) is filed into folder as the newest log of
// the aircraft file named, by the same rule (a log of at most four rows is
// deleted). One that cannot be filed, or whose aircraft is not known, goes
// to a free name beside the working copy ("before1.csv", ...), so that the
// next flight cannot write over it. A copy of the program filing its own
// log there now is left to it. Returns the message for the user, empty
// when the log was filed or there was none.
std::string FileLeftoverLog(const std::string& workingCopy, const std::string& folder,
                            const std::string& aircraftFileName, const FileOps& ops = RuntimeFileOps());

}  // namespace zarv::records
