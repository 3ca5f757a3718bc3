// The socket window against a loopback server: framing, the receive pump, the send path, the
// dispatcher's order and the error reporter's goodbye.
#include "ClientFixture.h"
#include "FakeServer.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "platform/VbCompat.h"

#include <QtTest>

class tst_socket : public QObject {
    Q_OBJECT

    // A socket window connected to a fresh fake server, with the automatic pump stopped so the
    // test decides when queued lines are handled.
    struct Link {
        ClientFixture fixture{ClientFixture::Skin | ClientFixture::Wavs};
        FakeServer server;
        QPointer<frmCon> con;
        Link() {
            con = form<frmCon>();
            con->tmrPacket->stop();
            con->Winsock->Connect(QStringLiteral("127.0.0.1"), server.port());
            if (!server.waitForClient()) qFatal("no connection");
            QDeadlineTimer deadline(5000);
            while (!con->Winsock->connected() && !deadline.hasExpired()) QTest::qWait(5);
            // The connect event sends the version first.
            server.waitForLine(QStringLiteral("VERSION 3.4.5"));
        }
        QStringList queue() const { return {con->lstPackets.begin(), con->lstPackets.end()}; }
        bool waitQueued(int n) {
            QDeadlineTimer deadline(5000);
            while (int(con->lstPackets.size()) < n && !deadline.hasExpired()) QTest::qWait(5);
            return int(con->lstPackets.size()) >= n;
        }
    };

private slots:
    void connectSendsVersion() {
        Link l;
        QCOMPARE(l.server.lines, QStringList{QStringLiteral("VERSION 3.4.5")});
    }

    void framingCutsAtCarriageReturnsOnly() {
        Link l;
        // Split arrivals join; a line feed is no terminator and stays in its line.
        l.server.sendRaw("CHAT bo");
        QTest::qWait(50);
        QVERIFY(l.con->lstPackets.empty());
        QCOMPARE(l.con->sPendingData, QStringLiteral("CHAT bo"));
        l.server.sendRaw("b hi\r\nPING\r");
        QVERIFY(l.waitQueued(2));
        QCOMPARE(l.queue(), (QStringList{QStringLiteral("CHAT bob hi"), QStringLiteral("\nPING")}));
        QVERIFY(l.con->sPendingData.isEmpty());
    }

    void blanksBeginningALineAreDroppedOthersKept() {
        Link l;
        l.server.sendRaw("  FIRST a  \r  SECOND b\rTHIRD ");
        QVERIFY(l.waitQueued(2));
        // The first line of an arrival keeps its leading blanks; blanks after a CR are dropped;
        // blanks before a CR stay; an unfinished line keeps its trailing blank.
        QCOMPARE(l.queue(), (QStringList{QStringLiteral("  FIRST a  "), QStringLiteral("SECOND b")}));
        QCOMPARE(l.con->sPendingData, QStringLiteral("THIRD "));
        l.server.sendRaw("x\r");
        QVERIFY(l.waitQueued(3));
        QCOMPARE(l.queue().last(), QStringLiteral("THIRD x"));
    }

    void emptyLinesAreQueuedAndCounted() {
        Link l;
        l.server.sendRaw("\r\rPING\r");
        QVERIFY(l.waitQueued(3));
        QCOMPARE(l.queue(), (QStringList{QString(), QString(), QStringLiteral("PING")}));
        ClientConfig().PacketCount(QStringLiteral("0"));
        l.con->tmrPacket_Timer();
        QVERIFY(l.con->lstPackets.empty());
        QCOMPARE(ClientConfig().PacketCount(), QStringLiteral("3"));
        QVERIFY(l.server.waitForLine(QStringLiteral("PING")));
    }

    void endlessLineIsCappedAndDropped() {
        Link l;
        const QByteArray chunk(16 * 1024, 'x');
        for (int i = 0; i < 6; ++i) l.server.sendRaw(chunk);
        QTRY_VERIFY_WITH_TIMEOUT(l.server.received.size() >= 0, 100);
        QTest::qWait(200);
        QVERIFY(l.con->sPendingData.size() <= frmCon::kMaxPendingLine);
        l.server.sendRaw("tail\rPING\r");
        QVERIFY(l.waitQueued(1));
        // The overlong line is gone; the next line arrives whole.
        QCOMPARE(l.queue(), QStringList{QStringLiteral("PING")});
    }

    void framingIsTheSameHoweverTheReadsFall_data() {
        QTest::addColumn<QByteArrayList>("reads");
        QTest::addColumn<QStringList>("queued");
        QTest::addColumn<QString>("pending");
        const QByteArray stream("CHAT a b\rPING\r\rTAIL");
        const QStringList lines{QStringLiteral("CHAT a b"), QStringLiteral("PING"), QString()};
        for (qsizetype at = 0; at <= stream.size(); ++at) {
            QTest::addRow("cut at %lld", static_cast<long long>(at))
                << QByteArrayList{stream.left(at), stream.mid(at)} << lines << QStringLiteral("TAIL");
        }
        QByteArrayList bytes;
        for (char c : stream) bytes << QByteArray(1, c);
        QTest::newRow("a byte a read") << bytes << lines << QStringLiteral("TAIL");
        // Blanks after a cut are dropped within a read; a read that begins a line keeps them.
        QTest::newRow("blanks in one read") << QByteArrayList{"A\r  B\r"} << QStringList{"A", "B"} << QString();
        QTest::newRow("blanks cut off by the read") << QByteArrayList{"A\r ", " B\r"} << QStringList{"A", " B"} << QString();
        QTest::newRow("blanks after a joined line") << QByteArrayList{"CH", "AT\r  B"} << QStringList{"CHAT"} << QStringLiteral("B");
        QTest::newRow("code page across reads") << QByteArrayList{"\x80", "\x9d\xe9\r\x85"} << QStringList{QStringLiteral("\u20ac\u009d\u00e9")}
                                                << QStringLiteral("\u2026");
        const QByteArray cap(frmCon::kMaxPendingLine, 'x');
        QTest::newRow("a line at the cap is kept") << QByteArrayList{cap.left(9), cap.mid(9) + "\rPING\r"}
                                                   << QStringList{QString::fromLatin1(cap), "PING"} << QString();
        QTest::newRow("one over the cap in one read") << QByteArrayList{cap + "x\rPING\r"} << QStringList{"PING"} << QString();
        QTest::newRow("one over the cap across reads") << QByteArrayList{"x", cap + "\rPING\r"} << QStringList{"PING"} << QString();
        QTest::newRow("over the cap unfinished") << QByteArrayList{cap.left(100), cap, "x", "tail\rPING\r"} << QStringList{"PING"}
                                                 << QString();
    }

    void framingIsTheSameHoweverTheReadsFall() {
        QFETCH(QByteArrayList, reads);
        QFETCH(QStringList, queued);
        QFETCH(QString, pending);
        ClientFixture fixture(ClientFixture::None);
        // The socket's bytes, and text decoded before framing, frame alike.
        for (const bool decodedFirst : {false, true}) {
            frmCon con;
            for (const QByteArray& read : reads) {
                if (decodedFirst)
                    con.frameArrival(decode1252(read));
                else
                    con.frameArrival(read.constData(), read.size());
            }
            QCOMPARE(QStringList(con.lstPackets.begin(), con.lstPackets.end()), queued);
            QCOMPARE(con.sPendingData, pending);
        }
    }

    void pingIsAnsweredCaseSensitively() {
        Link l;
        l.server.sendLines({QStringLiteral("ping"), QStringLiteral("PING")});
        QVERIFY(l.waitQueued(2));
        l.con->tmrPacket_Timer();
        QVERIFY(l.server.waitForLine(QStringLiteral("PING")));
        QCOMPARE(l.server.lines.count(QStringLiteral("PING")), 1);
        QVERIFY(!l.server.lines.contains(QStringLiteral("ping")));
    }

    void packetBlockHoldsLinesBack() {
        Link l;
        ClientConfig().PacketBlock(QStringLiteral("True"));
        l.server.sendLines({QStringLiteral("PING"), QStringLiteral("CHPASS-OK")});
        QVERIFY(l.waitQueued(2));
        l.con->tmrPacket_Timer();
        QCOMPARE(int(l.con->lstPackets.size()), 2);
        QVERIFY(l.fixture.services.dialogs->boxes.isEmpty());
        ClientConfig().PacketBlock(QStringLiteral("False"));
        l.con->tmrPacket_Timer();
        QVERIFY(l.con->lstPackets.empty());
        QVERIFY(l.server.waitForLine(QStringLiteral("PING")));
        QCOMPARE(l.fixture.services.dialogs->titles(), QStringList{QStringLiteral("Password Confirmed")});
    }

    void updateShowsItsBoxStartsTheUpdaterAndEnds() {
        Link l;
        l.fixture.write(QStringLiteral("Updater.exe"), "#!/bin/sh\n");
        l.server.sendLines({QStringLiteral("PING"), QStringLiteral("UPDATE"), QStringLiteral("CHPASS-OK")});
        QTRY_VERIFY_WITH_TIMEOUT(l.fixture.services.lifecycle->ends > 0, 5000);
        const auto& boxes = l.fixture.services.dialogs->boxes;
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QStringLiteral("Update Is Available!"));
        QVERIFY(boxes[0].text.startsWith(QStringLiteral("An update is available, please run the updater, reinstall, or visit the forums. Please go to ")));
        QVERIFY(boxes[0].text.endsWith(QStringLiteral(" and download the update file or run the patcher.")));
        QCOMPARE(l.fixture.services.shell->started, QStringList{l.fixture.path(QStringLiteral("Updater.exe"))});
        // The program ended there: the socket window is unloaded and the line after "UPDATE"
        // was never handled.
        QTRY_VERIFY(l.con.isNull());
        QCOMPARE(l.fixture.services.dialogs->boxes.size(), 1);
    }

    void sendPathWritesOneCarriageReturnPerLine() {
        Link l;
        l.con->SendToServer(QString());
        l.con->SendToServer(QStringLiteral("CHAT a\rb"));
        QString original = QStringLiteral("AWAY 0");
        l.con->SendToServer(original);
        // The caller's text comes back as sent.
        QCOMPARE(original, QStringLiteral("AWAY 0\r"));
        QVERIFY(l.server.waitForLine(QStringLiteral("AWAY 0")));
        QCOMPARE(l.server.received, QByteArray("VERSION 3.4.5\r\rCHAT ab\rAWAY 0\r"));
    }

    void textSentWhileDisconnectedNeverArrives() {
        Link l;
        l.con->Winsock->Close();
        l.con->SendToServer(QStringLiteral("LOST 1"));
        QVERIFY(l.con->gstrDataWaitingToBeSent.isEmpty());
        l.server.dropClient();
        l.con->Winsock->Connect(QStringLiteral("127.0.0.1"), l.server.port());
        QTRY_VERIFY_WITH_TIMEOUT(l.con->Winsock->connected(), 5000);
        l.con->SendToServer(QStringLiteral("KEPT 2"));
        QVERIFY(l.server.waitForLine(QStringLiteral("KEPT 2")));
        QVERIFY(!l.server.lines.contains(QStringLiteral("LOST 1")));
    }

    void aNestedSendKeepsTheOrderOfCalls() {
        Link l;
        // A line handled while a send waits: its answer is queued behind the waiting send.
        bool nested = false;
        QObject::connect(l.con->Winsock, &SocketControl::sendComplete, l.con, [&] {
            if (nested) return;
            nested = true;
            l.con->SendToServer(QStringLiteral("SECOND"));
        });
        l.con->SendToServer(QStringLiteral("FIRST"));
        QVERIFY(l.server.waitForLine(QStringLiteral("SECOND")));
        const int first = int(l.server.lines.indexOf(QStringLiteral("FIRST")));
        QVERIFY(first >= 0 && first < l.server.lines.indexOf(QStringLiteral("SECOND")));
    }

    void errorWhileConnectedSaysGoodbyeAndEnds() {
        Link l;
        guarded(533, [] { throw RuntimeError(QStringLiteral("Type mismatch"), 13); });
        QVERIFY(l.server.waitForLine(QStringLiteral("QUITERROR")));
        const int at = int(l.server.lines.indexOf(QStringLiteral("ERRORHANDLER Type%20mismatch 533")));
        QVERIFY(at > 0);
        QCOMPARE(l.server.lines.at(at + 1), QStringLiteral("QUITERROR"));
        QCOMPARE(l.fixture.services.dialogs->titles(), QStringList{QStringLiteral("Error")});
        QVERIFY(l.fixture.services.dialogs->boxes[0].text.endsWith(QStringLiteral("Type mismatch Error ID: 533")));
        QVERIFY(l.fixture.services.lifecycle->ends > 0);
        QCOMPARE(l.fixture.services.sound->played.size(), 1);
        QVERIFY(l.fixture.services.sound->played[0].endsWith(QStringLiteral("/wavs/beep.wav")));
    }

    void errorWhileNotConnectedOnlyShowsTheBox() {
        ClientFixture fixture;
        form<frmCon>()->tmrPacket->stop();
        bool after = false;
        guarded(47, [&] {
            throw RuntimeError(QStringLiteral("File not found"), 53);
            after = true;
        });
        QVERIFY(!after);
        QCOMPARE(fixture.services.dialogs->boxes.size(), 1);
        QCOMPARE(fixture.services.dialogs->boxes[0].style & 0x70, int(vb::Critical));
        QVERIFY(fixture.services.dialogs->boxes[0].text.endsWith(QStringLiteral(" Error ID: 47")));
        QCOMPARE(fixture.services.lifecycle->ends, 0);
    }

    void aFailingHandlerDoesNotStopThePump() {
        Link l;
        // "PLAYERSLOADED" reaches the connect window; a line after a failure is handled next tick.
        l.server.sendLines({QStringLiteral("PING"), QStringLiteral("PING")});
        QVERIFY(l.waitQueued(2));
        l.con->gblnProcessingData = false;
        l.con->tmrPacket_Timer();
        QVERIFY(!l.con->gblnProcessingData);
        QVERIFY(l.con->lstPackets.empty());
    }

    void classificationFollowsTheFixedOrder() {
        // Families first, in their order: the longer prefix that comes later never wins.
        QCOMPARE(clsWinsock::familyOf(u"UPDATEAP"), 10);
        QCOMPARE(clsWinsock::familyOf(u"CHPASS-OK"), 2);
        QCOMPARE(clsWinsock::familyOf(u"CHALLENGEBOXS"), 3);
        QCOMPARE(clsWinsock::familyOf(u"CHINCHINROLL"), 4);
        QCOMPARE(clsWinsock::familyOf(u"CV_PLACEAT"), 8);
        QCOMPARE(clsWinsock::familyOf(u"CARDWARSSTART"), 13);
        QCOMPARE(clsWinsock::familyOf(u"OCVPLACEDAT"), 5);
        QCOMPARE(clsWinsock::familyOf(u"OBSTART"), 0);
        QCOMPARE(clsWinsock::familyOf(u"CH"), -1);
        QCOMPARE(clsWinsock::familyOf(u"C"), -1);
        QCOMPARE(clsWinsock::familyOf(u"ob"), -1);
        QCOMPARE(clsWinsock::familyOf(u""), -1);
        // Whole keywords are whole: no prefix match, case counts.
        QCOMPARE(clsWinsock::keywordOf(u"PING"), 2);
        QCOMPARE(clsWinsock::keywordOf(u"NEWPLAYER2"), 9);
        QCOMPARE(clsWinsock::keywordOf(u"NEWPLAYER"), 8);
        QCOMPARE(clsWinsock::keywordOf(u"GAMESTALEMATE"), 37);
        QCOMPARE(clsWinsock::keywordOf(u"PINGS"), -1);
        QCOMPARE(clsWinsock::keywordOf(u"ping"), -1);
        // "UPDATE" alone is a family member by prefix, but the framer never lets it through.
        QCOMPARE(clsWinsock::familyOf(u"UPDATE"), 10);
    }

    void everyPrefixAndKeywordIsFoundAndNothingNearThem_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("family");
        QTest::addColumn<int>("keyword");
        // The dispatcher's own tables, read here the slow way.
        QStringList prefixes, keywords;
        for (QLatin1StringView p : clsWinsock::prefixes()) prefixes << QString(p);
        for (QLatin1StringView k : clsWinsock::keywords()) keywords << QString(k);
        // The expected route: the first prefix in order, else an equal keyword.
        QSet<QString> added;
        const auto add = [&](const QString& word) {
            if (added.contains(word)) return;
            added.insert(word);
            int family = -1;
            for (int i = 0; i < prefixes.size() && family < 0; ++i)
                if (word.startsWith(prefixes[i])) family = i;
            const int keyword = family < 0 ? int(keywords.indexOf(word)) : -1;
            QTest::addRow("%s", qPrintable(word)) << word + QStringLiteral(" a b") << family << keyword;
        };
        for (const QStringList* table : {&prefixes, &keywords}) {
            for (const QString& word : *table) {
                add(word);
                add(word + u'X');
                add(word.chopped(1));
                add(word.toLower());
                add(word.left(1) + u'\u00c9' + word.mid(2));
            }
        }
    }

    void everyPrefixAndKeywordIsFoundAndNothingNearThem() {
        QFETCH(QString, line);
        QFETCH(int, family);
        QFETCH(int, keyword);
        const clsWinsock::Route route = clsWinsock::routeOf(line);
        QCOMPARE(route.family, family);
        QCOMPARE(route.keyword, keyword);
        QCOMPARE(route.keywordLength, line.indexOf(u' '));
    }

    void familyLinesGoToTheirFamilyNotToWholeKeywords() {
        ClientFixture fixture;
        // "CHPASS-WRONGPASS" is handled by the account family with its box.
        QString line = QStringLiteral("CHPASS-WRONGPASS");
        clsWinsock().HandleIncoming(line);
        QCOMPARE(fixture.services.dialogs->titles(), QStringList{QStringLiteral("Error")});
        // A leading blank makes the keyword empty: nothing happens.
        QString blank = QStringLiteral(" CHPASS-OK");
        clsWinsock().HandleIncoming(blank);
        QString empty;
        clsWinsock().HandleIncoming(empty);
        QCOMPARE(fixture.services.dialogs->boxes.size(), 1);
    }
};

QTEST_MAIN(tst_socket)
#include "tst_socket.moc"
