// Message boxes, the help window with F1 and SendKeys, printing a form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms_testing.h"
#include "platform/runtime/files.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/help.h"
#include "platform/ui/keys.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/print.h"
#include "platform/ui/sendkeys.h"
#include "runtime_tempdir.h"

namespace zarv {
namespace {

using testing::EnsureApp;
using testing::PumpUntil;
using testing::TempDir;

class FormsDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    SetProgramFolder(dir_.path());
    ClearMessageBoxCalls();
  }
  void TearDown() override {
    SetMessageBoxResponder(nullptr);
    SetPrintDialogResponder(nullptr);
    SetPrintToPdf(false);
    CloseHelp();
    SetProgramFolder("");
  }
  TempDir dir_;
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
  EXPECT_EQ(LastPrintFile(), JoinPath(dir_.path(), "print000.pdf"));
  bool ok = false;
  EXPECT_EQ(ReadAllBytes(LastPrintFile(), &ok).substr(0, 5), "%PDF-");
  // The next print takes the next free name; a cancelled one writes nothing.
  ASSERT_TRUE(PrintForm(f));
  EXPECT_EQ(LastPrintFile(), JoinPath(dir_.path(), "print001.pdf"));
  SetPrintDialogResponder([](const PrintJob&) { return false; });
  EXPECT_FALSE(PrintForm(f));
  EXPECT_TRUE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  EXPECT_FALSE(FileExists(JoinPath(dir_.path(), "print002.pdf")));
  // A file that cannot be written is a failure, not a cancel.
  SetPrintDialogResponder([](const PrintJob&) { return true; });
  SetProgramFolder(JoinPath(dir_.path(), "missing"));
  EXPECT_FALSE(PrintForm(f));
  EXPECT_FALSE(LastPrintCancelled());
  EXPECT_EQ(LastPrintFile(), "");
  SetProgramFolder(dir_.path());
  f.Unload();
}

}  // namespace
}  // namespace zarv
