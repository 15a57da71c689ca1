#include "platform/ui/help.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cctype>

#include "platform/runtime/files.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/app.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

namespace {

// "[n] title" starts a topic.
bool TopicHeader(std::string_view line, int* id, std::string* title) {
  if (line.size() < 3 || line[0] != '[') return false;
  size_t i = 1;
  int n = 0;
  while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i]))) {
    if (n > 100000000) return false;
    n = n * 10 + (line[i] - '0');
    ++i;
  }
  if (i == 1 || i >= line.size() || line[i] != ']') return false;
  ++i;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  *id = n;
  *title = std::string(line.substr(i));
  return true;
}

// A line that keeps its own line inside a paragraph: a list item or an
// indented line.
bool StartsOwnLine(std::string_view line) {
  return line.substr(0, 3) == "・" || line.substr(0, 3) == "\xE3\x80\x80" ||
         (!line.empty() && (line[0] == '-' || line[0] == ' ' || line[0] == '\t'));
}

bool IsLatin(char c) { return static_cast<unsigned char>(c) < 0x80 && c != ' ' && c != '\t'; }

constexpr int kHelpWidth = 560;
constexpr int kHelpHeight = 400;
// The least a topic can be read in: the title, ten lines of its text and
// the close button beside the list of topics.
constexpr int kHelpMinWidth = 400;
constexpr int kHelpMinHeight = 260;
constexpr int kHelpGap = 4;

class HelpWindow : public QWidget {
 public:
  HelpWindow() {
    setWindowTitle(QStringLiteral("Zarv ヘルプ"));
    // The faces of the rest of the program, for the list as for the text.
    setFont(MakeFont("ＭＳ Ｐゴシック", 11));
    resize(kHelpWidth, kHelpHeight);
    list_ = new QListWidget;
    list_->setMaximumWidth(170);
    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    title_ = new QLabel;
    QFont bold = font();
    bold.setBold(true);
    title_->setFont(bold);
    close_ = new QPushButton(QStringLiteral("閉じる"));
    close_->setAutoDefault(false);
    auto* right = new QVBoxLayout;
    right->addWidget(title_);
    right->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(list_);
    layout->addLayout(right, 1);
    QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (row >= 0 && row < static_cast<int>(topics_.size())) ShowTopic(topics_[static_cast<size_t>(row)]);
    });
    QObject::connect(close_, &QPushButton::clicked, this, [this] { Close(); });
  }

  void Open(int topic, const Form* beside) {
    bool ok = false;
    const std::string bytes = ReadAllBytes(HelpFilePath(), &ok);
    topics_ = ok ? ParseHelpText(bytes) : std::vector<HelpTopic>();
    list_->blockSignals(true);
    list_->clear();
    for (const HelpTopic& t : topics_) list_->addItem(QStr(t.title));
    list_->blockSignals(false);
    if (topics_.empty()) {
      shown_ = 0;
      title_->setText(QStringLiteral("ヘルプ"));
      text_->setPlainText(QStringLiteral("ヘルプファイル zarv-help.txt が見つかりません。"));
    } else {
      size_t row = 0;
      for (size_t i = 0; i < topics_.size(); ++i) {
        if (topics_[i].id == topic) {
          row = i;
          break;
        }
      }
      list_->setCurrentRow(static_cast<int>(row));  // shows it
      ShowTopic(topics_[row]);
    }
    asker_ = beside ? beside->impl().widget : nullptr;
    if (beside) Place(*beside);
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
    list_->setFocus();
  }

  int Shown() const { return isVisible() ? shown_ : -1; }

 protected:
  void moveEvent(QMoveEvent* e) override {
    QWidget::moveEvent(e);
    // A window manager frames the window after it shows: once the frame is
    // known, the frame takes the place planned for it.
    const QRect frame = frameGeometry();
    if (!planned_.isValid() || !isVisible() || frame == geometry()) return;
    const QRect planned = planned_;
    planned_ = QRect();
    if (frame == planned) return;
    resize(planned.width() - (frame.width() - width()), planned.height() - (frame.height() - height()));
    move(planned.topLeft());
  }

  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) {
      Close();
      return;
    }
    QWidget::keyPressEvent(e);
  }

 private:
  // Beside the form, frames and title bars included, on the desktop's free area.
  void Place(const Form& beside) {
    QRect desk(0, 0, Screen().PixelWidth(), Screen().PixelHeight());
    if (const QScreen* s = QGuiApplication::primaryScreen(); s && s->geometry().size() == desk.size())
      desk = s->availableGeometry();
    const QWidget* asker = beside.impl().widget;
    const QRect form = asker && asker->isVisible()
                           ? asker->frameGeometry()
                           : QRect(RoundPx(beside.Left() / kTwipsPerPixel), RoundPx(beside.Top() / kTwipsPerPixel),
                                   RoundPx(beside.Width() / kTwipsPerPixel), RoundPx(beside.Height() / kTwipsPerPixel));
    const PixelRect at = PlaceHelpBeside({form.x(), form.y(), form.width(), form.height()},
                                         {desk.x(), desk.y(), desk.width(), desk.height()});
    // The frame's size: this window's once it has been framed, else as the
    // asking form's (the same window manager draws both).
    QSize frame = frameGeometry().size() - size();
    if (frame.isNull() && asker) frame = asker->frameGeometry().size() - asker->size();
    planned_ = QRect(at.x, at.y, at.w, at.h);
    resize(at.w - frame.width(), at.h - frame.height());
    move(at.x, at.y);  // the frame's corner
  }

  void Close() {
    hide();
    // Back to the screen that asked, which the user was on.
    if (asker_ && asker_->isVisible()) asker_->activateWindow();
  }

  void ShowTopic(const HelpTopic& t) {
    shown_ = t.id;
    title_->setText(QStr(t.title));
    text_->setPlainText(QStr(ReflowHelpText(t.text)));
  }

  QListWidget* list_;
  QPlainTextEdit* text_;
  QLabel* title_;
  QPushButton* close_;
  QPointer<QWidget> asker_;
  QRect planned_;  // where the frame goes, until the window manager has framed it
  std::vector<HelpTopic> topics_;
  int shown_ = -1;
};

QPointer<HelpWindow>& Window() {
  static QPointer<HelpWindow> w;
  [[maybe_unused]] static const bool registered = OnProgramReset(ResetStage::State, [] { CloseHelp(); });
  return w;
}

}  // namespace

std::vector<HelpTopic> ParseHelpText(std::string_view utf8) {
  std::vector<HelpTopic> topics;
  if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);  // BOM
  size_t pos = 0;
  while (pos <= utf8.size()) {
    size_t end = utf8.find('\n', pos);
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view line = utf8.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    int id = 0;
    std::string title;
    if (TopicHeader(line, &id, &title)) {
      topics.push_back(HelpTopic{id, title, {}});
    } else if (!topics.empty() && !(line.size() > 0 && line[0] == ';')) {
      std::string& text = topics.back().text;
      if (!text.empty() || !line.empty()) {  // no leading blank lines
        if (!text.empty()) text += '\n';
        text += line;
      }
    }
    if (end == utf8.size()) break;
    pos = end + 1;
  }
  for (HelpTopic& t : topics) {
    while (!t.text.empty() && (t.text.back() == '\n' || t.text.back() == ' ')) t.text.pop_back();
  }
  return topics;
}

std::string ReflowHelpText(std::string_view text) {
  std::string out;
  bool inParagraph = false;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const bool blank = line.find_first_not_of(" \t") == std::string_view::npos;
    if (blank) {
      inParagraph = false;
    } else if (!inParagraph) {
      if (!out.empty()) out += "\n\n";
      out += line;
      inParagraph = true;
    } else if (StartsOwnLine(line)) {
      out += '\n';
      out += line;
    } else {
      while (!out.empty() && out.back() == ' ') out.pop_back();
      if (!out.empty() && IsLatin(out.back()) && IsLatin(line.front())) out += ' ';
      out += line;
    }
    if (end == text.size()) break;
    pos = end + 1;
  }
  return out;
}

PixelRect PlaceHelpBeside(const PixelRect& form, const PixelRect& screen) {
  enum Side { Right, Left, Below, Above };
  const int formRight = form.x + form.w, formBottom = form.y + form.h;
  const int screenRight = screen.x + screen.w, screenBottom = screen.y + screen.h;
  const PixelRect room[4] = {
      {formRight + kHelpGap, screen.y, screenRight - formRight - kHelpGap, screen.h},
      {screen.x, screen.y, form.x - kHelpGap - screen.x, screen.h},
      {screen.x, formBottom + kHelpGap, screen.w, screenBottom - formBottom - kHelpGap},
      {screen.x, screen.y, screen.w, form.y - kHelpGap - screen.y},
  };
  // A w x h window on a side: against the form where the room allows, else
  // against the screen's edge; along the form's edge, on the screen.
  auto onSide = [&](int side, int w, int h) {
    PixelRect at{0, 0, w, h};
    switch (side) {
      case Right: at.x = std::min(formRight + kHelpGap, screenRight - w); break;
      case Left: at.x = std::max(screen.x, form.x - kHelpGap - w); break;
      case Below: at.y = std::min(formBottom + kHelpGap, screenBottom - h); break;
      default: at.y = std::max(screen.y, form.y - kHelpGap - h); break;
    }
    if (side == Right || side == Left)
      at.y = std::max(screen.y, std::min(form.y, screenBottom - h));
    else
      at.x = std::max(screen.x, std::min(form.x + (form.w - w) / 2, screenRight - w));
    return at;
  };
  int best = -1;
  long long bestArea = 0;
  for (int side = 0; side < 4; ++side) {
    const int w = std::min(room[side].w, kHelpWidth), h = std::min(room[side].h, kHelpHeight);
    const long long area = static_cast<long long>(w) * h;
    if (w >= kHelpMinWidth && h >= kHelpMinHeight && area > bestArea) {
      best = side;
      bestArea = area;
    }
  }
  if (best >= 0)
    return onSide(best, std::min(room[best].w, kHelpWidth), std::min(room[best].h, kHelpHeight));
  // No side has room to read in: its whole size over the form's lower part,
  // away from the strips, buttons and options the screens keep at the top.
  return onSide(Below, std::min(kHelpWidth, screen.w), std::min(kHelpHeight, screen.h));
}

std::string HelpFilePath() { return JoinPath(ProgramFolder(), "zarv-help.txt"); }

void ShowHelp(int topic, const Form* beside) {
  EnsureQtApp();
  if (!beside) beside = Screen().ActiveForm();
  if (!Window()) Window() = new HelpWindow;
  Window()->Open(topic, beside);
}

int HelpWindowTopic() { return Window() ? Window()->Shown() : -1; }

void CloseHelp() {
  // Destroyed, not hidden: no window may outlive the program's end.
  delete Window().data();
}

void HelpForForm(Form& f) { ShowHelp(f.HelpContextID(), &f); }

}  // namespace zarv
