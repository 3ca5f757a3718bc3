#pragma once
// Web links, chat-log helpers and card picture paths shared by the windows.
#include <QPoint>
#include <QString>

class QPlainTextEdit;
class QTextDocument;
class QTextEdit;
class QTreeWidget;

// The one way a link or program leaves the client: http, https and mailto open in the desktop's
// handler ("www." gets http), a path to an existing program is started. Returns > 32 on success.
int ShellOpen(const QString& target, const QString& text = QString());
// ShellOpen, then the lobby's back-from-away.
void OpenLink(const QString& target, const QString& text = QString());
// A word clicked in a chat log: a web or mail link opens as it is, an address with "@" and a dot
// after it as "mailto:"; anything else opens nothing.
void OpenChatWord(const QString& word);
// " artist - track" of a music player that is playing (through the desktop's media-player
// interface), "" when none plays.
QString GetNowPlaying();
// Marks every link beginning with prefix (no blanks in it) from position start on (colour
// 16744576, underlined).
void HighlightLinks(QTextDocument* log, const QString& prefix, int start);
void HighlightLinks(QTextEdit* box, const QString& prefix, int start);
void HighlightLinks(QPlainTextEdit* box, const QString& prefix, int start);
// Marks the links of a chat line, from position start on, in one scan: those beginning with
// "http:", "www.", "mailto:" and "ftp.", as HighlightLinks with each prefix in that order.
void HighlightChatLinks(QTextDocument* log, int start);
void HighlightChatLinks(QTextEdit* box, int start);
void HighlightChatLinks(QPlainTextEdit* box, int start);
// Sets the pointer and tooltip for the word under pos (viewport coordinates) and returns it.
QString HyperlinkHover(QTextEdit* chatin, const QPoint& pos);
QString HyperlinkHover(QPlainTextEdit* chatin, const QPoint& pos);
void SetTreeTextColor(long colour, QTreeWidget* tree);
// Removes the oldest line of a chat log (the lobby's when no box is given).
void TrimChatBox();
void TrimChatBox(QTextDocument* log);
void TrimChatBox(QTextEdit* box);
void TrimChatBox(QPlainTextEdit* box);
// The length above which a chat log drops its oldest lines (the lobby log's limit).
constexpr int kChatLogLimit = 15000;
// The lobby log's trimming for a pane that has no rule of its own: while the log is longer than
// kChatLogLimit, its oldest line goes as TrimChatBox drops it.
void TrimChatLog(QTextDocument* log);
void TrimChatLog(QTextEdit* box);
// <client>/decks/<colour>/<name>.jpg, completing the name with ".jpg"; "" with a message when missing.
QString CardImagePath(QString& cardName, const QString& colour);

// The link colour of chat logs.
constexpr long kLinkColour = 16744576;
// The length of a chat log's text, without laying it out.
int chatLength(const QTextDocument* log);
int chatLength(const QTextEdit* box);
int chatLength(const QPlainTextEdit* box);
