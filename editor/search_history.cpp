#include "editor/search_history.h"

#include <ctime>

#include "app/text/sjis.h"
#include "app/text/text_helpers.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {

void SearchHistory::Store(std::string_view callsign, int hour, int minute) {
  callsign = CutAtCharacter(callsign, 24);
  if (callsign.size() < 3) return;
  if (entries_.empty() || entries_.front().callsign != callsign) {
    if (static_cast<int>(entries_.size()) == kCapacity) entries_.pop_back();
    entries_.insert(entries_.begin(), HistoryEntry{std::string(callsign), 0, 0});
  }
  entries_.front().hour = hour;
  entries_.front().minute = minute;
}

void SearchHistory::Store(std::string_view callsign) {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  Store(callsign, local.tm_hour, local.tm_min);
}

SearchHistory& TheSearchHistory() {
  static SearchHistory history;
  return history;
}

namespace {

bool IsSearchKey(int code) {
  return code == '\\' || code == ' ' || code == ',' || code == '.' || code == ';' || code == ':' ||
         code == '=' || code == '-' || code == '[' || code == ']';
}

void DrawBrowser(const SearchHistory& history, int selected, bool showCount) {
  Screen& screen = TheScreen();
  const int row = MenuRow();
  ShowMenu(">検索>履歴>");
  const uint8_t plain = ColorOf(ColorElement::MenuLabel);
  if (selected > 0) screen.PutText("←", row, 11, screen.Width(), plain, plain);
  if (selected + 1 < history.size()) screen.PutText("→", row, 13, screen.Width(), plain, plain);
  const HistoryEntry& entry = history[selected];
  char time[8];
  std::snprintf(time, sizeof time, "%02d%02d", entry.hour, entry.minute);
  screen.PutText(time, row, 16, screen.Width(), plain, plain);
  const int right = screen.Width() - 1;
  int col = screen.PutText(entry.callsign, row, 21, right, plain, plain);
  screen.ReverseCells(row, 21, col - 1);
  const std::string count = "#" + std::to_string(history.size());
  const int reserve = showCount ? static_cast<int>(count.size()) + 1 : 0;
  for (int i = selected + 1; i < history.size(); ++i) {
    const std::string& older = history[i].callsign;
    if (col + 1 + static_cast<int>(older.size()) > right - reserve) break;
    col = screen.PutText(older, row, col + 1, right, plain, plain);
  }
  if (showCount && col + 1 + static_cast<int>(count.size()) <= right)
    screen.PutText(count, row, col + 1, right, plain, plain);
  Flush();
}

}  // namespace

HistoryChoice BrowseHistory(const SearchHistory& history, int field, bool showCount) {
  if (history.size() == 0) return {};
  int selected = 0;
  for (;;) {
    DrawBrowser(history, selected, showCount);
    const KeyEvent key = ReadKey();
    const int extended = key.code >= kExtendedKey ? key.code - kExtendedKey : -1;
    if (extended == scan::kLeft) {
      selected = key.shift ? 0 : std::max(0, selected - 1);
    } else if (extended == scan::kRight) {
      selected = key.shift ? history.size() - 1 : std::min(history.size() - 1, selected + 1);
    } else if (key.code == 13) {
      ShowMenu("");
      return {HistoryChoice::kPut, history[selected].callsign, {}};
    } else if (key.code == 27) {
      ShowMenu("");
      return {};
    } else if (IsSearchKey(key.code)) {
      ShowMenu("");
      return {HistoryChoice::kSearch, history[selected].callsign, RequestOfKey(key.code, field)};
    } else if (extended < 0 && key.code >= 0x20) {
      // The next older entry holding that character, if any.
      std::string character;
      if (key.code > 0xFF)
        character = {static_cast<char>(key.code >> 8), static_cast<char>(key.code & 0xFF)};
      else
        character = std::string(1, static_cast<char>(key.code));
      for (int i = selected + 1; i < history.size(); ++i) {
        if (FindText(history[i].callsign, character) != std::string_view::npos) {
          selected = i;
          break;
        }
      }
    }
  }
}

}  // namespace vondal
