// Searches of the record editor: a call-sign search fills the select area with the matching
// records (the search list), a date search finds the first record of a date and time. Both are
// narrowed by the search conditions; the search menu (F) asks for either.
#pragma once

#include <string>

#include "editor/edit_screen.h"
#include "editor/editor_context.h"
#include "editor/editor_state.h"
#include "editor/search_request.h"

namespace vondal {

// How a search ended.
enum class SearchOutcome {
  kEdit,    // back to field input (nothing found, or stopped with Esc, Backspace, a function key)
  kSelect,  // the cursor goes into the select area (hits found, or stopped with Up or PgUp)
  kReload,  // search and edit: the record found goes into the edit area (editor.current is set)
};

// Runs `request` (not empty) as mode Select asks: the call-sign search for CALLSIGN requests,
// otherwise the date search that positions the list.
SearchOutcome RunSearch(const EditorContext& context, const EditLayout& layout, EditorState& editor,
                        const SearchRequest& request);

// The date search: record 0 for 'F', N-1 for 'L', otherwise the first record whose date-time key
// is not below the edit area's DATE (completed to a whole date) and, for START, its START; N
// when there is none or DATE does not begin with two digits.
int DateSearch(const EditorContext& context, const Record& working, const SearchRequest& request);

// The date and time a date search looks for, completed ("2403" → "240301", "09" → "0900"); false
// when DATE does not begin with two digits.
bool CompleteDateTime(std::string_view date, std::string_view start, bool withStart, std::string& fullDate,
                      std::string& fullTime);

// The count text of the header line: "該当なし", "%d交信" or "%d/%d交信", and ":続く" / ":中断".
std::string CountText(int hits, int total, bool presearch, const char* state);

// The search menu (editor menu F): the request chosen, or an empty one.
SearchRequest SearchMenu(const EditorContext& context, const EditLayout& layout, EditorState& editor);

}  // namespace vondal
