// The starter-deck window against a fake web service and game server: the deck list and the cards
// query with its quoted texts, the refused decks, the warning before "ABNEWDECK", the server's
// refresh line (also to a closed window), quiet failures, and the grid every economy window shares (header sorting by real clicks, widths).
#include "EconomyLink.h"

#include "economy/frmStarterDecks.h"

#include <QHeaderView>

namespace {
const Reply kDecks = table({"Deck"}, {{"Ashfall"}, {"Rook's Pride"}, {"Crusade"}, {"Anime2"}, {"EVNT"}});
Reply cards() {
    Reply r = table({"Card", "Level"}, {{"Emberlark", "10"}, {"brine skitter", "9"}, {"Cinderpup", "100"}});
    r.columns[1].type = QStringLiteral("integer");
    return r;
}

frmStarterDecks* open(EconomyLink& l) {
    l.web.answer(QStringLiteral("call sps_FindStarterDecks()"), kDecks);
    l.web.answerPrefix(QStringLiteral("call sps_GetPlayerCardsByDeck("), cards());
    frmStarterDecks* w = form<frmStarterDecks>();
    w->LoadCombo();
    w->show();
    return w;
}

void choose(frmStarterDecks* w, const QString& deck) {
    w->cmbDecks->setCurrentIndex(w->cmbDecks->findText(deck));
    w->cmbDecks_Click();
}

QStringList column(const RecordSetGrid* grid, int col) {
    QStringList out;
    for (int row = 0; row < grid->Rows(); ++row) out << grid->TextMatrix(row, col);
    return out;
}

void clickHeader(RecordSetGrid* grid, int col) {
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col - 1) + header->sectionSize(col - 1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}
}  // namespace

class tst_starterdecks : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void deckListAndCards() {
        EconomyLink l;
        frmStarterDecks* w = open(l);
        QCOMPARE(w->cmbDecks->count(), 5);
        choose(w, QStringLiteral("Rook's Pride"));
        QCOMPARE(l.queries(), QStringList({"call sps_FindStarterDecks()", "call sps_GetPlayerCardsByDeck('Tester', 'Rook''s Pride')"}));
        QCOMPARE(w->DataGrid->Rows(), 4);
        // The server's refresh reloads the deck still chosen.
        l.feed(QStringLiteral("STARTERDECKREFRESHGRID"));
        QCOMPARE(l.queries(), QStringList{"call sps_GetPlayerCardsByDeck('Tester', 'Rook''s Pride')"});
        // A service that fails empties the grid without a word, and ends the deck list's fill quietly.
        l.web.setMode(FakeWebService::Mode::Error500);
        w->RefreshGrid();
        QCOMPARE(w->DataGrid->Rows(), 1);
        w->LoadCombo();
        QCOMPARE(w->cmbDecks->count(), 0);
        QVERIFY(l.boxes().isEmpty());
    }

    // The refresh line reaches a closed window too: it loads hidden and reads the (unchosen) deck.
    void refreshLoadsTheClosedWindow() {
        EconomyLink l;
        l.web.answerPrefix(QStringLiteral("call sps_GetPlayerCardsByDeck("), cards());
        l.feed(QStringLiteral("STARTERDECKREFRESHGRID"));
        frmStarterDecks* w = ifLoaded<frmStarterDecks>();
        QVERIFY(w && !w->isVisible());
        QCOMPARE(w->cmdGet->ButtonCaption(), QStringLiteral("Get Deck"));
        QCOMPARE(l.queries(), QStringList{"call sps_GetPlayerCardsByDeck('Tester', '')"});
        QCOMPARE(w->DataGrid->Rows(), 4);
    }

    void getDeck_data() {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("line");
        const QString warning = QStringLiteral("Player Starter Decks|WARNING! Getting a new deck will wipe all the cards you have of "
                                               "this deck along with your GP and AP!  Are you sure you want to do this?");
        QTest::addRow("yes") << "Rook's Pride" << int(vb::Yes) << warning << "ABNEWDECK Rook's Pride";
        QTest::addRow("no") << "Ashfall" << int(vb::No) << warning << "";
        const QString locked = QStringLiteral("Locked Deck|This deck is not eligible for a starter deck.  Please pick another.");
        QTest::addRow("not eligible") << "Crusade" << int(vb::Yes) << locked << "";
        QTest::addRow("not eligible 2") << "Anime2" << int(vb::Yes) << locked << "";
        QTest::addRow("event deck") << "EVNT" << int(vb::Yes)
                                    << "Locked Deck|This is an event card deck.  You cannot get a starter deck for deck.  Please "
                                       "pick another."
                                    << "";
        QTest::addRow("no deck") << "" << int(vb::Yes) << "Input Error|Please Specify a Deck" << "";
    }
    void getDeck() {
        QFETCH(QString, deck);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(QString, line);
        EconomyLink l;
        frmStarterDecks* w = open(l);
        if (!deck.isEmpty()) choose(w, deck);
        l.dialogs().answer(answer);
        w->cmdGet_Click();
        QCOMPARE(l.boxes(), QStringList{box});
        QCOMPARE(l.sent(), line.isEmpty() ? QStringList() : QStringList{line});
    }

    void headerClicksSortAndMark_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("levels");
        QTest::addRow("level ascending, 9 before 10")
            << QList<int>{2} << QStringList{"Card", "brine skitter", "Emberlark", "Cinderpup"} << QStringList{"> Level", "9", "10", "100"};
        QTest::addRow("level again, descending")
            << QList<int>{2, 2} << QStringList{"Card", "Cinderpup", "Emberlark", "brine skitter"} << QStringList{"< Level", "100", "10", "9"};
        QTest::addRow("another column moves the marker")
            << QList<int>{2, 1} << QStringList{"> Card", "brine skitter", "Cinderpup", "Emberlark"} << QStringList{"Level", "9", "100", "10"};
        QTest::addRow("three times")
            << QList<int>{1, 1, 1} << QStringList{"> Card", "brine skitter", "Cinderpup", "Emberlark"} << QStringList{"Level", "9", "100", "10"};
    }
    void headerClicksSortAndMark() {
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, names);
        QFETCH(QStringList, levels);
        EconomyLink l;
        frmStarterDecks* w = open(l);
        choose(w, QStringLiteral("Ashfall"));
        for (int col : clicks) clickHeader(w->DataGrid, col);
        QCOMPARE(column(w->DataGrid, 1), names);
        QCOMPARE(column(w->DataGrid, 2), levels);
        // A reload shows plain headers and keeps the direction: the next click on the same header turns it.
        w->RefreshGrid();
        QCOMPARE(w->DataGrid->TextMatrix(0, 1), QStringLiteral("Card"));
        clickHeader(w->DataGrid, clicks.last());
        const QString marker = w->DataGrid->SortAscending() ? QStringLiteral("> ") : QStringLiteral("< ");
        QCOMPARE(w->DataGrid->TextMatrix(0, clicks.last()), marker + (clicks.last() == 1 ? "Card" : "Level"));
        QCOMPARE(w->DataGrid->SortAscending(), !(names.first().startsWith(u'>') || levels.first().startsWith(u'>')));
    }

    void autoSizeIsWidestTextPlus240_data() {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("width");
        QTest::addRow("1000-twip text") << QStringList{"abcdefghij", "abc"} << 1240;
        QTest::addRow("header widest") << QStringList{"ab", "a"} << 640;
        QTest::addRow("empty column") << QStringList{"", ""} << 640;
    }
    void autoSizeIsWidestTextPlus240() {
        QFETCH(QStringList, texts);
        QFETCH(int, width);
        EconomyLink l;
        frmStarterDecks* w = open(l);
        RecordSet rs;
        rs.appendField(QStringLiteral("Name"));
        for (const QString& text : texts) {
            rs.addRow();
            rs.Fields(0) = text;
        }
        w->DataGrid->bind(rs);
        // A measure of 100 twips a letter: the header "Name" is 400.
        w->DataGrid->textWidth = [](const QString& text) { return 100.0 * text.size(); };
        w->DataGrid->AutoSizeGrid();
        QCOMPARE(w->DataGrid->ColWidth(1), width);
        QCOMPARE(w->DataGrid->ColWidth(0), 240);
        QCOMPARE(w->DataGrid->columnWidth(0), (width + 7) / 15);
    }
};

QTEST_MAIN(tst_starterdecks)
#include "tst_starterdecks.moc"
