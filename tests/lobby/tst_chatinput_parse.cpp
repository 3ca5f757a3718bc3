// The chat input without a window: key events to key codes, blank collapsing, the withheld
// words, and what each typed line is recognised as.
#include "lobby/ChatInput.h"
#include "platform/KeyAscii.h"

#include <QKeyEvent>
#include <QtTest>

Q_DECLARE_METATYPE(ChatRow)

namespace {
const char* rowName(ChatRow r) {
    switch (r) {
        case ChatRow::Ignored: return "Ignored";
        case ChatRow::Away: return "Away";
        case ChatRow::Mod: return "Mod";
        case ChatRow::Random: return "Random";
        case ChatRow::Tell: return "Tell";
        case ChatRow::Log: return "Log";
        case ChatRow::Sound: return "Sound";
        case ChatRow::Join: return "Join";
        case ChatRow::GuildDisband: return "GuildDisband";
        case ChatRow::Music: return "Music";
        case ChatRow::Moderation: return "Moderation";
        case ChatRow::Chat: return "Chat";
    }
    return "?";
}
}  // namespace

class tst_chatinput_parse : public QObject {
    Q_OBJECT

private slots:
    void keyCodes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << QString() << 1;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << ctrl << QString(QChar(19)) << 19;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << QString(QChar(22)) << 22;
        QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << (ctrl | int(Qt::ShiftModifier)) << QString() << 26;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << QStringLiteral("\r") << 13;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << QStringLiteral("\r") << 13;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << QString() << 10;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << QStringLiteral("\b") << 8;
        QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << ctrl << QString() << 127;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << QString(QChar(27)) << 27;
        QTest::newRow("backquote") << int(Qt::Key_QuoteLeft) << 0 << QStringLiteral("`") << 96;
        QTest::newRow("a") << int(Qt::Key_A) << 0 << QStringLiteral("a") << 97;
        QTest::newRow("shifted A") << int(Qt::Key_A) << int(Qt::ShiftModifier) << QStringLiteral("A") << 65;
        QTest::newRow("blank") << int(Qt::Key_Space) << 0 << QStringLiteral(" ") << 32;
        QTest::newRow("e acute") << int(Qt::Key_Eacute) << 0 << QStringLiteral("\u00e9") << 233;
        // AltGr reported as Ctrl+Alt types its character; it is no control key.
        QTest::newRow("AltGr+E") << int(Qt::Key_E) << (ctrl | int(Qt::AltModifier)) << QStringLiteral("\u20ac") << 0x20ac;
        QTest::newRow("left arrow") << int(Qt::Key_Left) << 0 << QString() << 0;
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << QString() << 0;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << QString(QChar(127)) << 0;
        QTest::newRow("beyond 16 bits") << int(Qt::Key_unknown) << 0 << QStringLiteral("\uac00") << 0;
    }
    void keyCodes() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, code);
        const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCOMPARE(int(keyAscii(&e)), code);
    }

    void collapseBlanksInOnePass() {
        QCOMPARE(CollapseBlanks(QStringLiteral("a  b")), QStringLiteral("a b"));
        QCOMPARE(CollapseBlanks(QStringLiteral("a   b")), QStringLiteral("a  b"));
        QCOMPARE(CollapseBlanks(QStringLiteral("a    b")), QStringLiteral("a  b"));
        QCOMPARE(CollapseBlanks(QStringLiteral("  x  ")), QStringLiteral(" x "));
        QCOMPARE(CollapseBlanks(QStringLiteral("no doubles")), QStringLiteral("no doubles"));
        QCOMPARE(CollapseBlanks(QString()), QString());
    }

    void withheldWordsAnywhereInExactCase() {
        for (const char* s : {"/warn x", "hello /where are you", "see /admin", "/kickme", "/bank", "a/bana"})
            QVERIFY2(IsWithheldChat(QString::fromLatin1(s)), s);
        for (const char* s : {"/Warn x", "/WHERE", "warn kick ban", "/ba n", "/wher"})
            QVERIFY2(!IsWithheldChat(QString::fromLatin1(s)), s);
    }

    // The cases the window test types as well are left to it; these are the finer points.
    void recognisedLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<ChatRow>("row");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("send");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notice");
        const QString none;
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

        row("/OOC upper") << "/OOC" << ChatRow::Chat << false << "CHAT /OOC" << none << none << none;

        row("/away reason") << "/away gone fishing" << ChatRow::Away << false << none << none << "gone fishing" << none;
        row("/AWAY upper") << "/AWAY x" << ChatRow::Away << false << none << none << "x" << none;
        row("/away alone") << "/away" << ChatRow::Away << false << none << none << "" << none;

        row("/mod ON unchanged") << "/mod ON" << ChatRow::Mod << false << "ADMINMOD ON" << none << none << none;
        row("/mod other") << "/mod quiet please" << ChatRow::Mod << false << "ADMINMOD quiet" << none << none << none;
        row("/mod alone") << "/mod" << ChatRow::Mod << true << none << none << none << none;

        const QString tooHigh = QStringLiteral("Random maximums cannot be higher than 32000");
        const QString order = QStringLiteral("The first number must be the lowest compared to the other.  Try again.");
        const QString usage = QString::fromLatin1(kRandomRollUsage);
        row("/RANDOM upper") << "/RANDOM 1 6" << ChatRow::Random << false << "RANDOM 1 6" << none << none << none;
        row("/random -0.5 5") << "/random -0.5 5" << ChatRow::Random << true << none << none << none << none;
        row("/random 1 32001") << "/random 1 32001" << ChatRow::Random << true << none << none << none << tooHigh;
        row("/random 10 5") << "/random 10 5" << ChatRow::Random << true << none << none << none << order;
        row("/random one bound") << "/random 5" << ChatRow::Random << true << none << none << none << usage;
        row("/random 5x 9") << "/random 5x 9" << ChatRow::Random << true << none << none << none << usage;
        row("/random -1 x") << "/random -1 x" << ChatRow::Random << true << none << none << none << usage;
        row("/randomly") << "/randomly" << ChatRow::Random << true << none << none << none << usage;

        row("/MSG upper") << "/MSG Nyx hi there" << ChatRow::Tell << false << "PM Nyx hi%20there" << "Nyx" << "hi there" << none;
        row("/tell no name (three blanks collapse to two)") << "/tell  bob hi" << ChatRow::Tell << true << none << "" << "bob hi" << none;
        row("/tellbob") << "/tellbob hi" << ChatRow::Tell << true << none << "hi" << "" << none;

        row("/logs off") << "/logs off" << ChatRow::Log << false << none << none << "off" << none;
        row("/music with words") << "/music now" << ChatRow::Music << false << none << none << none << none;
        row("/musical") << "/musical" << ChatRow::Chat << false << "CHAT /musical" << none << none << none;

        row("/warn") << "/warn bob be nice" << ChatRow::Moderation << false << "ADMINWARN bob be%20nice" << "bob" << "be nice" << none;
        row("/warn no reason") << "/warn bob" << ChatRow::Moderation << false << none << "bob" << "" << none;
        row("/warn alone") << "/warn" << ChatRow::Moderation << true << none << "" << "" << none;
    }
    void recognisedLines() {
        QFETCH(QString, line);
        QFETCH(ChatRow, row);
        QFETCH(bool, keep);
        QFETCH(QString, send);
        QFETCH(QString, target);
        QFETCH(QString, text);
        QFETCH(QString, notice);
        const ChatCommand c = ParseChatLine(line);
        QCOMPARE(rowName(c.row), rowName(row));
        QCOMPARE(c.keep, keep);
        QCOMPARE(c.send, send);
        QCOMPARE(c.notice, notice);
        if (!target.isNull()) QCOMPARE(c.target, target);
        if (!text.isNull()) QCOMPARE(c.text, text);
    }

    // Whatever is typed, a sent line keeps its keyword and field count: user text travels either
    // as the rest of a CHAT line or with its blanks written "%20".
    void typedTextAddsNoFields() {
        const QStringList tails = {QStringLiteral("a b c d e"), QStringLiteral("x  y"), QStringLiteral(" lead"), QStringLiteral("%20 raw")};
        for (const QString& tail : tails) {
            const QString line = CollapseBlanks(QStringLiteral("/tell bob ") + tail);
            const ChatCommand tell = ParseChatLine(line);
            QCOMPARE(tell.send.split(u' ').size(), 3);
            for (const char* word : {"/warn", "/kick", "/ban"}) {
                const ChatCommand mod = ParseChatLine(CollapseBlanks(QLatin1String(word) + QStringLiteral(" bob ") + tail));
                QCOMPARE(mod.send.split(u' ').size(), 3);
            }
        }
    }
};

QTEST_MAIN(tst_chatinput_parse)
#include "tst_chatinput_parse.moc"
