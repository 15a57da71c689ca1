// What the hangar's OK does, without the screen: choosing an aircraft file
// (it becomes the hand-over file) and registering the current aircraft under
// a new name.
#pragma once

#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

namespace zarv::shell {

inline constexpr const char* kChooseAircraftMessage = "機体を選んで下さい。";
inline constexpr const char* kInvalidFileNameMessage = "ファイル名が無効です。";
inline constexpr const char* kUnreadableAircraftMessage = "機体ファイルを読み込めません。";
// Followed by the name of a file whose name holds a line break: the
// settings keep the name on a line of its own.
inline constexpr const char* kLineBreakFileNameMessage = "ファイル名に改行が含まれているため、この機体は選べません。";
// Followed by the folder, for a hangar folder whose name holds a line break
// (the settings keep the folder on a line of its own too): choosing from it
// and registering into it.
inline constexpr const char* kLineBreakFolderMessage = "フォルダー名に改行が含まれているため、この機体は選べません。";
inline constexpr const char* kLineBreakFolderRegisterMessage = "フォルダー名に改行が含まれているため、ここには登録できません。";
// Followed by the path of the file that could not be written.
inline constexpr const char* kHandOverWriteFailedMessage = "機体データを保存できませんでした。";

// Select mode. folder is the shown hangar folder, name the name box, listed
// the files of the list. On success the aircraft is in a, the hand-over file
// is written and the settings point at the file; otherwise *message says why.
// A folder whose name holds a line break is refused and never kept.
bool SelectAircraft(const std::string& folder, const std::string& name,
                    const std::vector<std::string>& listed, aircraft::AircraftData& a, Settings& s,
                    ShellState& sh, std::string* message);

enum class RegistrationCheck { Invalid, Exists, New };
// The name must be a plain file name (not "*.brd", empty, a path, a folder,
// ".." or a pattern; ".." inside a longer name is fine),
// and not the hand-over file itself. Exists is looked up on disk.
RegistrationCheck CheckRegistrationName(const std::string& folder, const std::string& name);

// The file a registration writes: the name as typed, with ".brd" added when
// it has none (the hangar lists only aircraft files).
std::string RegistrationFileName(const std::string& name);

// The overwrite question for an existing file.
std::string OverwriteQuestion(const std::string& folder, const std::string& name);

// The message refusing registration into folder ("" when it may be used).
std::string RegistrationFolderRefusal(const std::string& folder);

// Copies the hand-over file (its first 55 lines, read whole first) into
// folder/name and points the settings at it. False with *message when the
// folder is refused, the hand-over file cannot be read or the file cannot be
// written.
bool RegisterAircraft(const std::string& folder, const std::string& name, Settings& s,
                      std::string* message);

}  // namespace zarv::shell
