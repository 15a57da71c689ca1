#include "platform/ui/control.h"

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPalette>
#include <QProxyStyle>

#include <cmath>
#include <vector>

#include "platform/runtime/numeric.h"
#include "platform/ui/controls.h"
#include "platform/ui/fonts.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

// ------------------------------------------------------------- helpers

namespace {

// The screens' layouts leave a check or option button's caption the room
// the classic desktop gives it: the text a few pixels after the box, not
// the style's six (at 640 "画面表示ﾌﾚｰﾑﾚｰﾄ1/10" lost its last digit).
class ControlStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_CheckBoxLabelSpacing || metric == PM_RadioButtonLabelSpacing) return kBoxTextGap;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

 private:
  static constexpr int kBoxTextGap = 3;
};

}  // namespace

void InstallControlStyle() { QApplication::setStyle(new ControlStyle); }

QString DisplayText(const std::string& s) {
  // CR LF, LF CR, a lone CR and a lone LF each break the line once.
  const QString in = QStr(s);
  QString t;
  t.reserve(in.size());
  for (qsizetype i = 0; i < in.size(); ++i) {
    const QChar c = in[i];
    if (c != QChar('\r') && c != QChar('\n')) {
      t.append(c);
      continue;
    }
    t.append(QChar('\n'));
    const QChar pair = c == QChar('\r') ? QChar('\n') : QChar('\r');
    if (i + 1 < in.size() && in[i + 1] == pair) ++i;
  }
  return t;
}

QString ButtonText(const std::string& s) {
  QString t = DisplayText(s);
  t.replace(QStringLiteral("&"), QStringLiteral("&&"));
  return t;
}

int RoundPx(double v) { return CheckedRound<int>(v); }

QFont QFontOf(const FontSpec& f) {
  QFont font = MakeFont(f.name, f.size, f.bold, f.italic);
  font.setUnderline(f.underline);
  font.setStyleStrategy(QFont::PreferDefault);  // controls may be antialiased
  return font;
}

QColor QColorOf(Color c) { return ToQColor(ResolveColor(c)); }

void ApplyPointer(QWidget* w, int pointer) {
  Qt::CursorShape shape;
  switch (pointer) {
    case vbArrow: shape = Qt::ArrowCursor; break;
    case vbCrosshair: shape = Qt::CrossCursor; break;
    case vbIbeam: shape = Qt::IBeamCursor; break;
    case vbSizePointer: case vbSizeAll: shape = Qt::SizeAllCursor; break;
    case vbSizeNESW: shape = Qt::SizeBDiagCursor; break;
    case vbSizeNS: shape = Qt::SizeVerCursor; break;
    case vbSizeNWSE: shape = Qt::SizeFDiagCursor; break;
    case vbSizeWE: shape = Qt::SizeHorCursor; break;
    case vbUpArrow: shape = Qt::UpArrowCursor; break;
    case vbHourglass: shape = Qt::WaitCursor; break;
    case vbNoDrop: shape = Qt::ForbiddenCursor; break;
    case vbArrowHourglass: shape = Qt::BusyCursor; break;
    case vbArrowQuestion: shape = Qt::WhatsThisCursor; break;
    default: w->unsetCursor(); return;
  }
  w->setCursor(QCursor(shape));
}

// ------------------------------------------------------------- canvas design

void CanvasDesign::Save(Surface& s) {
  fore = s.ForeColor();
  back = s.BackColor();
  fill = s.FillColor();
  fillStyle = s.FillStyle();
  drawWidth = s.DrawWidth();
  fontName = s.FontName();
  fontSize = s.FontSize();
  bold = s.FontBold();
  italic = s.FontItalic();
  transparent = s.FontTransparent();
  picture.reset();
  // A picture set while the screen was built comes back at every load.
  if (const QImage* pic = SurfacePicture(s)) picture = *pic;
}

void CanvasDesign::Restore(Surface& s, int width, int height) const {
  s.ClearPicture();
  s.Resize(width, height);
  s.SetForeColor(fore);
  s.SetFillColor(fill);
  s.SetFillStyle(fillStyle);
  s.SetDrawWidth(drawWidth);
  s.SetFontName(fontName);
  s.SetFontSize(fontSize);
  s.SetFontBold(bold);
  s.SetFontItalic(italic);
  s.SetFontTransparent(transparent);
  if (picture) {
    Surface pic(picture->width(), picture->height(), back);
    SurfaceImage(pic) = *picture;
    s.SetPicture(pic);
  }
  s.SetBackColor(back);  // erases the drawing
  s.SetCurrentX(0);
  s.SetCurrentY(0);
}

// ------------------------------------------------------------- Container

Container::Container() : core_(std::make_unique<Core>()) { core_->self = this; }
Container::~Container() = default;
Form& Container::ParentForm() const { return *core_->form; }

// ------------------------------------------------------------- Control::Impl

void Control::Impl::Attach(QWidget* w, ControlKind k) {
  kind = k;
  widget = w;
  Container::Core& core = parent->core();
  w->setParent(core.client);
  w->setMouseTracking(true);
  w->setAutoFillBackground(false);
  for (QWidget* child : w->findChildren<QWidget*>()) child->setMouseTracking(true);
  StopMousePropagation(w);
  RegisterWidget(w, self);
  ApplyCommon();
}

void Control::Impl::ApplyGeometry() {
  if (!widget) return;
  const Container::Core& core = parent->core();
  const int x = RoundPx(s.left) + core.originX;
  const int y = RoundPx(s.top) + core.originY;
  const int w = std::max(0, RoundPx(s.width));
  const int h = std::max(0, RoundPx(s.height));
  widget->setGeometry(x, y, w, h);
  if (onGeometry) onGeometry();
}

void Control::Impl::ApplyFont() {
  if (widget) widget->setFont(QFontOf(s.font));
  if (onFont) onFont();
}

void Control::Impl::ApplyColors() {
  if (!widget) return;
  QPalette pal = widget->palette();
  const QColor fg = QColorOf(s.fore);
  const QColor bg = QColorOf(s.back);
  // The fore colour is the enabled look only: a disabled control's text is
  // the desktop's grey, whatever colour the screen gave it.
  const QColor grey = QColorOf(vbGrayText);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    pal.setColor(QPalette::Active, role, fg);
    pal.setColor(QPalette::Inactive, role, fg);
    pal.setColor(QPalette::Disabled, role, grey);
  }
  pal.setColor(QPalette::Window, bg);
  pal.setColor(QPalette::Button, bg);
  pal.setColor(QPalette::Base, bg);
  widget->setPalette(pal);
  if (onColors) onColors();
}

void Control::Impl::ApplyFocusPolicy() {
  if (!widget) return;
  if (!focusable) {
    widget->setFocusPolicy(Qt::NoFocus);
  } else {
    widget->setFocusPolicy(s.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

void Control::Impl::ApplyCommon() {
  if (!widget) return;
  ApplyGeometry();
  widget->setEnabled(s.enabled);
  widget->setToolTip(QStr(s.tip));
  ApplyFont();
  ApplyColors();
  ApplyPointer(widget, s.mousePointer);
  ApplyFocusPolicy();
  widget->setVisible(s.visible);
}

// ------------------------------------------------------------- Control

Control::Control(Container& parent) : impl_(std::make_unique<Impl>()) {
  impl_->self = this;
  impl_->parent = &parent;
  impl_->form = &parent.ParentForm();
  FormAddControl(*impl_->form, this);
}

Control::~Control() {
  FormRemoveControl(*impl_->form, this);
  if (ProcessExiting()) return;
  if (QWidget* w = impl_->widget.data()) {
    UnregisterWidget(w);
    for (QObject* o : w->findChildren<QObject*>()) QObject::disconnect(o, nullptr, nullptr, nullptr);
    QObject::disconnect(w, nullptr, nullptr, nullptr);
    w->hide();
    w->deleteLater();
  }
}

double Control::Left() const { return impl_->s.left; }
double Control::Top() const { return impl_->s.top; }
double Control::Width() const { return impl_->s.width; }
double Control::Height() const { return impl_->s.height; }
void Control::SetLeft(double x) {
  impl_->s.left = x;
  impl_->ApplyGeometry();
}
void Control::SetTop(double y) {
  impl_->s.top = y;
  impl_->ApplyGeometry();
}
void Control::SetWidth(double w) {
  impl_->s.width = std::max(0.0, w);
  impl_->ApplyGeometry();
}
void Control::SetHeight(double h) {
  impl_->s.height = std::max(0.0, h);
  impl_->ApplyGeometry();
}
void Control::Move(double left, double top, double width, double height) {
  impl_->s.left = left;
  impl_->s.top = top;
  impl_->s.width = std::max(0.0, width);
  impl_->s.height = std::max(0.0, height);
  impl_->ApplyGeometry();
}

bool Control::Visible() const { return impl_->s.visible; }
bool Control::Showing() const { return impl_->widget != nullptr && impl_->widget->isVisible(); }
void Control::SetVisible(bool on) {
  impl_->s.visible = on;
  if (impl_->widget) impl_->widget->setVisible(on);
}
bool Control::Enabled() const { return impl_->s.enabled; }
void Control::SetEnabled(bool on) {
  impl_->s.enabled = on;
  if (impl_->widget) impl_->widget->setEnabled(on);
}
const std::string& Control::Tag() const { return impl_->s.tag; }
void Control::SetTag(const std::string& tag) { impl_->s.tag = tag; }
const std::string& Control::ToolTipText() const { return impl_->s.tip; }
void Control::SetToolTipText(const std::string& text) {
  impl_->s.tip = text;
  if (impl_->widget) impl_->widget->setToolTip(QStr(text));
}

const std::string& Control::FontName() const { return impl_->s.font.name; }
void Control::SetFontName(const std::string& name) {
  impl_->s.font.name = name;
  impl_->ApplyFont();
}
double Control::FontSize() const { return impl_->s.font.size; }
void Control::SetFontSize(double points) {
  impl_->s.font.size = points;
  impl_->ApplyFont();
}
bool Control::FontBold() const { return impl_->s.font.bold; }
void Control::SetFontBold(bool on) {
  impl_->s.font.bold = on;
  impl_->ApplyFont();
}
bool Control::FontItalic() const { return impl_->s.font.italic; }
void Control::SetFontItalic(bool on) {
  impl_->s.font.italic = on;
  impl_->ApplyFont();
}
bool Control::FontUnderline() const { return impl_->s.font.underline; }
void Control::SetFontUnderline(bool on) {
  impl_->s.font.underline = on;
  impl_->ApplyFont();
}
Color Control::ForeColor() const { return impl_->s.fore; }
void Control::SetForeColor(Color c) {
  impl_->s.fore = c;
  impl_->ApplyColors();
}
Color Control::BackColor() const { return impl_->s.back; }
void Control::SetBackColor(Color c) {
  impl_->s.back = c;
  impl_->ApplyColors();
}
int Control::MousePointer() const { return impl_->s.mousePointer; }
void Control::SetMousePointer(int pointer) {
  impl_->s.mousePointer = pointer;
  if (impl_->widget) ApplyPointer(impl_->widget, pointer);
}
bool Control::TabStop() const { return impl_->s.tabStop; }
void Control::SetTabStop(bool on) {
  impl_->s.tabStop = on;
  impl_->ApplyFocusPolicy();
}

void Control::SetFocus() {
  if (impl_->widget && impl_->focusable) impl_->widget->setFocus(Qt::OtherFocusReason);
}

void Control::ZOrder(int position) {
  if (!impl_->widget) return;
  if (position == vbSendToBack) {
    impl_->widget->lower();
  } else {
    impl_->widget->raise();
  }
}

void Control::Refresh() {
  if (impl_->widget) impl_->widget->repaint();
}

bool Control::HasFocus() const {
  QWidget* fw = impl_->form->impl().widget->focusWidget();
  return fw && ControlAt(fw) == this;
}

int Control::Index() const { return impl_->index; }
Container& Control::Parent() const { return *impl_->parent; }
Form& Control::ParentForm() const { return *impl_->form; }

void Control::SaveDesign() { impl_->design = impl_->s; }
void Control::RestoreDesign() {
  if (!impl_->design) return;
  impl_->s = *impl_->design;
  ApplyAll();
}
void Control::CopyPropertiesFrom(const Control& other) {
  impl_->s = other.impl_->s;
  ApplyAll();
}
void Control::ApplyAll() { impl_->ApplyCommon(); }

namespace detail {
void SetControlIndex(Control& control, int index) { control.impl().index = index; }
}  // namespace detail

}  // namespace zarv
