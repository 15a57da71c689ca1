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

}  // namespace zarv
