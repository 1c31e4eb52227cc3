#include "db/records.h"

#include <algorithm>
#include <cstring>

namespace tallyhawk {

NameField NameField::FromText(std::string_view text) {
  NameField name;
  size_t length = std::min<size_t>(31, text.size());
  for (size_t i = 0; i < length && text[i] != '\0'; ++i)
    name.bytes_[i] = text[i];
  return name;
}

std::string_view NameField::view() const {
  return std::string_view(bytes_.data(), std::strlen(bytes_.data()));
}

}  // namespace tallyhawk
