// Help: F1 (also sent with SendKeys("{F1}")) opens the program's own help
// window at the active form's HelpContextID. The text is a UTF-8 file
// "zarv-help.txt" in the program folder; a line "[n] title" starts topic n,
// the lines up to the next such line are its text, lines starting with ";"
// are comments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarv {

struct HelpTopic {
  int id = 0;
  std::string title;
  std::string text;  // lines joined by "\n", without trailing blank lines
};

std::vector<HelpTopic> ParseHelpText(std::string_view utf8);
// ProgramFolder()/zarv-help.txt
std::string HelpFilePath();

// Opens the help window (or brings it up) at the topic; an unknown topic or
// 0 shows the first topic. Without the help file the window says so.
void ShowHelp(int topic);
// The topic the help window shows; -1 when it is closed.
int HelpWindowTopic();
void CloseHelp();

}  // namespace zarv
