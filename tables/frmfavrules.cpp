#include "tables/frmfavrules.h"

#include "app/ErrorHandler.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "game/ModMiscFunctions.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "tables/ChallengeRoom.h"

#include <QDir>

namespace {
constexpr int kWidth = 488, kHeight = 300;
const QString kSection = QStringLiteral("Rules");

// Inserts the text where a list sorted without regard to case keeps it.
void insertSorted(QListWidget* list, const QString& text) {
    int row = 0;
    while (row < list->count() && QString::compare(list->item(row)->text(), text, Qt::CaseInsensitive) <= 0) ++row;
    list->insertItem(row, text);
}

QListWidget* keyList(QWidget* parent, const char* name, const QRect& where) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(where);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setStyleSheet(RoomScrollStyle("QListWidget"));
    return list;
}
}  // namespace

QString FavoriteRulesFile() { return clientPath(QStringLiteral("config/favrules.ini")); }

const QStringList& frmfavrules::RuleKeys() {
    static const QStringList keys = {
        QStringLiteral("random"),       QStringLiteral("open"),     QStringLiteral("no dupes"), QStringLiteral("skip"),
        QStringLiteral("Rank Freeze"),  QStringLiteral("same"),     QStringLiteral("wall"),     QStringLiteral("mirror"),
        QStringLiteral("max lvl"),      QStringLiteral("min lvl"),  QStringLiteral("elemental"), QStringLiteral("combo"),
        QStringLiteral("plus"),         QStringLiteral("cross"),    QStringLiteral("order"),    QStringLiteral("neutral"),
        QStringLiteral("wager"),        QStringLiteral("reverse"),  QStringLiteral("minus"),    QStringLiteral("set wall"),
        QStringLiteral("sudden death"), QStringLiteral("immune"),   QStringLiteral("starter"),  QStringLiteral("multiply"),
    };
    return keys;
}

frmfavrules::frmfavrules()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      lsttaken(keyList(this, "lsttaken", QRect(12, 52, 170, 200))),
      lstrules(keyList(this, "lstrules", QRect(306, 52, 170, 200))),
      cmdAdd(new RFButton(this)),
      cmdRemove(new RFButton(this)),
      cmdSave(new RFButton(this)) {
    DressWindow(this, "frmfavrules", QStringLiteral("Configure Favorite Rules"), {kWidth, kHeight}, picTitle, lblTitle);
    GameLabel(this, "Label1", QStringLiteral("Rules Selected:"), QRect(12, 32, 170, 18), RoomTextStyle(true));
    GameLabel(this, "Label2", QStringLiteral("Rules Available:"), QRect(306, 32, 170, 18), RoomTextStyle(true));
    lstrules->setToolTip(QStringLiteral("Trade rules must be picked at the time of challenge").toHtmlEscaped());
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->move(194, 110);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->move(194, 150);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->move((kWidth - RFButton::kWidthTwips / kTwipsPerPixel) / 2, 266);
    connect(cmdAdd, &RFButton::Click, this, &frmfavrules::cmdAdd_Click);
    connect(cmdRemove, &RFButton::Click, this, &frmfavrules::cmdRemove_Click);
    connect(cmdSave, &RFButton::Click, this, &frmfavrules::cmdSave_Click);
}

void frmfavrules::Form_Load() {
    shielded("frmfavrules::Form_Load", [&] {
        PlaceWindow(this);
        SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
        clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Favorite Rules"));
        cmdAdd->ButtonCaption(QStringLiteral("Add"));
        cmdRemove->ButtonCaption(QStringLiteral("Remove"));
        cmdSave->ButtonCaption(QStringLiteral("Save"));
    });
}

void frmfavrules::loadsavedrules() {
    // The lobby asks again each time its menu item is chosen: each rule must stand in one list only.
    lsttaken->clear();
    lstrules->clear();
    const QString file = FavoriteRulesFile();
    for (const QString& key : RuleKeys()) {
        if (ReadIni(kSection, key, file) == QLatin1String("1"))
            AddChosenRule(key);
        else
            AddAvailableRule(key);
    }
}

void frmfavrules::AddChosenRule(const QString& key) { insertSorted(lsttaken, key); }
void frmfavrules::AddAvailableRule(const QString& key) { insertSorted(lstrules, key); }

void frmfavrules::moveSelected(QListWidget* from, QListWidget* to) {
    PlaySound(3);
    QListWidgetItem* chosen = from->currentItem();
    if (!chosen || !chosen->isSelected() || chosen->text().isEmpty()) return;
    const QString key = chosen->text();
    insertSorted(to, key);
    const QList<QListWidgetItem*> same = from->findItems(key, Qt::MatchExactly);
    if (!same.isEmpty()) delete from->takeItem(from->row(same.first()));
}

void frmfavrules::cmdAdd_Click() {
    shielded("frmfavrules::cmdAdd_Click", [&] { moveSelected(lstrules, lsttaken); });
}

void frmfavrules::cmdRemove_Click() {
    shielded("frmfavrules::cmdRemove_Click", [&] { moveSelected(lsttaken, lstrules); });
}

void frmfavrules::cmdSave_Click() {
    shielded("frmfavrules::cmdSave_Click", [&] {
        PlaySound(3);
        const QString file = FavoriteRulesFile();
        EnsureFolder(QStringLiteral("config"));
        bool written = true;
        for (int i = 0; i < lsttaken->count(); ++i) written = WriteIni(kSection, lsttaken->item(i)->text(), QStringLiteral("1"), file) && written;
        for (int i = 0; i < lstrules->count(); ++i) written = WriteIni(kSection, lstrules->item(i)->text(), QStringLiteral("0"), file) && written;
        if (written)
            MsgBox(QStringLiteral("Rules Saved"), vb::Information, QStringLiteral("Saved"));
        else
            MsgBox(QStringLiteral("The favorite rules could not be saved: the file ") + QDir::toNativeSeparators(file) +
                       QStringLiteral(" cannot be written."),
                   vb::Exclamation, QStringLiteral("Error"));
    });
}

void frmfavrules::Form_MouseMove() {
    shielded("frmfavrules::Form_MouseMove", [&] {
        for (RFButton* button : {cmdAdd, cmdRemove, cmdSave}) button->RolloverRelease();
    });
}

void frmfavrules::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    QWidget::mouseMoveEvent(e);
}
