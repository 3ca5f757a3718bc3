#pragma once
// The dated chat log files. What the player types is lobby/ChatInput.h.
#include <QString>

// Appends "(HH:MM:SS) text" as one line to logs/<name>_<MM-DD-YYYY>.log under the client folder.
// Throws RuntimeError when the name is not a plain file name or the file cannot be written.
void LogChat(const QString& text, const QString& name);
// LogChat into the "mainchat" log; a log that cannot be written says so in the lobby once, until
// writing works again, and never stops the caller.
void LogMainChat(const QString& text);
