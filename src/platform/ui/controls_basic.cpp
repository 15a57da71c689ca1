// Labels, buttons, check and option buttons, text boxes, scroll bars,
// frames and picture boxes.
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSize>

#include <algorithm>
#include <optional>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/surface.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

namespace {

Qt::Alignment HorizontalAlignment(int alignment) {
  switch (alignment) {
    case vbRightJustify: return Qt::AlignRight;
    case vbCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

// Check and option buttons: the box on the left (vbLeftJustify) or on the
// right (vbRightJustify) of the caption.
Qt::LayoutDirection BoxSide(int alignment) {
  return alignment == vbRightJustify ? Qt::RightToLeft : Qt::LeftToRight;
}

// Windows-classic sunken border, 2 pixels wide.
void DrawSunkenBorder(QPainter& p, int w, int h) {
  p.setPen(QColor(128, 128, 128));
  p.drawLine(0, 0, w - 2, 0);
  p.drawLine(0, 0, 0, h - 2);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(w - 1, 0, w - 1, h - 1);
  p.drawLine(0, h - 1, w - 1, h - 1);
  p.setPen(QColor(64, 64, 64));
  p.drawLine(1, 1, w - 3, 1);
  p.drawLine(1, 1, 1, h - 3);
  p.setPen(QColor(212, 208, 200));
  p.drawLine(w - 2, 1, w - 2, h - 2);
  p.drawLine(1, h - 2, w - 2, h - 2);
}

}  // namespace

// ================================================================= Label

struct Label::Data {
  struct S {
    std::string caption;
    bool autoSize = false;
    bool wordWrap = false;
    int alignment = vbLeftJustify;
    int backStyle = vbOpaque;
    int borderStyle = 0;
  };
  S s;
  std::optional<S> design;
  QLabel* label = nullptr;
};

Label::Label(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->label = new QLabel;
  d_->label->setTextFormat(Qt::PlainText);
  Impl& c = impl();
  c.focusable = false;
  c.passiveMouse = true;
  c.synthClick = true;
  c.s.width = 65;
  c.s.height = 17;
  c.Attach(d_->label, ControlKind::Label);
  c.onFont = [this] { Fit(); };
  ApplyAll();
}
Label::~Label() = default;

const std::string& Label::Caption() const { return d_->s.caption; }
void Label::SetCaption(const std::string& text) {
  if (text == d_->s.caption) return;
  d_->s.caption = text;
  d_->label->setText(DisplayText(text));
  Fit();
  Fire(OnChange);
}
bool Label::AutoSize() const { return d_->s.autoSize; }
void Label::SetAutoSize(bool on) {
  d_->s.autoSize = on;
  ApplyAll();
}
bool Label::WordWrap() const { return d_->s.wordWrap; }
void Label::SetWordWrap(bool on) {
  d_->s.wordWrap = on;
  ApplyAll();
}
int Label::Alignment() const { return d_->s.alignment; }
void Label::SetAlignment(int alignment) {
  d_->s.alignment = alignment;
  ApplyAll();
}
int Label::BackStyle() const { return d_->s.backStyle; }
void Label::SetBackStyle(int style) {
  d_->s.backStyle = style;
  ApplyAll();
}
int Label::BorderStyle() const { return d_->s.borderStyle; }
void Label::SetBorderStyle(int style) {
  d_->s.borderStyle = style;
  ApplyAll();
}

void Label::ApplyAll() {
  Control::ApplyAll();
  QLabel* l = d_->label;
  l->setText(DisplayText(d_->s.caption));
  l->setAlignment(HorizontalAlignment(d_->s.alignment) | Qt::AlignTop);
  // The runtime's labels break long captions at their width; only an
  // AutoSize label without WordWrap grows instead.
  l->setWordWrap(!(d_->s.autoSize && !d_->s.wordWrap));
  l->setAutoFillBackground(d_->s.backStyle == vbOpaque);
  l->setFrameStyle(d_->s.borderStyle == 1 ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
  Fit();
}

void Label::Fit() {
  if (!d_ || !d_->s.autoSize) return;
  Impl& c = impl();
  const QFontMetrics fm(d_->label->font());
  const QString text = DisplayText(d_->s.caption);
  const int frame = d_->s.borderStyle == 1 ? 4 : 0;
  if (!d_->s.wordWrap) {
    const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::AlignLeft | Qt::AlignTop, text);
    c.s.width = r.width() + frame;
    c.s.height = std::max(r.height(), fm.height()) + frame;
  } else {
    const int w = std::max(1, RoundPx(c.s.width) - frame);
    const QRect r = fm.boundingRect(QRect(0, 0, w, 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    c.s.height = std::max(r.height(), fm.height()) + frame;
  }
  c.ApplyGeometry();
}

void Label::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void Label::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void Label::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const Label*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= CommandButton

struct CommandButton::Data {
  struct S {
    std::string caption;
    bool isDefault = false;
    bool isCancel = false;
  };
  S s;
  std::optional<S> design;
  QPushButton* button = nullptr;
};

CommandButton::CommandButton(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->button = new QPushButton;
  d_->button->setAutoDefault(false);
  Impl& c = impl();
  c.s.width = 89;
  c.s.height = 25;
  c.Attach(d_->button, ControlKind::CommandButton);
  QObject::connect(d_->button, &QPushButton::clicked, d_->button, [this] { Fire(OnClick); });
  ApplyAll();
}
CommandButton::~CommandButton() = default;

const std::string& CommandButton::Caption() const { return d_->s.caption; }
void CommandButton::SetCaption(const std::string& text) {
  d_->s.caption = text;
  d_->button->setText(ButtonText(text));
}
bool CommandButton::Default() const { return d_->s.isDefault; }
void CommandButton::SetDefault(bool on) {
  Form& f = ParentForm();
  if (on) {
    if (auto* old = static_cast<CommandButton*>(FormDefaultButton(f)); old && old != this) {
      old->d_->s.isDefault = false;
      old->d_->button->setDefault(false);
    }
    FormSetDefaultButton(f, this);
  } else if (FormDefaultButton(f) == this) {
    FormSetDefaultButton(f, nullptr);
  }
  d_->s.isDefault = on;
  d_->button->setDefault(on);
}
bool CommandButton::Cancel() const { return d_->s.isCancel; }
void CommandButton::SetCancel(bool on) {
  Form& f = ParentForm();
  if (on) {
    if (auto* old = static_cast<CommandButton*>(FormCancelButton(f)); old && old != this) old->d_->s.isCancel = false;
    FormSetCancelButton(f, this);
  } else if (FormCancelButton(f) == this) {
    FormSetCancelButton(f, nullptr);
  }
  d_->s.isCancel = on;
}
void CommandButton::SetValue(bool pressed) {
  if (pressed) PressButton(*this);
}

void PressButton(CommandButton& b) { Fire(b.OnClick); }

void CommandButton::ApplyAll() {
  Control::ApplyAll();
  d_->button->setText(ButtonText(d_->s.caption));
  // Re-register as the form's default / cancel button.
  const bool def = d_->s.isDefault, cancel = d_->s.isCancel;
  if (def || FormDefaultButton(ParentForm()) == this) SetDefault(def);
  if (cancel || FormCancelButton(ParentForm()) == this) SetCancel(cancel);
}
void CommandButton::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void CommandButton::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void CommandButton::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const CommandButton*>(&other)) {
    d_->s = o->d_->s;
    d_->s.isDefault = false;  // one default / cancel button per form
    d_->s.isCancel = false;
  }
  Control::CopyPropertiesFrom(other);
}

// ================================================================= CheckBox

struct CheckBox::Data {
  struct S {
    std::string caption;
    int value = vbUnchecked;
    int alignment = vbLeftJustify;
  };
  S s;
  std::optional<S> design;
  QCheckBox* box = nullptr;
  void ShowValue() {
    const QSignalBlocker block(box);
    box->setTristate(s.value == vbGrayed);
    box->setCheckState(s.value == vbChecked ? Qt::Checked : s.value == vbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  }
};

CheckBox::CheckBox(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->box = new QCheckBox;
  Impl& c = impl();
  c.s.width = 121;
  c.s.height = 17;
  c.Attach(d_->box, ControlKind::CheckBox);
  QObject::connect(d_->box, &QCheckBox::clicked, d_->box, [this] {
    d_->s.value = d_->s.value == vbChecked ? vbUnchecked : vbChecked;
    d_->ShowValue();
    Fire(OnClick);
  });
  ApplyAll();
}
CheckBox::~CheckBox() = default;

const std::string& CheckBox::Caption() const { return d_->s.caption; }
void CheckBox::SetCaption(const std::string& text) {
  d_->s.caption = text;
  d_->box->setText(ButtonText(text));
}
int CheckBox::Value() const { return d_->s.value; }
void CheckBox::SetValue(int value) {
  value = std::clamp(value, 0, 2);
  if (value == d_->s.value) return;
  d_->s.value = value;
  d_->ShowValue();
  Fire(OnClick);
}
int CheckBox::Alignment() const { return d_->s.alignment; }
void CheckBox::SetAlignment(int alignment) {
  d_->s.alignment = alignment;
  d_->box->setLayoutDirection(BoxSide(alignment));
}
void CheckBox::ApplyAll() {
  Control::ApplyAll();
  d_->box->setText(ButtonText(d_->s.caption));
  d_->box->setLayoutDirection(BoxSide(d_->s.alignment));
  d_->ShowValue();
}
void CheckBox::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void CheckBox::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void CheckBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const CheckBox*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= OptionButton

struct OptionButton::Data {
  struct S {
    std::string caption;
    bool value = false;
    int alignment = vbLeftJustify;
  };
  S s;
  std::optional<S> design;
  QRadioButton* radio = nullptr;
  void ShowValue() {
    const QSignalBlocker block(radio);
    radio->setChecked(s.value);
  }
};

OptionButton::OptionButton(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->radio = new QRadioButton;
  d_->radio->setAutoExclusive(false);
  Impl& c = impl();
  c.s.width = 121;
  c.s.height = 17;
  c.Attach(d_->radio, ControlKind::OptionButton);
  QObject::connect(d_->radio, &QRadioButton::clicked, d_->radio, [this] {
    if (d_->s.value) {
      d_->ShowValue();  // a click on the chosen button leaves it chosen
    } else {
      SetValue(true);
    }
  });
  ApplyAll();
}
OptionButton::~OptionButton() = default;

const std::string& OptionButton::Caption() const { return d_->s.caption; }
void OptionButton::SetCaption(const std::string& text) {
  d_->s.caption = text;
  d_->radio->setText(ButtonText(text));
}
bool OptionButton::Value() const { return d_->s.value; }
void OptionButton::SetValue(bool on) {
  if (on == d_->s.value) {
    d_->ShowValue();
    return;
  }
  d_->s.value = on;
  d_->ShowValue();
  if (on) {
    ClearOtherOptions(Parent(), this);
    Fire(OnClick);
  }
}
int OptionButton::Alignment() const { return d_->s.alignment; }
void OptionButton::SetAlignment(int alignment) {
  d_->s.alignment = alignment;
  d_->radio->setLayoutDirection(BoxSide(alignment));
}
void OptionButton::ApplyAll() {
  Control::ApplyAll();
  d_->radio->setText(ButtonText(d_->s.caption));
  d_->radio->setLayoutDirection(BoxSide(d_->s.alignment));
  d_->ShowValue();
}
void OptionButton::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void OptionButton::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void OptionButton::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const OptionButton*>(&other)) {
    d_->s = o->d_->s;
    d_->s.value = false;  // a new element does not take the choice away
  }
  Control::CopyPropertiesFrom(other);
}

void ClearOtherOptions(Container& parent, Control* keep) {
  for (Control* c : std::vector<Control*>(parent.ParentForm().impl().controls)) {
    if (c == keep || &c->Parent() != &parent || c->impl().kind != ControlKind::OptionButton) continue;
    static_cast<OptionButton*>(c)->SetValue(false);
  }
}

// ================================================================= TextBox

namespace {

// Holds the one-line and the multi-line editor; one of them shows.
class TextBoxWidget : public QWidget {
 public:
  TextBoxWidget() {
    line = new QLineEdit(this);
    plain = new QPlainTextEdit(this);
    plain->hide();
    setFocusProxy(line);
  }
  QLineEdit* line;
  QPlainTextEdit* plain;

 protected:
  void resizeEvent(QResizeEvent*) override {
    line->setGeometry(rect());
    plain->setGeometry(rect());
  }
};

}  // namespace

struct TextBox::Data {
  struct S {
    std::string text;
    bool multiLine = false;
    bool locked = false;
    int scrollBars = vbSBNone;
    int maxLength = 0;
    int alignment = vbLeftJustify;
    int borderStyle = 1;
  };
  S s;
  std::optional<S> design;
  TextBoxWidget* w = nullptr;
  bool settingText = false;

  void ShowText() {
    settingText = true;
    if (s.multiLine) {
      w->plain->setPlainText(DisplayText(s.text));
    } else {
      w->line->setText(QStr(s.text));
    }
    settingText = false;
  }
  void ShowAll() {
    w->line->setVisible(!s.multiLine);
    w->plain->setVisible(s.multiLine);
    w->setFocusProxy(s.multiLine ? static_cast<QWidget*>(w->plain) : static_cast<QWidget*>(w->line));
    w->line->setReadOnly(s.locked);
    w->plain->setReadOnly(s.locked);
    w->line->setMaxLength(s.maxLength > 0 ? s.maxLength : 32767);
    w->line->setAlignment(HorizontalAlignment(s.alignment) | Qt::AlignVCenter);
    w->line->setFrame(s.borderStyle == 1);
    w->plain->setFrameShape(s.borderStyle == 1 ? QFrame::StyledPanel : QFrame::NoFrame);
    w->plain->setVerticalScrollBarPolicy((s.scrollBars & vbVertical) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    w->plain->setHorizontalScrollBarPolicy((s.scrollBars & vbHorizontal) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    w->plain->setLineWrapMode((s.scrollBars & vbHorizontal) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    ShowText();
  }
};

TextBox::TextBox(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->w = new TextBoxWidget;
  Impl& c = impl();
  c.s.width = 97;
  c.s.height = 21;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.synthClick = true;
  c.Attach(d_->w, ControlKind::TextBox);
  c.onGeometry = [this] { d_->w->line->setGeometry(d_->w->rect()), d_->w->plain->setGeometry(d_->w->rect()); };
  QObject::connect(d_->w->line, &QLineEdit::textEdited, d_->w, [this](const QString& t) {
    d_->s.text = StdStr(t);
    Fire(OnChange);
  });
  QObject::connect(d_->w->plain, &QPlainTextEdit::textChanged, d_->w, [this] {
    if (d_->settingText) return;
    QString t = d_->w->plain->toPlainText();
    t.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    std::string text = StdStr(t);
    if (text == d_->s.text) return;
    d_->s.text = std::move(text);
    Fire(OnChange);
  });
  ApplyAll();
}
TextBox::~TextBox() = default;

std::string TextBox::Text() const { return d_->s.text; }
void TextBox::SetText(const std::string& text) {
  if (text == d_->s.text) return;
  d_->s.text = text;
  d_->ShowText();
  Fire(OnChange);
}
bool TextBox::MultiLine() const { return d_->s.multiLine; }
void TextBox::SetMultiLine(bool on) {
  d_->s.multiLine = on;
  d_->ShowAll();
  impl().ApplyFocusPolicy();
}
int TextBox::ScrollBars() const { return d_->s.scrollBars; }
void TextBox::SetScrollBars(int bars) {
  d_->s.scrollBars = bars;
  d_->ShowAll();
}
bool TextBox::Locked() const { return d_->s.locked; }
void TextBox::SetLocked(bool on) {
  d_->s.locked = on;
  d_->ShowAll();
}
int TextBox::MaxLength() const { return d_->s.maxLength; }
void TextBox::SetMaxLength(int characters) {
  d_->s.maxLength = std::max(0, characters);
  d_->ShowAll();
}
int TextBox::Alignment() const { return d_->s.alignment; }
void TextBox::SetAlignment(int alignment) {
  d_->s.alignment = alignment;
  d_->ShowAll();
}
int TextBox::BorderStyle() const { return d_->s.borderStyle; }
void TextBox::SetBorderStyle(int style) {
  d_->s.borderStyle = style;
  d_->ShowAll();
}
int TextBox::SelStart() const {
  if (d_->s.multiLine) return d_->w->plain->textCursor().selectionStart();
  return d_->w->line->hasSelectedText() ? d_->w->line->selectionStart() : d_->w->line->cursorPosition();
}
void TextBox::SetSelStart(int start) {
  start = std::max(0, start);
  if (d_->s.multiLine) {
    QTextCursor cur = d_->w->plain->textCursor();
    cur.setPosition(std::min(start, static_cast<int>(d_->w->plain->toPlainText().size())));
    d_->w->plain->setTextCursor(cur);
  } else {
    d_->w->line->setCursorPosition(start);
  }
}
int TextBox::SelLength() const {
  if (d_->s.multiLine) {
    const QTextCursor cur = d_->w->plain->textCursor();
    return cur.selectionEnd() - cur.selectionStart();
  }
  return static_cast<int>(d_->w->line->selectedText().size());
}
void TextBox::SetSelLength(int length) {
  const int start = SelStart();
  length = std::max(0, length);
  if (d_->s.multiLine) {
    QTextCursor cur = d_->w->plain->textCursor();
    const int size = static_cast<int>(d_->w->plain->toPlainText().size());
    cur.setPosition(std::min(start, size));
    cur.setPosition(std::min(start + length, size), QTextCursor::KeepAnchor);
    d_->w->plain->setTextCursor(cur);
  } else {
    d_->w->line->setSelection(start, length);
  }
}
void TextBox::ApplyAll() {
  Control::ApplyAll();
  d_->ShowAll();
  // The editors take the focus; the holder only passes it on.
  const Qt::FocusPolicy policy = d_->w->focusPolicy();
  d_->w->line->setFocusPolicy(policy);
  d_->w->plain->setFocusPolicy(policy);
}
void TextBox::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void TextBox::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void TextBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const TextBox*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= ScrollBar

struct ScrollBar::Data {
  struct S {
    int min = 0;
    int max = 32767;
    int value = 0;
    int small = 1;
    int large = 1;
  };
  S s;
  std::optional<S> design;
  QScrollBar* bar = nullptr;
  bool updating = false;
  int Lo() const { return std::min(s.min, s.max); }
  int Hi() const { return std::max(s.min, s.max); }
};

ScrollBar::ScrollBar(Container& parent, bool vertical) : Control(parent), d_(std::make_unique<Data>()) {
  d_->bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal);
  Impl& c = impl();
  c.s.width = vertical ? 17 : 121;
  c.s.height = vertical ? 121 : 17;
  c.Attach(d_->bar, ControlKind::ScrollBar);
  QObject::connect(d_->bar, &QScrollBar::valueChanged, d_->bar, [this](int v) {
    if (d_->updating || v == d_->s.value) return;
    d_->s.value = v;
    if (d_->bar->isSliderDown()) {
      Fire(OnScroll);
    } else {
      Fire(OnChange);
    }
  });
  QObject::connect(d_->bar, &QScrollBar::sliderReleased, d_->bar, [this] { Fire(OnChange); });
  ApplyAll();
}
ScrollBar::~ScrollBar() = default;

void ScrollBar::ShowRange() {
  d_->updating = true;
  QScrollBar* b = d_->bar;
  b->setRange(d_->Lo(), d_->Hi());
  const bool reversed = d_->s.min > d_->s.max;
  b->setInvertedAppearance(reversed);
  b->setInvertedControls(reversed);
  b->setSingleStep(std::max(1, d_->s.small));
  b->setPageStep(std::max(1, d_->s.large));
  b->setValue(d_->s.value);
  d_->updating = false;
}

int ScrollBar::Min() const { return d_->s.min; }
int ScrollBar::Max() const { return d_->s.max; }
void ScrollBar::SetMin(int value) {
  d_->s.min = value;
  const int clamped = std::clamp(d_->s.value, d_->Lo(), d_->Hi());
  ShowRange();
  if (clamped != d_->s.value) SetValue(clamped);
}
void ScrollBar::SetMax(int value) {
  d_->s.max = value;
  const int clamped = std::clamp(d_->s.value, d_->Lo(), d_->Hi());
  ShowRange();
  if (clamped != d_->s.value) SetValue(clamped);
}
int ScrollBar::Value() const { return d_->s.value; }
void ScrollBar::SetValue(int value) {
  value = std::clamp(value, d_->Lo(), d_->Hi());
  if (value == d_->s.value) return;
  d_->s.value = value;
  d_->updating = true;
  d_->bar->setValue(value);
  d_->updating = false;
  Fire(OnChange);
}
int ScrollBar::SmallChange() const { return d_->s.small; }
void ScrollBar::SetSmallChange(int step) {
  d_->s.small = std::max(1, step);
  ShowRange();
}
int ScrollBar::LargeChange() const { return d_->s.large; }
void ScrollBar::SetLargeChange(int step) {
  d_->s.large = std::max(1, step);
  ShowRange();
}
void ScrollBar::ApplyAll() {
  Control::ApplyAll();
  ShowRange();
}
void ScrollBar::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void ScrollBar::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void ScrollBar::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const ScrollBar*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= Frame

namespace {

class FrameWidget : public QWidget {
 public:
  std::string caption;
  int borderStyle = 1;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QFontMetrics fm(font());
    const int top = borderStyle == 1 ? fm.height() / 2 : 0;
    if (borderStyle == 1) {
      // Etched border as the classic desktop draws frames.
      p.setPen(QColor(128, 128, 128));
      p.drawRect(0, top, width() - 2, height() - top - 2);
      p.setPen(QColor(255, 255, 255));
      p.drawRect(1, top + 1, width() - 2, height() - top - 2);
    }
    if (!caption.empty()) {
      const QString text = DisplayText(caption);
      const int w = fm.horizontalAdvance(text);
      p.fillRect(6, 0, w + 4, fm.height(), palette().color(QPalette::Window));
      p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
      p.drawText(8, fm.ascent(), text);
    }
  }
};

}  // namespace

struct Frame::Data {
  struct S {
    std::string caption;
    int borderStyle = 1;
  };
  S s;
  std::optional<S> design;
  FrameWidget* w = nullptr;
};

Frame::Frame(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->w = new FrameWidget;
  core_->self = this;
  core_->form = &parent.ParentForm();
  core_->client = d_->w;
  Impl& c = impl();
  c.focusable = false;
  c.passiveMouse = true;
  c.synthClick = true;
  c.s.width = 121;
  c.s.height = 97;
  c.Attach(d_->w, ControlKind::Frame);
  ApplyAll();
}
Frame::~Frame() = default;

const std::string& Frame::Caption() const { return d_->s.caption; }
void Frame::SetCaption(const std::string& text) {
  d_->s.caption = text;
  d_->w->caption = text;
  d_->w->update();
}
int Frame::BorderStyle() const { return d_->s.borderStyle; }
void Frame::SetBorderStyle(int style) {
  d_->s.borderStyle = style;
  d_->w->borderStyle = style;
  d_->w->update();
}
void Frame::ApplyAll() {
  Control::ApplyAll();
  d_->w->caption = d_->s.caption;
  d_->w->borderStyle = d_->s.borderStyle;
  d_->w->update();
}
void Frame::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void Frame::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void Frame::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const Frame*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= PictureBox

namespace {

class PictureWidget : public QWidget {
 public:
  explicit PictureWidget(PictureBox* box) : box_(box) { setAttribute(Qt::WA_OpaquePaintEvent); }
  int border = 0;
  bool inPaint = false;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  PictureBox* box_;
};

}  // namespace

struct PictureBox::Data {
  struct S {
    bool autoRedraw = false;
    bool autoSize = false;
    int borderStyle = 0;
  };
  S s;
  std::optional<S> design;
  CanvasDesign canvasDesign;
  Surface canvas{1, 1, ResolveColor(vbButtonFace)};
  PictureWidget* w = nullptr;
  bool syncing = false;
  int lastW = -1, lastH = -1;

  int Border() const { return s.borderStyle == 1 ? 2 : 0; }
  // The client area of a box of the given outer size, at least 1 x 1.
  QSize ClientSize(double width, double height) const {
    return {std::max(1, RoundPx(width) - 2 * Border()), std::max(1, RoundPx(height) - 2 * Border())};
  }
  // Resizes the image without taking it for a new picture.
  void ResizeCanvas(const QSize& size) {
    syncing = true;
    canvas.Resize(size.width(), size.height());
    syncing = false;
  }
};

void PictureWidget::paintEvent(QPaintEvent*) {
  if (!box_->AutoRedraw() && box_->OnPaint && !inPaint) {
    inPaint = true;
    Fire(box_->OnPaint);
    inPaint = false;
  }
  QPainter p(this);
  const QImage& img = SurfaceImage(box_->Canvas());
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.drawImage(border, border, img);
  if (border > 0) DrawSunkenBorder(p, width(), height());
}

PictureBox::PictureBox(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->w = new PictureWidget(this);
  core_->self = this;
  core_->form = &parent.ParentForm();
  core_->client = d_->w;
  Impl& c = impl();
  c.focusable = false;
  c.passiveMouse = true;
  c.synthClick = true;
  c.s.width = 97;
  c.s.height = 97;
  c.onGeometry = [this] {
    // The image follows the client area, also while the box is hidden.
    const QSize client = d_->ClientSize(impl().s.width, impl().s.height);
    if (client.width() != d_->canvas.Width() || client.height() != d_->canvas.Height()) {
      d_->ResizeCanvas(client);
    }
    if (client.width() != d_->lastW || client.height() != d_->lastH) {
      const bool first = d_->lastW < 0;
      d_->lastW = client.width();
      d_->lastH = client.height();
      if (!first) Fire(OnResize);
    }
  };
  c.onColors = [this] {
    if (ResolveColor(impl().s.back) != d_->canvas.BackColor()) d_->canvas.SetBackColor(ResolveColor(impl().s.back));
    d_->canvas.SetForeColor(impl().s.fore);
  };
  c.onFont = [this] {
    const FontSpec& f = impl().s.font;
    d_->canvas.SetFontName(f.name);
    d_->canvas.SetFontSize(f.size);
    d_->canvas.SetFontBold(f.bold);
    d_->canvas.SetFontItalic(f.italic);
  };
  d_->canvas.SetChangedCallback([this] {
    const QSize client = d_->ClientSize(impl().s.width, impl().s.height);
    if (!d_->syncing && (d_->canvas.Width() != client.width() || d_->canvas.Height() != client.height())) {
      if (d_->s.autoSize) {
        // A picture with AutoSize: the box takes its size.
        impl().s.width = d_->canvas.Width() + 2 * d_->Border();
        impl().s.height = d_->canvas.Height() + 2 * d_->Border();
        impl().ApplyGeometry();
      } else {
        d_->ResizeCanvas(client);
      }
    }
    if (!d_->w->inPaint) d_->w->update();
  });
  c.Attach(d_->w, ControlKind::PictureBox);
  ApplyAll();
}

PictureBox::~PictureBox() { d_->canvas.SetChangedCallback(nullptr); }

Surface& PictureBox::Canvas() { return d_->canvas; }
const Surface& PictureBox::Canvas() const { return d_->canvas; }
double PictureBox::ScaleWidth() const { return d_->canvas.Width(); }
double PictureBox::ScaleHeight() const { return d_->canvas.Height(); }
bool PictureBox::AutoRedraw() const { return d_->s.autoRedraw; }
void PictureBox::SetAutoRedraw(bool on) { d_->s.autoRedraw = on; }
bool PictureBox::AutoSize() const { return d_->s.autoSize; }
void PictureBox::SetAutoSize(bool on) {
  d_->s.autoSize = on;
  if (on) NotifySurfaceChanged(d_->canvas);
}
int PictureBox::BorderStyle() const { return d_->s.borderStyle; }
void PictureBox::SetBorderStyle(int style) {
  d_->s.borderStyle = style == 1 ? 1 : 0;
  ApplyAll();
}

void PictureBox::ApplyAll() {
  const int b = d_->Border();
  d_->w->border = b;
  core_->originX = b;
  core_->originY = b;
  impl().mouseDx = b;
  impl().mouseDy = b;
  Control::ApplyAll();
  d_->w->update();
}
void PictureBox::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
  d_->canvasDesign.Save(d_->canvas);
}
void PictureBox::RestoreDesign() {
  if (!d_->design) return;
  d_->s = *d_->design;
  d_->syncing = true;
  d_->canvasDesign.Restore(d_->canvas, d_->canvas.Width(), d_->canvas.Height());
  d_->syncing = false;
  Control::RestoreDesign();
  d_->lastW = d_->lastH = -1;
  impl().ApplyGeometry();
}
void PictureBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const PictureBox*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

}  // namespace zarv
