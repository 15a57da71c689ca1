// Message boxes: MsgBox(prompt, buttons + icon, title), modal.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zarv {

// Buttons (style & 7).
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
// Icons (style & 0x70).
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
// Default button.
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

// Results.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

struct MsgBoxCall {
  std::string prompt;  // as given (CR LF breaks lines)
  int style = 0;
  std::string title;   // as shown ("Zarv" when none was given)
};

// Shows the message and waits for the answer. An empty title shows "Zarv".
// Closing the box answers Cancel where there is one, else the only button.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "");

// Test hook: answers every message box instead of the user (the box is not
// shown). nullptr restores the real boxes.
void SetMessageBoxResponder(std::function<int(const MsgBoxCall&)> responder);
// Every message box asked since the last clear (also without a responder).
const std::vector<MsgBoxCall>& MessageBoxCalls();
void ClearMessageBoxCalls();

}  // namespace zarv
