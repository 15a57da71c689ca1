#include "flightscreen/flight_menu.h"

#include <algorithm>

#include "platform/runtime/numeric.h"
#include "platform/ui/msgbox.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen {
namespace {

const char* const kHelp = "ヘルプ             F1";
const char* const kRanking = "順位               F2";
const char* const kAirfoil = "翼型特性           F3";
const char* const kAircraftChart = "機体特性           F4";
const char* const kFlightData = "フライトデータ     F5";
const char* const kReplay = "ビデオ             F6";
const char* const kEditor = "機体データの変更   F7";
const char* const kRegister = "機体の登録         F8";
const char* const kCancelFlight = "飛行のｷｬﾝｾﾙ Esc or F9";
const char* const kToPlatform = "ﾌﾟﾗｯﾄﾎｰﾑへ  Esc or F9";
const char* const kChange = "機体の交換        F10";
const char* const kQuit = " Zarv の終了      F12";

}  // namespace

MenuEntries MenuFor(MenuPhase phase) {
  // Heights of 5, 8 and 13 rows. The eleven-command list gets its 13 rows
  // already before the launch: it would hide most of its entries behind a
  // scroll bar in the 5 rows of the companion menu before it.
  switch (phase) {
    case kMenuCompanionLoad:
      return {4, {"随伴ﾓｰﾄﾞ解除 Esc or F9", "機体の交換         F10", "", " Zarv の終了       F12"}, 78};
    case kMenuWritingLog:
      return {4, {"ﾌｧｲﾙ作成解除 Esc or F9", "選択画面に戻る     F10", "", " Zarv の終了       F12"}, 78};
    case kMenuInFlight:
      return {6, {kHelp, kFlightData, kReplay, kCancelFlight, kChange, "", kQuit}, 124.8};
    case kMenuBeforeLaunch:
    case kMenuAfterFlight:
      break;
  }
  return {11,
          {kHelp, kRanking, kAirfoil, kAircraftChart, kFlightData, kReplay, kEditor, kRegister,
           phase == kMenuAfterFlight ? kToPlatform : kCancelFlight, kChange, "", kQuit},
          202.8,
          phase == kMenuBeforeLaunch ? 202.8 : 0.0};
}

int16_t HoveredMenuRow(double y, int16_t menuItemCount, int listCount) {
  int row = CInt(std::clamp(y / kMenuRowPitch - 0.5, -1000.0, 1000.0));
  if (row > menuItemCount) row = menuItemCount;
  return static_cast<int16_t>(std::clamp(row, 0, std::max(listCount - 1, 0)));
}

MenuCommand CommandForEntry(const std::string& text) {
  const struct {
    const char* text;
    MenuCommand command;
  } table[] = {
      {kHelp, MenuCommand::Help},
      {kRanking, MenuCommand::Ranking},
      {kAirfoil, MenuCommand::AirfoilChart},
      {kAircraftChart, MenuCommand::AircraftChart},
      {kFlightData, MenuCommand::FlightData},
      {kReplay, MenuCommand::Replay},
      {kEditor, MenuCommand::Editor},
      {kRegister, MenuCommand::Registration},
      {kToPlatform, MenuCommand::CancelOrPlatform},
      {kCancelFlight, MenuCommand::CancelOrPlatform},
      {kChange, MenuCommand::ChangeAircraft},
      {kQuit, MenuCommand::Quit},
  };
  for (const auto& e : table)
    if (text == e.text) return e.command;
  return MenuCommand::None;
}

}  // namespace zarv::flightscreen
