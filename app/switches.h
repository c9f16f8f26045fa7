// The configuration toggles (words of the `toggle` key, fixed for the run) and the application
// switches (changed from the menus while the program runs).
#pragma once

namespace vondal {

struct Toggles {
  bool logo = false;        // start-up screen leaves room for the banner
  bool readonly = false;    // the log is never written
  bool compatible = false;  // record limit 500,000 and CALLSIGN at most 15 bytes
  bool verbose = false;     // with authorsuse, the on-screen guide starts on
  bool silent = false;      // without authorsuse, the on-screen guide starts off
  bool box = false;         // ASCII frame glyphs
  bool diehard = false;     // quitting asks for Enter first
};

// The application switches the editor and the outputs read. Three more live where the layer that
// obeys them can reach them: authorsuse and verbose (the guide) in ConsoleSwitches
// (console/console.h), readonly as the log's write-protect flag (LogOptions in log/log_file.h).
struct Switches {
  bool startrecord = false;
  bool hilight = false;
  bool pretext = false;
  bool mask = false;
  bool showcalendar = false;
  bool showendtime = false;
  bool myqthleft = false;
  bool showsignal = false;
  bool showbmlist = false;
  bool newestfirst = false;
  bool editheight = false;
  bool editwidth = false;
  bool functionkey = false;
  bool firstRecordNr = false;  // "1strecordnr": record numbers count from 1
  bool presearch = false;
  bool limitedsave = false;
  bool multilist = false;
};

}  // namespace vondal
