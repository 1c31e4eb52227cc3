// What a run prints when one file operation of the fake platform fails.
#pragma once

#include <string>

namespace tallyhawk::testing {

// The fatal message that a failure of `operation` ("<kind> <path>") calls
// for; empty for the log, whose failures the run goes on without.
inline std::string ExpectedMessage(const std::string& operation) {
  const std::string kind = operation.substr(0, operation.find(' '));
  const std::string path = operation.substr(kind.size() + 1);
  if (path == "tallyhawk.log") return "";
  if (path == "tallyhawk.ini")
    return "Unable to load configuration settings, exiting";
  if (path == "zoneinfo.txt")
    return "Unable to create zone info template, exiting";
  // The site: its pages, their folders and the index.
  if (path == "index.html" || path.starts_with("pilots") ||
      path.starts_with("squads")) {
    return "Unable to write file for site output";
  }
  if (path.ends_with(".dat"))
    return "Failed to open " + path.substr(0, path.size() - 4) +
           " database, exiting";
  if (kind == "mkdir") return "Unspecified error creating subdirectory";
  const std::string output = path.ends_with(".txt")            ? "text"
                             : path.ends_with(".json")         ? "JSON"
                             : path.find("Stats") != path.npos ? "group HTML"
                                                               : "HTML";
  return (kind == "open" ? "Unable to open file for "
                         : "Unable to write file for ") +
         output + " output";
}

}  // namespace tallyhawk::testing
