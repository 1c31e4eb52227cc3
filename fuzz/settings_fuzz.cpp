// The settings reader over any bytes, and the template of what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/settings.h"
#include "fuzz_input.h"

using namespace tallyhawk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Settings settings;
  ParseSettings(std::string_view(reinterpret_cast<const char*>(data), size),
                settings);
  NormalizeDirectory(settings.Output.Directory);
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
  const std::string text = SettingsTemplateText(settings);
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  fuzz::Require(lines >= 53);
  return 0;
}
