#pragma once
// What the player types into a chat input, and the dated chat log files.
#include <QString>
#include <cstdint>

class QWidget;

// The key handler shared by the lobby's and the guild window's chat input: form is the input
// window, key the character code (set to 0 to swallow it), prefix and suffix frame the typed line.
void ChatKeyPress(QWidget* form, int16_t& key, const QString& prefix, const QString& suffix);

// Appends "(HH:MM:SS) text" as one line to logs/<name>_<MM-DD-YYYY>.log under the client folder.
// Throws RuntimeError when the name is not a plain file name or the file cannot be written.
void LogChat(const QString& text, const QString& name);
