#include "platform/ui/help.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

#include <cctype>

#include "platform/runtime/files.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form.h"
#include "platform/ui/form_qt.h"

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

class HelpWindow : public QWidget {
 public:
  HelpWindow() {
    setWindowTitle(QStringLiteral("Zarv ヘルプ"));
    resize(640, 440);
    list_ = new QListWidget;
    list_->setMaximumWidth(220);
    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    title_ = new QLabel;
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    auto* right = new QVBoxLayout;
    right->addWidget(title_);
    right->addWidget(text_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(right, 1);
    QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (row >= 0 && row < static_cast<int>(topics_.size())) ShowTopic(topics_[static_cast<size_t>(row)]);
    });
  }

  void Open(int topic) {
    bool ok = false;
    const std::string bytes = ReadAllBytes(HelpFilePath(), &ok);
    topics_ = ok ? ParseHelpText(bytes) : std::vector<HelpTopic>();
    list_->blockSignals(true);
    list_->clear();
    for (const HelpTopic& t : topics_) list_->addItem(QString::number(t.id) + QStringLiteral("  ") + QStr(t.title));
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
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
    activateWindow();
  }

  int Shown() const { return isVisible() ? shown_ : -1; }

 private:
  void ShowTopic(const HelpTopic& t) {
    shown_ = t.id;
    title_->setText(QStr(t.title));
    text_->setPlainText(QStr(t.text));
  }

  QListWidget* list_;
  QPlainTextEdit* text_;
  QLabel* title_;
  std::vector<HelpTopic> topics_;
  int shown_ = -1;
};

QPointer<HelpWindow>& Window() {
  static QPointer<HelpWindow> w;
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

std::string HelpFilePath() { return JoinPath(ProgramFolder(), "zarv-help.txt"); }

void ShowHelp(int topic) {
  EnsureQtApp();
  if (!Window()) Window() = new HelpWindow;
  Window()->Open(topic);
}

int HelpWindowTopic() { return Window() ? Window()->Shown() : -1; }

void CloseHelp() {
  // Destroyed, not hidden: no window may outlive the program's end.
  delete Window().data();
}

void HelpForForm(Form& f) { ShowHelp(f.HelpContextID()); }

}  // namespace zarv
