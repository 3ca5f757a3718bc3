#include "tables/frmtradebox.h"

#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/modSkin.h"
#include "game/ModMiscFunctions.h"
#include "game/clsCVRules.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/ChallengeRoom.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmfavrules.h"

#include <QSignalBlocker>

namespace {
constexpr int kWidth = 558, kHeight = 372;

// Skill rule positions.
enum Skill : int {
    kRandom, kOpen, kNoDupes, kRankFreeze, kSame, kWall, kMirror, kMaxLvl, kMinLvl, kElemental, kCombo, kPlus,
    kCross, kOrder, kNeutral, kWager, kReverse, kMinus, kSetWall, kSuddenDeath, kImmune, kStarter, kSkip, kMultiply,
};
// Trade rule positions.
enum Trade : int { kDifference, kNone, kOne, kTwo, kThree, kFour, kAll, kDirect, kRandomOne, kFullDeck };

struct Preset {
    const char* name;
    std::initializer_list<int> skills;
};
// "Halvetta's Rules", "HalvettaXCross" and "My Favorites" are worked out when chosen.
const Preset kPresets[] = {
    {"Ardunel", {kOpen}},
    {"Bellastre", {kOpen, kSame, kCombo, kPlus}},
    {"Corrowind", {kRandom, kElemental}},
    {"Dunmarrow", {kWall, kElemental, kCombo}},
    {"Eskari", {kElemental, kSuddenDeath}},
    {"Fenwhistle", {kSame, kCombo}},
    {"Quorrin", {kRandom, kSame, kCombo, kPlus, kImmune}},
    {"Rosvane", {kRandom, kWall, kCombo}},
};

// A number question: the answer's leading number rounded half to even; asked again, with
// "Invalid Number" in front, while it does not fit 16 bits or lies outside low..high.
int16_t askNumber(const QString& title, const QString& prompt, const QString& defaultText, int low, int high) {
    QString asking = prompt;
    for (;;) {
        const QString answer = InputBox(asking, title, defaultText);
        try {
            const int16_t n = vbCInt(vbVal(answer));
            if (n >= low && n <= high) return n;
        } catch (const RuntimeError&) {
            // Too large for the rule set's number: the same question again.
        }
        asking = QStringLiteral("Invalid Number ") + prompt;
    }
}

QListWidget* ruleList(QWidget* parent, const char* name, const QRect& where, QAbstractItemView::SelectionMode mode) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(where);
    list->setSelectionMode(mode);
    list->setStyleSheet(RoomScrollStyle("QListWidget"));
    return list;
}
}  // namespace

const QStringList& frmtradebox::SkillRules() {
    static const QStringList rules = {
        QStringLiteral("random"),   QStringLiteral("open"),         QStringLiteral("no dupes"), QStringLiteral("rank freeze"),
        QStringLiteral("same"),     QStringLiteral("wall"),         QStringLiteral("mirror"),   QStringLiteral("max lvl"),
        QStringLiteral("min lvl"),  QStringLiteral("elemental"),    QStringLiteral("combo"),    QStringLiteral("plus"),
        QStringLiteral("cross"),    QStringLiteral("order"),        QStringLiteral("neutral"),  QStringLiteral("wager"),
        QStringLiteral("reverse"),  QStringLiteral("minus"),        QStringLiteral("set wall"), QStringLiteral("sudden death"),
        QStringLiteral("immune"),   QStringLiteral("starter"),      QStringLiteral("skip"),     QStringLiteral("multiply"),
    };
    return rules;
}

const QStringList& frmtradebox::TradeRules() {
    static const QStringList rules = {
        QStringLiteral("difference"), QStringLiteral("none"),   QStringLiteral("one"),        QStringLiteral("two"),
        QStringLiteral("three"),      QStringLiteral("four"),   QStringLiteral("all"),        QStringLiteral("direct"),
        QStringLiteral("random one"), QStringLiteral("fulldeck (none)"),
    };
    return rules;
}

frmtradebox::frmtradebox()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      lstdecks(ruleList(this, "lstdecks", QRect(12, 52, 170, 262), QAbstractItemView::ExtendedSelection)),
      lstgame(ruleList(this, "lstgame", QRect(194, 52, 170, 262), QAbstractItemView::ExtendedSelection)),
      lsttrade(ruleList(this, "lsttrade", QRect(376, 52, 170, 198), QAbstractItemView::SingleSelection)),
      cmbRuleSets(new QComboBox(this)),
      challenge(new RFButton(this)) {
    DressWindow(this, "frmtradebox", QStringLiteral("Corvada Setup"), {kWidth, kHeight}, picTitle, lblTitle);
    GameLabel(this, "Label1", QStringLiteral("Decks"), QRect(12, 32, 170, 18), RoomTextStyle(true));
    GameLabel(this, "Label2", QStringLiteral("Skill Rules"), QRect(194, 32, 170, 18), RoomTextStyle(true));
    GameLabel(this, "Label3", QStringLiteral("Trade Rules"), QRect(376, 32, 170, 18), RoomTextStyle(true));
    GameLabel(this, "Label4", QStringLiteral("Preset Rules:"), QRect(376, 262, 170, 18), RoomTextStyle(true));

    lstgame->addItems(SkillRules());
    lstgame->setToolTip(
        QStringLiteral("Hold down control and click each word to specific which rules you want played.").toHtmlEscaped());
    lsttrade->addItems(TradeRules());
    cmbRuleSets->setObjectName(QStringLiteral("cmbRuleSets"));
    cmbRuleSets->setGeometry(376, 284, 170, 24);
    cmbRuleSets->setStyleSheet(RoomComboStyle());
    QStringList presets = {QStringLiteral("Halvetta's Rules"), QStringLiteral("HalvettaXCross"), QStringLiteral("My Favorites")};
    for (const Preset& p : kPresets) presets << QString::fromLatin1(p.name);
    presets.sort();
    cmbRuleSets->addItems(presets);
    cmbRuleSets->setCurrentIndex(-1);
    challenge->setObjectName(QStringLiteral("challenge"));
    challenge->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 332);

    connect(cmbRuleSets, &QComboBox::activated, this, &frmtradebox::cmbRuleSets_Click);
    connect(challenge, &RFButton::Click, this, &frmtradebox::challenge_Click);
}

void frmtradebox::Form_Load() {
    shielded("frmtradebox::Form_Load", [&] {
        const QCursor hand = HandCursor();
        lstgame->setCursor(hand);
        lsttrade->setCursor(hand);
        try {
            QString query = QStringLiteral("CALL usp_FindDecks()");
            RecordSet decks = RunQuery(query);
            if (decks.failed()) throw RuntimeError(decks.error());
            lstdecks->clear();
            for (decks.MoveFirst(); !decks.isEOF(); decks.MoveNext()) lstdecks->addItem(decks.Fields(QStringLiteral("deck")).toString());
        } catch (const RuntimeError& e) {
            qWarning("deck query: %s", qPrintable(e.description()));
            MsgBox(QStringLiteral("Could not retrieve decks from data source.  Please try again later.  This window will now close."),
                   vb::OKOnly, QString());
            unloadWidget(this);
            return;
        }
        PlaceWindow(this);
        SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
        clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("CV Setup"));
        challenge->ButtonCaption(QStringLiteral("Accept"));
    });
}

bool frmtradebox::skill(int position) const { return lstgame->item(position)->isSelected(); }
bool frmtradebox::trade(int position) const { return lsttrade->item(position)->isSelected(); }

void frmtradebox::selectSkills(std::initializer_list<int> positions) {
    for (int position : positions) lstgame->item(position)->setSelected(true);
}

void frmtradebox::cmbRuleSets_Click() {
    shielded("frmtradebox::cmbRuleSets_Click", [&] {
        lstgame->clearSelection();
        const QString chosen = cmbRuleSets->currentText();
        if (chosen == QLatin1String("Halvetta's Rules")) return ApplyCrossPreset(true);
        if (chosen == QLatin1String("My Favorites")) return LoadFavoriteRules();
        if (chosen == QLatin1String("HalvettaXCross")) return ApplyCrossPreset(false);
        for (const Preset& p : kPresets)
            if (chosen == QLatin1String(p.name)) return selectSkills(p.skills);
    });
}

void frmtradebox::ApplyCrossPreset(bool includeCross) {
    lstgame->clearSelection();
    selectSkills({kRandom, kNoDupes, kSame, kWall, kMirror, kCombo, kPlus});
    if (includeCross) selectSkills({kCross});
    selectSkills({kNeutral, kMinus});
}

void frmtradebox::LoadFavoriteRules() {
    const QString file = FavoriteRulesFile();
    if (!FileExists(file)) {
        MsgBox(QStringLiteral("Favorite Rules have not been set, please customize your rules before initiating them."),
               vb::Exclamation, QStringLiteral("Error"));
        return;
    }
    // Keys are matched without regard to case, so "rank freeze" finds the file's "Rank Freeze".
    for (int i = 0; i < lstgame->count(); ++i)
        lstgame->item(i)->setSelected(ReadIni(QStringLiteral("Rules"), lstgame->item(i)->text(), file) == QLatin1String("1"));
}

void frmtradebox::challenge_Click() {
    guarded(501, [&] {
        if (lstdecks->count() == 0) {
            MsgBox(QStringLiteral("No decks available, picking the standard deck as primary deck for this game."), vb::Information,
                   QStringLiteral("Primary Deck"));
            lstdecks->addItem(QStringLiteral("Standard"));
            lstdecks->item(lstdecks->count() - 1)->setSelected(true);
        }
        if (lstdecks->selectedItems().isEmpty()) {
            MsgBox(QStringLiteral("No decks have been picked.  Please choose a deck before hitting challenge."), vb::Information,
                   QStringLiteral("Please Choose a Deck"));
            return;
        }
        QString decks;
        for (int i = 0; i < lstdecks->count(); ++i)
            if (lstdecks->item(i)->isSelected()) decks += u' ' + lstdecks->item(i)->text();

        // The order decides when the notices and questions come.
        auto rules = std::make_shared<clsCVRules>();
        clsCVRules& r = *rules;
        r.Cross(skill(kCross));
        r.Order(skill(kOrder));
        r.Neutral(skill(kNeutral));
        r.Elemental(skill(kElemental));
        r.Mirror(skill(kMirror));
        r.Combo(skill(kCombo));
        r.Immune(skill(kImmune));
        r.Wall(skill(kWall));
        if (skill(kWager)) {
            MsgBox(QStringLiteral("Wager is permanently disabled and cannot be chosen."), vb::OKOnly, QString());
            lstgame->item(kWager)->setSelected(false);
        }
        r.Wager(false);
        if (skill(kStarter)) {
            // 1 the creator starts, 2 the opponent; any other number names nobody and is asked again.
            const int16_t who = askNumber(QStringLiteral("Starting Player"),
                                          QStringLiteral("Who is going to start first (1 for you; 2 for your opponent; NA to cancel)"),
                                          QStringLiteral("1"), 0, 2);
            r.Startee(who);
            r.Starter(who != 0);
        }
        r.RankFreeze(false);
        if (skill(kRankFreeze))
            MsgBox(QStringLiteral("Rank freeze is no longer a selectable rule. It will disappear from this list in the next big update."),
                   vb::OKOnly, QStringLiteral("Rank Freeze Disabled"));
        r.Same(skill(kSame));
        r.Plus(skill(kPlus));
        r.CCRule(false);
        if (skill(kMinLvl)) {
            r.MinLevelValue(askNumber(QStringLiteral("Choose Minimum"),
                                      QStringLiteral("What would you like the minimum level to be (NA to cancel minrule)"), QString(), 0, 10));
            r.MinLevel(r.MinLevelValue() != 0);
        }
        if (skill(kMaxLvl)) {
            r.MaxLevelValue(askNumber(QStringLiteral("Choose Maximum"),
                                      QStringLiteral("What would you like the maximum level to be (NA to cancel maxrule)"), QString(), 0, 9));
            r.MaxLevel(r.MaxLevelValue() != 0);
        }
        if (skill(kSetWall)) {
            r.SetWallValue(askNumber(QStringLiteral("Choose Wall"),
                                     QStringLiteral("What would you like the wall value to be (NA to cancel set wall)"), QString(), 0, 9));
            r.SetWall(r.SetWallValue() != 0);
        }
        r.NoDupes(skill(kNoDupes));
        r.OpenRule(skill(kOpen));
        r.Random(skill(kRandom));
        r.Reverse(skill(kReverse));
        r.Minus(skill(kMinus));
        r.SuddenDeath(skill(kSuddenDeath));
        r.Skip(skill(kSkip));
        r.Multiply(skill(kMultiply));
        r.TradeAll(trade(kAll));
        r.TradeDirect(trade(kDirect));
        r.TradeRandomOne(trade(kRandomOne));
        r.FullDeck(trade(kFullDeck));
        r.TradeDiff(trade(kDifference));
        r.TradeTwo(trade(kTwo));
        r.TradeThree(trade(kThree));
        r.TradeFour(trade(kFour));
        r.TradeNone(trade(kNone));
        r.TradeOne(trade(kOne));
        // Without a trade rule the game trades one card.
        if (!(r.Capture() || r.TradeOne() || r.TradeTwo() || r.TradeThree() || r.TradeFour() || r.TradeDirect() || r.TradeNone() ||
              r.TradeDiff() || r.TradeAll() || r.TradeRandomOne() || r.FullDeck()))
            r.TradeOne(true);

        r.ChangeRule(decks);
        if (frmchallengebox_single* room = ifLoaded<frmchallengebox_single>()) room->TableRules(rules);
        SetCreator(true);
        unloadWidget(this);
    });
}

void frmtradebox::Form_MouseMove() {
    shielded("frmtradebox::Form_MouseMove", [&] { challenge->RolloverRelease(); });
}

void frmtradebox::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QDialog::mouseMoveEvent(e);
}
