// Accessors of the shell's screens and what they share.
#include <cmath>

#include "platform/runtime/cp932.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "platform/ui/restart.h"
#include "shell/flight_screen_link.h"
#include "shell/screen_util.h"
#include "shell/screens.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "platform/runtime/program_state.h"

namespace zarv::shell {

FlightScreenLink& FlightScreen() { return ProgramWide<FlightScreenLink>(); }

BeginForm& Begin() {
  static BeginForm form;
  return form;
}
NoticeForm& Notice() {
  static NoticeForm form;
  return form;
}
ChoiceForm& Choice() {
  static ChoiceForm form;
  return form;
}
ProcessForm& Process() {
  static ProcessForm form;
  return form;
}
WriteForm& Write_() {
  static WriteForm form;
  return form;
}

void RestartProgram() {
  SetDeveloperMode(Shell().DeveloperMode);
  if (!Restart()) {
    MsgBox("プログラムを再起動できませんでした。\r\nもう一度起動して下さい。", vbExclamation,
           Shell().AppName);
    End();
  }
}

void CentreOnWindowCentre(Form& form, int32_t centreX, int32_t centreY) {
  // A centre kept from another screen layout, or an edited settings file.
  if (!Screen().OnAScreen(centreX, centreY)) {
    centreX = CLng(Screen().Width() / 2);
    centreY = CLng(Screen().Height() / 2);
  }
  form.CentreOn(centreX, centreY);
}

void RecordWindowCentre(const Form& form, Settings& s) {
  s.WindowCentreX = CLng(form.CentreX());
  s.WindowCentreY = CLng(form.CentreY());
}

void ReportNotSaved(const std::string& what, const std::string& path, bool tooLarge) {
  MsgBox(what + "を保存できませんでした。\r\n" + ShownName(path) + (tooLarge ? std::string(kTooLargeToReadNote) : ""),
         vbExclamation, Shell().AppName);
}

bool SaveSettingsOrReport() {
  bool tooLarge = false;
  if (SaveSettings(SettingsPath(), CurrentSettings(), &tooLarge)) return true;
  ReportNotSaved("設定", SettingsPath(), tooLarge);
  return false;
}

void ReportPrint(bool printed, const std::string& caption) {
  // Without a printer the page became a file; the user must learn where.
  if (!LastPrintFile().empty()) {
    MsgBox(std::string(kPrintedToFileMessage) + "\r\n" + ShownName(LastPrintFile()), vbInformation, caption);
  } else if (!LastUnsavedPrintFile().empty()) {
    MsgBox(std::string(kPrintNotSavedMessage) + "\r\n" + ShownName(LastUnsavedPrintFile()), vbExclamation, caption);
  } else if (!LastPrintFolderFull().empty()) {
    MsgBox(std::string(kPrintNamesTakenMessage) + "\r\n" + ShownName(LastPrintFolderFull()), vbExclamation, caption);
  } else if (!printed && !LastPrintCancelled()) {
    MsgBox(kPrintFailedMessage, vbExclamation, caption);
  }
}

void KeepSavedSize(Form& form, int slot, bool normalOnly) {
  ShellState& sh = Shell();
  if (normalOnly && form.WindowState() != vbNormal) return;
  const int16_t w = sh.FormSavedWidth[static_cast<size_t>(slot)];
  const int16_t h = sh.FormSavedHeight[static_cast<size_t>(slot)];
  if (w < 1 || h < 1) return;
  if (form.Width() != w) form.SetWidth(w);
  if (form.Height() != h) form.SetHeight(h);
}

void SaveFormSize(Form& form, int slot) {
  Shell().FormSavedWidth[static_cast<size_t>(slot)] = CInt(form.Width());
  Shell().FormSavedHeight[static_cast<size_t>(slot)] = CInt(form.Height());
}

void DrawRaisedBorder(Form& form, int width) { DrawRaisedBorder(form.Canvas(), form.ScaleWidth(), form.ScaleHeight(), width); }

void DrawRaisedBorder(Surface& s, double w, double h, int width) {
  s.SetDrawWidth(width);
  s.Line(2, h - 2, 2, 2, vbWhite);
  s.LineTo(w - 2, 2, vbWhite);
  s.Line(3, h - 2, w - 2, h - 2, vbButtonShadow);
  s.LineTo(w - 2, 3, vbButtonShadow);
  s.SetDrawWidth(1);
  s.PSet(2, h - 3, vbWhite);
  s.PSet(w - 3, 2, vbWhite);
}

}  // namespace zarv::shell
