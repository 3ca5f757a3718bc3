// The guild chat window after a login with a guild: its caption, members and board comments from
// the web service, the comment reload, guild chat both ways, the refused close, the picture links,
// the log's links and the skin with its fallbacks.
#include "../net/LoginDriver.h"
#include "LobbyHelpers.h"

#include "app/Deployment.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmguildchat.h"
#include "platform/Paths.h"

#include <QtTest>

namespace {
using Reply = FakeWebService::Reply;
const QString kQuery = QStringLiteral("call sps_GetLatestGuildComments('%1')");

Reply comments(const QList<QStringList>& rows, bool withUrl = true) {
    QList<FakeWebService::Column> columns = {{QStringLiteral("ThreadTitle"), QStringLiteral("string")},
                                             {QStringLiteral("Poster"), QStringLiteral("string")},
                                             {QStringLiteral("PostTimeStamp"), QStringLiteral("string")}};
    if (withUrl) columns << FakeWebService::Column{QStringLiteral("sURL"), QStringLiteral("string")};
    return {columns, rows};
}

QStringList texts(const QTreeWidget* tree, int role = Qt::DisplayRole) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->data(0, role).toString();
    return out;
}

// A logged-in lobby whose web service is a fake of the test's.
struct GuildLobby : LoggedIn {
    FakeWebService web;
    GuildLobby() {
        qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
        GuildName = QStringLiteral("Night Owls");
    }
    ~GuildLobby() { qunsetenv("CORVADEX_WEBSERVICE"); }
};

// The default skin with its guild section changed: keys removed, lines added.
void guildSkin(ClientFixture& fx, const QStringList& without, const QString& added = QString()) {
    QStringList kept;
    bool inGuild = false;
    for (const QString& line : QString::fromLatin1(fx.read(QStringLiteral("skins/default.ini"))).split(u'\n')) {
        if (line.startsWith(u'[')) inGuild = line.trimmed() == QLatin1String("[guild]");
        if (inGuild && without.contains(line.section(u'=', 0, 0).trimmed())) continue;
        kept << line;
        if (inGuild && line.trimmed() == QLatin1String("[guild]") && !added.isEmpty()) kept << added;
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
                     {{{QStringLiteral("Player"), QStringLiteral("string")}},
                      {{QStringLiteral("kira:::12:::Night Owls")}, {QStringLiteral("Nyx:::7:::Wolves")}, {QStringLiteral("Bree:::3:::Night Owls")}}});
        d.web.answer(kQuery.arg(QStringLiteral("Night Owls")),
                     comments({{QStringLiteral("Raid tonight"), QStringLiteral("Bree"), QStringLiteral("7/1/2026 8:00 PM"),
                                QStringLiteral("http://board.example/t/1")}}));
        QVERIFY(d.loginToLobby());
        QVERIFY(QTest::qWaitFor([] { return !ifLoaded<frmConnect>(); }, 5000));
        frmguildchat* guild = ifLoaded<frmguildchat>();
        QVERIFY(guild && guild->isVisible());
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Night Owls] Chat Window"));
        QVERIFY(d.web.commands().contains(kQuery.arg(QStringLiteral("Night Owls"))));
        QCOMPARE(texts(guild->tvComments), QStringList{QStringLiteral("Bree: Raid tonight (7/1/2026 8:00 PM)")});
        QCOMPARE(texts(guild->tvComments, Qt::UserRole), QStringList{QStringLiteral("http://board.example/t/1")});
        QStringList members;
        for (const QString& entry : playerEntries())
            if (entry.endsWith(QLatin1String("<Night Owls>"))) members << entry;
        QCOMPARE(members.size(), 2);
        QCOMPARE(texts(guild->playerlist), members);
        QCOMPARE(texts(guild->playerlist, Qt::UserRole), members);
        // The next keep-alive tick gives the window its usual caption.
        ifLoaded<frmchildchat>()->tmrPing_Timer();
        QCOMPARE(guild->TitleBar(), QStringLiteral("[Night Owls] Guild Chat"));
        ConnectionState = 2;
    }

    void commentsQueryAndRows_data() {
        QTest::addColumn<QString>("guild");
        QTest::addColumn<QString>("command");  // empty: no query
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<QStringList>("shown");
        const QStringList ann = {QStringLiteral("Raid <b>tonight</b>"), QStringLiteral("Ann"), QStringLiteral("9 PM"), QStringLiteral("http://b/1")};
        const QStringList bo = {QStringLiteral("Loot"), QStringLiteral("Bo"), QStringLiteral("10 PM"), QStringLiteral("http://b/2")};
        const QStringList again = {QStringLiteral("Again"), QStringLiteral("Cy"), QStringLiteral("11 PM"), QStringLiteral("http://b/1")};
        const QString annText = QStringLiteral("Ann: Raid <b>tonight</b> (9 PM)");
        QTest::newRow("two posts") << "Night Owls" << kQuery.arg(QStringLiteral("Night Owls")) << comments({ann, bo})
                                   << QStringList{annText, QStringLiteral("Bo: Loot (10 PM)")};
        QTest::newRow("quote doubled") << "O'Neil's" << kQuery.arg(QStringLiteral("O''Neil''s")) << comments({bo})
                                       << QStringList{QStringLiteral("Bo: Loot (10 PM)")};
        QTest::newRow("same address twice") << "Night Owls" << kQuery.arg(QStringLiteral("Night Owls")) << comments({ann, again, bo})
                                            << QStringList{annText, QStringLiteral("Bo: Loot (10 PM)")};
        QTest::newRow("no address field") << "Night Owls" << kQuery.arg(QStringLiteral("Night Owls"))
                                          << comments({ann.mid(0, 3)}, false) << QStringList();
        QTest::newRow("no guild") << "" << QString() << comments({ann}) << QStringList();
    }
    void commentsQueryAndRows() {
        QFETCH(QString, guild);
        QFETCH(QString, command);
        QFETCH(Reply, reply);
        QFETCH(QStringList, shown);
        GuildLobby c;
        GuildName = guild;
        c.web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("), reply);
        frmguildchat* window = form<frmguildchat>();
        QCOMPARE(c.web.commands(), command.isEmpty() ? QStringList() : QStringList{command});
        QCOMPARE(texts(window->tvComments), shown);
    }

    void theFifteenthTickReloads() {
        GuildLobby c;
        c.web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("), comments({}));
        frmguildchat* guild = form<frmguildchat>();
        QVERIFY(guild->tmrRefreshComments->isActive());
        QCOMPARE(guild->tmrRefreshComments->interval(), 60000);
        for (int tick = 1; tick <= 14; ++tick) guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 1);
        c.web.clearAnswers();
        c.web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("),
                           comments({{QStringLiteral("New"), QStringLiteral("Ann"), QStringLiteral("1"), QStringLiteral("http://b/9")}}));
        guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 2);
        QCOMPARE(texts(guild->tvComments), QStringList{QStringLiteral("Ann: New (1)")});
        for (int tick = 1; tick <= 14; ++tick) guild->tmrRefreshComments_Timer();
        QCOMPARE(c.web.commands().size(), 2);
    }

    void guildChatBothWays() {
        GuildLobby c;
        frmguildchat* guild = form<frmguildchat>();
        guild->show();
        QTest::keyClicks(guild->chatout, QStringLiteral("meet at nine"));
        QTest::keyClick(guild->chatout, Qt::Key_Return);
        QCOMPARE(c.sent(), QStringList{QStringLiteral("CHAT /guild meet at nine")});
        c.receive({QStringLiteral("CHAT Nyx /guild on%20my%20way")});
        QCOMPARE(linesOf(guild->chatin).last(), QStringLiteral("Nyx says in guild, \" on my way \""));
    }

    void theUserCannotCloseIt() {
        GuildLobby c;
        frmguildchat* guild = form<frmguildchat>();
        guild->show();
        QVERIFY(!guild->close());
        QCOMPARE(ifLoaded<frmguildchat>(), guild);
        QVERIFY(guild->isVisible());
        QCOMPARE(linesOf(c.lobby->chatin).last(),
                 QStringLiteral("<Fail>  This window cannot be closed this way. It can only be minimized and maximized. ") + ChatTime());
        QCOMPARE(lastColour(c.lobby->chatin), ChatColour::Red);
        // The program still closes it.
        QVERIFY(unload<frmguildchat>());
    }

    void pictureLinks_data() {
        QTest::addColumn<QString>("guild");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("page");  // empty: nothing opens
        QTest::newRow("bank") << "Night Owls" << "imgGuildBank" << "/Guild/GuildBank.aspx";
        QTest::newRow("history") << "Night Owls" << "imgGuildHistory" << "/Guild/GuildTransactionHistory.aspx";
        QTest::newRow("list") << "Night Owls" << "imgGuildList" << "/Guild/GuildList.aspx";
        QTest::newRow("board") << "Night Owls" << "imgGuildMessageBoard" << "/Guilds/Threads/Night Owls/PomplingBoard.aspx";
        QTest::newRow("my guild") << "Night Owls" << "imgMyGuild" << "/Guilds/Info/Night Owls.aspx";
        QTest::newRow("public board") << "Night Owls" << "imgPublicMessageBoard"
                                      << "/Guilds/Threads/" + Deployment::publicBoardGuild() + "/PomplingBoard.aspx";
        QTest::newRow("name with a folder") << "../Admin" << "imgMyGuild" << "";
        QTest::newRow("name with a query") << "Owls?x=1" << "imgGuildMessageBoard" << "";
    }
    void pictureLinks() {
        QFETCH(QString, guild);
        QFETCH(QString, control);
        QFETCH(QString, page);
        GuildLobby c;
        GuildName = guild;
        c.dialogs().type(QStringLiteral("brb"));
        c.lobby->mnuawayon_Click();
        PictureLabel* picture = form<frmguildchat>()->findChild<PictureLabel*>(control);
        QVERIFY(picture && !picture->pixmap().isNull());
        QCOMPARE(picture->cursor().shape(), Qt::BitmapCursor);
        QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(c.fx->services.shell->opened, page.isEmpty() ? QStringList() : QStringList{Deployment::website() + page});
        // Opening a page is an action of the player: the away mode ends.
        QCOMPARE(c.lobby->mnuawayon->isChecked(), page.isEmpty());
    }

    void linksInTheLogAndTheComments() {
        GuildLobby c;
        c.web.answerPrefix(QStringLiteral("call sps_GetLatestGuildComments("),
                           comments({{QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("http://b/1")},
                                     {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("2"), QStringLiteral("https://b/2")},
                                     {QStringLiteral("c"), QStringLiteral("C"), QStringLiteral("3"), QStringLiteral("")}}));
        frmguildchat* guild = form<frmguildchat>();
        auto& opened = c.fx->services.shell->opened;
        guild->tvComments_DblClick();  // nothing selected
        for (int row = 0; row < 3; ++row) {
            guild->tvComments->setCurrentItem(guild->tvComments->topLevelItem(row));
            guild->tvComments_DblClick();
        }
        QCOMPARE(opened, QStringList{QStringLiteral("http://b/1")});
        opened.clear();
        for (const QString& w : {QStringLiteral("www.a.example"), QStringLiteral("ann@b.example"), QStringLiteral("plain"),
                                 QStringLiteral("javascript:x")}) {
            guild->sLink = w;
            guild->chatin_Click();
        }
        QCOMPARE(opened, (QStringList{QStringLiteral("http://www.a.example"), QStringLiteral("mailto:ann@b.example")}));
    }

    void addblockMarksLinksAndEmptiesALongLog() {
        GuildLobby c;
        frmguildchat* guild = form<frmguildchat>();
        guild->addblock(QStringLiteral("see http://a.example now"), ChatColour::Green);
        QCOMPARE(runsOf(guild->chatin).mid(runsOf(guild->chatin).size() - 4, 3),
                 (QList<Run>{{QStringLiteral("see "), ChatColour::Green, false},
                             {QStringLiteral("http://a.example"), kLinkColour, false},
                             {QStringLiteral(" now"), ChatColour::Green, false}}));
        guild->addblock(QString(15001, u'x'), ChatColour::Green);
        guild->addblock(QStringLiteral("after"), ChatColour::White);
        QCOMPARE(linesOf(guild->chatin), QStringList{QStringLiteral("after")});
    }

    void skinAndFallbacks_data() {
        QTest::addColumn<QStringList>("without");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QString>("background");  // the picture expected behind the window
        QTest::addColumn<bool>("notice");
        QTest::addColumn<bool>("outOfDate");
        QTest::newRow("a picture of the guild's own") << QStringList() << "Night Owls=\\default\\guild\\icons\\guildlist.gif"
                                                      << "\\default\\guild\\icons\\guildlist.gif" << false << false;
        QTest::newRow("the common background") << QStringList() << "" << "\\default\\guild\\background.jpg" << true << false;
        QTest::newRow("neither") << QStringList{"background"} << "" << "\\default\\guild\\background.jpg" << true << true;
        QTest::newRow("no banner") << QStringList{"myguild"} << "" << "\\default\\guild\\background.jpg" << true << true;
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
        const QString text = QStringLiteral("The application could not find a guild skin, used the default instead. Visit ") +
                             Deployment::website() + QStringLiteral("/GameInfo/What-Is-GuildChatSkin.aspx");
        QCOMPARE(linesOf(guild->chatin), notice ? QStringList{text} : QStringList());
        if (notice) QCOMPARE(runsOf(guild->chatin).first().colour, ChatColour::Yellow);
        QCOMPARE(ClientConfig().SkinOutofDate() != 0, outOfDate);
        QCOMPARE(pixels(guild->imgMyGuild->pixmap().toImage()), skinImage(QStringLiteral("\\default\\guild\\myguild.gif")));
        QCOMPARE(pixels(guild->imgGuildBank->pixmap().toImage()), skinImage(QStringLiteral("\\default\\guild\\icons\\guildbank.gif")));
    }
};

QTEST_MAIN(tst_guildchat)
#include "tst_guildchat.moc"
