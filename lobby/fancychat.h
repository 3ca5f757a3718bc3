#pragma once
// Formatted, coloured lines in the rich-text chat logs.
#include <QString>

class QTextEdit;

// A notice in the lobby log: "<label> name text HH:MM:SS", creating the lobby window if needed.
void PrintChatLine(const QString& label, const QString& name, const QString& text, long colour);
// Local time of day as HH:MM:SS on the client's clock.
QString ChatTime();

// Appends runs at the end of a rich-text log, one edit block per line, without parsing markup.
class ChatRuns {
public:
    explicit ChatRuns(QTextEdit* box);
    ~ChatRuns();
    ChatRuns(const ChatRuns&) = delete;
    ChatRuns& operator=(const ChatRuns&) = delete;
    void font(const QString& family, double pointSize);
    void run(const QString& text, long colour, bool bold = false);

private:
    struct Impl;
    Impl* d;
};

// Trims the lobby log when it holds more than 15000 characters.
void TrimLobbyLogIfLong();
