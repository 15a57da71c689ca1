// The aircraft data editor's content without the screen: row captions and
// tooltips, the airfoil and engine lists, reading the hand-over file into the
// entries, checking them and writing them back.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "aircraft/aircraft_data.h"

namespace zarv::shell {

inline constexpr int kEditorRows = 30;

// Caption of row 1..30 for the current aircraft (its launch speed and engine count).
std::string EditorRowCaption(int row, double launchSpeed, int engineCount);
// Tooltip of row 1..30 ("" for none).
std::string EditorRowTooltip(int row);

std::vector<std::string> WingAirfoilList(const std::string& selectedFileName, int engineCount);
std::vector<std::string> TailAirfoilList(int engineCount);
const std::vector<std::string>& EngineFamilyList();
// Engine models of a family; empty for any other text.
std::vector<std::string> EngineModelsFor(const std::string& family);

struct EditorEntries {
  std::string Name;                                 // field 0
  std::array<std::string, kEditorRows> Numbers{};   // fields 1..30 as read or typed
  std::string WingAirfoil, TailAirfoil;             // 31, 32
  int FinMoves = 0, TailplaneMoves = 0;             // check boxes: 1 = moves (33, 34)
  std::string EngineCountText, FuelText;            // 35, 36
  int EngineCountRead = 0;                          // shows the engine controls when > 0
  std::string EngineFamily, EngineModel;            // 37, 38
};

// Reads the hand-over file. A check box follows its field only for a value
// 0 <= v < 2, and then stays 0 or 1. False when the file cannot be read.
bool ReadEditorEntries(const std::string& path, EditorEntries& e);

// The names the editor's messages give the engine lists, which have no caption.
inline constexpr const char* kEngineFamilyCaption = "エンジンの種類";
inline constexpr const char* kEngineModelCaption = "エンジンの型式";

// The first entry, in the order of the fields, that is a text holding a line
// break or another control character (the tab excepted) or is not a number
// (in the pair rows 14, 15, 17, 20 and 28, whatever their captions, not one
// number or two joined by "/"); then the first that would make the flight
// model divide by zero; as a message naming its field; "" when the entries
// can be flown.
std::string CheckEditorEntries(const EditorEntries& e, double launchSpeed, int engineCount);

// The first entry whose value lies outside the range an aircraft file may
// hold, with the message the reader would give; "" when all are inside.
std::string CheckEditorRanges(const EditorEntries& e, double launchSpeed);

// The 55 lines the editor saves: tag, its entries (trimmed where the layout
// says so), and fields 39..53 formatted from the live values in a.
std::vector<std::string> EditorFileLines(const EditorEntries& e, aircraft::AircraftData& a);
// Writes them to the hand-over file (atomically); refused (*tooLarge set, the
// old file kept) when the file would be larger than its reader takes.
[[nodiscard]] bool SaveEditorEntries(const EditorEntries& e, aircraft::AircraftData& a, bool* tooLarge = nullptr);

}  // namespace zarv::shell
