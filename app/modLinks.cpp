#include "app/modLinks.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <array>

int ShellOpen(const QString& target, const QString&) {
    const QString t = target.trimmed();
    if (t.isEmpty()) return 2;
    const QString lower = t.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://")) ||
        lower.startsWith(QLatin1String("mailto:")))
        return services().shell->open(t);
    if (lower.startsWith(QLatin1String("www."))) return services().shell->open(QStringLiteral("http://") + t);
    // Anything else must be a program of ours in the client folder.
    const QString path = resolvePath(t);
    const QString folder = QFileInfo(ClientFolder()).canonicalFilePath();
    const QString program = QFileInfo(path).canonicalFilePath();
    if (folder.isEmpty() || !program.startsWith(folder + u'/') || !QFileInfo(program).isFile()) return 2;
    return services().shell->startProgram(path) ? 33 : 2;
}

void OpenLink(const QString& target, const QString& text) {
    ShellOpen(target, text);
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
}

void OpenChatWord(const QString& w) {
    const QString lower = w.toLower();
    if (lower.startsWith(QLatin1String("http:")) || lower.startsWith(QLatin1String("https:")) ||
        lower.startsWith(QLatin1String("mailto:")) || lower.startsWith(QLatin1String("www."))) {
        ShellOpen(w);
        return;
    }
    // A bare address: something before an "@" and a dot somewhere after it.
    const qsizetype at = w.indexOf(u'@');
    if (at > 0 && w.indexOf(u'.', at + 2) > at + 1) ShellOpen(QStringLiteral("mailto:") + w);
}

namespace {
bool isLinkEnd(QChar c) {
    return c == u' ' || c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}
}  // namespace

void HighlightLinks(QTextEdit* box, const QString& prefix, int start) {
    if (box) HighlightLinks(box->document(), prefix, start);
}

void HighlightLinks(QPlainTextEdit* box, const QString& prefix, int start) {
    if (box) HighlightLinks(box->document(), prefix, start);
}

namespace {
// Marks, in one scan from start on, the links beginning with any of the prefixes: in each word
// (up to the next blank or line break) the first match of each prefix, case-insensitively, up to
// the word's end. Where two links of a word overlap, the later prefix's address wins, as when
// each prefix is marked over the whole text in turn.
void markLinks(QTextDocument* doc, const QString* prefixes, int count, int start) {
    if (!doc || count <= 0) return;
    std::array<int, 8> at{};
    count = std::min(count, int(at.size()));
    // The links of the scan are marked in one edit: the lines are laid out again once.
    QTextCursor c(doc);
    bool editing = false;
    for (QTextBlock block = doc->findBlock(std::max(start, 0)); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const QStringView view(text);
        const int base = block.position();
        qsizetype i = std::max(0, start - base);
        while (i < text.size()) {
            if (isLinkEnd(text[i])) {
                ++i;
                continue;
            }
            qsizetype end = i;
            while (end < text.size() && !isLinkEnd(text[end])) ++end;
            int found = 0;
            at.fill(-1);
            for (qsizetype j = i; j < end && found < count; ++j) {
                const char16_t folded = text[j].toCaseFolded().unicode();
                for (int k = 0; k < count; ++k) {
                    if (at[k] >= 0 || prefixes[k].isEmpty() || folded != prefixes[k].front().toCaseFolded().unicode()) continue;
                    if (view.sliced(j, end - j).startsWith(prefixes[k], Qt::CaseInsensitive)) {
                        at[k] = int(j);
                        ++found;
                    }
                }
            }
            for (int k = 0; k < count; ++k) {
                if (at[k] < 0) continue;
                if (!editing) c.beginEditBlock();
                editing = true;
                c.setPosition(base + at[k]);
                c.setPosition(base + int(end), QTextCursor::KeepAnchor);
                QTextCharFormat fmt;
                fmt.setForeground(vbColor(kLinkColour));
                fmt.setFontUnderline(true);
                fmt.setAnchor(true);
                fmt.setAnchorHref(text.mid(at[k], end - at[k]));
                c.mergeCharFormat(fmt);
            }
            i = end;
        }
    }
    if (editing) c.endEditBlock();
}
}  // namespace

void HighlightLinks(QTextDocument* doc, const QString& prefix, int start) { markLinks(doc, &prefix, 1, start); }

void HighlightChatLinks(QTextDocument* doc, int start) {
    static const QString kPrefixes[] = {QStringLiteral("http:"), QStringLiteral("www."), QStringLiteral("mailto:"),
                                        QStringLiteral("ftp.")};
    markLinks(doc, kPrefixes, int(std::size(kPrefixes)), start);
}

void HighlightChatLinks(QTextEdit* box, int start) {
    if (box) HighlightChatLinks(box->document(), start);
}

void HighlightChatLinks(QPlainTextEdit* box, int start) {
    if (box) HighlightChatLinks(box->document(), start);
}

namespace {
// The word at a position of a log, with the pointer and tooltip of the box set for it.
QString hoverWord(QTextDocument* doc, int position, QAbstractScrollArea* chatin) {
    const int length = doc->characterCount() - 1;
    if (position < 1 || length <= 0) return {};
    int begin = position;
    while (begin > 0 && !isLinkEnd(doc->characterAt(begin - 1))) --begin;
    int end = position;
    while (end < length && !isLinkEnd(doc->characterAt(end))) ++end;
    QTextCursor word(doc);
    word.setPosition(begin);
    word.setPosition(end, QTextCursor::KeepAnchor);
    const QString text = word.selectedText();
    QString tip;
    if (text.startsWith(QLatin1String("http:")) || text.startsWith(QLatin1String("www.")) ||
        text.startsWith(QLatin1String("mailto:"))) {
        tip = text.startsWith(QLatin1String("mailto:")) ? QStringLiteral("Click here to send mail to ") + text.mid(7)
                                                        : QStringLiteral("Click here to navigate at ") + text;
    } else if (text.contains(u'@')) {
        tip = QStringLiteral("Click here to send mail to ") + text;
    }
    if (!tip.isEmpty()) {
        frmCon* con = ifLoaded<frmCon>();
        chatin->viewport()->setCursor(con ? con->skinCursor() : QCursor(Qt::PointingHandCursor));
        // The tip reads exactly as the address: plain text stays plain ("&" is "&"), and text the
        // tooltip would take for markup is given as escaped markup.
        chatin->setToolTip(Qt::mightBeRichText(tip) ? QStringLiteral("<qt>") + tip.toHtmlEscaped() + QStringLiteral("</qt>") : tip);
    } else {
        chatin->setToolTip(QString());
        chatin->viewport()->unsetCursor();
    }
    return text;
}
}  // namespace

QString HyperlinkHover(QTextEdit* chatin, const QPoint& pos) {
    return chatin ? hoverWord(chatin->document(), chatin->cursorForPosition(pos).position(), chatin) : QString();
}

QString HyperlinkHover(QPlainTextEdit* chatin, const QPoint& pos) {
    return chatin ? hoverWord(chatin->document(), chatin->cursorForPosition(pos).position(), chatin) : QString();
}

void SetTreeTextColor(long colour, QTreeWidget* tree) {
    if (!tree) return;
    QPalette pal = tree->palette();
    pal.setColor(QPalette::Text, vbColor(colour));
    tree->setPalette(pal);
    tree->viewport()->update();
}

int chatLength(const QTextDocument* log) { return log ? log->characterCount() - 1 : 0; }
int chatLength(const QTextEdit* box) { return box ? chatLength(box->document()) : 0; }
int chatLength(const QPlainTextEdit* box) { return box ? chatLength(box->document()) : 0; }

void TrimChatBox(QTextEdit* box) {
    if (box) TrimChatBox(box->document());
}

void TrimChatBox(QPlainTextEdit* box) {
    if (box) TrimChatBox(box->document());
}

namespace {
// Drops the oldest lines of a log up to the start of block `to` and leaves a blank in their place
// in the user's chat font: what dropping them one by one leaves, in one edit.
void dropLinesBefore(QTextDocument* doc, const QTextBlock& to) {
    QTextCursor c(doc);
    // Positions set inside the edit block lay nothing out (a move would lay out both lines).
    c.beginEditBlock();
    c.setPosition(0);
    c.setPosition(to.position(), QTextCursor::KeepAnchor);
    QTextCharFormat fmt;
    if (!Nickname.isEmpty()) {
        const QString file = GetIniFile();
        const QString font = ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), file);
        const double size = vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), file));
        if (!font.isEmpty()) fmt.setFontFamilies({font});
        if (size > 0) fmt.setFontPointSize(size);
    }
    c.insertText(QStringLiteral(" "), fmt);
    c.endEditBlock();
}
}  // namespace

void TrimChatBox(QTextDocument* doc) {
    if (!doc || chatLength(doc) < 21) return;
    // Only a log with a finished line has anything to drop.
    if (doc->blockCount() < 2) return;
    dropLinesBefore(doc, doc->firstBlock().next());
}

void TrimChatLog(QTextDocument* doc) {
    if (!doc) return;
    // As TrimChatBox over and over while the log is too long, in one edit (a rich-text log lays
    // out everything below an edit again): each drop leaves a blank before the next line, so
    // the log shortens by the length of the line it drops, and a log of one line stays.
    int length = chatLength(doc);
    int blocks = doc->blockCount();
    QTextBlock next = doc->firstBlock();
    bool first = true;
    while (length > kChatLogLimit && blocks >= 2) {
        length -= next.length() - 1 + (first ? 0 : 1);
        first = false;
        next = next.next();
        --blocks;
    }
    if (!first) dropLinesBefore(doc, next);
}

void TrimChatLog(QTextEdit* box) {
    if (box) TrimChatLog(box->document());
}

void TrimChatBox() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) TrimChatBox(lobby->chatin);
}

QString CardImagePath(QString& cardName, const QString& colour) {
    const QString folder = ClientConfig().DeckFolder() + colour + u'/';
    if (!cardName.endsWith(QLatin1String(".jpg"))) cardName += QStringLiteral(".jpg");
    // Looked up for every card a game shows: remembered while the deck's folders are unchanged.
    // Names from the server are checked first, so that none makes a folder outside be watched.
    if (isSafePathComponent(cardName) && isSafePathComponent(colour)) {
        const QString path = knownPath(folder + cardName);
        if (QFileInfo(path).isFile()) return path;
    }
    MsgBox(QStringLiteral("Missing file ") + cardName + QStringLiteral(" (color: ") + colour +
               QStringLiteral("), a black image will be showed instead. Make sure your executable is in the correct "
                              "installation directory.  If it is, contact ") +
               Deployment::supportAddress() + QStringLiteral(" with this error."),
           vb::OKOnly, QStringLiteral("Fatal error"));
    return {};
}
