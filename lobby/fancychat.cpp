#include "lobby/fancychat.h"

#include "admin/frmadmin.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QDateTime>
#include <QScrollBar>
#include <QTextCursor>
#include <QPlainTextEdit>
#include <QTextEdit>

struct ChatRuns::Impl {
    QAbstractScrollArea* box;
    QTextCursor cursor;
    QTextCharFormat format;
    bool atBottom;
};

ChatRuns::ChatRuns(QTextEdit* box) : ChatRuns(box->document(), box) {}
ChatRuns::ChatRuns(QPlainTextEdit* box) : ChatRuns(box->document(), box) {}
ChatRuns::ChatRuns(QAbstractScrollArea* box) : ChatRuns(chatDocument(box), box) {}

QTextDocument* chatDocument(QAbstractScrollArea* box) {
    if (auto* rich = qobject_cast<QTextEdit*>(box)) return rich->document();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) return plain->document();
    return nullptr;
}

void setTypingColour(QAbstractScrollArea* box, long colour) {
    QTextCharFormat f;
    f.setForeground(vbColor(colour));
    if (auto* rich = qobject_cast<QTextEdit*>(box)) rich->mergeCurrentCharFormat(f);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) plain->mergeCurrentCharFormat(f);
}

ChatRuns::ChatRuns(QTextDocument* log, QAbstractScrollArea* view) : d(new Impl{view, QTextCursor(log), QTextCharFormat(), true}) {
    QScrollBar* bar = view ? view->verticalScrollBar() : nullptr;
    d->atBottom = !bar || bar->value() >= bar->maximum() - 4;
    // Placed at the end inside the edit block: a cursor moved outside one lays out the line it
    // leaves and the line it reaches, which the next line's trimming has just changed.
    d->cursor.beginEditBlock();
    if (log) d->cursor.setPosition(log->characterCount() - 1);
    d->format = d->cursor.charFormat();
    // A link marked at the end of the log must not spread into the next line.
    d->format.setAnchor(false);
    d->format.clearProperty(QTextFormat::AnchorHref);
    d->format.setFontUnderline(false);
}

ChatRuns::~ChatRuns() {
    d->cursor.endEditBlock();
    // Follow the newest line unless the reader scrolled back.
    if (d->atBottom && d->box) {
        if (QScrollBar* bar = d->box->verticalScrollBar()) bar->setValue(bar->maximum());
    }
    delete d;
}

void ChatRuns::font(const QString& family, double pointSize) {
    if (!family.isEmpty()) d->format.setFontFamilies({family});
    if (pointSize > 0) d->format.setFontPointSize(pointSize);
}

void ChatRuns::run(const QString& text, long colour, bool bold, bool underline) {
    QTextCharFormat f = d->format;
    f.setForeground(vbColor(colour));
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontUnderline(underline);
    d->cursor.insertText(text, f);
}

QString ChatTime() {
    return QDateTime::fromMSecsSinceEpoch(services().clock->wallMsSinceEpoch()).toString(QStringLiteral("HH:mm:ss"));
}

void TrimLobbyLogIfLong() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (lobby && chatLength(lobby->chatin) > kLobbyLogLimit) TrimChatBox(lobby->chatin);
}

namespace {
const QString DQ = QStringLiteral("\"");

QString skinFontFace() { return GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface")); }
double skinFontSize() { return vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"))); }

// The first steps of every lobby write: the log stays bounded and the input's caret goes to the
// end of what is typed.
frmchildchat* prepareLobbyLog() {
    frmchildchat* lobby = form<frmchildchat>();
    TrimLobbyLogIfLong();
    TrimLobbyLogIfLong();
    if (lobby->chatout) lobby->chatout->end(false);
    return lobby;
}

bool optionOn(const QString& key) { return ReadIni(QStringLiteral("Options"), key, GetIniFile()) == QLatin1String("1"); }
}  // namespace

void PrintChatLine(const QString& label, const QString& name, const QString& text, long colour) {
    frmchildchat* lobby = prepareLobbyLog();
    ChatRuns out(lobby->chatin);
    out.font(skinFontFace(), skinFontSize());
    out.run(QStringLiteral("<"), colour);
    out.run(label, ChatColour::White, true);
    out.run(QStringLiteral("> "), colour);
    out.run(name + u' ', colour, true);
    out.run(text + u' ' + ChatTime() + u'\n', colour);
}

void RenderIncomingChat(const QString& name, const QString& level, const QString& text, long colour, bool raw) {
    frmchildchat* lobby = prepareLobbyLog();
    // Commands compare the lower-cased start of the text (so /OOC is /ooc and /shouting is /shout).
    const QString head = text.left(8).toLower();
    const auto first = [&](int n, QLatin1StringView command) { return text.size() >= n && QStringView(head).left(n) == command; };
    // REST(k): the text from its k-th character on; QUOTED(k): that piece between quotes.
    const auto rest = [&](int k) { return text.mid(k - 1); };
    const auto quoted = [&](int k) { return DQ + u' ' + rest(k) + u' ' + DQ; };
    const QString closing = QStringLiteral(" \n");
    const qsizetype len = text.size();

    // A lobby line in one colour: a lead-in, the speaker in bold, what follows and the closing run.
    const auto lobbyLine = [&](long c, const QString& lead, bool withName, const QString& after) {
        ChatRuns out(lobby->chatin);
        out.font(skinFontFace(), skinFontSize());
        if (!lead.isEmpty()) out.run(lead, c);
        if (withName) out.run(name, c, true);
        out.run(after + closing, c);
    };
    if (!level.isEmpty()) {
        lobbyLine(ChatColour::Yellow, QStringLiteral("Congratulations! Welcome to level ") + level + u'!', false, QString());
        return;
    }
    if (!raw && first(4, QLatin1StringView("/ooc"))) {
        // A text of four or five characters gives only the line end.
        if (len >= 6)
            lobbyLine(ChatColour::Green, QString(), true, QStringLiteral(" says out of character, ") + quoted(6));
        else
            lobbyLine(ChatColour::Green, QString(), false, QString());
        return;
    }
    if (!raw && first(8, QLatin1StringView("/auction"))) {
        lobbyLine(ChatColour::LightGreen, QString(), true,
                  len >= 10 ? QStringLiteral(" auctions, ") + quoted(10) : QStringLiteral(" auctions nothing. Penny for the poor?"));
        return;
    }
    if (!raw && first(7, QLatin1StringView("/random"))) {
        if (!optionOn(QStringLiteral("Random"))) lobbyLine(ChatColour::Red, QStringLiteral("***** "), true, u' ' + rest(8));
        return;
    }
    if (text.contains(QLatin1String("/me is listening to *")) && optionOn(QStringLiteral("Music"))) return;
    if (!raw && first(6, QLatin1StringView("/shout"))) {
        lobbyLine(ChatColour::Red, QString(), true,
                  len >= 8 ? QStringLiteral(" shouts, ") + quoted(8) : QStringLiteral(" shouts nothing? What a wuss!"));
        return;
    }
    if (!raw && first(6, QLatin1StringView("/admin"))) {
        // The administrator window keeps its own font; its log is not trimmed.
        ChatRuns out(form<frmadmin>()->chatin);
        out.run(name, ChatColour::Cyan, true);
        out.run(len >= 8 ? QStringLiteral(" commands, ") + quoted(8) + u'\n'
                         : QStringLiteral(" commands nothing.  What a wuss!\n"),
                ChatColour::Cyan);
        return;
    }
    const bool guildWord = first(6, QLatin1StringView("/guild"));
    if (!raw && (guildWord || first(2, QLatin1StringView("/g")))) {
        ChatRuns out(form<frmguildchat>()->chatin);
        out.font(skinFontFace(), skinFontSize());
        out.run(name, ChatColour::LightGreen, true);
        if (guildWord && len >= 8)
            out.run(QStringLiteral(" says in guild, ") + quoted(8) + u'\n', ChatColour::LightGreen);
        else if (len >= 4)
            out.run(QStringLiteral(" says in guild, ") + quoted(4) + u'\n', ChatColour::LightGreen);
        return;
    }
    if (!raw)
        lobbyLine(ChatColour::White, QString(), true, QStringLiteral(" says, ") + DQ + u' ' + text + u' ' + DQ);
    else
        lobbyLine(colour, QString(), false, text);
}

std::optional<long> HexToColor(const QString& hex) {
    const QString six = (QStringLiteral("000000") + hex).right(6);
    for (QChar c : six) {
        const bool digit = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!digit) return std::nullopt;
    }
    // RRGGBB read as BBGGRR.
    const QString bgr = six.mid(4, 2) + six.mid(2, 2) + six.mid(0, 2);
    return bgr.toLong(nullptr, 16);
}

long ColorFromName(const QString& name, long defaultColour) {
    static const std::pair<QLatin1StringView, long> kNames[] = {
        {QLatin1StringView("white"), 16777215}, {QLatin1StringView("black"), 0},
        {QLatin1StringView("cyan"), 16776960},  {QLatin1StringView("magnenta"), 16711935},
        {QLatin1StringView("green"), 65280},    {QLatin1StringView("red"), 255},
        {QLatin1StringView("yellow"), 65535},   {QLatin1StringView("blue"), 16711680},
    };
    const QString lower = name.toLower();
    for (const auto& [n, value] : kNames)
        if (lower == n) return value;
    return HexToColor(name).value_or(defaultColour);
}

void PadRight(QString& row, const QString& text, int width) {
    row += text;
    if (text.size() < width) row += QString(width - text.size(), u' ');
}
