// Broken lobby lines after a login: missing fields, letters where numbers belong, indexes out of
// range and names that are no file names. Each one leaves the client running and everything it
// shows and keeps exactly as it was; none reaches the error reporter.
#include "LoggedInClient.h"

#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmguildchat.h"

#include <QtTest>

#include <memory>

namespace {
QStringList texts(const QTreeWidget* tree) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        out << tree->topLevelItem(i)->text(0) + u'|' + tree->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return out;
}

QString picture(const QLabel* label) { return QString::number(label->pixmap().cacheKey()); }

// Everything a lobby line may change, as text.
QStringList state(LoggedInClient& c) {
    QStringList s;
    frmchildchat* lobby = c.lobby;
    s << lobby->chatin->toPlainText();
    for (const QLabel* l : {lobby->lblgp, lobby->lblap, static_cast<QLabel*>(lobby->lblCash), lobby->lblExp, lobby->lblLevel,
                            lobby->lblNextLvl, lobby->lblCVChest, lobby->lblTHChest, lobby->lblWarChest, lobby->lblDaily,
                            lobby->lblWeekly, lobby->lblActive})
        s << l->text();
    s << QString::number(lobby->imgBar->width()) << picture(lobby->picavatar) << picture(lobby->imghead) << picture(lobby->imgbody);
    s << texts(lobby->playerlist);
    if (frmguildchat* guild = ifLoaded<frmguildchat>()) s << texts(guild->playerlist) << guild->chatin->toPlainText();
    for (int i = 0; i < lobby->lsttables->count(); ++i) s << lobby->lsttables->item(i)->text();
    for (int n = 1; n <= kTableCount; ++n)
        if (const clsTables* t = TableSlot(n))
            s << QStringLiteral("%1|%2|%3|%4|%5|%6|%7").arg(t->tableid).arg(t->tableleft, t->tableright, t->Rules, t->comment, t->decks).arg(t->GoldWager);
    s << GuildName << QString::number(InGame) << LastPMSender << QString::number(MsgWindowCount);
    for (int slot = 0; slot < MsgWindows.size(); ++slot)
        s << (MsgWindows[slot] ? MsgWindows[slot]->Tag + MsgWindows[slot]->chatin->toPlainText() : QStringLiteral("-"));
    s << c.con->versus->text();
    QStringList windows;
    for (QWidget* w : loadedForms()) windows << w->objectName() + (w->isVisible() ? QStringLiteral("+") : QStringLiteral("-"));
    windows.sort();
    s << windows;
    s << QString::number(c.dialogs().boxes.size()) << QString::number(c.fx().services.lifecycle->ends);
    return s;
}
}  // namespace

class tst_messages_malformed : public QObject {
    Q_OBJECT

    std::unique_ptr<LoggedInClient> c;

private slots:
    void initTestCase() {
        c = std::make_unique<LoggedInClient>();
        QVERIFY(c->ready);
        c->setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        c->setting(QStringLiteral("Options"), QStringLiteral("Replays"), QStringLiteral("1"));
        c->receive({QStringLiteral("ADDTABLE 5 Kira  1 0 1@@Fast%20games@@Standard@@250"), QStringLiteral("ADDTABLE 12 Ryo Nyx r@@x@@d@@0"),
                    QStringLiteral("NEWPLAYER2 0 x y z Ada%203%20<Night%20Owls>"), QStringLiteral("INPM Nyx kira hello"),
                    QStringLiteral("UPDATEAVATAR f 001 002 003"), QStringLiteral("UPDATERUSH 40"), QStringLiteral("GAMEOPPONENT Ryo")});
        c->sent();
        c->sounds();
    }
    void cleanupTestCase() { c.reset(); }

    void brokenLinesChangeNothing_data() {
        QTest::addColumn<QString>("line");
        const char* const lines[] = {
            // Figures.
            "UPDATEAP", "UPDATEAP abc", "UPDATEGP 12x", "UPDATEGP", "UPDATECASH", "UPDATECASH $5", "UPDATEEXP 1 2",
            "UPDATEEXP a b c d", "UPDATERUSH", "UPDATERUSH full", "UPDATERUSH 1e999", "UPDATESTATS 1 2 3", "UPDATESTATS 1 2 x 4 5 6 7 8",
            "UPDATEAVATAR f 001", "UPDATEAVATAR ../x 001 001 001", "UPDATEAVATAR f ..\\x 001 001", "UPDATEAVATAR f 001 a/b 001",
            "UPDATEAVATAR  001 001 001", "UPDATEPLAYER", "UPDATEPLAYER Nyx x9",
            // Players.
            "NEWPLAYER", "NEWPLAYER 0 x y Gold", "NEWPLAYER 0 x y Gold %20", "NEWPLAYER abc x y Gold Ryo", "NEWPLAYER2 0 x y z %20%20",
            "REMPLAYER", "REMPLAYER  ", "REMPLAYER Nobody",
            // Chat and private messages.
            "CHAT", "CHAT Nyx", "CHAT  hello", "INPM", "INPM  kira hi",
            // Tables.
            "ADDTABLE", "ADDTABLE 5", "ADDTABLE 0 a b r@@c@@d@@1", "ADDTABLE 51 a b r@@c@@d@@1", "ADDTABLE -5 a b r",
            "ADDTABLE x a b r", "ADDTABLE 5.5 a b r", "ADDTABLE 99999999999 a b r", "ADDTABLE 5 a b r@@c@@d@@lots",
            "REMOVETABLE", "REMOVETABLE 0", "REMOVETABLE 51", "REMOVETABLE -1", "REMOVETABLE twelve", "TABLE 60 a b", "TABLE 5",
            "TABLE x a b", "TABLEINFO 0 a b r", "TABLEINFO x", "TABLEINFO", "TABLEJACKPOTCHANGE 9 1", "TABLEJACKPOTCHANGE 1 3",
            "TABLEJACKPOTCHANGE",
            // Match results.
            "MATCH", "MATCH a b c d 1 2 1", "MATCH a b c d x 2 1 7", "MATCH a b c d 1 2 1 ../x", "MATCH a b c d 99999 2 1 7",
            "MATCH a b c d 1 2 one 7",
            // Notices and game state.
            "GPADD", "GPADD lots", "GPADD 99999999999", "NOTICE", "LEVELUP", "LEVELUP x y z", "LEVELUP 5 6", "ADDBLOCK a b c",
            "ADDBLOCK a b c red", "ADDBLOCK a b c 99999999", "ADDBLOCK a b c -1", "ENDMATCH a b", "CHATBLOCK x", "GAMECHAT Nyx",
            "GAMEOPPONENT", "AUTODECLINE", "AUTODECLINE 99", "SOUNDWAV", "SOUNDWAV x",
        };
        for (const char* line : lines) QTest::newRow(line) << QString::fromLatin1(line);
    }
    void brokenLinesChangeNothing() {
        QFETCH(QString, line);
        const QStringList before = state(*c);
        c->receive(line);
        QCOMPARE(state(*c), before);
        QCOMPARE(c->sent(), QStringList());
        QCOMPARE(c->sounds(), QStringList());
        QVERIFY(c->con && c->con->Winsock->connected());
        QCOMPARE(ConnectionState, int16_t(1));
    }

    // The client still works after all of them.
    void stillRunning() {
        c->receive({QStringLiteral("UPDATEGP 42"), QStringLiteral("CHAT Nyx still%20here")});
        QCOMPARE(c->lobby->lblgp->text(), QStringLiteral("42"));
        QVERIFY(c->lobby->chatin->toPlainText().endsWith(QStringLiteral("Nyx says, \" still here \" \n")));
    }
};

QTEST_MAIN(tst_messages_malformed)
#include "tst_messages_malformed.moc"
