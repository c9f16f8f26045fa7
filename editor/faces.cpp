#include "editor/faces.h"

#include "app/text/sjis.h"
#include "console/key_source.h"
#include "console/menu_line.h"

namespace vondal {

void SaveFace(EditorState& editor, int recordCount) {
  Face& face = editor.faces[editor.face];
  face.record = editor.current >= recordCount ? -1 : editor.current;
  face.field = editor.field;
  for (int i = 0; i < kStoredFieldCount; ++i) face.slot[i] = editor.working[i];
}

void ChangeFace(EditorState& editor, int to, int recordCount) {
  SaveFace(editor, recordCount);
  editor.previousFace = editor.face;
  editor.face = to;
  const Face& face = editor.faces[to];
  for (int i = 0; i < kStoredFieldCount; ++i) editor.working[i] = face.slot[i];
  editor.current = face.record < 0 ? recordCount : face.record;
  editor.field = face.field < 0 ? homeField : face.field;
  // The cursor and offsets are the face's own: field input must not reset them.
  editor.cursorField = editor.field;
}

std::string FaceMenuLine(const EditorState& editor, int width) {
  const std::string prompt = std::string(">面> [ﾏｰｸ ]") + static_cast<char>('0' + editor.markedFace) + "面";
  // One common width for the call signs, from 24 down until the line fits.
  const int room = width - 21 - static_cast<int>(prompt.size());
  int callWidth = 24;
  auto total = [&](int w) {
    int sum = 0;
    for (int f = 0; f < kFaceCount; ++f) {
      sum += 1 + (f == editor.face
                      ? 2
                      : 1 + static_cast<int>(CutAtCharacter(editor.faces[f].slot[CALLSIGN], w).size()));
    }
    return sum;
  };
  while (callWidth > 0 && total(callWidth) > room) --callWidth;
  std::string line = prompt;
  for (int f = 0; f < kFaceCount; ++f) {
    line += ' ';
    if (f == editor.face) {
      line += "-+";
    } else {
      // The digit is the key; the call sign its label.
      line += static_cast<char>('0' + f);
      line += CutAtCharacter(editor.faces[f].slot[CALLSIGN], callWidth);
    }
  }
  return line;
}

bool FaceMenu(EditorState& editor, int width, int recordCount) {
  SaveFace(editor, recordCount);
  for (;;) {
    ShowMenu(FaceMenuLine(editor, width));
    const KeyEvent key = ReadKey();
    int to = -1;
    if (key.code >= '0' && key.code <= '9') {
      to = key.code - '0';
    } else if (key.code == '+' || key.code == ';') {
      to = (editor.face + 1) % kFaceCount;
    } else if (key.code == '-') {
      to = (editor.face + kFaceCount - 1) % kFaceCount;
    } else if (key.code == ']') {
      to = editor.markedFace;
    } else if (key.code == ' ' || key.code == 9) {
      to = editor.previousFace;
    } else if (key.code == '[') {
      editor.markedFace = editor.face;
      continue;
    } else {
      RejectKey(key.code);
      continue;
    }
    ShowMenu("");
    if (to == editor.face) return false;
    ChangeFace(editor, to, recordCount);
    return true;
  }
}

}  // namespace vondal
