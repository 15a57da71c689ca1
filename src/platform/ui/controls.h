// The controls of a form. Each is constructed with its container (the form,
// a Frame or a PictureBox) as a member of the screen class:
//
//   zarv::Label Label1{*this};
//   zarv::Frame Frame2{*this};
//   zarv::CommandButton Command1{Frame2};
//
// Setting a value from code raises the same Click/Change event as the user's
// action would, when the value changes (check and option buttons, list
// indexes, scroll bars, folder lists, texts).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/surface.h"

namespace zarv {


class Label : public Control {
 public:
  explicit Label(Container& parent);
  ~Label() override;

  // The text; CR LF or LF break lines. Raises Change when it differs.
  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  // Grows or shrinks to fit the caption (with WordWrap: only the height).
  bool AutoSize() const;
  void SetAutoSize(bool on);
  bool WordWrap() const;
  void SetWordWrap(bool on);
  int Alignment() const;  // vbLeftJustify, vbRightJustify, vbCenter
  void SetAlignment(int alignment);
  int BackStyle() const;  // vbTransparent or vbOpaque (default)
  void SetBackStyle(int style);
  int BorderStyle() const;  // 0 none (default), 1 fixed single
  void SetBorderStyle(int style);

  Handler OnChange;

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  void Fit();
  std::unique_ptr<Data> d_;
};

class CommandButton : public Control {
 public:
  explicit CommandButton(Container& parent);
  ~CommandButton() override;

  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  // The default button answers Enter, the cancel button Esc (one of each per
  // form; setting one clears the flag on the form's other buttons).
  bool Default() const;
  void SetDefault(bool on);
  bool Cancel() const;
  void SetCancel(bool on);
  // Value = True presses the button from code (raises Click).
  void SetValue(bool pressed);

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(Container& parent);
  ~CheckBox() override;

  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  // vbUnchecked 0, vbChecked 1, vbGrayed 2. Setting a different value
  // raises Click, as the user's click does.
  int Value() const;
  void SetValue(int value);
  int Alignment() const;  // vbLeftJustify (box left, default) or vbRightJustify
  void SetAlignment(int alignment);

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

// Option buttons of one container exclude each other.
class OptionButton : public Control {
 public:
  explicit OptionButton(Container& parent);
  ~OptionButton() override;

  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  // Setting True clears the other option buttons of the container and
  // raises Click (when it was False); setting False raises nothing.
  bool Value() const;
  void SetValue(bool on);
  int Alignment() const;
  void SetAlignment(int alignment);

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

class TextBox : public Control {
 public:
  explicit TextBox(Container& parent);
  ~TextBox() override;

  // The text; a multi-line box gives its lines joined by CR LF. Setting a
  // different text raises Change, as typing does.
  std::string Text() const;
  void SetText(const std::string& text);
  bool MultiLine() const;
  void SetMultiLine(bool on);
  int ScrollBars() const;  // vbSBNone, vbHorizontal, vbVertical, vbBoth (multi-line)
  void SetScrollBars(int bars);
  // Locked: the user cannot change the text.
  bool Locked() const;
  void SetLocked(bool on);
  int MaxLength() const;  // 0 = no limit
  void SetMaxLength(int characters);
  int Alignment() const;
  void SetAlignment(int alignment);
  int BorderStyle() const;  // 1 fixed single (default) or 0 none
  void SetBorderStyle(int style);
  // Selection, in characters.
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);

  Handler OnChange;

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

// The list part shared by ComboBox and ListBox.
class ListControl : public Control {
 public:
  ~ListControl() override;

  // AddItem item [, index]: at the end, or before entry index.
  void AddItem(const std::string& item, int index = -1);
  void RemoveItem(int index);
  virtual void Clear();
  int ListCount() const;
  // List(i): "" outside 0 .. ListCount - 1.
  std::string List(int index) const;
  void SetList(int index, const std::string& item);
  // -1 = nothing selected. Setting another index raises Click.
  int ListIndex() const;
  void SetListIndex(int index);
  // The text of the selected entry ("" without one).
  std::string Text() const;

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  explicit ListControl(Container& parent);
  void ApplyAll() override;
  // Puts the list and selection of the state onto the widget.
  virtual void ShowList() = 0;
  virtual void ShowSelection() = 0;
  Data& data() const { return *d_; }

 private:
  std::unique_ptr<Data> d_;
};

class ComboBox : public ListControl {
 public:
  explicit ComboBox(Container& parent);
  ~ComboBox() override;

  // vbComboDropDown (0, editable, default) or vbComboDropDownList (2).
  int Style() const;
  void SetStyle(int style);
  void Clear() override;
  // The edit text (style 0) or the selected entry (style 2). In style 2
  // setting a text selects the equal entry (raising Click); other texts are
  // ignored.
  std::string Text() const;
  void SetText(const std::string& text);

  Handler OnChange;    // the edit text changed (style 0)
  Handler OnDropDown;  // the list is about to open

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct ComboData;

 protected:
  void ApplyAll() override;
  void ShowList() override;
  void ShowSelection() override;

 private:
  std::unique_ptr<ComboData> c_;
};

class ListBox : public ListControl {
 public:
  explicit ListBox(Container& parent);
  ~ListBox() override;

  // Single selection: Selected(i) is ListIndex = i; setting it selects or
  // clears that entry.
  bool Selected(int index) const;
  void SetSelected(int index, bool on);
  // First entry shown at the top.
  int TopIndex() const;
  void SetTopIndex(int index);
  // Pixels from one row to the next, also a fraction: row k starts
  // round(k x pitch) pixels below the top of the list's inside. 0 (default)
  // leaves it to the style. Screens that pick the row under the pointer by
  // a pitch, or line other controls up with the rows, rely on it. The mouse
  // events of a list give the pointer from the top left of its inside, at
  // the centre of the pixel it is on (y + 0.5), so that such a formula
  // picks the row drawn under the pointer.
  double RowHeight() const;
  void SetRowHeight(double pixels);

 protected:
  void ShowList() override;
  void ShowSelection() override;
};

// The files of a folder that match a pattern, sorted case-insensitively.
class FileListBox : public Control {
 public:
  explicit FileListBox(Container& parent);
  ~FileListBox() override;

  // Folder; "\" is taken as "/", a trailing separator is dropped. Starts at
  // the working folder. Setting it lists the folder anew and clears the
  // selection; false (nothing changes) when the folder does not exist.
  const std::string& Path() const;
  bool SetPath(const std::string& path);
  // "*.brd", "*.csv", "*" (default); several patterns separated by ";".
  const std::string& Pattern() const;
  void SetPattern(const std::string& pattern);
  // The selected file's name ("" without one). Setting a name selects it
  // (raising Click); a name with "*" or "?" sets the pattern.
  std::string FileName() const;
  void SetFileName(const std::string& name);
  int ListCount() const;
  std::string List(int index) const;  // "" outside the list
  int ListIndex() const;              // -1 = none
  void SetListIndex(int index);       // raises Click when it changes
  // Lists the folder again (files may have come or gone).
  void Refresh();

  Handler OnPathChange;
  Handler OnPatternChange;

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  void Relist();
  std::unique_ptr<Data> d_;
};

// A folder and its sub-folders. List(i) for i >= 0 are the full paths of the
// sub-folders (sorted case-insensitively), List(-1) the folder itself,
// List(-2) its parent and so on.
class DirListBox : public Control {
 public:
  explicit DirListBox(Container& parent);
  ~DirListBox() override;

  // Starts at the working folder. Moving to another existing folder raises
  // Change (also while the form loads); false when the folder does not exist.
  const std::string& Path() const;
  bool SetPath(const std::string& path);
  int ListCount() const;  // number of sub-folders
  std::string List(int index) const;
  int ListIndex() const;  // -1 = the folder itself
  void SetListIndex(int index);
  void Refresh();

  Handler OnChange;

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  void Relist();
  std::unique_ptr<Data> d_;
};

// The drive list: a single drive "/" here.
class DriveListBox : public Control {
 public:
  explicit DriveListBox(Container& parent);
  ~DriveListBox() override;

  std::string Drive() const;  // "/"
  void SetDrive(const std::string& drive);
  int ListCount() const;
  std::string List(int index) const;
  int ListIndex() const;

  Handler OnChange;
};

class ScrollBar : public Control {
 public:
  ~ScrollBar() override;

  // Value in Min..Max (Min may exceed Max: the bar then runs the other
  // way). An out-of-range Value is clamped. Setting a different Value
  // raises Change, also from inside a Change handler.
  int Min() const;
  void SetMin(int value);
  int Max() const;
  void SetMax(int value);
  int Value() const;
  void SetValue(int value);
  int SmallChange() const;
  void SetSmallChange(int step);
  int LargeChange() const;
  void SetLargeChange(int step);

  Handler OnChange;  // value changed (code, arrows, page, end of a drag)
  Handler OnScroll;  // the thumb is being dragged

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  ScrollBar(Container& parent, bool vertical);
  void ApplyAll() override;

 private:
  void ShowRange();
  std::unique_ptr<Data> d_;
};

class HScrollBar : public ScrollBar {
 public:
  explicit HScrollBar(Container& parent) : ScrollBar(parent, false) {}
};

class VScrollBar : public ScrollBar {
 public:
  explicit VScrollBar(Container& parent) : ScrollBar(parent, true) {}
};

// A frame around a group of controls (their container).
class Frame : public Control, public Container {
 public:
  explicit Frame(Container& parent);
  ~Frame() override;

  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  int BorderStyle() const;  // 1 (default) draws the frame, 0 none
  void SetBorderStyle(int style);

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

// A picture box: a container with its own persistent drawing surface.
class PictureBox : public Control, public Container {
 public:
  explicit PictureBox(Container& parent);
  ~PictureBox() override;

  // The box's image (its AutoRedraw image): draw with Line, PSet, Print...,
  // BitBlt to and from it. It always has the size of the client area.
  Surface& Canvas();
  const Surface& Canvas() const;
  operator Surface&() { return Canvas(); }

  // Client area in pixels (inside the border).
  double ScaleWidth() const;
  double ScaleHeight() const;
  // The image is always kept; AutoRedraw only decides whether Paint is raised.
  bool AutoRedraw() const;
  void SetAutoRedraw(bool on);
  // With AutoSize the box takes the size of a picture set on its canvas.
  bool AutoSize() const;
  void SetAutoSize(bool on);
  int BorderStyle() const;  // 0 none (default), 1 fixed single (2 pixels each side)
  void SetBorderStyle(int style);
  // BackColor also clears the image, as on the runtime's picture boxes.

  Handler OnPaint;   // the box needs repainting (AutoRedraw False only)
  Handler OnResize;  // the size changed

  void SaveDesign() override;
  void RestoreDesign() override;
  void CopyPropertiesFrom(const Control& other) override;
  struct Data;

 protected:
  void ApplyAll() override;

 private:
  std::unique_ptr<Data> d_;
};

}  // namespace zarv
