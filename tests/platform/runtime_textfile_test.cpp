#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include <chrono>
#include <random>

#include "file_size_limit.h"
#include "memory_bounds.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "program_test.h"

namespace zarv {
namespace {


using testing::FileSizeLimit;

TEST(RuntimeTextFile, WritesCp932WithCrLfAndReadsEveryLineEnd) {
  ScratchFolder dir;
  const std::string path = dir / "file.dat";
  ASSERT_TRUE(WriteTextLines(path, {"MardenⅡ", "", " 180"}));
  EXPECT_EQ(ReadAllBytes(path), "Marden\x87\x55\r\n\r\n 180\r\n");
  ASSERT_TRUE(AtomicWriteBytes(path, "crlf\r\nlf\ncr\r\rempty\r\n\xCB\xDF\xAF\xC1"));
  EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"crlf", "lf", "cr", "", "empty", "ﾋﾟｯﾁ"}));
}

// A line end is the longest of CR CR LF, CR LF, LF CR, CR and LF: doubled
// line ends of a damaged file keep the lines, CR LF CR LF stays one empty line.
TEST(RuntimeTextFile, LineEndsOfDamagedFilesKeepTheLines) {
  const struct {
    std::string_view text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\r\nb\r\r\n", {"a", "b"}},
      {"a\n\rb\n\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\r\n\r\r\nb", {"a", "", "b"}},
      {"a\n\r\n\rb", {"a", "", "b"}},
      {"a\rb\r\rc\r", {"a", "b", "", "c"}},
      {"a\n\nb", {"a", "", "b"}},
      {"\r\n", {""}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < c.text.size()) lines.emplace_back(NextTextLine(c.text, at));
    EXPECT_EQ(lines, c.lines) << ::testing::PrintToString(std::string(c.text));
  }
}

std::vector<std::string> SplitterLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) lines.emplace_back(NextTextLine(text, at));
  return lines;
}

std::vector<std::string> ReaderLines(TextLineReader& in) {
  std::vector<std::string> lines;
  while (!in.AtEnd()) {
    const std::string peeked(in.Peek());
    lines.emplace_back(in.Next());
    EXPECT_EQ(lines.back(), peeked);
  }
  return lines;
}

// The block reader splits a file as the splitter splits it in memory, also
// where a line end lies across the edge of a block.
TEST(RuntimeTextFile, TheLineReaderSplitsAsTheSplitterAcrossItsBlocks) {
  ScratchFolder dir;
  const std::string path = dir / "lines.txt";
  std::vector<std::string> texts;
  for (const char* end : {"\r\r\n", "\r\n", "\n\r", "\r", "\n", "\r\n\r\n"})
    for (size_t before = 65530; before <= 65536; ++before) texts.push_back(std::string(before, 'x') + end + "y\r");
  std::mt19937 rng(38);
  const char* pieces[] = {"a", "bc,", "\r", "\n", "\r\n", "\r\r\n", "\n\r", "d"};
  for (int round = 0; round < 4; ++round) {
    std::string text;
    while (text.size() < 300000) text += pieces[rng() % std::size(pieces)];
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    ASSERT_TRUE(AtomicWriteBytes(path, text));
    TextLineReader file(path, kDefaultReadLimit);
    ASSERT_TRUE(file.Ok());
    const std::vector<std::string> want = SplitterLines(text);
    ASSERT_EQ(ReaderLines(file), want) << text.size();
    TextLineReader memory(text);
    ASSERT_EQ(ReaderLines(memory), want);
    EXPECT_EQ(file.Next(), "");  // past the end
  }

  // A line longer than the reader holds keeps its first bytes; the next
  // line follows it.
  ASSERT_TRUE(AtomicWriteBytes(path, std::string(150000, 'a') + "\r\nxy\n" + std::string(70000, 'b')));
  TextLineReader cut(path, kDefaultReadLimit, 10);
  EXPECT_EQ(ReaderLines(cut), (std::vector<std::string>{"aaaaaaaaaa", "xy", "bbbbbbbbbb"}));

  // What ReadAllBytes refuses, the reader refuses.
  EXPECT_FALSE(TextLineReader(dir / "missing.txt", kDefaultReadLimit).Ok());
  EXPECT_FALSE(TextLineReader(dir.path(), kDefaultReadLimit).Ok());
  TextLineReader large(path, 1000);
  EXPECT_FALSE(large.Ok());
  EXPECT_TRUE(large.AtEnd());
}

// A line longer than the limit keeps its first bytes wherever it lies: at
// the start, behind a short line in the same block, reaching into the next
// block, at the end of the file, read from a file or from memory.
TEST(RuntimeTextFile, ALongLineIsCutAtTheLimitWhereverItLies) {
  ScratchFolder dir;
  const std::string path = dir / "lines.txt";
  const std::string x10(10, 'x'), cut(kMaxTextLineBytes, 'x');
  const struct {
    std::string text;
    size_t limit;
    std::vector<std::string> lines;
  } cases[] = {
      {std::string(15, 'x') + "\n", 10, {x10}},
      {"ab\r\n" + std::string(15, 'x') + "\r\nyz", 10, {"ab", x10, "yz"}},
      {x10 + "\r\n" + std::string(11, 'x'), 10, {x10, x10}},
      {"ab\n" + std::string(100000, 'x') + "\r\nyz", kMaxTextLineBytes, {"ab", cut, "yz"}},
      {"ab\n" + std::string(100000, 'x'), kMaxTextLineBytes, {"ab", cut}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(AtomicWriteBytes(path, c.text));
    TextLineReader file(path, kDefaultReadLimit, c.limit);
    EXPECT_EQ(ReaderLines(file), c.lines) << c.text.size();
    if (c.limit != kMaxTextLineBytes) continue;
    TextLineReader memory(c.text);
    EXPECT_EQ(ReaderLines(memory), c.lines) << c.text.size();
  }
}

// 64 MiB of CR bytes are 64 million empty lines: a reader that needs the
// first lines reads them and no more.
TEST(RuntimeTextFile, AFileOfLineEndsCostsOnlyTheLinesRead) {
  ScratchFolder dir;
  const std::string path = dir / "cr.txt";
  testing::WriteRepeatedByte(path, '\r', 64);
  testing::ExpectResidentGrowthBelow(16 * 1024, dir.path(), [&path] {
    ReadTextLines(path, nullptr, int64_t{64} << 20, 37);
    FirstTextLine(path, int64_t{64} << 20);
  });
  const auto start = std::chrono::steady_clock::now();
  bool ok = false;
  EXPECT_EQ(ReadTextLines(path, &ok, int64_t{64} << 20, 37), std::vector<std::string>(37));
  EXPECT_TRUE(ok);
  EXPECT_EQ(FirstTextLine(path, int64_t{64} << 20, &ok), "");
  EXPECT_TRUE(ok);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

// An editor's byte-order mark is dropped; a file it begins that is UTF-8
// throughout reads as UTF-8; a line marked as UTF-8 reads as its UTF-8.
TEST(RuntimeTextFile, ByteOrderMarksAndLinesMarkedAsUtf8) {
  ScratchFolder dir;
  const std::string path = dir / "Plane.brd";
  const std::string mark(kUtf8Mark);
  const std::vector<std::string> want = {"D", "MardenⅡ", "/home/josé"};
  for (const std::string& bytes : {mark + "D\r\nMarden\x87\x55\r\n" + mark + "/home/josé\r\n",
                                   mark + "D\r\nMardenⅡ\r\n/home/josé\r\n",
                                   "D\r\nMarden\x87\x55\r\n" + mark + "/home/josé\r\n"}) {
    ASSERT_TRUE(AtomicWriteBytes(path, bytes));
    EXPECT_EQ(ReadTextLines(path), want) << bytes;
    EXPECT_EQ(ReadTextLines(path, nullptr, kDefaultReadLimit, 2), std::vector<std::string>(want.begin(), want.begin() + 2));
    EXPECT_EQ(FirstTextLine(path, kDefaultReadLimit), "D");
  }

  // Written, a line cp932 cannot hold is marked and comes back exactly;
  // every line cp932 holds keeps its cp932 bytes.
  const std::vector<std::string> lines = {"/home/太郎/Data", "/home/josé/Data", "Müller", "MardenⅡ", "", "a😀b"};
  ASSERT_TRUE(WriteTextLines(path, lines));
  EXPECT_EQ(ReadAllBytes(path), "/home/\x91\xBE\x98\x59/Data\r\n" + mark + "/home/josé/Data\r\n" + mark +
                                    "Müller\r\nMarden\x87\x55\r\n\r\n" + mark + "a😀b\r\n");
  EXPECT_EQ(ReadTextLines(path), lines);
  EXPECT_EQ(ReadTextLines(path)[1], "/home/josé/Data");
}

// How a file reads is decided by all of it: its first lines read as they
// read in the whole, however few are taken; a marked line's bytes do not
// decide, and a file whose first line is unmarked reads as cp932.
TEST(RuntimeTextFile, TheFirstLinesReadAsTheWholeFileReadsThem) {
  ScratchFolder dir;
  const std::string path = dir / "Plane.brd";
  const std::string mark(kUtf8Mark), name = "Marden\xC3\xA9";
  const struct {
    std::string bytes;
    std::vector<std::string> firstTwo;
  } cases[] = {
      {mark + "D\r\n" + name + "\r\n 5\r\n0 \x95\x5C\r\n", {"D", "Mardenﾃｩ"}},
      {mark + "D\r\n" + name + "\r\n 5\r\n0 表\r\n", {"D", "Mardené"}},
      {mark + "D\r\n" + name + "\r\n" + mark + "\x95\x5C\r\n", {"D", "Mardené"}},
      {"D\r\n" + name + "\r\n 5\r\n", {"D", "Mardenﾃｩ"}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(AtomicWriteBytes(path, c.bytes));
    EXPECT_EQ(ReadTextLines(path, nullptr, kDefaultReadLimit, 2), c.firstTwo) << c.bytes;
    const std::vector<std::string> all = ReadTextLines(path);
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 2), c.firstTwo);
  }
}

// Marked first, a file whose other lines all pass for UTF-8 would read as
// UTF-8 throughout: a cp932 line whose bytes are other UTF-8 (a kanji
// before a half-width kana: "燿ｱ" is E0 A0 B1, UTF-8 for U+0831) goes
// marked so that it too comes back; lines that read the same either way
// keep their bytes.
TEST(RuntimeTextFile, LinesThatPassForUtf8AfterAMarkedFirstLineComeBack) {
  ScratchFolder dir;
  const std::string path = dir / "record.dat";
  const std::string mark(kUtf8Mark);
  ASSERT_EQ(Utf8ToCp932("燿ｱ"), "\xE0\xA0\xB1");
  const std::vector<std::string> lines = {"812.50m by X  José Müller", "640.00m by X  燿ｱ", "", "500 by X"};
  ASSERT_TRUE(WriteTextLines(path, lines));
  EXPECT_EQ(ReadTextLines(path), lines);
  EXPECT_EQ(ReadAllBytes(path), mark + lines[0] + "\r\n" + mark + lines[1] + "\r\n\r\n500 by X\r\n");
  // Without a marked line before it, the same line keeps its cp932 bytes.
  ASSERT_TRUE(WriteTextLines(path, {"812.50m", lines[1]}));
  EXPECT_EQ(ReadAllBytes(path), "812.50m\r\n640.00m by X  \xE0\xA0\xB1\r\n");
  EXPECT_EQ(ReadTextLines(path)[1], lines[1]);
}

// Names the file system gives that are not UTF-8 (cp932 from an archive,
// Latin-1), and text with a cut or stray byte, come back by their bytes: the
// writer marks them, the reader takes the bytes after the mark as they are,
// so a valid character beside a bad byte is never read another way.
TEST(RuntimeTextFile, LinesThatAreNotUtf8ComeBackByTheirBytes) {
  ScratchFolder dir;
  const std::string path = dir / "set.ini";
  const std::string mark(kUtf8Mark);
  const std::vector<std::string> lines = {"/home/太郎/Data/\x83\x65\x83\x58\x83\x67.brd",
                                          "/opt/caf\xE9/Data/Marden7.brd", "😀\xE9" "caf\xE9", "Marden\x87\x55",
                                          " 3"};
  ASSERT_TRUE(WriteTextLines(path, lines));
  EXPECT_EQ(ReadTextLines(path), lines);
  EXPECT_EQ(FirstTextLine(path, kDefaultReadLimit), lines[0]);
  EXPECT_EQ(ReadAllBytes(path), mark + lines[0] + "\r\n" + mark + lines[1] + "\r\n" + mark + lines[2] + "\r\n" +
                                    mark + lines[3] + "\r\n 3\r\n");

  // A marked ranking line cut inside an emoji keeps all before the cut, and
  // a rewrite keeps the line's own bytes; a marked line's bad bytes
  // do not turn the file's unmarked UTF-8 lines into cp932.
  const std::string cut = "500.12m by Marden7  テスト太郎\xF0\x9F\x98";
  ASSERT_TRUE(AtomicWriteBytes(path, mark + cut + "\r\nJosé\r\n\r\n"));
  const std::vector<std::string> read = ReadTextLines(path);
  EXPECT_EQ(read, (std::vector<std::string>{cut, "José", ""}));
  EXPECT_EQ(FirstTextLine(path, kDefaultReadLimit), cut);
  ASSERT_TRUE(WriteTextLines(path, read));
  EXPECT_EQ(ReadAllBytes(path), mark + cut + "\r\n" + mark + "José\r\n\r\n");
  EXPECT_EQ(ReadTextLines(path), read);
}

// Names are shown decoded: UTF-8 as it is, else each part of the path as
// cp932; what neither reads shows as U+FFFD.
TEST(RuntimeTextFile, NamesShownDecoded) {
  const struct {
    std::string bytes, shown;
  } cases[] = {{"Marden7.brd", "Marden7.brd"},
               {"/home/josé/テスト.brd", "/home/josé/テスト.brd"},
               {"\x83\x65\x83\x58\x83\x67.brd", "テスト.brd"},
               {"/home/太郎/\x91\xBE\x98\x59/\x83\x65.brd", "/home/太郎/太郎/テ.brd"},
               {"/opt/caf\xE9/Data/Marden7.brd", "/opt/caf\uFFFD/Data/Marden7.brd"},
               {"caf\xE9", "caf\uFFFD"}};
  for (const auto& c : cases) EXPECT_EQ(ShownName(c.bytes), c.shown) << c.bytes;
}

// A file larger than its reader takes is not written and the old one stays.
// The size is what goes to disk: cp932 bytes, or the mark and UTF-8.
TEST(RuntimeTextFile, AFileLargerThanItsReaderTakesIsNotWritten) {
  ScratchFolder dir;
  const std::string path = dir / "set.ini";
  ASSERT_TRUE(WriteTextLines(path, {"old"}));
  bool tooLarge = true;
  // 4 + 2 + 3 + 2 + 2 bytes: just fits.
  EXPECT_TRUE(WriteTextLines(path, {"あい", "é"}, 13, &tooLarge));
  EXPECT_FALSE(tooLarge);
  EXPECT_EQ(ReadAllBytes(path), "\x82\xA0\x82\xA2\r\n\xEF\xBB\xBF\xC3\xA9\r\n");
  EXPECT_FALSE(WriteTextLines(path, {"あいa", "é"}, 13, &tooLarge));
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"あい", "é"}));
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"set.ini"});
}

TEST(RuntimeTextFile, TrailingLineEndAddsNoEmptyLine) {
  ScratchFolder dir;
  const std::string path = dir / "set.ini";
  ASSERT_TRUE(WriteTextLines(path, {" 3", "風速", ""}));
  EXPECT_EQ(ReadAllBytes(path), " 3\r\n\x95\x97\x91\xAC\r\n\r\n");
  bool ok = false;
  EXPECT_EQ(ReadTextLines(path, &ok), (std::vector<std::string>{" 3", "風速", ""}));
  EXPECT_TRUE(ok);
  EXPECT_TRUE(ReadTextLines(dir / "missing.ini", &ok).empty());
  EXPECT_FALSE(ok);
}

// A rewrite keeps the bytes of every line that reads as before, also where
// it moved: a byte cp932 cannot read (Latin-1 "é"), and the NEC and IBM
// codes of characters cp932 has twice (87 90 beside 81 E0, ED 40 beside
// FA 5C), which a new line gets.
TEST(RuntimeTextFile, RewritesKeepTheBytesOfLinesThatReadAsBefore) {
  ScratchFolder dir;
  const std::string path = dir / "Plane.brd";
  ASSERT_TRUE(AtomicWriteBytes(path, "D\r\nCaf\xE9\r\n\x87\x90\r\n\xED\x40\r\n 5\r\n"));
  std::vector<std::string> lines = ReadTextLines(path);
  ASSERT_EQ(lines, (std::vector<std::string>{"D", "Caf\uFFFD", "≒", "纊", " 5"}));
  lines[4] = "6";
  ASSERT_TRUE(RewriteTextLines(path, lines, kDefaultReadLimit));
  EXPECT_EQ(ReadAllBytes(path), "D\r\nCaf\xE9\r\n\x87\x90\r\n\xED\x40\r\n6\r\n");
  ASSERT_TRUE(RewriteTextLines(path, {"D", "≒", "Caf\uFFFD", "≒", "纊纊"}, kDefaultReadLimit));
  EXPECT_EQ(ReadAllBytes(path), "D\r\n\x87\x90\r\nCaf\xE9\r\n\x87\x90\r\n\xFA\x5C\xFA\x5C\r\n");

  // Kept UTF-8 lines after a marked first line would read as cp932 beside
  // a line UTF-8 cannot read: that line goes marked, the kept ones keep
  // their bytes.
  const std::string mark(kUtf8Mark);
  ASSERT_TRUE(AtomicWriteBytes(path, mark + "D\r\nJosé\r\n"));
  ASSERT_EQ(ReadTextLines(path), (std::vector<std::string>{"D", "José"}));
  ASSERT_TRUE(RewriteTextLines(path, {"D", "José", "ﾋﾟｯﾁ"}, kDefaultReadLimit));
  EXPECT_EQ(ReadAllBytes(path), mark + "D\r\nJosé\r\n" + mark + "ﾋﾟｯﾁ\r\n");
}

// Lines a rewrite does not set keep their bytes whichever way the file
// reads, marked first or not; where the lines set change that way, it goes
// the way that keeps the most (then the most in their own places, then the
// old way). A line other than the first can make the file read as cp932
// (あ, 82 A0, where 😀 needs its mark); only where no way keeps them all
// does a line go marked: ﾏｲ, behind a 😀 kept.
TEST(RuntimeTextFile, RewritesKeepTheLinesTheyDoNotSetWhicheverWayTheFileReads) {
  ScratchFolder dir;
  const std::string path = dir / "record.dat";
  const std::string mark(kUtf8Mark), name = "Marden\xC3\xA9";
  const std::string first = mark + "900.00m  Marden7  2026/12/07 \xF0\x9F\x98\x80";
  const std::string second = "870.00m  Marden7  2026/12/07 \x95\x5C", third = "840.00m  Marden7  2026/12/07 \xCF\xB2";
  const struct {
    std::vector<std::string> bytes;                    // the file's lines
    std::vector<std::pair<size_t, std::string>> set;   // lines the rewrite sets
    std::vector<std::string> written;
  } cases[] = {
      {{first, second, third}, {}, {first, second, third}},
      {{first, second, third}, {{3, ""}}, {first, second, third, ""}},
      {{mark + "D", name, "0 \x95\x5C"}, {{2, "0"}}, {"D", name, "0"}},
      {{mark + "D", "José"}, {{0, "X"}}, {mark + "X", "José"}},
      {{mark + "D", "José", "\x95\x5C"}, {{2, "ﾏｲ"}}, {"D", "José", "\xCF\xB2"}},
      {{mark + "D", "\xC3\xA9", "", "\x95\x5C"}, {{1, "D"}, {3, "ﾃｩ"}}, {mark + "D", mark + "D", "", mark + "ﾃｩ"}},
      {{"D", mark + "あ", "\xCF\xB2", "\xC3\xA9", "\x95\x5C"},
       {{0, "😀"}, {4, "a"}},
       {mark + "😀", "\x82\xA0", "\xCF\xB2", "\xC3\xA9", "a"}},
      {{first, second, third}, {{1, "a"}}, {first, "a", mark + "840.00m  Marden7  2026/12/07 ﾏｲ"}},
  };
  for (const auto& c : cases) {
    std::string bytes;
    for (const std::string& line : c.bytes) bytes += line + "\r\n";
    ASSERT_TRUE(AtomicWriteBytes(path, bytes));
    std::vector<std::string> lines = ReadTextLines(path);
    for (const auto& [at, text] : c.set) {
      lines.resize(std::max(lines.size(), at + 1));
      lines[at] = text;
    }
    ASSERT_TRUE(RewriteTextLines(path, lines, kDefaultReadLimit));
    std::string want;
    for (const std::string& line : c.written) want += line + "\r\n";
    EXPECT_EQ(ReadAllBytes(path), want) << bytes;
    EXPECT_EQ(ReadTextLines(path), lines);
  }
}

TEST(RuntimeTextFile, FailedWriteLeavesOldFileIntact) {
  ScratchFolder dir;
  const std::string path = dir / "before.csv";
  ASSERT_TRUE(WriteTextLines(path, {"old", "content"}));
  const std::string before = ReadAllBytes(path);
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(WriteTextLines(path, std::vector<std::string>(2000, std::string(100, 'x'))));
  }
  EXPECT_EQ(ReadAllBytes(path), before);
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"before.csv"});

  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(AtomicWriteBytes(path, std::string(100000, 'y')));
  }
  EXPECT_EQ(ReadAllBytes(path), before);
  EXPECT_EQ(ListFiles(dir.path()), std::vector<std::string>{"before.csv"});
}

}  // namespace
}  // namespace zarv
