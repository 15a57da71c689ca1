// Combo and list boxes, and the file, folder and drive lists.
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/ui/controls.h"
#include "platform/ui/form_qt.h"

namespace zarv {

namespace {

// "\" as "/" unless the path is there as written (a Shift-JIS name such as
// "表" holds the byte of "\"), no trailing separator, relative paths from
// the working folder.
std::string NormalisePath(const std::string& path) {
  std::string p = path;
  std::error_code ec;
  if (p.find('\\') != std::string::npos && !std::filesystem::exists(p, ec))
    std::replace(p.begin(), p.end(), '\\', '/');
  std::filesystem::path fp(p);
  if (fp.is_relative()) fp = std::filesystem::current_path(ec) / fp;
  std::string out = fp.lexically_normal().generic_string();
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out.empty() ? "/" : out;
}

std::string WorkingFolder() {
  std::error_code ec;
  const auto p = std::filesystem::current_path(ec);
  return ec ? std::string("/") : NormalisePath(p.generic_string());
}

// Makes row the current one; a negative row leaves none current or selected.
void SelectRow(QListWidget* list, int row) {
  if (row < 0) {
    list->setCurrentRow(-1);
    list->clearSelection();
  } else {
    list->setCurrentRow(row);
  }
}

// Draws the rows of a list with a set pitch. The menus' fonts are a pixel
// or two taller than their rows of 15 and 16 pixels, and the style centres
// the text's line (ascent and descent) in the row, which cuts the top off
// the glyphs that reach the top of the em square ("プ", "随"). Here the em
// square is centred, a pixel lower where it cannot be exactly, and the text
// is moved up or down by the pixels its own glyphs would lose at an edge.
// Drawn without smoothing, as the drawing surfaces draw: smoothed glyphs
// of a 16-pixel font take 16 rows, too many for a row of 15.
class PitchRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);  // background and selection
    if (text.isEmpty()) return;
    QFont font = opt.font;
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics fm(font);
    const int em = font.pixelSize() > 0 ? font.pixelSize() : fm.height();
    const QRect& r = opt.rect;
    int baseline = r.top() + static_cast<int>(std::ceil((r.height() - em) / 2.0)) + fm.ascent();
    const auto [inkTop, inkBottom] = InkRows(font, text);
    if (baseline + inkBottom > r.bottom()) baseline = r.bottom() - inkBottom;
    if (baseline + inkTop < r.top()) baseline = r.top() - inkTop;
    QPalette::ColorGroup group = QPalette::Normal;
    if (!(opt.state & QStyle::State_Enabled)) {
      group = QPalette::Disabled;
    } else if (!(opt.state & QStyle::State_Active)) {
      group = QPalette::Inactive;
    }
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    painter->save();
    painter->setClipRect(r);
    painter->setFont(font);
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QPoint(r.left() + margin, baseline), text);
    painter->restore();
  }

 private:
  // The first and last pixel rows the text's glyphs cover, from the
  // baseline (negative above it); (0, -1) for a text without ink.
  std::pair<int, int> InkRows(const QFont& font, const QString& text) const {
    const QString key = font.key() + QChar('\n') + text;
    if (auto it = ink_.constFind(key); it != ink_.constEnd()) return *it;
    const QFontMetrics fm(font);
    const int pad = 4;
    QImage img(fm.horizontalAdvance(text) + 2 * pad, fm.height() + 2 * pad, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QPainter p(&img);
      p.setFont(font);
      p.setPen(Qt::black);
      p.drawText(QPoint(pad, pad + fm.ascent()), text);
    }
    int top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < img.width(); ++x) {
        if (line[x] != qRgb(255, 255, 255)) {
          top = std::min(top, y);
          bottom = y;
          break;
        }
      }
    }
    const std::pair<int, int> rows =
        bottom < 0 ? std::pair<int, int>(0, -1) : std::pair<int, int>(top - pad - fm.ascent(), bottom - pad - fm.ascent());
    if (ink_.size() > 256) ink_.clear();  // the menus' few texts; never grows without end
    ink_.insert(key, rows);
    return rows;
  }
  mutable QHash<QString, std::pair<int, int>> ink_;
};

class Combo : public QComboBox {
 public:
  std::function<void()> dropDown;
  void showPopup() override {
    if (dropDown) dropDown();
    QComboBox::showPopup();
  }
};

}  // namespace

// ================================================================= ListControl

struct ListControl::Data {
  struct S {
    std::vector<std::string> items;
    int listIndex = -1;
    double rowHeight = 0;  // list boxes: pixels from row to row, 0 = the style's own
  };
  S s;
  std::optional<S> design;
  bool updating = false;
};

ListControl::ListControl(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {}
ListControl::~ListControl() = default;

void ListControl::AddItem(const std::string& item, int index) {
  auto& items = d_->s.items;
  if (index < 0 || index > static_cast<int>(items.size())) index = static_cast<int>(items.size());
  items.insert(items.begin() + index, item);
  if (d_->s.listIndex >= index) ++d_->s.listIndex;  // the selection stays on its entry
  ShowList();
}

void ListControl::RemoveItem(int index) {
  auto& items = d_->s.items;
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  items.erase(items.begin() + index);
  if (d_->s.listIndex == index) {
    d_->s.listIndex = -1;
  } else if (d_->s.listIndex > index) {
    --d_->s.listIndex;
  }
  ShowList();
}

void ListControl::Clear() {
  d_->s.items.clear();
  d_->s.listIndex = -1;
  ShowList();
}

int ListControl::ListCount() const { return static_cast<int>(d_->s.items.size()); }
std::string ListControl::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  return d_->s.items[static_cast<size_t>(index)];
}
void ListControl::SetList(int index, const std::string& item) {
  if (index < 0 || index >= ListCount()) return;
  d_->s.items[static_cast<size_t>(index)] = item;
  ShowList();
}
int ListControl::ListIndex() const { return d_->s.listIndex; }
void ListControl::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (index == d_->s.listIndex) return;
  d_->s.listIndex = index;
  ShowSelection();
  Fire(OnClick);
}
std::string ListControl::Text() const { return List(d_->s.listIndex); }

void ListControl::ApplyAll() {
  Control::ApplyAll();
  ShowList();
}
void ListControl::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void ListControl::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Control::RestoreDesign();
}
void ListControl::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const ListControl*>(&other)) d_->s = o->d_->s;
  Control::CopyPropertiesFrom(other);
}

// ================================================================= ComboBox

struct ComboBox::ComboData {
  struct S {
    int style = vbComboDropDown;
    std::string text;  // edit text of style 0
  };
  S s;
  std::optional<S> design;
  Combo* combo = nullptr;
};

ComboBox::ComboBox(Container& parent) : ListControl(parent), c_(std::make_unique<ComboData>()) {
  c_->combo = new Combo;
  c_->combo->setEditable(true);
  c_->combo->setInsertPolicy(QComboBox::NoInsert);
  c_->combo->dropDown = [this] { Fire(OnDropDown); };
  Impl& c = impl();
  c.s.width = 129;
  c.s.height = 24;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.Attach(c_->combo, ControlKind::ComboBox);
  QObject::connect(c_->combo, &QComboBox::activated, c_->combo, [this](int i) {
    if (data().updating) return;
    c_->s.text = List(i);
    if (i != data().s.listIndex) {
      data().s.listIndex = i;
      Fire(OnClick);
    } else {
      ShowSelection();
    }
  });
  ApplyAll();
}
ComboBox::~ComboBox() = default;

int ComboBox::Style() const { return c_->s.style; }
void ComboBox::SetStyle(int style) {
  c_->s.style = style == vbComboDropDownList ? vbComboDropDownList : vbComboDropDown;
  ApplyAll();
}

void ComboBox::Clear() {
  c_->s.text.clear();  // Clear empties the edit text too
  ListControl::Clear();
}

std::string ComboBox::Text() const {
  if (c_->s.style == vbComboDropDownList) return ListControl::Text();
  return c_->s.text;
}

void ComboBox::SetText(const std::string& text) {
  if (c_->s.style == vbComboDropDownList) {
    for (int i = 0; i < ListCount(); ++i) {
      if (List(i) == text) {
        SetListIndex(i);
        return;
      }
    }
    return;
  }
  if (text == c_->s.text) return;
  c_->s.text = text;
  ShowSelection();
  Fire(OnChange);
}

void ComboBox::ShowList() {
  Data& d = data();
  d.updating = true;
  c_->combo->clear();
  for (const auto& item : d.s.items) c_->combo->addItem(QStr(item));
  d.updating = false;
  ShowSelection();
}

void ComboBox::ShowSelection() {
  Data& d = data();
  d.updating = true;
  {
    const QSignalBlocker block(c_->combo);
    c_->combo->setCurrentIndex(d.s.listIndex);
    if (c_->s.style == vbComboDropDown) {
      // A chosen entry puts its text into the edit field.
      if (d.s.listIndex >= 0) c_->s.text = List(d.s.listIndex);
      c_->combo->lineEdit()->setText(QStr(c_->s.text));
    }
  }
  d.updating = false;
}

void ComboBox::ApplyAll() {
  const bool editable = c_->s.style == vbComboDropDown;
  if (c_->combo->isEditable() != editable) {
    c_->combo->setEditable(editable);
    StopMousePropagation(c_->combo);
  }
  if (editable && !c_->combo->lineEdit()->property("zarvWired").toBool()) {
    c_->combo->lineEdit()->setProperty("zarvWired", true);
    QObject::connect(c_->combo->lineEdit(), &QLineEdit::textEdited, c_->combo, [this](const QString& t) {
      c_->s.text = StdStr(t);
      Fire(OnChange);
    });
  }
  ListControl::ApplyAll();
}
void ComboBox::SaveDesign() {
  ListControl::SaveDesign();
  c_->design = c_->s;
}
void ComboBox::RestoreDesign() {
  if (c_->design) c_->s = *c_->design;
  ListControl::RestoreDesign();
}
void ComboBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const ComboBox*>(&other)) c_->s = o->c_->s;
  ListControl::CopyPropertiesFrom(other);
}

// ================================================================= ListBox

ListBox::ListBox(Container& parent) : ListControl(parent) {
  auto* list = new QListWidget;
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  // As the runtime's lists: a long entry is cut at the right edge, with no
  // ellipsis and no horizontal scroll bar.
  list->setTextElideMode(Qt::ElideNone);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Impl& c = impl();
  c.s.width = 121;
  c.s.height = 97;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.Attach(list, ControlKind::ListBox);
  // The pointer from the first row's top, at the centre of its pixel.
  c.mouseOrigin = list->viewport();
  c.mouseDx = c.mouseDy = -0.5;
  QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) {
    if (data().updating || row == data().s.listIndex) return;
    data().s.listIndex = row;
    Fire(OnClick);
  });
  ApplyAll();
}
ListBox::~ListBox() = default;

void ListBox::ShowList() {
  auto* list = static_cast<QListWidget*>(impl().widget.data());
  Data& d = data();
  d.updating = true;
  list->clear();
  const double pitch = d.s.rowHeight;
  QAbstractItemDelegate* old = list->itemDelegate();
  if ((pitch > 0) != (dynamic_cast<PitchRowDelegate*>(old) != nullptr)) {
    list->setItemDelegate(pitch > 0 ? new PitchRowDelegate(list) : new QStyledItemDelegate(list));
    delete old;
  }
  int top = 0;
  for (const auto& item : d.s.items) {
    auto* row = new QListWidgetItem(QStr(item));
    if (pitch > 0) {
      // Rows whole pixels high, each starting where k x pitch rounds to.
      const int next = RoundPx(pitch * (list->count() + 1));
      row->setSizeHint(QSize(0, next - top));
      top = next;
    }
    list->addItem(row);
  }
  d.updating = false;
  ShowSelection();
}

double ListBox::RowHeight() const { return data().s.rowHeight; }
void ListBox::SetRowHeight(double pixels) {
  // At most a screen high: rows beyond that are of no use and the sums stay small.
  data().s.rowHeight = pixels > 0 ? std::min(pixels, 4096.0) : 0.0;
  ShowList();
}

void ListBox::ShowSelection() {
  auto* list = static_cast<QListWidget*>(impl().widget.data());
  Data& d = data();
  d.updating = true;
  SelectRow(list, d.s.listIndex);
  d.updating = false;
}

bool ListBox::Selected(int index) const { return index >= 0 && index == ListIndex(); }
void ListBox::SetSelected(int index, bool on) {
  if (on) {
    SetListIndex(index);
  } else if (index == ListIndex()) {
    SetListIndex(-1);
  }
}
int ListBox::TopIndex() const {
  auto* list = static_cast<QListWidget*>(impl().widget.data());
  const QModelIndex top = list->indexAt(QPoint(2, 2));
  return top.isValid() ? top.row() : 0;
}
void ListBox::SetTopIndex(int index) {
  auto* list = static_cast<QListWidget*>(impl().widget.data());
  if (QListWidgetItem* item = list->item(index)) list->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

// ================================================================= FileListBox

struct FileListBox::Data {
  struct S {
    std::string path;
    std::string pattern = "*";
    int listIndex = -1;
  };
  S s;
  std::optional<S> design;
  std::vector<std::string> files;
  QListWidget* list = nullptr;
  bool updating = false;

  void ShowSelection() {
    updating = true;
    SelectRow(list, s.listIndex);
    updating = false;
  }
};

FileListBox::FileListBox(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->list = new QListWidget;
  d_->s.path = WorkingFolder();
  Impl& c = impl();
  c.s.width = 121;
  c.s.height = 97;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.Attach(d_->list, ControlKind::FileListBox);
  QObject::connect(d_->list, &QListWidget::currentRowChanged, d_->list, [this](int row) {
    if (d_->updating || row == d_->s.listIndex) return;
    d_->s.listIndex = row;
    Fire(OnClick);
  });
  Relist();
  ApplyAll();
}
FileListBox::~FileListBox() = default;

void FileListBox::Relist() {
  std::vector<std::string> all = ListFiles(d_->s.path, d_->s.pattern.empty() ? "*" : d_->s.pattern);
  d_->files = std::move(all);
  d_->s.listIndex = -1;
  d_->updating = true;
  d_->list->clear();
  for (const auto& f : d_->files) d_->list->addItem(QStr(ShownName(f)));
  d_->updating = false;
  d_->ShowSelection();
}

const std::string& FileListBox::Path() const { return d_->s.path; }
bool FileListBox::SetPath(const std::string& path) {
  const std::string p = NormalisePath(path);
  if (!DirExists(p)) return false;
  const bool changed = p != d_->s.path;
  d_->s.path = p;
  Relist();
  if (changed) Fire(OnPathChange);
  return true;
}
const std::string& FileListBox::Pattern() const { return d_->s.pattern; }
void FileListBox::SetPattern(const std::string& pattern) {
  const bool changed = pattern != d_->s.pattern;
  d_->s.pattern = pattern;
  Relist();
  if (changed) Fire(OnPatternChange);
}
std::string FileListBox::FileName() const { return List(d_->s.listIndex); }
void FileListBox::SetFileName(const std::string& name) {
  if (name.find_first_of("*?") != std::string::npos) {
    SetPattern(name);
    return;
  }
  for (int i = 0; i < ListCount(); ++i) {
    if (d_->files[static_cast<size_t>(i)] == name) {
      SetListIndex(i);
      return;
    }
  }
}
int FileListBox::ListCount() const { return static_cast<int>(d_->files.size()); }
std::string FileListBox::List(int index) const {
  if (index < 0 || index >= ListCount()) return {};
  return d_->files[static_cast<size_t>(index)];
}
int FileListBox::ListIndex() const { return d_->s.listIndex; }
void FileListBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) index = -1;
  if (index == d_->s.listIndex) return;
  d_->s.listIndex = index;
  d_->ShowSelection();
  Fire(OnClick);
}
void FileListBox::Refresh() {
  Relist();
  Control::Refresh();
}
void FileListBox::ApplyAll() {
  Control::ApplyAll();
  d_->ShowSelection();
}
void FileListBox::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void FileListBox::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Relist();
  Control::RestoreDesign();
}
void FileListBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const FileListBox*>(&other)) d_->s = o->d_->s;
  Relist();
  Control::CopyPropertiesFrom(other);
}

// ================================================================= DirListBox

struct DirListBox::Data {
  struct S {
    std::string path;
    int listIndex = -1;
  };
  S s;
  std::optional<S> design;
  std::vector<std::string> ancestors;  // root .. the folder itself
  std::vector<std::string> subdirs;    // full paths
  QListWidget* list = nullptr;
  bool updating = false;

  // Rows: the ancestors from the root down to the folder (ListIndex -n .. -1),
  // then the sub-folders (0 ..).
  int RowOf(int index) const { return static_cast<int>(ancestors.size()) + index; }
  void ShowSelection() {
    updating = true;
    list->setCurrentRow(RowOf(s.listIndex));
    updating = false;
  }
};

DirListBox::DirListBox(Container& parent) : Control(parent), d_(std::make_unique<Data>()) {
  d_->list = new QListWidget;
  d_->s.path = WorkingFolder();
  Impl& c = impl();
  c.s.width = 121;
  c.s.height = 97;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.Attach(d_->list, ControlKind::DirListBox);
  QObject::connect(d_->list, &QListWidget::currentRowChanged, d_->list, [this](int row) {
    if (d_->updating || row < 0) return;
    const int index = row - static_cast<int>(d_->ancestors.size());
    if (index == d_->s.listIndex) return;
    d_->s.listIndex = index;
    Fire(OnClick);
  });
  QObject::connect(d_->list, &QListWidget::itemActivated, d_->list, [this](QListWidgetItem*) {
    // Opening a folder moves the list there.
    SetPath(List(d_->s.listIndex));
  });
  Relist();
  ApplyAll();
}
DirListBox::~DirListBox() = default;

void DirListBox::Relist() {
  d_->ancestors.clear();
  for (std::filesystem::path p(d_->s.path);; p = p.parent_path()) {
    d_->ancestors.insert(d_->ancestors.begin(), NormalisePath(p.generic_string()));
    if (p == p.parent_path() || p.generic_string() == "/") break;
  }
  d_->subdirs.clear();
  for (const auto& name : ListDirs(d_->s.path)) d_->subdirs.push_back(JoinPath(d_->s.path, name));
  d_->s.listIndex = -1;
  d_->updating = true;
  d_->list->clear();
  int depth = 0;
  for (const auto& a : d_->ancestors) {
    const std::string name = a == "/" ? a : std::filesystem::path(a).filename().string();
    d_->list->addItem(QString(depth * 2, QChar(' ')) + QStr(ShownName(name)));
    ++depth;
  }
  for (const auto& s : d_->subdirs) {
    d_->list->addItem(QString(depth * 2, QChar(' ')) + QStr(ShownName(std::filesystem::path(s).filename().string())));
  }
  d_->updating = false;
  d_->ShowSelection();
}

const std::string& DirListBox::Path() const { return d_->s.path; }
bool DirListBox::SetPath(const std::string& path) {
  if (path.empty()) return false;
  const std::string p = NormalisePath(path);
  if (!DirExists(p)) return false;
  if (p == d_->s.path) return true;
  d_->s.path = p;
  Relist();
  Fire(OnChange);
  return true;
}
int DirListBox::ListCount() const { return static_cast<int>(d_->subdirs.size()); }
std::string DirListBox::List(int index) const {
  if (index >= 0) return index < ListCount() ? d_->subdirs[static_cast<size_t>(index)] : std::string();
  const int pos = static_cast<int>(d_->ancestors.size()) + index;
  return pos >= 0 ? d_->ancestors[static_cast<size_t>(pos)] : std::string();
}
int DirListBox::ListIndex() const { return d_->s.listIndex; }
void DirListBox::SetListIndex(int index) {
  const int lo = -static_cast<int>(d_->ancestors.size());
  if (index < lo || index >= ListCount()) return;
  if (index == d_->s.listIndex) return;
  d_->s.listIndex = index;
  d_->ShowSelection();
  Fire(OnClick);
}
void DirListBox::Refresh() {
  Relist();
  Control::Refresh();
}
void DirListBox::ApplyAll() {
  Control::ApplyAll();
  d_->ShowSelection();
}
void DirListBox::SaveDesign() {
  Control::SaveDesign();
  d_->design = d_->s;
}
void DirListBox::RestoreDesign() {
  if (d_->design) d_->s = *d_->design;
  Relist();
  Control::RestoreDesign();
}
void DirListBox::CopyPropertiesFrom(const Control& other) {
  if (auto* o = dynamic_cast<const DirListBox*>(&other)) d_->s = o->d_->s;
  Relist();
  Control::CopyPropertiesFrom(other);
}

// ================================================================= DriveListBox

DriveListBox::DriveListBox(Container& parent) : Control(parent) {
  auto* combo = new QComboBox;
  combo->addItem(QStringLiteral("/"));
  Impl& c = impl();
  c.s.width = 129;
  c.s.height = 24;
  c.s.back = vbWindowBackground;
  c.s.fore = vbWindowText;
  c.Attach(combo, ControlKind::DriveListBox);
  ApplyAll();
}
DriveListBox::~DriveListBox() = default;

std::string DriveListBox::Drive() const { return "/"; }
void DriveListBox::SetDrive(const std::string&) {}  // one drive only: never a change
int DriveListBox::ListCount() const { return 1; }
std::string DriveListBox::List(int index) const { return index == 0 ? "/" : std::string(); }
int DriveListBox::ListIndex() const { return 0; }

}  // namespace zarv
