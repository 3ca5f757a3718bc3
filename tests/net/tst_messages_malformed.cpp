// Odd lobby lines after a login, in two tables. Lines with missing fields, or letters where a
// number belongs, are read as they come: a missing field is empty, a number its leading digits
// (0 when there are none), and the line takes its exact visible effect. Lines whose number
// overflows, whose index has no place or whose name would make a path are ignored with a
// warning and change nothing. None reaches the error reporter; the client keeps running.
#include "LoggedInClient.h"

#include "app/Deployment.h"
#include "app/storedvars.h"
#include "game/frmTableInfo.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmguildchat.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

namespace {
using State = QMap<QString, QString>;

QString imageKey(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    return QString::number(qHashBits(argb.constBits(), size_t(argb.sizeInBytes())));
}

// Every lobby line may change one of these; pictures are named by the avatar file they show.
State state(LoggedInClient& c, const QHash<QString, QString>& avatars) {
    State s;
    frmchildchat* lobby = c.lobby;
    for (const QLabel* l : {lobby->lblgp, lobby->lblap, static_cast<QLabel*>(lobby->lblCash), lobby->lblExp, lobby->lblLevel,
                            lobby->lblNextLvl, lobby->lblCVChest, lobby->lblTHChest, lobby->lblWarChest, lobby->lblDaily,
                            lobby->lblWeekly, lobby->lblActive})
        s[l->objectName()] = l->text();
    s[QStringLiteral("imgBar")] = QString::number(lobby->imgBar->width());
    for (const QLabel* l : {lobby->picavatar, lobby->imghead, lobby->imgbody})
        s[l->objectName()] = l->pixmap().isNull() ? QString() : avatars.value(imageKey(l->pixmap().toImage()), QStringLiteral("?"));
    for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* node = lobby->playerlist->topLevelItem(i);
        s[QStringLiteral("player:") + node->text(0).section(u' ', 0, 0)] = node->text(0);
    }
    if (const frmguildchat* guild = ifLoaded<frmguildchat>()) {
        QStringList members;
        for (int i = 0; i < guild->playerlist->topLevelItemCount(); ++i) members << guild->playerlist->topLevelItem(i)->text(0);
        s[QStringLiteral("guild")] = members.join(u'|') + u'|' + guild->chatin->toPlainText();
    }
    for (int i = 0; i < lobby->lsttables->count(); ++i) {
        const QString row = lobby->lsttables->item(i)->text();
        s[QStringLiteral("row:") + row.section(u' ', 0, 1)] = row;
    }
    for (int n = 1; n <= kTableCount; ++n)
        if (const clsTables* t = TableSlot(n))
            s[QStringLiteral("slot%1").arg(n)] = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                                                     .arg(t->tableid)
                                                     .arg(t->tableleft, t->tableright, t->Rules, t->comment, t->decks)
                                                     .arg(t->GoldWager);
    if (const frmTableInfo* info = ifLoaded<frmTableInfo>())
        s[QStringLiteral("tableinfo")] = info->lblTitle->text() + u'|' + info->chatin->toPlainText();
    s[QStringLiteral("GuildName")] = GuildName;
    s[QStringLiteral("InGame")] = QString::number(InGame);
    s[QStringLiteral("LastPMSender")] = LastPMSender;
    for (int slot = 0; slot < MsgWindows.size(); ++slot)
        if (MsgWindows[slot]) s[QStringLiteral("pm%1").arg(slot)] = MsgWindows[slot]->Tag + u'|' + MsgWindows[slot]->chatin->toPlainText();
    s[QStringLiteral("versus")] = c.con->versus->text();
    for (QWidget* w : loadedForms()) s[QStringLiteral("window:") + w->objectName()] = w->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden");
    s[QStringLiteral("boxes")] = QString::number(c.dialogs().boxes.size());
    s[QStringLiteral("ends")] = QString::number(c.fx().services.lifecycle->ends);
    return s;
}
}  // namespace

class tst_messages_malformed : public QObject {
    Q_OBJECT

    std::unique_ptr<LoggedInClient> c;
    QHash<QString, QString> avatars;  // image key -> file name

    // What one line did: the values it changed, then the lobby log lines, the lines sent and the
    // sounds played.
    QStringList effectOf(const QString& line) {
        const State before = state(*c, avatars);
        c->receive(line);
        const State after = state(*c, avatars);
        QStringList effect;
        QStringList keys = before.keys() + after.keys();
        keys.removeDuplicates();
        keys.sort();
        for (const QString& key : keys)
            if (before.value(key, QStringLiteral("(none)")) != after.value(key, QStringLiteral("(none)")))
                effect << key + u'=' + after.value(key, QStringLiteral("(none)"));
        for (const QString& l : c->newLines()) effect << QStringLiteral("log: ") + l;
        for (const QString& l : c->sent()) effect << QStringLiteral("sent: ") + l;
        for (const QString& s : c->sounds()) effect << QStringLiteral("sound: ") + s;
        return effect;
    }

private slots:
    void initTestCase() {
        c = std::make_unique<LoggedInClient>();
        QVERIFY(c->ready);
        const QDir folder(c->fx().path(QStringLiteral("skins/default/avatars")));
        for (const QString& file : folder.entryList({QStringLiteral("*.gif")}, QDir::Files))
            avatars.insert(imageKey(QImage(folder.filePath(file))), file);
        QVERIFY(!avatars.isEmpty());
        c->setting(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"));
        c->setting(QStringLiteral("Options"), QStringLiteral("Replays"), QStringLiteral("1"));
        c->receive({QStringLiteral("ADDTABLE 5 Kira  1 0 1@@Fast%20games@@Standard@@250"), QStringLiteral("ADDTABLE 12 Ryo Nyx r@@x@@d@@0"),
                    QStringLiteral("NEWPLAYER2 0 x y z Ada%203%20<Night%20Owls>"), QStringLiteral("INPM Nyx kira hello"),
                    QStringLiteral("UPDATEAVATAR f 001 002 003"), QStringLiteral("UPDATERUSH 40"), QStringLiteral("GAMEOPPONENT Ryo")});
        c->sent();
        c->sounds();
        c->newLines();
    }
    void cleanupTestCase() { c.reset(); }

    // In order: each row starts where the one before it left the lobby.
    void readAsTheyCome_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("effect");
        const auto row = [](const char* line, QStringList effect) { QTest::newRow(line) << QString::fromLatin1(line) << effect; };
        const QString at = QStringLiteral(" 20:15:00");
        // Figures: the labels take the fields as they come, the gauge the leading number.
        row("UPDATEAP abc", {"lblap=abc"});
        row("UPDATEAP", {"lblap="});
        row("UPDATEGP 12x", {"lblgp=12x"});
        row("GPADD lots", {"lblgp=12"});
        row("GPADD", {});
        row("GPADD 99999999999", {"lblgp=100000000011"});
        row("UPDATEGP", {"lblgp="});
        row("UPDATECASH $5", {"lblCash=$$5"});
        row("UPDATECASH", {"lblCash=$"});
        row("UPDATEEXP a b c d", {"lblExp=b", "lblLevel=c", "lblNextLvl=d",
                                  "log: <EXP>  You gain a experience point(s).  You currently have b experience points." + at});
        row("UPDATEEXP 1 2", {"lblExp=2", "lblLevel=", "lblNextLvl=",
                              "log: <EXP>  You gain 1 experience point(s).  You currently have 2 experience points." + at});
        row("UPDATERUSH full", {"imgBar=0"});
        row("UPDATESTATS 1 2 x 4 5 6 7 8", {"lblCVChest=4", "lblDaily=7", "lblTHChest=5", "lblWarChest=6", "lblWeekly=8", "lblap=1", "lblgp=2"});
        row("UPDATESTATS 9 8 3", {"imgBar=7", "lblCVChest=", "lblDaily=", "lblTHChest=", "lblWarChest=", "lblWeekly=", "lblap=9", "lblgp=8"});
        row("UPDATERUSH", {"imgBar=0"});
        row("UPDATEAVATAR f 001", {"imgbody=", "imghead="});
        row("UPDATEAVATAR  002 001 003", {"picavatar=background_002.gif"});
        row("UPDATEAVATAR f 000 002 003", {"imgbody=f_body_002.gif", "imghead=f_head_003.gif", "picavatar="});
        row("UPDATEPLAYER", {});
        row("UPDATEPLAYER Nyx x9", {"player:Nyx=Nyx x9"});
        row("LEVELUP x y z", {"lblExp=y", "lblLevel=x", "lblNextLvl=z", "log: Congratulations! Welcome to level x! ", "sound: level.wav"});
        row("LEVELUP 5 6", {"lblExp=6", "lblLevel=5", "lblNextLvl=", "log: Congratulations! Welcome to level 5! ", "sound: level.wav"});
        // Without a level the greeting is an empty chat line.
        row("LEVELUP", {"lblExp=", "lblLevel=", "log:  says, \"  \" ", "sound: level.wav"});
        // Players: a staff field that is no number gives no title; a missing entry adds nobody.
        row("NEWPLAYER", {});
        row("NEWPLAYER 0 x y Gold", {});
        row("NEWPLAYER 0 x y Gold %20", {});
        row("NEWPLAYER2 0 x y z %20%20", {});
        row("NEWPLAYER abc x y Gold Ryo", {"lblActive=4", "player:Ryo=Ryo", "log: <Join> Ryo[y] |x| [Gold] has JOINED Corvadex at" + at,
                                           "sound: join.wav"});
        row("REMPLAYER", {});
        row("REMPLAYER  ", {});
        row("REMPLAYER Nobody", {});
        row("REMPLAYER Ryo", {"lblActive=3", "player:Ryo=(none)", "log: <Part> Ryo has LEFT Corvadex at" + at, "sound: part.wav"});
        // Tables: the number's leading digits, rounded; a number without one of the 50 slots still
        // keeps its row in the list (a new one shows no comment).
        row("ADDTABLE", {});
        row("ADDTABLE 5 a b r@@c@@d@@lots", {"row:Table 5=Table 5  a            vs. b            c    ", "slot5=5|a|b|r lots|c|d|0"});
        row("ADDTABLE 0 a b r@@c@@d@@1", {"row:Table 0=Table 0  a            vs. b            "});
        row("REMOVETABLE 0", {"row:Table 0=(none)"});
        row("ADDTABLE 51 a  r@@c@@d@@1", {"row:Table 51=Table 51 a            vs. {JOIN}       "});
        row("ADDTABLE 51 a b r@@c@@d@@1", {"row:Table 51=Table 51 a            vs. b            c    "});
        row("REMOVETABLE 51", {"row:Table 51=(none)"});
        row("ADDTABLE -5 a b r", {"row:Table -5=Table -5 a            vs. b            "});
        row("REMOVETABLE -5", {"row:Table -5=(none)"});
        row("ADDTABLE x a b r", {"row:Table 0=Table 0  a            vs. b            "});
        row("REMOVETABLE twelve", {"row:Table 0=(none)"});
        row("REMOVETABLE", {});
        row("ADDTABLE 5.5 a b r", {"row:Table 6=Table 6  a            vs. b                 ", "slot6=6|a|b|r |||0"});
        row("TABLE 5", {"slot5=5|||r lots|c|d|0"});
        row("TABLEINFO 0 a b r", {"row:Table 0=Table 0  a            vs. b            ", "tableinfo=|", "window:frmTableInfo=shown"});
        row("TABLEINFO x", {"row:Table 0=(none)"});
        row("TABLEINFO", {});
        row("ADDTABLE 5", {"row:Table 5=(none)", "slot5=5||| |||0"});
        row("TABLEJACKPOTCHANGE 9 1", {});
        row("TABLEJACKPOTCHANGE 1 3", {});
        row("TABLEJACKPOTCHANGE", {});
        // Notices and game state: missing texts are empty, a colour that is no number is 0.
        row("NOTICE", {"log: You hear a mysterious voice from above, \" \"", "sound: pmchat.wav"});
        row("ADDBLOCK a b c", {"log: <a> b c" + at});
        row("ADDBLOCK a b c red", {"log: <a> b c" + at});
        row("ENDMATCH a b", {"log: <Kill> a ended match between b and " + at});
        row("CHATBLOCK x", {"log: <x>  " + at});
        row("GAMEOPPONENT", {"versus="});
        row("GAMECHAT Nyx", {});
        row("AUTODECLINE", {});
        row("AUTODECLINE 99", {});
        row("SOUNDWAV", {});
        row("SOUNDWAV x", {});
        // Match results: missing fields are empty, an unknown game has no name, and an id that is
        // no plain name loses only the replay link.
        row("MATCH", {"log: <> () ties () Score: - "});
        row("MATCH a b c d 1 2 1", {"log: <Corvada> a(b) defeats c(d) Score: 1-2 "});
        row("MATCH a b c d x x one 7", {"log: <> a(b) ties c(d) Score: x-x ", "log: <Replay>  Replay GameID: 7 at " + Deployment::website() + "/Replays/-7.aspx" + at});
        row("MATCH a b c d 99999 2 1 ../x", {"log: <Corvada> a(b) defeats c(d) Score: 99999-2 "});
    }
    void readAsTheyCome() {
        QFETCH(QString, line);
        QFETCH(QStringList, effect);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("line ignored")));
        QCOMPARE(effectOf(line), effect);
        QVERIFY(c->con && c->con->Winsock->connected());
        QCOMPARE(ConnectionState, int16_t(1));
    }

    void ignoredToKeepRunning_data() {
        QTest::addColumn<QString>("line");
        const char* const lines[] = {
            // Numbers beyond every number or beyond 16 bits, colours beyond 24 bits.
            "UPDATERUSH 1e999", "UPDATESTATS 1 2 1e999 4 5 6 7 8", "GPADD 1e999", "ADDTABLE 99999999999 a b r",
            "ADDTABLE 7 a b r@@c@@d@@1e999", "REMOVETABLE 99999", "TABLEINFO 40000 a b r", "ADDBLOCK a b c 99999999", "ADDBLOCK a b c -1",
            // A seat of a slot that does not exist.
            "TABLE 60 a b", "TABLE x a b", "TABLE 0 a b",
            // Picture names that would leave the avatar folder.
            "UPDATEAVATAR ../x 001 001 001", "UPDATEAVATAR f ..\\x 001 001", "UPDATEAVATAR f 001 a/b 001",
            // Chat and private messages without a sender or a text.
            "CHAT", "CHAT Nyx", "CHAT  hello", "INPM", "INPM  kira hi",
        };
        for (const char* line : lines) QTest::newRow(line) << QString::fromLatin1(line);
    }
    void ignoredToKeepRunning() {
        QFETCH(QString, line);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("line ignored")));
        QCOMPARE(effectOf(line), QStringList());
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
