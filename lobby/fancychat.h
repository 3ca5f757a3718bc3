#pragma once
// Formatted, coloured lines in the rich-text chat logs: notices in the lobby log, chat lines of
// other players by their leading command, colours from skin texts, and padded table rows.
// Everything is inserted as plain text runs; nothing from the server is ever read as markup.
#include "app/modLinks.h"

#include <QString>
#include <optional>

class QAbstractScrollArea;
class QPlainTextEdit;
class QTextDocument;
class QTextEdit;

// Colours as 0xBBGGRR values.
namespace ChatColour {
constexpr long White = 16777215;
constexpr long Black = 0;
constexpr long Red = 255;
constexpr long Green = 65280;
constexpr long Yellow = 65535;
constexpr long Cyan = 16776960;
constexpr long LightGreen = 8454016;  // (128, 255, 128)
}  // namespace ChatColour

// A notice in the lobby log: "<label> name text HH:MM:SS", creating the lobby window if needed.
void PrintChatLine(const QString& label, const QString& name, const QString& text, long colour);
// A received chat line rendered by its leading command into the lobby, guild or administrator log;
// a non-empty level prints the level-up congratulation instead.
void RenderIncomingChat(const QString& name, const QString& level, const QString& text, long colour, bool raw = false);

// Six hexadecimal digits RRGGBB (shorter texts zero-padded on the left, longer ones keep their
// last six) as a colour value; nothing when the text is not hexadecimal.
std::optional<long> HexToColor(const QString& hex);
// A colour name of the skins ("white", "magnenta" ...) or RRGGBB; defaultColour for anything else.
long ColorFromName(const QString& name, long defaultColour);
// Appends text to row and pads it with blanks to width characters; a longer text is not cut.
void PadRight(QString& row, const QString& text, int width);

// Local time of day as HH:MM:SS on the client's clock.
QString ChatTime();

// Appends runs at the end of a rich-text log, one edit block per line, without parsing markup.
class ChatRuns {
public:
    explicit ChatRuns(QTextEdit* box);
    explicit ChatRuns(QPlainTextEdit* box);
    // The log's document and the box that scrolls it.
    ChatRuns(QTextDocument* log, QAbstractScrollArea* view);
    // A chat log box of either kind (QTextEdit or QPlainTextEdit).
    explicit ChatRuns(QAbstractScrollArea* box);
    ~ChatRuns();
    ChatRuns(const ChatRuns&) = delete;
    ChatRuns& operator=(const ChatRuns&) = delete;
    // Font of the following runs; an empty family or a size of 0 keeps what the log had.
    void font(const QString& family, double pointSize);
    void run(const QString& text, long colour, bool bold = false, bool underline = false);

private:
    struct Impl;
    Impl* d;
};

// The document of a chat log box of either kind, or nullptr.
QTextDocument* chatDocument(QAbstractScrollArea* box);
// The colour in which the box's own cursor would type next.
void setTypingColour(QAbstractScrollArea* box, long colour);

// Trims the lobby log when it holds more than 15000 characters.
void TrimLobbyLogIfLong();
// The lobby log limit above which its writers drop the oldest line.
constexpr int kLobbyLogLimit = kChatLogLimit;
