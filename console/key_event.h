// One key press as every menu and editor sees it: the key code with its Shift/Ctrl/Alt state.
// Extended keys (arrows, function keys ...) are 0xFF00 + their scan code, a two-byte character is
// lead byte × 256 + trail byte, anything else is the byte itself.
#pragma once

namespace vondal {

struct KeyEvent {
  int first = 0;   // the character (lead byte of a two-byte one); 0 for an extended key
  int second = 0;  // the scan code of an extended key or the trail byte; else 0
  int code = 0;    // the key code, letters as typed
  int upper = 0;   // the key code with a-z folded to A-Z; menus match on this
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

inline constexpr int kExtendedKey = 0xFF00;

// Scan codes of the extended keys the program acts on (the code is kExtendedKey + scan).
namespace scan {
inline constexpr int kF1 = 0x3B;  // F1 ... F10 are 0x3B ... 0x44
inline constexpr int kF10 = 0x44;
inline constexpr int kF11 = 0x85;
inline constexpr int kF12 = 0x86;
inline constexpr int kShiftF1 = 0x54;  // Shift+F1 ... Shift+F10 are 0x54 ... 0x5D
inline constexpr int kShiftF11 = 0x87;
inline constexpr int kShiftF12 = 0x88;
inline constexpr int kCtrlF1 = 0x5E;  // Ctrl+F1 ... Ctrl+F10 are 0x5E ... 0x67
inline constexpr int kCtrlF11 = 0x89;
inline constexpr int kCtrlF12 = 0x8A;
inline constexpr int kAltF1 = 0x68;  // Alt+F1 ... Alt+F10 are 0x68 ... 0x71
inline constexpr int kAltF11 = 0x8B;
inline constexpr int kAltF12 = 0x8C;
inline constexpr int kHome = 0x47;
inline constexpr int kUp = 0x48;
inline constexpr int kPgUp = 0x49;
inline constexpr int kLeft = 0x4B;
inline constexpr int kRight = 0x4D;
inline constexpr int kEnd = 0x4F;
inline constexpr int kDown = 0x50;
inline constexpr int kPgDn = 0x51;
inline constexpr int kIns = 0x52;
inline constexpr int kDel = 0x53;
inline constexpr int kCtrlLeft = 0x73;
inline constexpr int kCtrlRight = 0x74;
inline constexpr int kCtrlEnd = 0x75;
inline constexpr int kCtrlPgDn = 0x76;
inline constexpr int kCtrlHome = 0x77;
inline constexpr int kCtrlPgUp = 0x84;
inline constexpr int kCtrlUp = 0x8D;
inline constexpr int kCtrlDown = 0x91;
inline constexpr int kCtrlIns = 0x92;
inline constexpr int kCtrlDel = 0x93;
inline constexpr int kAltHome = 0x97;
inline constexpr int kAltUp = 0x98;
inline constexpr int kAltPgUp = 0x99;
inline constexpr int kAltLeft = 0x9B;
inline constexpr int kAltRight = 0x9D;
inline constexpr int kAltEnd = 0x9F;
inline constexpr int kAltDown = 0xA0;
inline constexpr int kAltPgDn = 0xA1;
inline constexpr int kAltIns = 0xA2;
inline constexpr int kAltDel = 0xA3;
// No key: the terminal was resized (delivered only to readers that ask, ConsoleSwitches).
inline constexpr int kResize = 0xFE;
// No key: what the key wait watches besides the keyboard wants its reader (delivered only to
// readers that ask, console/key_watch.h).
inline constexpr int kWatched = 0xFD;
}  // namespace scan

// A key event for a character code (a byte, or lead × 256 + trail).
KeyEvent CharacterKey(int code, bool shift = false, bool ctrl = false, bool alt = false);

// A key event for an extended key.
KeyEvent ExtendedKey(int scanCode, bool shift = false, bool ctrl = false, bool alt = false);

}  // namespace vondal
