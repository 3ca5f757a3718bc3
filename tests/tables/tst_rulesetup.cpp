// The card game's rule setup dialog against a fake web service (the deck list) and a fake game
// server (the rule line): presets, the favourites, the number questions with their re-asking,
// the default trade, the exact line sent and a round trip through the room record. Then the omni
// rules dialog and the favourite-rules editor.
#include "FakeWebService.h"
#include "RoomLink.h"

#include "app/HttpClient.h"
#include "game/clsCVRules.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmfavrules.h"
#include "tables/frmocv_setup.h"
#include "tables/frmtradebox.h"

#include <QDir>
#include <QtTest>
#include <memory>

namespace {
QStringList selected(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) out << list->item(i)->text();
    return out;
}

QStringList items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

void select(QListWidget* list, const QStringList& texts) {
    for (const QString& t : texts) {
        const auto found = list->findItems(t, Qt::MatchExactly);
        if (found.isEmpty()) qFatal("no item %s", qPrintable(t));
        found.first()->setSelected(true);
    }
}

void choosePreset(frmtradebox* box, const QString& name) {
    box->cmbRuleSets->setCurrentIndex(box->cmbRuleSets->findText(name));
    box->cmbRuleSets_Click();
}

// Every rule of a rule set as "name=value" texts, to compare two sets whole.
QStringList ruleState(const clsCVRules& r) {
    QStringList s;
#define RULE(Name) s << QStringLiteral(#Name "=") + QString::number(r.Name());
    RULE(Mirror) RULE(Combo) RULE(Immune) RULE(Wall) RULE(Wager) RULE(WagerAmt) RULE(Starter) RULE(Startee) RULE(Elemental)
    RULE(Neutral) RULE(Order) RULE(Cross) RULE(RankFreeze) RULE(Same) RULE(Plus) RULE(CCRule) RULE(MinLevel) RULE(MinLevelValue)
    RULE(MaxLevel) RULE(MaxLevelValue) RULE(SetWall) RULE(SetWallValue) RULE(NoDupes) RULE(OpenRule) RULE(Random) RULE(Reverse)
    RULE(Minus) RULE(SuddenDeath) RULE(Skip) RULE(Capture) RULE(TradeAll) RULE(TradeDirect) RULE(TradeDiff) RULE(TradeTwo)
    RULE(TradeThree) RULE(TradeFour) RULE(TradeNone) RULE(TradeOne) RULE(TradeRandomOne) RULE(Multiply) RULE(FullDeck)
#undef RULE
    s << QStringLiteral("decks=") + r.decks().trimmed();
    return s;
}

const QString kAllZero = QStringList(40, QStringLiteral("0")).join(u' ');
}  // namespace

class tst_rulesetup : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeWebService> web;

    // A creator's card-game room with the dialog opened from its Change Rules.
    frmtradebox* openDialog(RoomLink& l) {
        l.creator(true);
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->show();
        room->GameKey(QStringLiteral("cv"));
        room->cmdChange_Click();
        return ifLoaded<frmtradebox>();
    }

private slots:
    void initTestCase() {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        web = std::make_unique<FakeWebService>();
        qputenv("CORVADEX_WEBSERVICE", web->url().toUtf8());
        HttpClient::setTimeouts({500, 3000});
    }
    void init() {
        web->clearAnswers();
        web->answer(QStringLiteral("CALL usp_FindDecks()"),
                    {{{QStringLiteral("deck"), QStringLiteral("string")}}, {{"Ashfall"}, {"Tideborn"}, {"Standard"}}});
    }
    void cleanupTestCase() {
        web.reset();
        qunsetenv("CORVADEX_WEBSERVICE");
    }

    void loadsDecksAndPresets() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        QVERIFY(box && box->isVisible());
        QCOMPARE(web->commands().last(), QStringLiteral("CALL usp_FindDecks()"));
        QCOMPARE(items(box->lstdecks), (QStringList{"Ashfall", "Tideborn", "Standard"}));
        QCOMPARE(box->windowTitle(), QStringLiteral("Corvada Setup"));
        QCOMPARE(box->lblTitle->text(), QStringLiteral("CV Setup"));
        QCOMPARE(box->challenge->ButtonCaption(), QStringLiteral("Accept"));
        QCOMPARE(box->lstgame->count(), 24);
        QCOMPARE(box->lsttrade->count(), 10);
        QVERIFY(box->cmbRuleSets->currentText().isEmpty());
        QStringList presets;
        for (int i = 0; i < box->cmbRuleSets->count(); ++i) presets << box->cmbRuleSets->itemText(i);
        QCOMPARE(presets, (QStringList{"Ardunel", "Bellastre", "Corrowind", "Dunmarrow", "Eskari", "Fenwhistle", "Halvetta's Rules",
                                       "HalvettaXCross", "My Favorites", "Quorrin", "Rosvane"}));

        select(box->lstgame, {"wager", "skip", "order"});
        select(box->lsttrade, {"all"});
        select(box->lstdecks, {"Tideborn"});
        choosePreset(box, QStringLiteral("HalvettaXCross"));
        QCOMPARE(selected(box->lstgame),
                 (QStringList{"random", "no dupes", "same", "wall", "mirror", "combo", "plus", "neutral", "minus"}));
        QCOMPARE(selected(box->lsttrade), QStringList{"all"});
        QCOMPARE(selected(box->lstdecks), QStringList{"Tideborn"});
        choosePreset(box, QStringLiteral("Halvetta's Rules"));
        QCOMPARE(selected(box->lstgame),
                 (QStringList{"random", "no dupes", "same", "wall", "mirror", "combo", "plus", "cross", "neutral", "minus"}));
        const std::pair<const char*, QStringList> presetRules[] = {
            {"Ardunel", {"open"}},
            {"Bellastre", {"open", "same", "combo", "plus"}},
            {"Corrowind", {"random", "elemental"}},
            {"Dunmarrow", {"wall", "elemental", "combo"}},
            {"Eskari", {"elemental", "sudden death"}},
            {"Fenwhistle", {"same", "combo"}},
            {"Quorrin", {"random", "same", "combo", "plus", "immune"}},
            {"Rosvane", {"random", "wall", "combo"}},
        };
        for (const auto& [name, rules] : presetRules) {
            choosePreset(box, QString::fromLatin1(name));
            QCOMPARE(selected(box->lstgame), rules);
        }
        // Showing the dialog again brings the open one forward unchanged.
        form<frmchallengebox_single>()->cmdChange_Click();
        QCOMPARE(ifLoaded<frmtradebox>(), box);
        QCOMPARE(selected(box->lstgame), (QStringList{"random", "wall", "combo"}));
        QCOMPARE(web->commands().size(), 1);
    }

    void favoritesPreset() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        select(box->lstgame, {"open"});
        choosePreset(box, QStringLiteral("My Favorites"));
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(l.dialogs().boxes[0].text,
                 QStringLiteral("Favorite Rules have not been set, please customize your rules before initiating them."));
        QVERIFY(selected(box->lstgame).isEmpty());
        l.fx->write(QStringLiteral("config/favrules.ini"), "[Rules]\r\nsame=1\r\nRank Freeze=1\r\nplus=0\r\nmax lvl=1\r\n");
        choosePreset(box, QStringLiteral("My Favorites"));
        QCOMPARE(selected(box->lstgame), (QStringList{"rank freeze", "same", "max lvl"}));
        // Rank freeze comes with its notice, and the rule goes out off.
        select(box->lstdecks, {"Ashfall"});
        l.dialogs().clear();
        l.dialogs().type(QStringLiteral("5"));
        box->challenge_Click();
        QCOMPARE(l.dialogs().titles(), (QStringList{"Rank Freeze Disabled", "Choose Maximum"}));
        QStringList w = kAllZero.split(u' ');
        w[5] = QStringLiteral("1");
        w[6] = QStringLiteral("5");
        w[8] = QStringLiteral("1");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE ") + w.join(u' ') + QStringLiteral("@@Corvada@@ Ashfall")});
        QVERIFY(!form<frmchallengebox_single>()->TableRules()->RankFreeze());
    }

    // One deck, nothing else: every rule off and the one-card trade by default.
    void plainAcceptTradesOne() {
        RoomLink l;
        l.creator(false);
        frmtradebox* box = form<frmtradebox>();
        form<frmchallengebox_single>()->show();
        select(box->lstdecks, {"Ashfall"});
        box->challenge_Click();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE ") + kAllZero + QStringLiteral("@@Corvada@@ Ashfall")});
        const auto rules = form<frmchallengebox_single>()->TableRules();
        QVERIFY(rules && rules->TradeOne() && !rules->Starter() && !rules->TradeRandomOne());
        QCOMPARE(rules->decks(), QStringLiteral(" Ashfall"));
        QVERIFY(l.isCreator());
        QVERIFY(!ifLoaded<frmtradebox>());
        QVERIFY(l.dialogs().boxes.isEmpty());
    }

    // Two decks, a preset and a trade rule: the exact line.
    void presetAndDecksLine() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        select(box->lstdecks, {"Standard", "Ashfall"});
        choosePreset(box, QStringLiteral("Bellastre"));
        select(box->lsttrade, {"random one"});
        box->challenge_Click();
        // Open, Same, Plus and Combo are fields 1, 9, 10 and 18; Random One is field 38.
        QStringList w = kAllZero.split(u' ');
        for (int k : {0, 8, 9, 17, 37}) w[k] = QStringLiteral("1");
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE ") + w.join(u' ') + QStringLiteral("@@Corvada@@ Ashfall Standard")});
        const auto rules = form<frmchallengebox_single>()->TableRules();
        QVERIFY(rules->TradeRandomOne() && !rules->TradeOne());
    }

    void noDeckChosen() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        choosePreset(box, QStringLiteral("Eskari"));
        box->challenge_Click();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Please Choose a Deck"));
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("No decks have been picked.  Please choose a deck before hitting challenge."));
        QVERIFY(l.sent().isEmpty());
        QCOMPARE(ifLoaded<frmtradebox>(), box);
        QCOMPARE(selected(box->lstgame), (QStringList{"elemental", "sudden death"}));
    }

    void emptyDeckListOffersStandard() {
        web->clearAnswers();
        web->answer(QStringLiteral("CALL usp_FindDecks()"), {{{QStringLiteral("deck"), QStringLiteral("string")}}, {}});
        RoomLink l;
        frmtradebox* box = openDialog(l);
        QCOMPARE(box->lstdecks->count(), 0);
        box->challenge_Click();
        QCOMPARE(l.dialogs().titles(), QStringList{"Primary Deck"});
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE ") + kAllZero + QStringLiteral("@@Corvada@@ Standard")});
    }

    void deckQueryFails() {
        web->clearAnswers();
        RoomLink l;
        frmtradebox* box = openDialog(l);
        QVERIFY(!box);
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].text,
                 QStringLiteral("Could not retrieve decks from data source.  Please try again later.  This window will now close."));
        QVERIFY(l.healthy());
    }

    // The number questions: out of range or too large for 16 bits, asked again; NA turns off.
    void numberQuestions() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        select(box->lstdecks, {"Ashfall"});
        select(box->lstgame, {"starter", "min lvl", "max lvl", "set wall", "wager"});
        for (const char* answer : {"3", "40000", "2", "10", "10", "-1", "3.5", "NA"}) l.dialogs().type(QString::fromLatin1(answer));
        box->challenge_Click();
        QCOMPARE(l.dialogs().titles(), (QStringList{"", "Starting Player", "Starting Player", "Starting Player", "Choose Minimum",
                                                    "Choose Maximum", "Choose Maximum", "Choose Maximum", "Choose Wall"}));
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("Wager is permanently disabled and cannot be chosen."));
        QCOMPARE(l.dialogs().boxes[2].text,
                 QStringLiteral("Invalid Number Who is going to start first (1 for you; 2 for your opponent; NA to cancel)"));
        QCOMPARE(l.dialogs().boxes[6].text,
                 QStringLiteral("Invalid Number What would you like the maximum level to be (NA to cancel maxrule)"));
        const auto rules = form<frmchallengebox_single>()->TableRules();
        QVERIFY(rules->Starter());
        QCOMPARE(rules->Startee(), int16_t(2));
        QVERIFY(rules->MinLevel());
        QCOMPARE(rules->MinLevelValue(), int16_t(10));
        QVERIFY(rules->MaxLevel());
        QCOMPARE(rules->MaxLevelValue(), int16_t(4));
        QVERIFY(!rules->SetWall());
        QVERIFY(!rules->Wager());
        QStringList w = kAllZero.split(u' ');
        for (auto [k, v] : std::initializer_list<std::pair<int, const char*>>{{5, "1"}, {6, "4"}, {11, "1"}, {12, "10"}, {31, "1"}, {32, "2"}})
            w[k] = QString::fromLatin1(v);
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE ") + w.join(u' ') + QStringLiteral("@@Corvada@@ Ashfall")});
        QVERIFY(l.healthy());
        QVERIFY(!ifLoaded<frmtradebox>());
    }

    void halvesRoundToEven() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        select(box->lstdecks, {"Ashfall"});
        select(box->lstgame, {"min lvl", "set wall", "starter"});
        for (const char* answer : {"", "2.5", "9"}) l.dialogs().type(QString::fromLatin1(answer));
        box->challenge_Click();
        const auto rules = form<frmchallengebox_single>()->TableRules();
        QVERIFY(!rules->Starter());
        QCOMPARE(rules->MinLevelValue(), int16_t(2));
        QCOMPARE(rules->SetWallValue(), int16_t(9));
        QVERIFY(rules->SetWall());
    }

    // A rule set chosen in the dialog, sent, fed back as the room record and read again is the same.
    void roundTrip() {
        RoomLink l;
        frmtradebox* box = openDialog(l);
        select(box->lstdecks, {"Tideborn", "Ashfall"});
        choosePreset(box, QStringLiteral("Halvetta's Rules"));
        select(box->lstgame, {"elemental", "order", "reverse", "immune", "skip", "multiply", "sudden death", "open", "min lvl",
                              "max lvl", "set wall", "starter"});
        select(box->lsttrade, {"direct"});
        for (const char* answer : {"1", "3", "8", "6"}) l.dialogs().type(QString::fromLatin1(answer));
        box->challenge_Click();
        const QStringList lines = l.sent();
        QCOMPARE(lines.size(), 1);
        const auto chosen = form<frmchallengebox_single>()->TableRules();
        QString record = lines[0].mid(QStringLiteral("CHANGERULE ").size());
        record.replace(u' ', QStringLiteral("%20"));
        l.receive(QStringLiteral("CHALLENGEBOXS 7 kira Nyx 0 ") + record);
        const auto read = form<frmchallengebox_single>()->TableRules();
        QVERIFY(read != chosen);
        QCOMPARE(ruleState(*read), ruleState(*chosen));
        // And every trade rule the dialog offers survives the trip.
        for (int t = 0; t < frmtradebox::TradeRules().size(); ++t) {
            frmtradebox* again = openDialog(l);
            select(again->lstdecks, {"Standard"});
            again->lsttrade->item(t)->setSelected(true);
            again->challenge_Click();
            const auto sent = form<frmchallengebox_single>()->TableRules();
            QString r = l.sent().value(0).mid(QStringLiteral("CHANGERULE ").size());
            l.receive(QStringLiteral("CHALLENGEBOXS 7 kira Nyx 0 ") + r.replace(u' ', QStringLiteral("%20")));
            QCOMPARE(ruleState(*form<frmchallengebox_single>()->TableRules()), ruleState(*sent));
        }
    }

    void omniRules() {
        RoomLink l;
        l.creator(false);
        frmchallengebox_single* room = form<frmchallengebox_single>();
        room->show();
        room->GameKey(QStringLiteral("ocv"));
        room->cmdChange_Click();
        QVERIFY(!ifLoaded<frmocv_setup>());
        l.creator(true);
        room->cmdChange_Click();
        frmocv_setup* omni = ifLoaded<frmocv_setup>();
        QVERIFY(omni && omni->isVisible());
        QCOMPARE(omni->windowTitle(), QStringLiteral("Game Setup"));
        QCOMPARE(omni->lblTitle->text(), QStringLiteral("Omni Setup"));
        QCOMPARE(omni->cmdOK->ButtonCaption(), QStringLiteral("Okay"));
        omni->cmdOK_Click();
        omni->cmbtypes->setCurrentIndex(omni->cmbtypes->findText(QStringLiteral("Player")));
        omni->cmdOK_Click();
        QCOMPARE(l.dialogs().boxes.size(), 2);
        for (const BoxRecord& b : l.dialogs().boxes) {
            QCOMPARE(b.text, QStringLiteral("All fields must be filled"));
            QCOMPARE(b.title, QStringLiteral("Omni CV"));
        }
        QVERIFY(l.sent().isEmpty());
        l.creator(false);
        omni->cmbtypes->setCurrentIndex(omni->cmbtypes->findText(QStringLiteral("Random")));
        omni->cmbblocks->setCurrentIndex(omni->cmbblocks->findText(QStringLiteral("7")));
        omni->cmdOK_Click();
        QCOMPARE(l.sent(), QStringList{QStringLiteral("CHANGERULE OCV OMNICV_RANDOM 7")});
        QVERIFY(l.isCreator());
        QVERIFY(!ifLoaded<frmocv_setup>());
        // A fresh opening starts without choices.
        room->cmdChange_Click();
        QCOMPARE(ifLoaded<frmocv_setup>()->cmbtypes->currentIndex(), -1);
        QCOMPARE(ifLoaded<frmocv_setup>()->cmbblocks->currentIndex(), -1);
    }

    void favoriteRulesEditor() {
        RoomLink l;
        frmfavrules* fav = form<frmfavrules>();
        fav->show();
        fav->loadsavedrules();
        QCOMPARE(fav->windowTitle(), QStringLiteral("Configure Favorite Rules"));
        QCOMPARE(fav->lblTitle->text(), QStringLiteral("Favorite Rules"));
        QCOMPARE(fav->lsttaken->count(), 0);
        QCOMPARE(fav->lstrules->count(), 24);
        QStringList sorted = frmfavrules::RuleKeys();
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(items(fav->lstrules), sorted);

        // Add and Remove with nothing selected only beep.
        fav->cmdAdd_Click();
        fav->cmdRemove_Click();
        QCOMPARE(l.sounds(), (QList<int>{3, 3}));
        QCOMPARE(fav->lsttaken->count(), 0);

        for (const char* key : {"same", "Rank Freeze", "wager", "plus"}) {
            fav->lstrules->setCurrentItem(fav->lstrules->findItems(QString::fromLatin1(key), Qt::MatchExactly).first());
            fav->cmdAdd_Click();
        }
        fav->lsttaken->setCurrentItem(fav->lsttaken->findItems(QStringLiteral("plus"), Qt::MatchExactly).first());
        fav->cmdRemove_Click();
        QCOMPARE(items(fav->lsttaken), (QStringList{"Rank Freeze", "same", "wager"}));
        QCOMPARE(fav->lstrules->count(), 21);
        fav->cmdSave_Click();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].text, QStringLiteral("Rules Saved"));
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Saved"));
        const QString file = l.fx->path(QStringLiteral("config/favrules.ini"));
        QCOMPARE(IniKeys(QStringLiteral("Rules"), file).size(), 24);
        QCOMPARE(ReadIni(QStringLiteral("Rules"), QStringLiteral("Rank Freeze"), file), QStringLiteral("1"));
        QCOMPARE(ReadIni(QStringLiteral("Rules"), QStringLiteral("plus"), file), QStringLiteral("0"));

        // Loading again (also twice) gives the same split, each rule once.
        fav->loadsavedrules();
        fav->loadsavedrules();
        QCOMPARE(items(fav->lsttaken), (QStringList{"Rank Freeze", "same", "wager"}));
        QCOMPARE(fav->lstrules->count(), 21);

        // The setup dialog's preset reads the same file.
        frmtradebox* box = openDialog(l);
        choosePreset(box, QStringLiteral("My Favorites"));
        QCOMPARE(selected(box->lstgame), (QStringList{"rank freeze", "same", "wager"}));
    }

    // A save that cannot be written says so instead of "Rules Saved".
    void favoriteRulesUnwritable() {
        RoomLink l;
        QDir().mkpath(l.fx->folder() + QStringLiteral("/config/favrules.ini"));
        frmfavrules* fav = form<frmfavrules>();
        fav->loadsavedrules();
        fav->lstrules->setCurrentRow(0);
        fav->cmdAdd_Click();
        fav->cmdSave_Click();
        QCOMPARE(l.dialogs().boxes.size(), 1);
        QCOMPARE(l.dialogs().boxes[0].title, QStringLiteral("Error"));
        QVERIFY(l.dialogs().boxes[0].text.startsWith(QStringLiteral("The favorite rules could not be saved")));
        QVERIFY(l.dialogs().boxes[0].text.contains(QStringLiteral("favrules.ini")));
    }
};

QTEST_MAIN(tst_rulesetup)
#include "tst_rulesetup.moc"
