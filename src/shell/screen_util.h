// Small helpers the shell's screens share.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/form.h"
#include "platform/ui/surface.h"
#include "shell/settings.h"

namespace zarv::shell {

// The window centred, frame and all, on the saved centre (twips), as
// Form::CentreOn does; a centre on none of the screens centres it on the
// screen.
void CentreOnWindowCentre(Form& form, int32_t centreX, int32_t centreY);
// Keeps the window's centre, frame and all, as the one screens centre on.
void RecordWindowCentre(const Form& form, Settings& s);
// Tells the user what was not saved, and where: "<what>を保存できませんでした。"
// and the file's path.
// tooLarge: refused because the file would be too large to read back.
void ReportNotSaved(const std::string& what, const std::string& path, bool tooLarge = false);
// Writes the program's settings to the settings file; a failure is reported.
bool SaveSettingsOrReport();
// Puts the window back to the size saved for its slot (when one is saved).
void KeepSavedSize(Form& form, int slot, bool normalOnly);
void SaveFormSize(Form& form, int slot);
// What became of a print (PrintForm's result): where there is no printer,
// the file the page went to, the one it could not be saved as, or the
// folder where every name was taken; a failure; a cancel needs no word.
// The message box bears the given caption.
inline constexpr const char* kPrintedToFileMessage =
    "プリンターが見つからないため、次のファイルに保存しました。";
inline constexpr const char* kPrintNotSavedMessage =
    "プリンターが見つからないため、次のファイルに保存しようとしましたが、保存できませんでした。";
inline constexpr const char* kPrintNamesTakenMessage =
    "プリンターが見つからないため、次のフォルダーに保存しようとしましたが、print000.pdf から print999.pdf "
    "までの名前がすべて使われているため、保存できませんでした。";
inline constexpr const char* kPrintFailedMessage = "印刷できませんでした。";
void ReportPrint(bool printed, const std::string& caption);
// The raised border of the start and notice screens, drawn with the given pen width.
void DrawRaisedBorder(Form& form, int width);
// The same along the edges of a drawing area w x h pixels (a panel's).
void DrawRaisedBorder(Surface& s, double w, double h, int width);

}  // namespace zarv::shell
