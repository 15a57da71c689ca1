// The base of every control, the containers that hold controls, and
// control arrays. Controls are members of a screen class (a Form), created
// in its constructor with their container; they live as long as the form
// object. Geometry is in pixels relative to the container's top-left
// corner (for a control inside a frame too; where a layout gives twips,
// divide by kTwipsPerPixel).
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/ui/colors.h"
#include "platform/ui/events.h"

namespace zarv {

class Form;
class Control;

// Twips per pixel of the display; window sizes and positions are in twips.
inline constexpr double kTwipsPerPixel = 15.0;

// What holds controls: a form, a frame or a picture box.
class Container {
 public:
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;

  // The form this container belongs to (itself for a form).
  Form& ParentForm() const;

  struct Core;  // internal
  Core& core() const { return *core_; }

 protected:
  Container();
  ~Container();
  std::unique_ptr<Core> core_;
};

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // ---- geometry, pixels in the container ----
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double x);
  void SetTop(double y);
  void SetWidth(double w);
  void SetHeight(double h);
  void Move(double left, double top, double width, double height);

  // ---- common properties ----
  // The control's own Visible flag (it shows only when its containers do).
  bool Visible() const;
  void SetVisible(bool on);
  // Whether it shows now: its own flag, its containers' and its form's.
  bool Showing() const;
  bool Enabled() const;
  void SetEnabled(bool on);
  const std::string& Tag() const;
  void SetTag(const std::string& tag);
  const std::string& ToolTipText() const;
  void SetToolTipText(const std::string& text);
  // Font: the runtime's names ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", ...) mapped to
  // the installed faces; sizes in points at 96 dpi. Default "ＭＳ Ｐゴシック" 9 pt.
  const std::string& FontName() const;
  void SetFontName(const std::string& name);
  double FontSize() const;
  void SetFontSize(double points);
  bool FontBold() const;
  void SetFontBold(bool on);
  bool FontItalic() const;
  void SetFontItalic(bool on);
  bool FontUnderline() const;
  void SetFontUnderline(bool on);
  // Colours &HBBGGRR or system colours (colors.h).
  Color ForeColor() const;
  void SetForeColor(Color c);
  Color BackColor() const;
  void SetBackColor(Color c);
  int MousePointer() const;  // vbDefault, vbHourglass, ... (events.h)
  void SetMousePointer(int pointer);
  bool TabStop() const;
  void SetTabStop(bool on);

  // ---- methods ----
  void SetFocus();
  // vbBringToFront (0) or vbSendToBack (1) among the container's controls.
  void ZOrder(int position = vbBringToFront);
  void Refresh();
  // True while the control holds the keyboard focus of its form.
  bool HasFocus() const;

  // Position in a control array, -1 for a control that is not in one.
  int Index() const;
  Container& Parent() const;
  Form& ParentForm() const;

  // ---- events (not every control raises every one) ----
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

  // Internal: the design state (taken at the form's first load) and its
  // restoration at unload; copying for control arrays. No events fire.
  virtual void SaveDesign();
  virtual void RestoreDesign();
  virtual void CopyPropertiesFrom(const Control& other);

 protected:
  explicit Control(Container& parent);
  // Re-applies the whole state to the widget (after a restore or copy).
  virtual void ApplyAll();

 private:
  std::unique_ptr<Impl> impl_;
};

namespace detail {
// Registers work to do when form unloads (undone by the destructor).
class UnloadHook {
 public:
  UnloadHook(Form& form, std::function<void()> onUnload);
  ~UnloadHook();
  UnloadHook(const UnloadHook&) = delete;
  UnloadHook& operator=(const UnloadHook&) = delete;

 private:
  Form* form_;
  int id_;
};
// Destroys a control once no event handler is running any more.
void DestroyWhenIdle(std::unique_ptr<Control> control);
void SetControlIndex(Control& control, int index);
}  // namespace detail

// A control array: Text1(0) built with the form, further elements created
// at run time with Load(i) as copies of the lowest element (invisible until
// shown, as the runtime makes them). Unloading the form removes the
// elements created at run time.
//
//   ControlArray<TextBox> Text1{*this};
//   Text1.OnEach([this](TextBox& t, int i) {
//     t.OnClick = [this, i] { Text1_Click(i); };
//   });
//   Text1.Load(5).SetVisible(true);
template <class T>
class ControlArray {
 public:
  // Elements 0 .. designCount - 1 are built now (the design elements).
  explicit ControlArray(Container& parent, int designCount = 1)
      : parent_(parent), hook_(parent.ParentForm(), [this] { DropRunTimeElements(); }) {
    for (int i = 0; i < designCount; ++i) {
      auto element = std::make_unique<T>(parent_);
      detail::SetControlIndex(*element, i);
      items_.emplace(i, Item{std::move(element), true});
    }
  }
  ~ControlArray() = default;
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;

  // The element i; it must exist.
  T& operator()(int i) { return *items_.at(i).control; }
  T& operator[](int i) { return *items_.at(i).control; }
  const T& operator()(int i) const { return *items_.at(i).control; }
  bool Exists(int i) const { return items_.count(i) != 0; }
  int Count() const { return static_cast<int>(items_.size()); }
  int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
  int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }

  // Load Text1(i): a new element in the lowest element's container with its
  // properties, not visible. An existing element is returned as it is.
  T& Load(int i) {
    auto found = items_.find(i);
    if (found != items_.end()) return *found->second.control;
    const T& model = *items_.begin()->second.control;
    auto element = std::make_unique<T>(model.Parent());
    element->CopyPropertiesFrom(model);
    element->SetVisible(false);
    detail::SetControlIndex(*element, i);
    T& ref = *element;
    items_.emplace(i, Item{std::move(element), false});
    if (wire_) wire_(ref, i);
    return ref;
  }
  // Unload Text1(i) for an element created at run time.
  void Unload(int i) {
    auto found = items_.find(i);
    if (found == items_.end() || found->second.design) return;
    found->second.control->SetVisible(false);
    detail::DestroyWhenIdle(std::move(found->second.control));
    items_.erase(found);
  }

  // Calls wire for every element, now and whenever one is created.
  void OnEach(std::function<void(T&, int)> wire) {
    wire_ = std::move(wire);
    for (auto& [i, item] : items_) wire_(*item.control, i);
  }
  template <class F>
  void ForEach(F f) {
    for (auto& [i, item] : items_) f(*item.control, i);
  }

 private:
  struct Item {
    std::unique_ptr<T> control;
    bool design;
  };
  void DropRunTimeElements() {
    for (auto it = items_.begin(); it != items_.end();) {
      if (it->second.design) {
        ++it;
        continue;
      }
      it->second.control->SetVisible(false);
      detail::DestroyWhenIdle(std::move(it->second.control));
      it = items_.erase(it);
    }
  }

  Container& parent_;
  std::map<int, Item> items_;
  std::function<void(T&, int)> wire_;
  detail::UnloadHook hook_;
};

}  // namespace zarv
