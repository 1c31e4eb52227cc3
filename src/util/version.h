#pragma once

#include <string>

namespace tallyhawk {

constexpr int kVersionMajor = 0;
constexpr int kVersionMinor = 2;

// The build date as "Mmm dd yyyy" with a space-padded day ("Dec  6 2026").
std::string BuildDate();

// "Tallyhawk v0.2 Build Dec  6 2026" and a line break.
std::string VersionLine();

}  // namespace tallyhawk
