// Controls: values set from code raise their events, keys reach forms and
// controls as the runtime delivers them, lists, file and folder lists, and
// the picture box's image on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QWidget>

#include <string>
#include <vector>

#include "forms_testing.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/ui/control_qt.h"
#include "platform/ui/form_qt.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/keys.h"
#include "platform/ui/surface.h"
#include "program_test.h"

namespace zarv {
namespace {

using testing::EnsureApp;

class EveryControlForm : public Form {
 public:
  EveryControlForm() {
    SetWidth(400 * kTwipsPerPixel);
    SetHeight(300 * kTwipsPerPixel);
    OkButton.SetCaption("OK");
    OkButton.SetDefault(true);
    CancelButton.SetCaption("ｷｬﾝｾﾙ(Esc)");
    CancelButton.SetCancel(true);
    OkButton.OnClick = [this] { log.push_back("Ok"); };
    CancelButton.OnClick = [this] { log.push_back("Cancel"); };
    Option1.SetValue(true);
    Frame1.Move(200, 10, 150, 80);
    Inner1.Move(10, 20, 100, 20);
    Inner2.Move(10, 45, 100, 20);
    Picture1.Move(10, 150, 60, 40);
  }
  std::vector<std::string> log;

  CommandButton OkButton{*this};
  CommandButton CancelButton{*this};
  Label Label1{*this};
  CheckBox Check1{*this};
  OptionButton Option1{*this};
  OptionButton Option2{*this};
  Frame Frame1{*this};
  OptionButton Inner1{Frame1};
  OptionButton Inner2{Frame1};
  TextBox Text1{*this};
  ComboBox Combo1{*this};
  ListBox List1{*this};
  VScrollBar VScroll1{*this};
  HScrollBar HScroll1{*this};
  PictureBox Picture1{*this};
  FileListBox File1{*this};
  DirListBox Dir1{*this};
  DriveListBox Drive1{*this};
};

// Types a key into the form's focused widget, as the window system does.
void Key(Form& f, int qtKey, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* window = f.impl().widget;
  QWidget* target = window->focusWidget() ? window->focusWidget() : window;
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QApplication::sendEvent(target, &release);
}

void Click(QWidget* w, QPoint at, Qt::MouseButton b = Qt::LeftButton) {
  const QPointF local(at);
  const QPointF global(w->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, b, b, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, b, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

class FormsControls : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EnsureApp();
  }
};

TEST_F(FormsControls, DefaultAndCancelButtonsAnswerEnterAndEsc) {
  EveryControlForm f;
  f.Show();
  f.Text1.SetFocus();
  int keyDowns = 0;
  f.Text1.OnKeyDown = [&](int&, int) { ++keyDowns; };
  Key(f, Qt::Key_Return, "\r");
  Key(f, Qt::Key_Escape, "\x1b");
  EXPECT_EQ(f.log, (std::vector<std::string>{"Ok", "Cancel"}));
  EXPECT_EQ(keyDowns, 0);  // the buttons take these keys

  // Esc presses a hidden cancel button too, but not a disabled one.
  f.log.clear();
  f.CancelButton.SetVisible(false);
  Key(f, Qt::Key_Escape, "\x1b");
  EXPECT_EQ(f.log, std::vector<std::string>{"Cancel"});
  f.CancelButton.SetEnabled(false);
  Key(f, Qt::Key_Escape, "\x1b");
  EXPECT_EQ(f.log, std::vector<std::string>{"Cancel"});
  f.CancelButton.SetEnabled(true);
  f.CancelButton.SetVisible(true);
  keyDowns = 0;

  // Enter on a focused button presses that button.
  f.log.clear();
  f.CancelButton.SetFocus();
  Key(f, Qt::Key_Return, "\r");
  EXPECT_EQ(f.log, std::vector<std::string>{"Cancel"});

  // One default button per form; without it Enter is an ordinary key.
  f.log.clear();
  f.CancelButton.SetDefault(true);
  EXPECT_FALSE(f.OkButton.Default());
  f.CancelButton.SetDefault(false);
  f.Text1.SetFocus();
  Key(f, Qt::Key_Return, "\r");
  EXPECT_TRUE(f.log.empty());
  EXPECT_EQ(keyDowns, 1);
  f.Unload();
  // The unload put the design's default button back.
  EXPECT_TRUE(f.OkButton.Default());
}

TEST_F(FormsControls, KeyPreviewKeyCodesAndKeyAscii) {
  EveryControlForm f;
  f.OkButton.SetDefault(false);
  f.CancelButton.SetCancel(false);
  std::vector<std::string> log;
  f.OnKeyDown = [&](int& k, int shift) {
    log.push_back("form down " + std::to_string(k) + "/" + std::to_string(shift));
    if (k == vbKeyF5) k = 0;  // swallowed
  };
  f.OnKeyPress = [&](int& a) {
    log.push_back("form press " + std::to_string(a));
    if (a == 'x') a = 0;
    if (a == 'a') a = 'b';
  };
  f.Text1.OnKeyDown = [&](int& k, int) { log.push_back("text down " + std::to_string(k)); };
  f.Text1.OnKeyPress = [&](int& a) { log.push_back("text press " + std::to_string(a)); };
  f.SetKeyPreview(true);
  f.Show();
  f.Text1.SetFocus();

  Key(f, Qt::Key_5, "5", Qt::KeypadModifier);
  EXPECT_EQ(log, (std::vector<std::string>{"form down 101/0", "text down 101", "form press 53", "text press 53"}));
  log.clear();
  Key(f, Qt::Key_F5);
  EXPECT_EQ(log, std::vector<std::string>{"form down 116/0"});  // zeroed: the box never sees it
  log.clear();
  Key(f, Qt::Key_Comma, ",", Qt::ShiftModifier);
  EXPECT_EQ(log.front(), "form down 188/1");

  // KeyAscii 0 swallows the character, another value types that one.
  f.Text1.SetText("");
  Key(f, Qt::Key_X, "x");
  Key(f, Qt::Key_A, "a");
  Key(f, Qt::Key_C, "c");
  EXPECT_EQ(f.Text1.Text(), "bc");

  // Without KeyPreview the focused control alone sees the key.
  log.clear();
  f.SetKeyPreview(false);
  Key(f, Qt::Key_Up);
  EXPECT_EQ(log, std::vector<std::string>{"text down 38"});
  f.Unload();
}

TEST_F(FormsControls, ValuesSetFromCodeRaiseTheirEvents) {
  EveryControlForm f;
  std::vector<std::string> log;
  f.Check1.OnClick = [&] { log.push_back("check " + std::to_string(f.Check1.Value())); };
  f.Option1.OnClick = [&] { log.push_back("opt1"); };
  f.Option2.OnClick = [&] { log.push_back("opt2"); };
  f.Inner1.OnClick = [&] { log.push_back("inner1"); };
  f.Text1.OnChange = [&] { log.push_back("text " + f.Text1.Text()); };
  f.Label1.OnChange = [&] { log.push_back("label"); };
  f.Show();

  f.Check1.SetValue(1);
  f.Check1.SetValue(1);  // no change: no event
  f.Check1.SetValue(2);
  f.Text1.SetText("abc");
  f.Text1.SetText("abc");
  f.Label1.SetCaption("50％完了しました");
  EXPECT_EQ(log, (std::vector<std::string>{"check 1", "check 2", "text abc", "label"}));

  // Option buttons exclude each other within their container only.
  log.clear();
  f.Inner1.SetValue(true);
  EXPECT_TRUE(f.Option1.Value());
  f.Option2.SetValue(true);
  EXPECT_FALSE(f.Option1.Value());
  EXPECT_TRUE(f.Inner1.Value());
  f.Option2.SetValue(true);   // already chosen: nothing
  f.Option1.SetValue(false);  // clearing raises nothing
  EXPECT_EQ(log, (std::vector<std::string>{"inner1", "opt2"}));

  // A user's click on a check box toggles it and raises Click.
  log.clear();
  f.Check1.SetValue(0);
  log.clear();
  QWidget* box = f.Check1.impl().widget;
  Click(box, QPoint(6, box->height() / 2));
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(log, std::vector<std::string>{"check 1"});

  // A multi-line box gives its lines joined by CR LF.
  f.Text1.SetMultiLine(true);
  f.Text1.SetText("one\r\ntwo");
  EXPECT_EQ(f.Text1.Text(), "one\r\ntwo");
  f.Unload();
}

TEST_F(FormsControls, ScrollBarsClampAndRaiseChangeReentrantly) {
  EveryControlForm f;
  VScrollBar& bar = f.VScroll1;
  bar.SetMin(0);
  bar.SetMax(100);
  bar.SetSmallChange(1);
  bar.SetLargeChange(10);
  std::vector<int> seen;
  bar.OnChange = [&] {
    seen.push_back(bar.Value());
    if (bar.Value() == 40) bar.SetValue(25);  // a handler that corrects the value
  };
  bar.SetValue(40);
  EXPECT_EQ(seen, (std::vector<int>{40, 25}));
  EXPECT_EQ(bar.Value(), 25);
  seen.clear();
  bar.SetValue(500);
  bar.SetValue(-3);
  EXPECT_EQ(seen, (std::vector<int>{100, 0}));
  // Narrowing the range pulls the value in (with Change).
  bar.SetValue(80);
  seen.clear();
  bar.SetMax(60);
  EXPECT_EQ(bar.Value(), 60);
  EXPECT_EQ(seen, std::vector<int>{60});
  // A reversed bar (Min above Max).
  HScrollBar& h = f.HScroll1;
  h.SetMin(10);
  h.SetMax(-10);
  h.SetValue(20);
  EXPECT_EQ(h.Value(), 10);
  h.SetValue(-20);
  EXPECT_EQ(h.Value(), -10);
}

TEST_F(FormsControls, ListsComboBoxesAndTheirIndexes) {
  EveryControlForm f;
  int clicks = 0;
  f.List1.OnClick = [&] { ++clicks; };
  for (const char* s : {"b", "c"}) f.List1.AddItem(s);
  f.List1.AddItem("a", 0);
  EXPECT_EQ(f.List1.ListCount(), 3);
  EXPECT_EQ(f.List1.List(0), "a");
  EXPECT_EQ(f.List1.List(3), "");
  EXPECT_EQ(f.List1.ListIndex(), -1);
  f.List1.SetListIndex(2);
  EXPECT_EQ(f.List1.Text(), "c");
  EXPECT_TRUE(f.List1.Selected(2));
  f.List1.RemoveItem(0);  // the selection stays on its entry
  EXPECT_EQ(f.List1.ListIndex(), 1);
  EXPECT_EQ(clicks, 1);
  f.List1.SetSelected(1, false);
  EXPECT_EQ(f.List1.ListIndex(), -1);
  EXPECT_EQ(clicks, 2);

  ComboBox& combo = f.Combo1;
  combo.SetStyle(vbComboDropDownList);
  int comboClicks = 0, drops = 0;
  combo.OnClick = [&] { ++comboClicks; };
  combo.OnDropDown = [&] { ++drops; };
  for (const char* s : {"NACA0009", "NACA0012", "DAE41?"}) combo.AddItem(s);
  EXPECT_EQ(combo.ListIndex(), -1);  // adding selects nothing
  EXPECT_EQ(combo.Text(), "");
  combo.SetText("DAE41?");
  EXPECT_EQ(combo.ListIndex(), 2);
  combo.SetText("no such airfoil");
  EXPECT_EQ(combo.ListIndex(), 2);
  EXPECT_EQ(comboClicks, 1);
  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.Text(), "");
  combo.SetStyle(vbComboDropDown);
  combo.SetText("typed");
  EXPECT_EQ(combo.Text(), "typed");
  combo.Clear();
  EXPECT_EQ(combo.Text(), "");

  EXPECT_EQ(f.Drive1.Drive(), "/");
  EXPECT_EQ(f.Drive1.ListCount(), 1);
}

// Menus lay their rows 15.6 pixels apart and pick the row under the pointer
// by y / 15.6 - 0.5 to the nearest: every pixel of the list's inside must
// give the row drawn there, also for rows added after the pitch was set.
TEST_F(FormsControls, ListRowsAtAPitchMatchTheRowUnderThePointer) {
  EveryControlForm f;
  f.List1.Move(0, 0, 135, 87);
  f.List1.AddItem("a");
  f.List1.SetRowHeight(15.6);
  for (const char* s : {"b", "", "d", "e"}) f.List1.AddItem(s);
  f.Show();
  auto* list = static_cast<QListWidget*>(f.List1.impl().widget.data());
  EXPECT_FALSE(list->verticalScrollBar()->isVisible());  // five rows fit 87 pixels
  double seenY = -1;
  f.List1.OnMouseMove = [&](int, int, double, double y) { seenY = y; };
  QWidget* inside = list->viewport();
  for (int y = 0; y < 78; ++y) {
    const QPoint at(40, y);
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(inside->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(inside, &move);
    EXPECT_EQ(CInt(seenY / 15.6 - 0.5), list->indexAt(at).row()) << "y " << y;
  }
  f.Unload();
}

// The menus' fonts are a pixel or two taller than their rows of 15 and 16
// pixels; the glyphs must still show whole in every row, those that reach
// the top of the em square ("プ", "随") and those that reach its foot
// ("翼") alike, in rows of either height.
TEST_F(FormsControls, ListRowsAtAPitchShowTheirGlyphsWhole) {
  const std::vector<std::string> flightMenu = {"ヘルプ             F1", "翼型特性           F3",
                                               "機体の登録         F8", "随伴ﾓｰﾄﾞ解除 Esc or F9",
                                               "機体データの変更   F7", " Zarv の終了      F12",
                                               "ﾌﾟﾗｯﾄﾎｰﾑへ  Esc or F9", "ｶﾒﾗ立ち位置  F2"};
  const std::vector<std::string> chartMenu = {"ﾌｧｲﾙを開く F3", "印   刷    F6", "", "ｷｬﾝｾﾙ     Esc"};
  const struct {
    double points;  // the menus' 12 and 13 points, also with large system fonts (x 0.8)
    const std::vector<std::string>* rows;
  } cases[] = {{12, &flightMenu}, {9.6, &flightMenu}, {13, &chartMenu}, {10.4, &chartMenu}};
  for (const auto& c : cases) {
    const std::vector<std::string>& rows = *c.rows;
    for (int shift = 0; shift < 2; ++shift) {  // each text in a row of 16 and in one of 15 pixels
      EveryControlForm f;
      f.List1.SetFontName("ＭＳ ゴシック");
      f.List1.SetFontSize(c.points);
      f.List1.Move(0, 0, 300, 150);
      f.List1.SetRowHeight(15.6);
      if (shift) f.List1.AddItem("");
      for (const std::string& r : rows) f.List1.AddItem(r);
      f.Show();
      auto* list = static_cast<QListWidget*>(f.List1.impl().widget.data());
      const QImage shown = list->viewport()->grab().toImage();
      const QRgb back = shown.pixel(shown.width() - 1, shown.height() - 1);
      QFont font = list->font();
      font.setStyleStrategy(QFont::NoAntialias);
      for (int k = shift; k < f.List1.ListCount(); ++k) {
        const QRect r = list->visualItemRect(list->item(k));
        ASSERT_EQ(r.top(), CInt(15.6 * k));
        int inRow = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
          for (int x = 0; x < shown.width(); ++x) inRow += shown.pixel(x, y) != back;
        // The same text drawn with room all round.
        QImage free(shown.width(), 60, QImage::Format_RGB32);
        free.fill(back);
        {
          QPainter p(&free);
          p.setFont(font);
          p.setPen(list->palette().color(QPalette::Text));
          p.drawText(QPoint(4, 30), QString::fromStdString(f.List1.List(k)));
        }
        int whole = 0;
        for (int y = 0; y < free.height(); ++y)
          for (int x = 0; x < free.width(); ++x) whole += free.pixel(x, y) != back;
        EXPECT_EQ(inRow, whole) << c.points << " pt, row " << k << " " << r.height() << " px high";
      }
      f.Unload();
    }
  }
}

TEST_F(FormsControls, FileAndFolderLists) {
  ScratchFolder dir;
  for (const char* name : {"b.brd", "A.brd", "c.csv"}) ASSERT_TRUE(AtomicWriteBytes(dir / name, "x"));
  ASSERT_TRUE(MakeDir(dir / "Data"));
  ASSERT_TRUE(MakeDir(dir / "data2"));
  ASSERT_TRUE(MakeDir(dir / "Data/Sub"));
  EveryControlForm f;

  FileListBox& files = f.File1;
  files.SetPattern("*.brd");
  ASSERT_TRUE(files.SetPath(dir.path() + "/"));
  EXPECT_EQ(files.Path(), dir.path());
  ASSERT_EQ(files.ListCount(), 2);
  EXPECT_EQ(files.List(0), "A.brd");
  EXPECT_EQ(files.List(1), "b.brd");
  EXPECT_EQ(files.FileName(), "");
  files.SetListIndex(1);
  EXPECT_EQ(files.FileName(), "b.brd");
  ASSERT_TRUE(AtomicWriteBytes(dir / "0.brd", "x"));
  files.Refresh();
  EXPECT_EQ(files.ListCount(), 3);
  EXPECT_EQ(files.ListIndex(), -1);
  EXPECT_FALSE(files.SetPath(dir / "missing"));
  EXPECT_EQ(files.Path(), dir.path());

  DirListBox& dirs = f.Dir1;
  int changes = 0;
  dirs.OnChange = [&] { ++changes; };
  // Windows-style separators are accepted.
  std::string windowsStyle = dir.path() + "\\Data";
  ASSERT_TRUE(dirs.SetPath(windowsStyle));
  EXPECT_EQ(dirs.Path(), dir / "Data");
  EXPECT_EQ(changes, 1);
  ASSERT_TRUE(dirs.SetPath(dir / "Data"));  // the same folder: no Change
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dirs.ListCount(), 1);
  EXPECT_EQ(dirs.List(0), dir / "Data/Sub");
  EXPECT_EQ(dirs.List(-1), dir / "Data");
  EXPECT_EQ(dirs.List(-2), dir.path());
  EXPECT_EQ(dirs.List(1), "");
  ASSERT_TRUE(dirs.SetPath(dir.path()));
  EXPECT_EQ(dirs.ListCount(), 2);
  EXPECT_EQ(dirs.List(0), dir / "Data");
  EXPECT_EQ(dirs.List(1), dir / "data2");
  EXPECT_FALSE(dirs.SetPath(dir / "missing"));
  EXPECT_EQ(changes, 2);
  // A Shift-JIS folder name whose trail byte is that of "\" (表) is a name.
  const std::string sjis = dir / "Data/\x95\x5C";
  ASSERT_TRUE(std::filesystem::create_directory(sjis));
  ASSERT_TRUE(dirs.SetPath(dir / "Data"));
  ASSERT_EQ(dirs.ListCount(), 2);
  const int row = dirs.List(0) == sjis ? 0 : 1;
  EXPECT_EQ(dirs.List(row), sjis);
  ASSERT_TRUE(dirs.SetPath(dirs.List(row)));
  EXPECT_EQ(dirs.Path(), sjis);
  EXPECT_TRUE(files.SetPath(sjis));
  EXPECT_EQ(files.Path(), sjis);
}

TEST_F(FormsControls, PictureBoxDrawingShowsInItsWidget) {
  EveryControlForm f;
  f.Show();
  PictureBox& pic = f.Picture1;
  EXPECT_DOUBLE_EQ(pic.ScaleWidth(), 60);
  pic.Canvas().Line(0, 0, 59, 39, vbRed, LineBox::BF);
  pic.Canvas().PSet(5, 5, vbBlue);
  const QImage shot = pic.impl().widget->grab().toImage();
  EXPECT_EQ(shot.pixelColor(20, 20), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(0, 0, 255));

  // With a border the image sits inside it and the client area shrinks.
  pic.SetBorderStyle(1);
  EXPECT_DOUBLE_EQ(pic.ScaleWidth(), 56);
  pic.Canvas().Line(0, 0, 55, 35, vbGreen, LineBox::BF);
  const QImage framed = pic.impl().widget->grab().toImage();
  EXPECT_EQ(framed.pixelColor(2, 2), QColor(0, 255, 0));
  EXPECT_NE(framed.pixelColor(0, 0), QColor(0, 255, 0));

  // Resizing keeps the drawing and raises Resize; mouse coordinates are
  // the client area's.
  int resizes = 0;
  pic.OnResize = [&] { ++resizes; };
  std::vector<double> at;
  pic.OnMouseDown = [&](int button, int, double x, double y) { at = {double(button), x, y}; };
  int clicks = 0;
  pic.OnClick = [&] { ++clicks; };
  pic.SetWidth(100);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(pic.Canvas().Point(10, 10), vbGreen);
  Click(pic.impl().widget, QPoint(12, 7));
  EXPECT_EQ(at, (std::vector<double>{vbLeftButton, 10, 5}));
  EXPECT_EQ(clicks, 1);

  // The form's own canvas shows behind a transparent label.
  f.Canvas().Line(0, 0, 399, 299, vbYellow, LineBox::BF);
  f.Label1.Move(300, 250, 40, 20);
  f.Label1.SetBackStyle(vbTransparent);
  const QImage whole = f.impl().widget->grab().toImage();
  EXPECT_EQ(whole.pixelColor(390, 290), QColor(255, 255, 0));
  f.Unload();
}

TEST_F(FormsControls, DisabledControlsDrawTheirTextGreyWhateverTheirForeColour) {
  EveryControlForm f;
  f.Show();
  const auto pixelsOf = [](const Control& c, const QColor& colour) {
    const QImage shot = c.impl().widget->grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) n += shot.pixelColor(x, y) == colour;
    return n;
  };
  const QColor blue(0, 0, 255), grey(128, 128, 128);
  Control* const controls[] = {&f.OkButton, &f.Label1, &f.Check1, &f.Option2};
  f.OkButton.SetCaption("HHHH");
  f.Label1.SetCaption("HHHH");
  f.Check1.SetCaption("HHHH");
  f.Option2.SetCaption("HHHH");
  for (Control* c : controls) {
    SCOPED_TRACE(c->impl().widget->metaObject()->className());
    for (Control* other : controls) other->SetVisible(other == c);
    c->Move(10, 10, 160, 40);
    c->SetFontName("ＭＳ ゴシック");
    c->SetFontSize(20);
    c->SetFontBold(true);
    c->SetForeColor(RGB(0, 0, 255));
    EXPECT_GT(pixelsOf(*c, blue), 20);
    c->SetEnabled(false);
    EXPECT_EQ(pixelsOf(*c, blue), 0);
    EXPECT_GT(pixelsOf(*c, grey), 20);
    c->SetEnabled(true);  // and its own colour comes back
    EXPECT_GT(pixelsOf(*c, blue), 20);
  }
  f.Unload();
}

TEST_F(FormsControls, LabelAutoSizeAndControlArrays) {
  EveryControlForm f;
  f.Label1.SetFontName("ＭＳ ゴシック");
  f.Label1.SetFontSize(12);
  f.Label1.SetAutoSize(true);
  f.Label1.SetCaption("ABCD");
  const double w4 = f.Label1.Width();
  f.Label1.SetCaption("ABCDABCD");
  EXPECT_GT(f.Label1.Width(), w4 * 1.5);
  EXPECT_GE(f.Label1.Height(), 14);

  // A CR LF pair in either order breaks the line once.
  const struct {
    const char* caption;
    const char* shown;
  } breaks[] = {{"a\r\nb", "a\nb"}, {"a\n\rb", "a\nb"}, {"a\rb", "a\nb"},
                {"a\r\n\r\nb", "a\n\nb"}, {"a\n\r\nb", "a\n\nb"}};
  auto* label = static_cast<QLabel*>(f.Label1.impl().widget.data());
  for (const auto& b : breaks) {
    f.Label1.SetCaption(b.caption);
    EXPECT_EQ(label->text().toStdString(), b.shown) << b.caption;
  }

  ControlArray<TextBox> boxes(f);
  boxes[0].SetFontSize(10);
  boxes[0].SetHeight(16);
  boxes[0].SetToolTipText("tip");
  std::vector<int> clicked;
  boxes.OnEach([&](TextBox& t, int i) { t.OnChange = [&clicked, i] { clicked.push_back(i); }; });
  for (int i = 1; i < 30; ++i) {
    TextBox& t = boxes.Load(i);
    t.SetTop(15 * i + 5);
    t.SetVisible(true);
  }
  EXPECT_EQ(boxes.Count(), 30);
  EXPECT_EQ(boxes.UBound(), 29);
  EXPECT_DOUBLE_EQ(boxes[29].Height(), 16);
  EXPECT_EQ(boxes[29].ToolTipText(), "tip");
  EXPECT_EQ(boxes[29].Index(), 29);
  boxes[7].SetText("5.5/.52");
  EXPECT_EQ(clicked, std::vector<int>{7});
  boxes.Unload(7);
  EXPECT_FALSE(boxes.Exists(7));
  EXPECT_EQ(boxes.Count(), 29);
}

}  // namespace
}  // namespace zarv
