#include "game/frmTableInfo.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "platform/VbCompat.h"

#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>

namespace {
constexpr int kWidth = 420, kHeight = 470;
constexpr long kWhite = 0xFFFFFF;
constexpr long kYellow = 0x00FFFF;

// Rules that show one fixed line when their item is "1", in the order the page lists them;
// the lines with a value or a condition of their own are written around them.
struct FlagLine {
    int item;
    const char* text;
};
constexpr FlagLine kCaptureRules[] = {{17, "Combo"}, {22, "Cross"}, {19, "Elemental"}, {27, "Immunity"}};
constexpr FlagLine kMiddleRules[] = {{24, "Minus"}, {18, "Mirror"}, {20, "Neutral"}, {7, "No Corner Cards"},
                                     {21, "Order"}, {9, "Plus"},    {23, "Reverse"}, {8, "Same"}};
constexpr FlagLine kLateRules[] = {{34, "Skip Rule"},         {33, "Sudden Death"},     {10, "Rank Freeze"},
                                   {15, "Wall Rule"},         {36, "Multiply"},         {2, "Trade: None"},
                                   {3, "Trade: All"},         {4, "Trade: Difference"}, {16, "Trade: Direct"},
                                   {35, "Trade: Capture"},    {28, "Trade: Two"},       {29, "Trade: Three"},
                                   {30, "Trade: Four"},       {37, "Trade: Random One"}};
// With none of these set, one card changes hands.
constexpr int kTradeItems[] = {2, 3, 4, 16, 35, 28, 29, 30, 37, 38};
}  // namespace

frmTableInfo::frmTableInfo() : Picture1(new QLabel(this)), lblTitle(new QLabel(Picture1)), chatin(new QTextEdit(this)) {
    setObjectName(QStringLiteral("frmTableInfo"));
    setWindowTitle(QStringLiteral("Table Information"));
    setFixedSize(kWidth, kHeight);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, kWidth, 30);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setGeometry(10, 0, kWidth - 20, 30);
    lblTitle->setStyleSheet(QStringLiteral("color: #f0d98c; font-weight: bold; background: transparent;"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setGeometry(10, 36, kWidth - 20, kHeight - 46);
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    chatin->setStyleSheet(QStringLiteral("QTextEdit#chatin { background: black; border: 1px solid #8a6d3b; }"));
}

void frmTableInfo::Form_Load() {
    resumeNext([&] { SetSkinBackground(this, QStringLiteral("main"), QStringLiteral("blackbar")); });
}

void frmTableInfo::append(const QString& text, long color, bool header) {
    QTextCharFormat format;
    const QString family = GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface"));
    const double size = vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize")));
    if (!family.isEmpty()) format.setFontFamilies({family});
    if (size > 0) format.setFontPointSize(size);
    format.setForeground(vbColor(color));
    format.setFontWeight(header ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(header);
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text + u'\n', format);
}

void frmTableInfo::AddHeader(const QString& text, long color) { append(text, color, true); }

void frmTableInfo::AddLine(const QString& text, long color) { append(text, color, false); }

void frmTableInfo::AddBreak() {
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n"));
}

void frmTableInfo::AddBlockTxt(const QString& label, const QString& text) { AppendBlockTxt(chatin, label, text); }

void frmTableInfo::writerules(int16_t tableNo) {
    const clsTables* slot = TableSlot(tableNo);
    chatin->clear();
    if (!slot) {
        lblTitle->clear();
        return;
    }
    const QStringList items = slot->Rules.split(u' ');
    const auto item = [&items](int k) { return k < items.size() ? items[k] : QString(); };
    lblTitle->setText(QStringLiteral("You are Viewing Rules for Table: ") + QString::number(slot->tableid));

    const QString game = item(0);
    const auto header = [&](const QString& name) {
        AddHeader(name, kWhite);
        AddBreak();
    };
    if (game == QLatin1String("CARDWARS")) {
        header(QStringLiteral("Corvada War"));
    } else if (game == QLatin1String("MEMORY")) {
        header(QStringLiteral("Corvada Memory"));
    } else if (game == QLatin1String("CHINCHIN")) {
        header(QStringLiteral("Chinchirorin"));
    } else if (game == QLatin1String("ORBOLT")) {
        header(QStringLiteral("Orbolt"));
        AddLine(QStringLiteral("Time Limit: ") + item(1), kWhite);
        AddLine(QStringLiteral("Surgestrike: ") + item(2), kWhite);
        AddLine(QStringLiteral("Max Turns: ") + item(3), kWhite);
    } else if (game == QLatin1String("OMNICV_PLAYER") || game == QLatin1String("OMNICV_RANDOM")) {
        header(QStringLiteral("Omni Corvada"));
        AddLine(game == QLatin1String("OMNICV_PLAYER") ? QStringLiteral("Player Deck: 15 Cards Minimum") : QStringLiteral("Random Deck"),
                kWhite);
        // The omni rule text carries the block count as its second item.
        AddLine(vbStr(vbVal(item(1))) + QStringLiteral(" Random Blocks"), kWhite);
    } else {
        writeStandardRules(items);
        AddBreak();
        AddHeader(QStringLiteral("Included Decks"), kWhite);
        AddBreak();
        if (game != QLatin1String("Trade")) {
            const QStringList decks = slot->decks.trimmed().split(u' ', Qt::SkipEmptyParts);
            if (decks.isEmpty()) AddLine(QStringLiteral("Standard"), kWhite);
            for (const QString& deck : decks) AddLine(deck, kWhite);
        }
    }
    AddLine(QStringLiteral("Gold Wager: ") + vbStr(slot->GoldWager), kYellow);

    QTextCursor top(chatin->document());
    top.movePosition(QTextCursor::Start);
    chatin->setTextCursor(top);
    chatin->verticalScrollBar()->setValue(0);
}

// The standard game's rule vector, item k being field k + 1 of the rule line the client sends.
void frmTableInfo::writeStandardRules(const QStringList& items) {
    const auto item = [&items](int k) { return k < items.size() ? items[k] : QString(); };
    const auto set = [&](int k) { return item(k) == QLatin1String("1"); };
    const auto flags = [&](const auto& rules) {
        for (const FlagLine& r : rules)
            if (set(r.item)) AddLine(QString::fromLatin1(r.text), kWhite);
    };
    AddHeader(QStringLiteral("Corvada"), kWhite);
    AddBreak();
    AddLine(set(0) ? QStringLiteral("Card Style: Open") : QStringLiteral("Card Style: Closed"), kWhite);
    if (item(1).toLower() == QLatin1String("1")) AddLine(QStringLiteral("Random Choice"), kWhite);
    flags(kCaptureRules);
    if (set(5)) AddLine(QStringLiteral("Max Rule Enforced: ") + item(6), kWhite);
    if (set(11)) AddLine(QStringLiteral("Minimum Rule Enforced: ") + item(12), kWhite);
    flags(kMiddleRules);
    if (set(25)) AddLine(QStringLiteral("Set Wall: ") + item(26), kWhite);
    // Item 31 says a starter is fixed, item 32 which side starts (1 blue, 2 red).
    if (set(31) && item(32) == QLatin1String("1")) AddLine(QStringLiteral("Starter: Blue"), kWhite);
    if (set(31) && item(32) == QLatin1String("2")) AddLine(QStringLiteral("Starter: Red"), kWhite);
    flags(kLateRules);
    if (set(38)) {
        AddLine(QStringLiteral("Full Deck"), kWhite);
        AddLine(QStringLiteral("Trade: None"), kWhite);
    }
    if (std::all_of(std::begin(kTradeItems), std::end(kTradeItems), [&](int k) { return item(k) == QLatin1String("0"); }))
        AddLine(QStringLiteral("Trade: One"), kWhite);
}
