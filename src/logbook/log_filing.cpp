#include "logbook/log_filing.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/runtime/files.h"
#include "platform/runtime/text.h"

namespace zarv::records {

namespace {

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

FilingResult Failed(const std::string& workingCopy) {
  FilingResult r;
  r.Problem = "飛行記録ﾌｧｲﾙを整理できませんでした。\r\n今回の記録は " + workingCopy + " に残してあります。";
  return r;
}

}  // namespace

std::string LogSuffixFor(const std::string& aircraftFileName) {
  return Left(aircraftFileName, Len(aircraftFileName) - 4) + ".csv";
}

bool IsLogOf(const std::string& fileName, const std::string& suffix) {
  if (suffix.empty() || fileName.size() <= suffix.size()) return false;
  const size_t digits = fileName.size() - suffix.size();
  if (fileName.compare(digits, std::string::npos, suffix) != 0) return false;
  return std::all_of(fileName.begin(), fileName.begin() + static_cast<std::ptrdiff_t>(digits),
                     [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> AircraftLogs(const std::string& folder, const std::string& suffix) {
  std::vector<std::string> logs;
  for (const std::string& name : ListFiles(folder, "*.csv"))
    if (IsLogOf(name, suffix)) logs.push_back(name);
  return logs;
}

FileOps RuntimeFileOps() {
  return {[](const std::string& from, const std::string& to) { return MoveFile(from, to); },
          [](const std::string& path) { return DeleteFile(path); }};
}

FilingResult FileFlightLog(const std::string& folder, const std::string& suffix, const std::string& workingCopy,
                           int32_t logRowCount, const FileOps& ops) {
  if (logRowCount <= 3) {
    FilingResult r;
    r.Discarded = ops.Delete(workingCopy) || !Exists(workingCopy);
    return r;
  }
  auto path = [&](double n) { return JoinPath(folder, Str(n).substr(1) + suffix); };
  auto nameOf = [&](double n) { return Str(n).substr(1) + suffix; };

  // Close the gaps, lowest number first (the list's name order would put
  // "10" before "2").
  std::vector<std::string> logs = AircraftLogs(folder, suffix);
  std::stable_sort(logs.begin(), logs.end(),
                   [](const std::string& a, const std::string& b) { return Val(a) < Val(b); });
  double n = -1;
  for (const std::string& name : logs) {
    const double v = std::floor(Val(name));
    if (v > n + 1) {
      if (Exists(path(n + 1)) || !ops.Move(JoinPath(folder, name), path(n + 1))) return Failed(workingCopy);
      n = n + 1;
    } else {
      n = v;
    }
  }

  FilingResult r;
  if (n >= 9) {
    // Ten logs: the oldest goes, the others move down by one.
    if (Exists(path(0)) && !ops.Delete(path(0))) return Failed(workingCopy);
    for (int k = 0; k <= 8; ++k) {
      if (!Exists(path(k + 1))) continue;
      if (Exists(path(k)) || !ops.Move(path(k + 1), path(k))) return Failed(workingCopy);
    }
    n = 8;
  }
  if (Exists(path(n + 1)) || !ops.Move(workingCopy, path(n + 1))) return Failed(workingCopy);
  r.Filed = true;
  r.FiledName = nameOf(n + 1);
  return r;
}

}  // namespace zarv::records
