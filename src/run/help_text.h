// The text that --help prints.
#pragma once

#include <string_view>

namespace tallyhawk {

// The usage text: the switches, the files read and written, the exit codes
// and where the manual is. Every line ends in "\n".
std::string_view HelpText();

}  // namespace tallyhawk
