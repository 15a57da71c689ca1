// The shell's screens. Each is one persistent form object, reached through
// its accessor; create the Application before the first call.
#pragma once

#include <string>

#include "platform/runtime/cp932.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/timer.h"

namespace zarv::shell {

// Start screen: splash on a normal start, waiting screen in start mode 3.
class BeginForm : public Form {
 public:
  BeginForm();
  Label Label1{*this};
  TimerControl Timer1{*this};

  bool Unloading() const { return unloading_; }

 private:
  void Form_Load();
  void Timer1_Timer();
  void Label1_Click();
  void Form_Unload(int& cancel);
  void DrawSplash();
  void DrawWaitingScreen();
  bool sequenceDone_ = false;
  bool unloading_ = false;
  int16_t startMode_ = 0;  // the start mode this run dispatches on
};

class NoticeForm : public Form {
 public:
  NoticeForm();
  CommandButton Command1{*this};  // 次へ
  CommandButton Command2{*this};  // 注意事項
  CommandButton Command4{*this};  // ヘルプ
  CommandButton Command3{*this};  // ｷｬﾝｾﾙ
  CheckBox Check1{*this};
  TextBox Text1{*this};

 private:
  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  void Command4_Click();
  void Form_Unload(int& cancel);
  void DrawBorder();
};

// The hangar: choose an aircraft, or register the current one (ScreenMode 20).
class ChoiceForm : public Form {
 public:
  ChoiceForm();
  Label Label4{*this};
  TextBox Text1{*this};
  FileListBox File1{*this};
  Label Label2{*this};
  DirListBox Dir1{*this};
  CommandButton Command2{*this};  // OK / 登　録
  CommandButton Command4{*this};  // 戻る
  CommandButton Command1{*this};  // ｷｬﾝｾﾙ(Esc)
  TimerControl Timer1{*this};

 private:
  void Form_Load();
  void Command2_Click();
  void SelectOk();
  void RegisterOk();
  void Command4_Click();
  void Dir1_Change();
  void Form_Unload(int& cancel);
  int Ask(const std::string& prompt, int style);
  // The name box shows a listed name read as ShownName does; the OK takes
  // the name's own bytes while the box still shows it.
  void ShowFileName(const std::string& name);
  std::string TypedFileName() const;
  bool asking_ = false;
  ShownFileName shown_;
};

// The progress dialog of long tasks.
class ProcessForm : public Form {
 public:
  ProcessForm();
  Label Label2{*this};
  Label Label1{*this};
  CommandButton Command1{*this};
  // Width of the green bar drawn so far (it only grows).
  int BarWidth() const { return barWidth_; }
  // The dialog's keys, also as the window under it passes them on: Esc and
  // F9 cancel; F10 and F12 cancel and ask the task for a change of aircraft
  // or the end (while LogCaller is 0); other keys do nothing.
  void CancelKey(int keyCode);

 private:
  void Form_Load();
  void Label1_Change();
  void Command1_Click();
  int barWidth_ = 0;
};

// The aircraft data editor.
class WriteForm : public Form {
 public:
  WriteForm();
  Label Label1{*this};  // the caption column's text (shown row by row in RowCaption)
  ControlArray<Label> RowCaption{*this};
  ControlArray<TextBox> Text1{*this};
  Frame Frame2{*this};
  CommandButton Command1{Frame2};  // ＯＫ
  CommandButton Command2{Frame2};  // ｷｬﾝｾﾙ(Esc)
  CommandButton Command3{Frame2};  // ヘルプ
  Label Label2{Frame2};
  TextBox Text2{Frame2};
  Label Label3{Frame2};
  ComboBox Combo1{Frame2};
  Label Label4{Frame2};
  ComboBox Combo2{Frame2};
  CheckBox Check1{Frame2};
  CheckBox Check2{Frame2};
  CommandButton Command6{Frame2};  // 印刷
  Label Label5{Frame2};
  TextBox Text3{Frame2};
  Label Label6{Frame2};
  TextBox Text4{Frame2};
  ComboBox Combo3{Frame2};
  ComboBox Combo4{Frame2};
  TimerControl Timer1{*this};

  int EditorFieldIndex() const { return fieldIndex_; }

 private:
  void Form_Load();
  void Command1_Click();
  void Command6_Click();
  void Label1_Click();
  void Combo4_DropDown();
  void Timer1_Timer();
  int fieldIndex_ = 0;
  std::string loadedFamily_, loadedModel_;
};

BeginForm& Begin();
NoticeForm& Notice();
ChoiceForm& Choice();
ProcessForm& Process();
WriteForm& Write_();

// Ends the program through the restart: shows a message when the new
// process could not be started.
void RestartProgram();

}  // namespace zarv::shell
