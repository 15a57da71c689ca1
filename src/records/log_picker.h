// The log picker: lists the current aircraft's stored flight logs in
// FlightData, shows each one's date and distance, and reads the chosen one
// into the record its caller names, then hands over to the caller (the
// flight-data charts or the replay).
//
// Which files are this aircraft's logs: a name counts only when it is one or
// more digits followed by exactly the aircraft's LogSuffix (the aircraft
// file's name less its extension, then ".csv"), as the log filing numbers
// them. "3Marden7.csv" is Marden7's; "3xMarden7.csv", "Marden7.csv" and
// "3Marden7.CSV" are not.
//
// What the replay calls: OpenLogPicker(kLogCallerReplay, itsRecord, handOver).
// The lead wires LogPickerHost().ReadLog to the flight-log reader and
// LogSuffix to the flight screen's value.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "flight/flight_record.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace zarv::records {

// LogCaller values: who opened the picker.
inline constexpr int16_t kLogCallerNone = 0;
inline constexpr int16_t kLogCallerCharts = 1;
inline constexpr int16_t kLogCallerReplay = 2;

// Reads the log at path into record; false (with a message in error) when it
// could not be read.
using ReadLogFunction =
    std::function<bool(const std::string& path, flight::FlightRecord& record, std::string* error)>;

struct LogPickerLink {
  ReadLogFunction ReadLog;
  std::function<std::string()> LogSuffix;
  void Reset() { *this = LogPickerLink{}; }
};
LogPickerLink& LogPickerHost();

struct LogListing {
  std::string Name;  // file name
  std::string Row;   // "2024/07/15 14:05 153m"
};
// The row beside a log's name: modification time, then the distance that
// leads the log's first line.
std::string LogListRow(const DateTime& modified, const std::string& firstLine);
// This aircraft's logs in folder, in the file list's order.
std::vector<LogListing> ListAircraftLogs(const std::string& folder, const std::string& logSuffix);
// The first line of a file ("" when it cannot be read).
std::string FirstLine(const std::string& path);

// Called after a log was read: its summary line (the log's first line).
using LogHandOver = std::function<void(const std::string& summary)>;

class FileSelectForm : public Form {
 public:
  FileSelectForm();
  Label Label2{*this};   // ディレクトリ：
  Label Label5{*this};   // the folder listed
  DirListBox Dir1{*this};
  Label Label4{*this};   // ファイル名：
  TextBox Text1{*this};  // the name to open
  ListBox List1{*this};  // names
  ListBox List2{*this};  // dates and distances
  Label Label1{*this};   // first line of the named log
  CommandButton Command2{*this};  // OK
  CommandButton Command4{*this};  // ｷｬﾝｾﾙ(Esc)
  FileListBox File1{*this};       // hidden source of the listing

  // Sets who asked, where the log goes and what follows a read; then Show.
  void Prepare(int16_t caller, flight::FlightRecord* target, LogHandOver handOver);
  // OK: checks the name, reads the log and hands over.
  void Command2_Click();

 private:
  void Form_Load();
  void Dir1_Change();
  void List1_Click();
  void Text1_Change();
  void Form_Unload(int& cancel);
  // The name in Text1: a listed log's own bytes while Text1 shows it.
  std::string TypedName() const { return shown_.Typed(Text1.Text()); }

  int16_t caller_ = kLogCallerNone;
  flight::FlightRecord* target_ = nullptr;
  LogHandOver handOver_;
  bool reading_ = false;
  std::vector<std::string> listed_;  // the names of List1's rows, as their bytes
  ShownFileName shown_;
};

FileSelectForm& File_Select();

// Opens the picker for caller; the chosen log is read into target and
// handOver runs. Cancel leaves the caller's screen as it was.
void OpenLogPicker(int16_t caller, flight::FlightRecord& target, LogHandOver handOver);

// Messages of the picker.
extern const char* const kChooseFileMessage;   // a name of 5 characters or fewer
extern const char* const kNoSuchFileMessage;   // followed by the name
extern const char* const kUnreadableMessage;   // the reader failed (or is missing)

}  // namespace zarv::records
