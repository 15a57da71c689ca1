// Conversion between the cp932 (Windows Japanese) bytes of the program's data
// files and the UTF-8 strings used inside the program.
#pragma once

#include <string>
#include <string_view>

namespace zarv {

// Bytes that are not valid cp932 read as U+FFFD.
std::string Cp932ToUtf8(std::string_view bytes);
// Characters cp932 cannot hold are written as "?". Invalid UTF-8 too.
std::string Utf8ToCp932(std::string_view utf8);

// The UTF-8 byte-order mark. No cp932 text begins with these bytes (0xEF
// 0xBB is no cp932 character), so before a line of a cp932 file it can only
// mean that the line is UTF-8.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// A line's bytes for a cp932 file that must give the text back exactly: the
// cp932 bytes when cp932 holds the text (they read back the same), else the
// mark followed by the UTF-8 text.
std::string Utf8ToCp932Exact(std::string_view utf8);
// The text of a line of a cp932 file: after the mark, the bytes that follow
// it, exactly (UTF-8, or a name that is not: Utf8ToCp932Exact's line for it);
// any other line is cp932.
std::string FileLineToUtf8(std::string_view bytes);
// A file or folder name (or a path) as the file system gives it, for
// showing: UTF-8 as it is, else each part of the path read as cp932, as
// archives made on Japanese systems name files (bytes cp932 cannot read
// show as U+FFFD). The name itself is kept as its bytes.
std::string ShownName(std::string_view bytes);

// A name box that shows a listed name as ShownName does: while the box still
// shows it, what the user typed is taken as the name's own bytes.
struct ShownFileName {
  std::string Bytes, Shown;
  // The text to put in the box for name.
  const std::string& Show(const std::string& name) {
    Bytes = name;
    Shown = ShownName(name);
    return Shown;
  }
  std::string Typed(const std::string& text) const { return text == Shown ? Bytes : text; }
};

}  // namespace zarv
