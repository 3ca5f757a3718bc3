// The guild chat window: a login with a guild opens it with its caption, members and board
// comments; the comments query and rows, the 15-tick reload, the refused close, the picture
// links, the links in the log and the comments, and the skin with its fallbacks.
#include "../net/LoginDriver.h"
#include "LobbyHelpers.h"

#include "app/Deployment.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmguildchat.h"

#include <QtTest>

namespace {
using Reply = FakeWebService::Reply;
const QString kQuery = QStringLiteral("call sps_GetLatestGuildComments('%1')");

Reply comments(const QList<QStringList>& rows, bool withUrl = true) {
    QList<FakeWebService::Column> columns;
    for (const char* name : {"ThreadTitle", "Poster", "PostTimeStamp", "sURL"}) columns << FakeWebService::Column{name, "string"};
    if (!withUrl) columns.removeLast();
    return {columns, rows};
}

QStringList texts(const QTreeWidget* tree, int role = Qt::DisplayRole) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->data(0, role).toString();
    return out;
}

// A logged-in lobby of a player in the guild Night Owls, with a fake web service.
struct GuildLobby : LoggedIn {
    FakeWebService web;
    explicit GuildLobby(const Reply& board = comments({})) {
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        GuildName = QStringLiteral("Night Owls");
        web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("), board);
    }
    ~GuildLobby() { qunsetenv("CORVADEX_WEBSERVICE"); }
};

// The default skin with keys of its guild section removed and a line added to it.
void guildSkin(ClientFixture& fx, const QStringList& without, const QString& added) {
    QStringList kept;
    bool inGuild = false;
    for (const QString& line : QString::fromLatin1(fx.read(QStringLiteral("skins/default.ini"))).split(u'\n')) {
        if (line.startsWith(u'[')) inGuild = line.trimmed() == QLatin1String("[guild]");
        if (inGuild && without.contains(line.section(u'=', 0, 0).trimmed())) continue;
        kept << line;
        if (inGuild && line.startsWith(u'[') && !added.isEmpty()) kept << added;
    }
    fx.write(QStringLiteral("skins/custom.ini"), kept.join(u'\n').toLatin1());
    SkinName = QStringLiteral("custom");
}

// Pictures compared by their pixels, whatever format they were loaded in.
QImage pixels(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }
QImage skinImage(const QString& value) { return pixels(QImage(SkinPicturePath(value))); }
}  // namespace

class tst_guildchat : public QObject {
    Q_OBJECT

private slots:
    void loginWithAGuildOpensTheWindow() {
        LoginDriver d;
        d.web.clearAnswers();
        d.web.answer(QStringLiteral("call sps_GetPlayers()"),
                     {{{"Player", "string"}}, {{"kira:::12:::Night Owls"}, {"Nyx:::7:::Wolves"}, {"Bree:::3:::Night Owls"}}});
        d.web.answer(kQuery.arg("Night Owls"), comments({{"Raid tonight", "Bree", "7/1/2026 8:00 PM", "http://board.example/t/1"}}));
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000));
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild && guild->isVisible());
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Night Owls] Chat Window"));
        QVERIFY(d.web.commands().contains(kQuery.arg("Night Owls")));
        QCOMPARE(texts(guild->tvComments), QStringList{"Bree: Raid tonight (7/1/2026 8:00 PM)"});
        QCOMPARE(texts(guild->tvComments, Qt::UserRole), QStringList{"http://board.example/t/1"});
        QStringList members = playerEntries().filter(QStringLiteral("<Night Owls>"));
        QCOMPARE(members.size(), 2);
        QCOMPARE(texts(guild->playerlist), members);
        QCOMPARE(texts(guild->playerlist, Qt::UserRole), members);
        // Guild chat both ways.
        QTest::keyClicks(guild->chatout, QStringLiteral("meet at nine"));
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QVERIFY(d.server.waitForLine(QStringLiteral("CHAT /guild meet at nine")));
        d.server.send(QStringLiteral("CHAT Bree /guild on%20my%20way"));
        QVERIFY(QTest::qWaitFor([&] { return linesOf(guild->chatin).last() == "Bree says in guild, \" on my way \""; }, 5000));
        // The next keep-alive tick gives the window its usual caption.
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        lobby->tmrPing_Timer();
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Night Owls] Guild Chat"));
        // The user cannot close it; the lobby log says so.
        QVERIFY(!guild->close());
        QVERIFY(ifLoaded<frmguildchat>() == guild && guild->isVisible());
        QCOMPARE(linesOf(lobby->chatin).last(), "<Fail>  This window cannot be closed this way. It can only be minimized and maximized. " + ChatTime());
        QCOMPARE(lastColour(lobby->chatin), ChatColour::Red);
        ConnectionState = 2;
    }

    void commentsQueryAndRows_data() {
        QTest::addColumn<QString>("guild");
        QTest::addColumn<QString>("command");  // empty: no query
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<QStringList>("shown");
        const QStringList ann = {"Raid <b>tonight</b>", "Ann", "9 PM", "http://b/1"}, bo = {"Loot", "Bo", "10 PM", "http://b/2"};
        const QString annText = "Ann: Raid <b>tonight</b> (9 PM)", boText = "Bo: Loot (10 PM)";
        QTest::newRow("two posts") << "Night Owls" << kQuery.arg("Night Owls") << comments({ann, bo}) << QStringList{annText, boText};
        QTest::newRow("quote doubled") << "O'Neil's" << kQuery.arg("O''Neil''s") << comments({bo}) << QStringList{boText};
        QTest::newRow("same address twice") << "Night Owls" << kQuery.arg("Night Owls")
                                            << comments({ann, {"Again", "Cy", "11 PM", "http://b/1"}, bo}) << QStringList{annText, boText};
        QTest::newRow("no address field") << "Night Owls" << kQuery.arg("Night Owls") << comments({ann.mid(0, 3)}, false) << QStringList();
        QTest::newRow("no guild") << "" << QString() << comments({ann}) << QStringList();
    }
    void commentsQueryAndRows() {
        QFETCH(QString, guild);
        QFETCH(QString, command);
        QFETCH(Reply, reply);
        QFETCH(QStringList, shown);
        GuildLobby c(reply);
        GuildName = guild;
        frmguildchat* window = form<frmguildchat>();
        QCOMPARE(c.web.commands(), command.isEmpty() ? QStringList() : QStringList{command});
        QCOMPARE(texts(window->tvComments), shown);
    }

    void theFifteenthTickReloads() {
        GuildLobby c;
        frmguildchat* guild = form<frmguildchat>();
        QVERIFY(guild->tmrRefreshComments->isActive());
        for (int tick = 1; tick <= 14; ++tick) guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 1);
        c.web.clearAnswers();
        c.web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("), comments({{"New", "Ann", "1", "http://b/9"}}));
        guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 2);
        QCOMPARE(texts(guild->tvComments), QStringList{"Ann: New (1)"});
        for (int tick = 1; tick <= 14; ++tick) guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 2);
    }

    void pictureLinks_data() {
        QTest::addColumn<QString>("guild");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("page");  // empty: nothing opens
        const char* const rows[][3] = {
            {"Night Owls", "imgGuildBank", "/Guild/GuildBank.aspx"}, {"Night Owls", "imgGuildHistory", "/Guild/GuildTransactionHistory.aspx"},
            {"Night Owls", "imgGuildList", "/Guild/GuildList.aspx"},
            {"Night Owls", "imgGuildMessageBoard", "/Guilds/Threads/Night Owls/PomplingBoard.aspx"},
            {"Night Owls", "imgMyGuild", "/Guilds/Info/Night Owls.aspx"}, {"../Admin", "imgMyGuild", ""}, {"Owls?x=1", "imgGuildMessageBoard", ""}};
        for (const auto& r : rows) QTest::addRow("%s %s", r[1], r[0]) << r[0] << r[1] << r[2];
        QTest::newRow("public board") << "Night Owls" << "imgPublicMessageBoard"
                                      << "/Guilds/Threads/" + Deployment::publicBoardGuild() + "/PomplingBoard.aspx";
    }
    void pictureLinks() {
        QFETCH(QString, guild);
        QFETCH(QString, control);
        QFETCH(QString, page);
        GuildLobby c;
        GuildName = guild;
        c.dialogs().type(QStringLiteral("brb"));
        c.lobby->mnuawayon_Click();
        form<frmguildchat>()->show();
        PictureLabel* picture = form<frmguildchat>()->findChild<PictureLabel*>(control);
        QVERIFY(picture && !picture->pixmap().isNull());
        QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(c.fx->services.shell->opened, page.isEmpty() ? QStringList() : QStringList{Deployment::website() + page});
        // Opening a page is an action of the player: the away mode ends.
        QCOMPARE(c.lobby->mnuawayon->isChecked(), page.isEmpty());
    }

    void linksInTheLogAndTheComments() {
        GuildLobby c(comments({{"a", "A", "1", "http://b/1"}, {"b", "B", "2", "https://b/2"}, {"c", "C", "3", ""}}));
        frmguildchat* guild = form<frmguildchat>();
        auto& opened = c.fx->services.shell->opened;
        guild->tvComments_DblClick();  // nothing selected
        for (int row = 0; row < 3; ++row) {
            guild->tvComments->setCurrentItem(guild->tvComments->topLevelItem(row));
            guild->tvComments_DblClick();
        }
        for (const char* word : {"www.a.example", "ann@b.example", "plain", "javascript:x"}) {
            guild->sLink = QString::fromLatin1(word);
            guild->chatin_Click();
        }
        QCOMPARE(opened, (QStringList{"http://b/1", "http://www.a.example", "mailto:ann@b.example"}));
        // addblock marks the links it writes, and empties a log grown past 15000 characters first.
        guild->chatin->clear();
        guild->addblock(QStringLiteral("see http://a.example now"), ChatColour::Green);
        QCOMPARE(runsOf(guild->chatin).mid(0, 3), (QList<Run>{{"see ", ChatColour::Green, false}, {"http://a.example", kLinkColour, false},
                                                             {" now", ChatColour::Green, false}}));
        guild->addblock(QString(15001, u'x'), ChatColour::Green);
        guild->addblock(QStringLiteral("after"), ChatColour::White);
        QCOMPARE(linesOf(guild->chatin), QStringList{"after"});
    }

    void skinAndFallbacks_data() {
        QTest::addColumn<QStringList>("without");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("background");
        QTest::addColumn<bool>("notice");
        QTest::addColumn<bool>("outOfDate");
        const QString common = "\\default\\guild\\background.jpg";
        QTest::newRow("the guild's own") << QStringList() << "Night Owls=\\default\\guild\\icons\\guildlist.gif"
                                         << "\\default\\guild\\icons\\guildlist.gif" << false << false;
        QTest::newRow("the common one") << QStringList() << "" << common << true << false;
        QTest::newRow("neither") << QStringList{"background"} << "" << common << true << true;
        QTest::newRow("no banner") << QStringList{"myguild"} << "" << common << true << true;
    }
    void skinAndFallbacks() {
        QFETCH(QStringList, without);
        QFETCH(QString, added);
        QFETCH(QString, background);
        QFETCH(bool, notice);
        QFETCH(bool, outOfDate);
        GuildLobby c;
        guildSkin(*c.fx, without, added);
        ClientConfig().SkinOutofDate(0);
        frmguildchat* guild = form<frmguildchat>();
        QCOMPARE(pixels(guild->palette().brush(QPalette::Window).texture().toImage()), skinImage(background));
        const QString text = "The application could not find a guild skin, used the default instead. Visit " + Deployment::website() +
                             "/GameInfo/What-Is-GuildChatSkin.aspx";
        QCOMPARE(linesOf(guild->chatin), notice ? QStringList{text} : QStringList());
        if (notice) QCOMPARE(runsOf(guild->chatin).first().colour, ChatColour::Yellow);
        QCOMPARE(ClientConfig().SkinOutofDate() != 0, outOfDate);
        QCOMPARE(pixels(guild->imgMyGuild->pixmap().toImage()), skinImage("\\default\\guild\\myguild.gif"));
        QCOMPARE(pixels(guild->imgGuildBank->pixmap().toImage()), skinImage("\\default\\guild\\icons\\guildbank.gif"));
    }
};

QTEST_MAIN(tst_guildchat)
#include "tst_guildchat.moc"
