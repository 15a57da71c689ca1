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
// The text as the window shows it: the lines of a paragraph joined (a blank
// only between two Latin characters), paragraphs apart by a blank line; a
// line starting with "・", "-" or a blank keeps its own line.
std::string ReflowHelpText(std::string_view text);

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
};
// Where the help window goes for a form on the screen (frames included): on
// the side of the form with the most room, as large as that room allows up to
// its own size; where no side has room to read a topic in, at its own size
// over the form's lower part.
PixelRect PlaceHelpBeside(const PixelRect& form, const PixelRect& screen);
// ProgramFolder()/zarv-help.txt
std::string HelpFilePath();

class Form;

// Opens the help window (or brings it up) at the topic, beside the form that
// asked (the active form when none is given); an unknown topic or 0 shows
// the first topic. Without the help file the window says so. Esc and its
// "閉じる" button close it.
void ShowHelp(int topic, const Form* beside = nullptr);
// The topic the help window shows; -1 when it is closed.
int HelpWindowTopic();
void CloseHelp();

}  // namespace zarv
