#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tavisto {

// Usage text of `tavisto-cli convert`.
extern const char* const kConvertHelp;

// `tavisto-cli convert IMAGE WIDTHxHEIGHT OUTPUT`: what the image conversion dialog's
// "OK" and "Save" produce for IMAGE with the frame where opening centres it. `args`
// are the words after "convert". Returns 0 on success, 1 when the input cannot be
// read or decoded or the output cannot be written, 2 for a usage error (wrong
// arguments, a size that is not WIDTHxHEIGHT, an input not .png/.PNG/.jpg/.JPG/.bmp/.BMP,
// an output not .bin/.BIN/.bmp/.BMP/.jpg/.JPG).
int runConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tavisto
