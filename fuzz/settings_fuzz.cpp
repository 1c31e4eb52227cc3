// The settings reader over any bytes, with its findings, and the template of
// what it read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "fuzz_input.h"

using namespace tallyhawk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings settings;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<SettingsFinding> findings;
  ParseSettings(text, settings, &findings);
  NormalizeDirectory(settings.Output.Directory);
  CheckSettings(settings, &findings);
  // Each finding names a line of the text (or none), and says something.
  const size_t lines =
      static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const SettingsFinding& finding : findings) {
    fuzz::Require(finding.line <= lines && !finding.text.empty());
  }
  // Warnings never change what is read.
  Settings quiet;
  ParseSettings(text, quiet);
  NormalizeDirectory(quiet.Output.Directory);
  fuzz::Require(SettingsTemplateText(quiet) == SettingsTemplateText(settings));
  const OutputSettings& output = settings.Output;
  const GeneralSettings& general = settings.General;
  for (const std::string* value :
       {&general.DatUser, &general.DatSquad, &general.DatScore,
        &output.StyleSheet, &output.Directory}) {
    fuzz::Require(value->size() <= kMaxSettingLength);
  }
  fuzz::Require(output.Directory.empty() ||
                output.Directory.back() == PathSeparator());
  // The template holds every key once: 53 lines.
  const std::string written = SettingsTemplateText(settings);
  fuzz::Require(std::count(written.begin(), written.end(), '\n') >= 53);
  return 0;
}
