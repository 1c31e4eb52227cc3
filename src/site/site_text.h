// The texts and addresses of the site's pages: names from the databases'
// Latin-1 bytes made UTF-8, and links between pages relative to the page
// that holds them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk {

// `latin1` in UTF-8: every byte is the code point of the same number. The
// control characters (C0 but tab and line feed, DEL, C1), which no HTML page
// may hold, become U+FFFD.
std::string Latin1ToUtf8(std::string_view latin1);

// A text of the settings or the zone map: kept when it is UTF-8 already,
// else read as Latin-1 like the names; controls become U+FFFD either way.
std::string SettingToUtf8(std::string_view text);

// The part of `path` below the output root `root` (the Directory setting:
// empty, or ending in a separator), with '/' between its parts; empty when
// `path` is not below `root`.
std::string BelowRoot(std::string_view path, std::string_view root);

// The address of the page at `below_root` (as BelowRoot gives it) from a
// page `depth` folders below the root: "../" for each folder, then the path
// with every byte but letters, digits, "-._~/" percent-encoded.
std::string PageHref(std::string_view below_root, int depth);

// `fragment` percent-encoded as PageHref encodes a path.
std::string FragmentHref(std::string_view fragment);

// The StyleSheet setting as a page `depth` folders below the root links to
// it: a relative name gets "../" for each folder; an address with a scheme
// or from the web root stays as it is.
std::string StyleSheetHref(std::string_view style_sheet, int depth);

// "<id>.html": the name of a pilot's or squad's page.
std::string PageFileName(uint32_t id);

// Whether `name` is a name PageFileName gives, and for which ID.
bool ParsePageFileName(std::string_view name, uint32_t* id);

}  // namespace tallyhawk
