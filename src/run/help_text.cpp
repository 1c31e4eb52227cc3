#include "run/help_text.h"

namespace tallyhawk {

// Lines stay within 80 columns; the manual page holds the details.
constexpr std::string_view kHelpText =
    R"(Usage: tallyhawk [/quiet | /veryquiet] [/F<settings file>] [/L<log file>]
                 [/Z<zone map>]
       tallyhawk --check [/F<settings file>] [/Z<zone map>]
       tallyhawk --help | --version
Reads a zone's user, squad and score databases, ranks pilots and squads in
top lists for every score ID and writes them, with zone-wide usage figures,
as HTML pages and text files. Relative file names are taken from the working
directory: run it in the zone's directory.

Switches (they may begin with '-' as well; others are ignored, with a warning):
  /quiet      nothing on the console; the log is still written
  /veryquiet  nothing on the console and no log
  /Fname      settings file; a file named here must exist (without /F:
              tallyhawk.ini, created with every default when missing)
  /Lname      log file (default tallyhawk.log)
  /Zname      zone map, score IDs to subdirectory names (default
              zoneinfo.txt, created as a template when missing)
  --check     read the settings, the zone map and the databases, write
              nothing, and tell what a run would meet: every warning and
              error, the record counts, the score IDs, where reports go
  --help      print this text and exit (also -h, -? and /?)
  --version   print the name, version and build date and exit

Files read: the settings file, the zone map, and the databases user.dat,
squad.dat and score.dat (or those the settings name), which are never written.
Files written: the log; in the output Directory of the settings, for every
score ID PilotStats<ID>.html and SquadStats<ID>.html (on by default), one .txt
file per list with Text=1 and one .html page per list with HTML=1, and once
Usage.html (and Usage.txt with Text=1); with JSON=1 also Stats<ID>.json and
Usage.json; with UseSubDir=1 each score ID's
files go into a subdirectory and carry no ID in their names. Every report is
replaced whole when complete. After a fatal error: tallyhawk.err in the
working directory.

Standard error names the file and the system's reason of every fatal error
and warning, and warns of settings a run takes but likely not as meant.

Exit codes:
  0  the run is complete (--check: a run would succeed)
  1  a fatal error ended it; the message is on the console, in the log and
     in tallyhawk.err (--check: a run would fail)
  2  --check only: a run would succeed, with warnings

The manual: man tallyhawk (on Windows: README-windows.txt)
)";

std::string_view HelpText() { return kHelpText; }

}  // namespace tallyhawk
