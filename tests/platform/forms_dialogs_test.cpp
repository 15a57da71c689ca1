// Message boxes, the help window with F1 and SendKeys, printing a form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTextLayout>
#include <QTextOption>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "forms_testing.h"
#include "platform/runtime/files.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/surface_qt.h"
#include "platform/ui/help.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "platform/ui/sendkeys.h"
#include "program_test.h"

namespace zarv {
namespace {

using testing::EnsureApp;
using testing::FileSizeLimit;
using testing::PumpUntil;
using testing::ProgramTest;

class FormsDialogs : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnsureApp();
  }
};

TEST_F(FormsDialogs, MessageBoxesAreAnsweredAndRecorded) {
  SetMessageBoxResponder([](const MsgBoxCall& call) { return (call.style & 7) == vbYesNo ? vbNo : vbOK; });
  EXPECT_EQ(MsgBox("機体を選んで下さい。", vbExclamation, "Zarv"), vbOK);
  EXPECT_EQ(MsgBox("上書きしますか？", vbYesNo + vbQuestion), vbNo);
  ASSERT_EQ(MessageBoxCalls().size(), 2u);
  EXPECT_EQ(MessageBoxCalls()[0].prompt, "機体を選んで下さい。");
  EXPECT_EQ(MessageBoxCalls()[0].style, 48);
  EXPECT_EQ(MessageBoxCalls()[1].style, 36);
  EXPECT_EQ(MessageBoxCalls()[1].title, "Zarv");  // the default title
}

// A message box is owned by the form on top, which it opens over and is
// raised with: the form shown last, or after that one is hidden the one
// before it, whatever window the window system still calls active.
TEST_F(FormsDialogs, AMessageBoxBelongsToTheFormOnTop) {
  Form first, second;
  first.Show();
  second.Show();
  QWidget other;  // a window that is no form, active last
  other.show();
  other.activateWindow();
  PumpUntil([&] { return QApplication::activeWindow() == &other; }, 500);
  const auto ownerOfTheNextBox = [] {
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&owner] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      owner = box->parentWidget();
      box->buttons().front()->click();
    });
    EXPECT_EQ(MsgBox("飛行記録ﾌｧｲﾙを整理できませんでした。", vbExclamation), vbOK);
    return owner;
  };
  EXPECT_EQ(ownerOfTheNextBox(), second.impl().widget);
  second.Hide();
  EXPECT_EQ(ownerOfTheNextBox(), first.impl().widget);
  first.Unload();
  second.Unload();
}

// A piece with nowhere to break is broken between characters where it is
// wider than allowed; what can break (blanks, Japanese) is left alone. In a
// fixed-pitch font the widths count characters: five allowed.
TEST_F(FormsDialogs, UnbrokenPiecesAreBrokenWhereTheyMust) {
  const QFontMetrics fm(MakeFont("ＭＳ ゴシック", 10));
  ASSERT_EQ(fm.horizontalAdvance(QStringLiteral("M")), fm.horizontalAdvance(QStringLiteral("i")));
  const int five = fm.horizontalAdvance(QStringLiteral("MMMMM"));
  const std::pair<const char*, const char*> cases[] = {
      {"abcdefghijkl", "abcde\nfghij\nkl"},
      {"ab cd ef", "ab cd ef"},
      {"abcdefghij klm", "abcde\nfghij klm"},
      {"short\nabcdefg", "short\nabcde\nfg"},
      {"機体データが変更されています", "機体データが変更されています"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(StdStr(BreakUnbrokenRuns(QString::fromUtf8(in), fm, five)), out) << in;
  }
}

// A question naming an aircraft file with a long unbroken name lies whole on
// the desktop, the name broken where it must be and nothing of it cut.
TEST_F(FormsDialogs, AMessageBoxKeepsALongNameWholeOnTheDesktop) {
  const std::string name = "/home/pilot/Zarv/Data/" + std::string(180, 'W') + "LongUnbrokenAircraft.brd";
  const std::string prompt = name + "\r\nは機体データが変更されています。保存しますか。";
  QRect frame, desktop;
  QString shown;
  bool fits = true;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    frame = box->frameGeometry();
    desktop = box->screen()->availableGeometry();
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label != nullptr) {
      shown = label->text();
      // Laid out as the label wraps it, every line keeps within the label.
      const int room = label->contentsRect().width();
      for (const QString& paragraph : shown.split(QChar('\n'))) {
        QTextLayout layout(paragraph, label->font());
        layout.setTextOption(QTextOption(Qt::AlignLeft));  // wraps at word boundaries only
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
          line.setLineWidth(room);
          fits = fits && line.naturalTextWidth() <= room;
        }
        layout.endLayout();
      }
    }
    box->buttons().front()->click();
  });
  MsgBox(prompt, vbYesNo + vbQuestion);
  EXPECT_TRUE(desktop.contains(frame)) << frame.width() << " x " << frame.height();
  EXPECT_EQ(StdStr(QString(shown).remove(QChar('\n'))),
            name + "は機体データが変更されています。保存しますか。");
  EXPECT_TRUE(fits);
}

TEST_F(FormsDialogs, PopupMenuRaisesTheChosenItem) {
  Form f;
  Menu menu;
  menu.AddItem("ヘルプ");
  menu.AddItem("-");
  const int quit = menu.AddItem("終了");
  std::vector<int> chosen;
  menu.OnClick = [&](int i) { chosen.push_back(i); };
  int answer = quit;
  SetPopupMenuResponder([&](const Menu& m) {
    EXPECT_EQ(m.Count(), 3);
    return answer;
  });
  f.PopupMenu(menu);
  answer = -1;  // dismissed
  f.PopupMenu(menu);
  menu[quit].enabled = false;
  answer = quit;  // a disabled item cannot be chosen
  f.PopupMenu(menu);
  EXPECT_EQ(chosen, std::vector<int>{quit});
  SetPopupMenuResponder(nullptr);
}

TEST_F(FormsDialogs, HelpTopicsFromTheHelpText) {
  const auto topics = ParseHelpText(
      "\xEF\xBB\xBF; comment\r\n[1] 概要\r\n\r\n本文1\r\n二行目\r\n\r\n[20]機体選択\n;注\n本文20\n[x] not a topic\n");
  ASSERT_EQ(topics.size(), 2u);
  EXPECT_EQ(topics[0].id, 1);
  EXPECT_EQ(topics[0].title, "概要");
  EXPECT_EQ(topics[0].text, "本文1\n二行目");
  EXPECT_EQ(topics[1].id, 20);
  EXPECT_EQ(topics[1].title, "機体選択");
  EXPECT_EQ(topics[1].text, "本文20\n[x] not a topic");
  EXPECT_TRUE(ParseHelpText("no topics here").empty());
}

TEST_F(FormsDialogs, HelpParagraphsFlowAndListLinesStay) {
  EXPECT_EQ(ReflowHelpText("人力飛行機や\nグライダーの\n飛行距離"), "人力飛行機やグライダーの飛行距離");
  EXPECT_EQ(ReflowHelpText("Zarv flies\ngliders. \nF1 opens"), "Zarv flies gliders. F1 opens");
  EXPECT_EQ(ReflowHelpText("一\n\n\n二\r\n三"), "一\n\n二三");
  EXPECT_EQ(ReflowHelpText("キー:\n・Esc\n・F12：終了\n  字下げ\n続き"),
            "キー:\n・Esc\n・F12：終了\n  字下げ続き");
  EXPECT_EQ(ReflowHelpText(""), "");
}

TEST_F(FormsDialogs, HelpGoesBesideTheFormThatAsked) {
  auto apart = [](const PixelRect& a, const PixelRect& b) {
    return a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
  };
  auto inside = [](const PixelRect& r, const PixelRect& screen) {
    return r.x >= screen.x && r.y >= screen.y && r.x + r.w <= screen.x + screen.w &&
           r.y + r.h <= screen.y + screen.h;
  };
  const PixelRect xga{0, 0, 1024, 768}, sxga{0, 0, 1280, 1024}, fullHd{0, 0, 1920, 1080};
  // A small centred window (the hangar), one in a corner (the editor over
  // the flight screen), flight screens of 640 and 1024 with room beside them.
  const struct {
    PixelRect form, screen;
  } beside[] = {{{292, 271, 441, 226}, xga},   {{0, 0, 640, 480}, xga},       {{600, 300, 300, 200}, xga},
                {{320, 272, 640, 480}, sxga},  {{448, 156, 1024, 768}, fullHd}};
  for (const auto& c : beside) {
    const PixelRect at = PlaceHelpBeside(c.form, c.screen);
    EXPECT_TRUE(apart(at, c.form)) << c.form.x << "," << c.form.y << " -> " << at.x << "," << at.y;
    EXPECT_TRUE(inside(at, c.screen)) << at.x << "," << at.y << " " << at.w << "x" << at.h;
    EXPECT_GE(at.w, 400);
    EXPECT_GE(at.h, 260);  // ten lines of the topic, not three
  }
  // Too little room on every side to read in (the flight screens of 800 and
  // 1024 on a 1280 x 1024 desktop, the notice with its notes, a screen-filling
  // form): the whole window over the form's lower part, on the screen.
  const struct {
    PixelRect form, screen, at;
  } over[] = {{{240, 212, 800, 600}, sxga, {360, 624, 560, 400}},
              {{128, 128, 1024, 768}, sxga, {360, 624, 560, 400}},
              {{248, 144, 527, 480}, xga, {232, 368, 560, 400}},
              {{0, 0, 1024, 768}, xga, {232, 368, 560, 400}}};
  for (const auto& c : over) {
    const PixelRect at = PlaceHelpBeside(c.form, c.screen);
    EXPECT_EQ(std::vector<int>({at.x, at.y, at.w, at.h}), std::vector<int>({c.at.x, c.at.y, c.at.w, c.at.h}))
        << c.form.x << "," << c.form.y << " " << c.form.w << "x" << c.form.h;
  }
  // A desktop smaller than the window: as much of it as there is.
  const PixelRect small = PlaceHelpBeside({0, 0, 640, 480}, {0, 0, 640, 480});
  EXPECT_EQ(std::vector<int>({small.x, small.y, small.w, small.h}), std::vector<int>({40, 80, 560, 400}));
}

TEST_F(FormsDialogs, HelpWindowListsTitlesAndClosesByEscOrItsButton) {
  ASSERT_TRUE(AtomicWriteBytes(HelpFilePath(), "[1] 概要\n全般\n[20] MardenⅡの選択\n格納庫\n"));
  Form f;
  f.SetWidth(300 * kTwipsPerPixel);
  f.SetHeight(200 * kTwipsPerPixel);
  f.SetLeft(50 * kTwipsPerPixel);
  f.SetTop(40 * kTwipsPerPixel);
  f.Show();
  auto window = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->windowTitle() == QStringLiteral("Zarv ヘルプ")) return w;
    return static_cast<QWidget*>(nullptr);
  };
  ShowHelp(20, &f);
  QWidget* help = window();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(HelpWindowTopic(), 20);
  // Beside the form (50, 40, 300 x 200), not over it.
  const QRect at = help->geometry();
  EXPECT_FALSE(at.intersects(QRect(50, 40, 300, 200)))
      << at.x() << "," << at.y() << " " << at.width() << "x" << at.height();
  auto* list = help->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("概要"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("MardenⅡの選択"));
  EXPECT_TRUE(QFontInfo(list->font()).family().startsWith(QStringLiteral("IPA")));

  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(list, &esc);
  EXPECT_EQ(HelpWindowTopic(), -1);

  ShowHelp(1, &f);
  EXPECT_EQ(HelpWindowTopic(), 1);
  QPushButton* close = nullptr;
  for (QPushButton* b : help->findChildren<QPushButton*>())
    if (b->text() == QStringLiteral("閉じる")) close = b;
  ASSERT_NE(close, nullptr);
  close->click();
  EXPECT_EQ(HelpWindowTopic(), -1);
  CloseHelp();
  f.Unload();
}

TEST_F(FormsDialogs, F1SentToTheProgramOpensTheActiveFormsTopic) {
  ASSERT_TRUE(AtomicWriteBytes(HelpFilePath(), "[1] 概要\n全般\n[20] 機体選択\n格納庫\n"));
  Form f;
  CommandButton help(f);
  help.OnClick = [] { SendKeys("{F1}"); };
  f.SetHelpContextID(20);
  f.Show();
  help.SetValue(true);
  ASSERT_TRUE(PumpUntil([] { return HelpWindowTopic() != -1; }));
  EXPECT_EQ(HelpWindowTopic(), 20);
  CloseHelp();
  EXPECT_EQ(HelpWindowTopic(), -1);

  // An unknown topic shows the first one; a key handler sees F1 first.
  f.SetHelpContextID(999);
  f.SetKeyPreview(true);
  int seen = 0;
  f.OnKeyDown = [&](int& key, int) { seen = key; };
  ASSERT_TRUE(SendKeys("{F1}", true));
  EXPECT_EQ(seen, vbKeyF1);
  EXPECT_EQ(HelpWindowTopic(), 1);

  // Plain characters typed into the focused box.
  TextBox text(f);
  text.SetFocus();
  ASSERT_TRUE(SendKeys("ab{BS}c", true));
  EXPECT_EQ(text.Text(), "ac");
  f.Unload();
}

TEST_F(FormsDialogs, PrintFormWritesAPdfWithoutAPrinter) {
  Form f;
  f.SetCaption("Zarv 機体特性");
  f.SetWidth(200 * kTwipsPerPixel);
  f.SetHeight(100 * kTwipsPerPixel);
  f.Show();
  SetPrintToPdf(true);
  std::vector<PrintJob> jobs;
  SetPrintDialogResponder([&](const PrintJob& job) {
    jobs.push_back(job);
    return true;
  });
  ASSERT_TRUE(PrintForm(f));
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].width, 200);
  EXPECT_EQ(jobs[0].height, 100);
  EXPECT_TRUE(jobs[0].toPdf);
  EXPECT_EQ(LastPrintFile(), JoinPath(folder_, "print000.pdf"));
  bool ok = false;
  EXPECT_EQ(ReadAllBytes(LastPrintFile(), &ok).substr(0, 5), "%PDF-");
  // The next print takes the next free name; a cancelled one writes nothing.
  ASSERT_TRUE(PrintForm(f));
  EXPECT_EQ(LastPrintFile(), JoinPath(folder_, "print001.pdf"));
  SetPrintDialogResponder([](const PrintJob&) { return false; });
  EXPECT_FALSE(PrintForm(f));
  EXPECT_TRUE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  EXPECT_FALSE(FileExists(JoinPath(folder_, "print002.pdf")));
  // A file that cannot be written is a failure, not a cancel, and leaves
  // nothing behind: past a file-size limit (the page is some kilobytes) as
  // in a folder that is missing.
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  {
    FileSizeLimit limit(512);
    EXPECT_FALSE(PrintForm(f));
  }
  EXPECT_FALSE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  EXPECT_EQ(LastUnsavedPrintFile(), JoinPath(folder_, "print002.pdf"));
  EXPECT_EQ(ListFiles(folder_, "print*.pdf"), (std::vector<std::string>{"print000.pdf", "print001.pdf"}));
  EXPECT_EQ(RemoveOrphanTemps(folder_), 0);
  SetProgramFolder(JoinPath(folder_, "missing"));
  EXPECT_FALSE(PrintForm(f));
  EXPECT_FALSE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  EXPECT_EQ(LastUnsavedPrintFile(), JoinPath(folder_, "missing/print000.pdf"));
  SetProgramFolder(folder_);
  ASSERT_TRUE(PrintForm(f));
  EXPECT_EQ(LastUnsavedPrintFile(), "");
  f.Unload();
}

// A print takes its name as it is saved: another copy printing at once
// (here the dialog's moment) has taken the name first, and gets to keep
// its page. With print000.pdf to print999.pdf all there, nothing is saved
// and nothing replaced.
TEST_F(FormsDialogs, APrintNeverReplacesAFile) {
  Form f;
  f.SetWidth(200 * kTwipsPerPixel);
  f.SetHeight(100 * kTwipsPerPixel);
  f.Show();
  SetPrintToPdf(true);
  SetPrintDialogResponder([&](const PrintJob& job) {
    EXPECT_EQ(job.pdfPath, JoinPath(folder_, "print000.pdf"));
    return AtomicWriteBytes(job.pdfPath, "the other copy's");
  });
  ASSERT_TRUE(PrintForm(f));
  EXPECT_EQ(LastPrintFile(), JoinPath(folder_, "print001.pdf"));
  EXPECT_EQ(ReadAllBytes(JoinPath(folder_, "print000.pdf")), "the other copy's");
  EXPECT_EQ(LastPrintFolderFull(), "");

  SetPrintDialogResponder([](const PrintJob&) { return true; });
  for (int n = 2; n <= 999; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "print%03d.pdf", n);
    WriteBytes(JoinPath(folder_, name), "user's");
  }
  EXPECT_FALSE(PrintForm(f));
  EXPECT_FALSE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  EXPECT_EQ(LastUnsavedPrintFile(), "");
  EXPECT_EQ(LastPrintFolderFull(), folder_);
  EXPECT_EQ(ReadAllBytes(JoinPath(folder_, "print999.pdf")), "user's");
  EXPECT_EQ(ReadAllBytes(JoinPath(folder_, "print001.pdf")).substr(0, 5), "%PDF-");
  EXPECT_EQ(RemoveOrphanTemps(folder_), 0);
  SetPrintDialogResponder(nullptr);
  SetPrintToPdf(false);
  f.Unload();
}

}  // namespace
}  // namespace zarv
