#include "shell/hangar.h"

#include <filesystem>

#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "aircraft/aircraft_file.h"

namespace zarv::shell {

namespace {

std::string FolderWithSeparator(const std::string& folder) {
  if (!folder.empty() && folder.back() == '/') return folder;
  return folder + "/";
}

bool SamePath(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  const auto na = std::filesystem::weakly_canonical(a, ec);
  const auto nb = std::filesystem::weakly_canonical(b, ec);
  return !ec && na == nb;
}

// Some component of name, between "/" or "\\", is ".." (blanks around it
// count for nothing).
bool IsParentComponent(const std::string& name) {
  size_t start = 0;
  while (true) {
    const size_t end = name.find_first_of("/\\", start);
    if (Trim(std::string_view(name).substr(start, end - start)) == "..") return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

}  // namespace

bool SelectAircraft(const std::string& folder, const std::string& name,
                    const std::vector<std::string>& listed, aircraft::AircraftData& a, Settings& s,
                    ShellState& sh, std::string* message) {
  sh.SelectedFileName = name;
  if (HoldsLineBreak(folder)) {
    if (message) *message = std::string(kLineBreakFolderMessage) + "\r\n" + ShownName(folder);
    return false;
  }
  s.HangarDir = FolderWithSeparator(folder);
  bool found = false;
  for (const auto& entry : listed) found = found || entry == name;
  if (!found || name.empty()) {
    if (message) *message = kChooseAircraftMessage;
    return false;
  }
  if (HoldsLineBreak(name)) {
    if (message) *message = std::string(kLineBreakFileNameMessage) + "\r\n" + ShownName(name);
    return false;
  }
  const std::string path = JoinPath(folder, name);
  aircraft::AircraftData loaded;
  std::string why;
  if (!aircraft::LoadAircraftData(path, loaded, &why)) {
    if (message) *message = std::string(kUnreadableAircraftMessage) + "\r\n" + ShownName(path) + "\r\n" + why;
    return false;
  }
  bool tooLarge = false;
  if (!aircraft::SaveHandOverFile(loaded, path, &tooLarge)) {
    if (message)
      *message = std::string(kHandOverWriteFailedMessage) + "\r\n" + ShownName(aircraft::HandOverPath()) +
                 (tooLarge ? kTooLargeToReadNote : "");
    return false;
  }
  s.AircraftFilePath = path;
  s.AircraftFileName = name;
  a = std::move(loaded);
  return true;
}

RegistrationCheck CheckRegistrationName(const std::string& folder, const std::string& name) {
  const std::string trimmed = Trim(name);
  if (trimmed.empty() || name == "*.brd") return RegistrationCheck::Invalid;
  // A plain file name only: no way out of the shown folder. ".." inside a
  // name ("my..plane.brd") is harmless; as a whole component it is not.
  if (name.find_first_of("/\\*?") != std::string::npos || HoldsLineBreak(name) || IsParentComponent(name))
    return RegistrationCheck::Invalid;
  const std::string target = JoinPath(folder, name);
  if (SamePath(target, aircraft::HandOverPath())) return RegistrationCheck::Invalid;
  if (DirExists(target)) return RegistrationCheck::Invalid;
  return FileExists(target) ? RegistrationCheck::Exists : RegistrationCheck::New;
}

std::string RegistrationFileName(const std::string& name) {
  if (Trim(name).empty() || !std::filesystem::path(name).extension().empty()) return name;
  return name + ".brd";
}

std::string OverwriteQuestion(const std::string& folder, const std::string& name) {
  return FolderWithSeparator(folder) + name + "\r\nこのファイルは存在します。\r\n上書きしますか？";
}

std::string RegistrationFolderRefusal(const std::string& folder) {
  return HoldsLineBreak(folder) ? std::string(kLineBreakFolderRegisterMessage) + "\r\n" + ShownName(folder) : std::string();
}

bool RegisterAircraft(const std::string& folder, const std::string& name, Settings& s,
                      std::string* message) {
  const std::string refusal = RegistrationFolderRefusal(folder);
  if (!refusal.empty()) {
    if (message) *message = refusal;
    return false;
  }
  bool ok = false;
  const std::string bytes = ReadAllBytes(aircraft::HandOverPath(), &ok, aircraft::kMaxAircraftFileBytes);
  if (!ok || bytes.empty()) {
    if (message) *message = kUnreadableAircraftMessage;
    return false;
  }
  // The lines as they are (cp932 bytes untouched), each ending in CR LF.
  std::string out;
  int lines = 0;
  size_t at = 0;
  while (at < bytes.size() && lines < aircraft::kAircraftLineCount) {
    out.append(NextTextLine(bytes, at)).append("\r\n");
    ++lines;
  }
  const std::string target = JoinPath(folder, name);
  // Line ends made CR LF can take a hand-over file past what the reader takes.
  const bool tooLarge = static_cast<int64_t>(out.size()) > aircraft::kMaxAircraftFileBytes;
  if (tooLarge || !AtomicWriteBytes(target, out)) {
    if (message)
      *message = std::string("ファイルを書き込めません。\r\n") + ShownName(target) + (tooLarge ? kTooLargeToReadNote : "");
    return false;
  }
  s.AircraftFileName = name;
  s.AircraftFilePath = target;
  return true;
}

}  // namespace zarv::shell
