#pragma once
// The chat input of a game window, shared by the boards that chat with their opponents.
#include <QString>

class QLineEdit;
class QTextEdit;

// One key in the input: Ctrl+A (1) empties the log and returns "". Enter returns the typed line,
// with double blanks folded, puts it back in the input and consumes the key; Ctrl+V counts as a
// blank. A line holding Ctrl+C's character or only blanks is never taken, and any other key
// returns "" and leaves everything as it was.
QString TakeGameChatLine(QTextEdit* log, QLineEdit* input, int& KeyAscii);

template <class Key>
QString TakeGameChatLine(QTextEdit* log, QLineEdit* input, Key& KeyAscii) {
    int key = KeyAscii;
    const QString line = TakeGameChatLine(log, input, key);
    KeyAscii = Key(key);
    return line;
}
