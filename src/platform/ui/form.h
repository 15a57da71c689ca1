// A form: one screen of the program. A screen is a class derived from Form
// that builds its controls as members and wires its handlers in the
// constructor:
//
//   class Process : public zarv::Form {
//    public:
//     Process();
//     zarv::Label Label1{*this};
//     zarv::CommandButton Command1{*this};
//    private:
//     void Form_Load();
//     void Command1_Click();
//   };
//   Process::Process() {
//     OnLoad = [this] { Form_Load(); };
//     Command1.OnClick = [this] { Command1_Click(); };
//   }
//
// Form objects are persistent: one object per screen, created once after the
// Application. Load/Unload only change whether the screen is loaded; Unload
// puts every property and control back to its state at the first Load, so
// a later Load starts as fresh. A form is never destroyed by the runtime.
//
// Window geometry is in twips (kTwipsPerPixel per pixel): Left and Top place
// the window manager's frame, Width and Height measure the client area
// inside it. ScaleWidth/ScaleHeight give the client area in pixels. A window
// the program places lies whole on the desktop, frame included; once it is
// on the screen, it is placed again where its frame turned out other than
// foreseen or the window system put it elsewhere.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/surface.h"
#include "platform/ui/events.h"

namespace zarv {


// A pop-up menu for Form::PopupMenu.
class Menu {
 public:
  struct Item {
    std::string caption;  // "-" is a separator
    bool checked = false;
    bool enabled = true;
    bool visible = true;
  };
  // Appends an item; returns its index.
  int AddItem(const std::string& caption);
  Item& operator[](int index) { return items_.at(static_cast<size_t>(index)); }
  const Item& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { items_.clear(); }

  // The chosen item's index.
  IndexHandler OnClick;

 private:
  std::vector<Item> items_;
};

class Form : public Container {
 public:
  Form();
  virtual ~Form();

  // ---- life cycle ----
  // Loads the form (raising Load) unless it is loaded. Not shown.
  void Load();
  // Loads when needed and shows the form, which becomes the active form.
  // Modal: returns when the form is hidden or unloaded; meanwhile the other
  // forms take no input (events, timers and DoEvents go on).
  void Show(bool modal = false);
  // Hides the form (loading it first when it is not loaded).
  void Hide();
  // Raises QueryUnload(Cancel, vbFormCode) and Unload(Cancel); unless one of
  // them cancels, the form is hidden, its timers stop and it goes back to
  // its state at the first Load. False when cancelled. Safe from the form's
  // own handlers.
  bool Unload();
  bool Loaded() const;
  bool Visible() const;
  void SetVisible(bool on);  // Show() or Hide()

  // ---- properties ----
  const std::string& Caption() const;
  void SetCaption(const std::string& text);
  double Left() const;  // twips
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double left, double top, double width, double height);
  // Centres the window, frame and all, on the point (twips), or on the free
  // area of the point's screen where it would not lie whole on that area
  // there. Centred again once the window manager's frame is known, also
  // after a size is set, until the window is placed or moved otherwise.
  void CentreOn(double xTwips, double yTwips);
  // The window's centre, frame and all (twips).
  double CentreX() const;
  double CentreY() const;
  // What the window manager's frame adds to Width and Height (twips): as
  // last seen round this window, else round any, until this one is framed.
  double FrameWidth() const;
  double FrameHeight() const;
  // Client area in pixels.
  double ScaleWidth() const;
  double ScaleHeight() const;
  int WindowState() const;  // vbNormal, vbMinimized, vbMaximized
  void SetWindowState(int state);
  int MousePointer() const;
  void SetMousePointer(int pointer);
  int BorderStyle() const;  // vbBSNone .. vbSizableToolWindow; default vbSizable
  void SetBorderStyle(int style);
  // Key events reach the form's handlers before the focused control's.
  bool KeyPreview() const;
  void SetKeyPreview(bool on);
  // Topic that F1 opens in the help window (0 = the contents).
  int HelpContextID() const;
  void SetHelpContextID(int topic);
  bool Enabled() const;
  void SetEnabled(bool on);
  // The back colour also clears the drawing, as on the runtime's forms.
  Color BackColor() const;
  void SetBackColor(Color c);
  // The image is always kept; AutoRedraw only decides whether Paint is raised.
  bool AutoRedraw() const;
  void SetAutoRedraw(bool on);

  // The form's drawing surface (its client area): Line, PSet, Print, ...
  Surface& Canvas();
  const Surface& Canvas() const;
  operator Surface&() { return Canvas(); }

  // The control that has the form's keyboard focus (nullptr for none).
  Control* ActiveControl() const;
  // Brings the form to the front and activates it (when shown).
  void SetFocus();
  void ZOrder(int position = vbBringToFront);
  void Refresh();
  // Shows the menu at the mouse pointer and waits for a choice; raises the
  // menu's OnClick with the chosen item (nothing when dismissed).
  void PopupMenu(Menu& menu);

  // ---- events ----
  Handler OnLoad;
  QueryUnloadHandler OnQueryUnload;
  UnloadHandler OnUnload;
  Handler OnActivate;
  Handler OnDeactivate;
  Handler OnResize;
  Handler OnPaint;  // AutoRedraw False only
  Handler OnClick;
  Handler OnDblClick;
  Handler OnGotFocus;
  Handler OnLostFocus;
  KeyHandler OnKeyDown;
  KeyHandler OnKeyUp;
  KeyPressHandler OnKeyPress;
  MouseHandler OnMouseDown;
  MouseHandler OnMouseMove;
  MouseHandler OnMouseUp;

  struct Impl;  // internal
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// Test hook: the frame (pixels) a window manager puts round every window
// with a border, instead of the one seen on the screen; all 0 restores it.
void SetWindowFrameOverride(int left, int top, int right, int bottom);

// Test hook for pop-up menus: answers instead of the user (the chosen index,
// or -1 to dismiss). nullptr restores the real menu.
void SetPopupMenuResponder(std::function<int(const Menu&)> responder);

}  // namespace zarv
