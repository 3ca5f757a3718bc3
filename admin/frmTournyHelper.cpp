#include "admin/frmTournyHelper.h"
#include "admin/TournyShared.h"

#include "admin/AdminLook.h"
#include "admin/frmadmin.h"
#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/clsClientConfig.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "net/LineFields.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>


namespace {
const QString kSingle = QStringLiteral("Single Elimination");
const QString kCaption = QStringLiteral("Tournament Helper");


QLabel* caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QListWidget* list(const char* name, QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QComboBox* dropDown(const char* name, const QStringList& items, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    // Nothing chosen until the operator picks: an untouched list fails the filled-out check.
    c->setCurrentIndex(-1);
    return c;
}

}  // namespace

frmTournyHelper::frmTournyHelper() : picTitle(new QWidget(this)), lblTitle(new QLabel(picTitle)), tmrTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("frmTournyHelper"));
    setWindowTitle(kCaption);
    picTitle->setObjectName(QStringLiteral("picTitle"));
    picTitle->setFixedHeight(24);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setTextFormat(Qt::PlainText);
    auto* strip = new QHBoxLayout(picTitle);
    strip->setContentsMargins(8, 0, 8, 0);
    strip->addWidget(lblTitle);

    txtTitle = new QLineEdit(this);
    txtTitle->setObjectName(QStringLiteral("txtTitle"));
    cmbType = dropDown("cmbType", {kSingle, QStringLiteral("Double Elimination"), QStringLiteral("RPG")}, this);
    txtRules = new QLineEdit(this);
    txtRules->setObjectName(QStringLiteral("txtRules"));
    cmbGame = dropDown("cmbGame",
                       {QStringLiteral("Corvada"), QStringLiteral("Omni Corvada"), QStringLiteral("Chinchirorin"), QStringLiteral("Orbolt"),
                        QStringLiteral("Corvada Memory"), QStringLiteral("Corvada War")},
                       this);
    QStringList fees;
    for (int f : {0, 5, 10, 25, 50, 100, 200, 250, 300, 350, 400, 500, 750, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500, 4000, 4500,
                  5000, 6000, 7000, 8000, 9000, 10000})
        fees << QString::number(f);
    cmbFee = dropDown("cmbFee", fees, this);
    QStringList minutes;
    for (int m = 5; m <= 20; ++m) minutes << QString::number(m);
    minutes << QStringLiteral("25") << QStringLiteral("30");
    cmbTimer = dropDown("cmbTimer", minutes, this);
    txtPrize = new QLineEdit(this);
    txtPrize->setObjectName(QStringLiteral("txtPrize"));
    txtPrize->setEnabled(false);
    chkOther = new QCheckBox(QStringLiteral("Other"), this);
    chkOther->setObjectName(QStringLiteral("chkOther"));
    chkPot = new QCheckBox(QStringLiteral("Pot Tournament"), this);
    chkPot->setObjectName(QStringLiteral("chkPot"));
    chkAcceptPM = new QCheckBox(QStringLiteral("Accept Registrations by Private Message"), this);
    chkAcceptPM->setObjectName(QStringLiteral("chkAcceptPM"));
    lstRegistrations = list("lstRegistrations", this);
    lstwinner = list("lstwinner", this);
    lstloser = list("lstloser", this);
    lstmatches = list("lstmatches", this);
    lstshuffle = list("lstshuffle", this);
    lstshuffle->setVisible(false);
    lstRank = list("lstRank", this);
    lstRank->setVisible(false);
    txtDebug = new QPlainTextEdit(this);
    txtDebug->setObjectName(QStringLiteral("txtDebug"));
    txtDebug->setReadOnly(true);
    cmdBegin = new QPushButton(QStringLiteral("Start Tournament (Broadcasts)"), this);
    cmdBegin->setObjectName(QStringLiteral("cmdBegin"));
    cmdRemove = new QPushButton(QStringLiteral("Remove Player"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    tmrTimer->setObjectName(QStringLiteral("tmrTimer"));
    tmrTimer->setInterval(60000);

    // The title strip over a panel of controls in the operators' colours, on the skin's background.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(picTitle);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("tournyPanel"));
    panel->setStyleSheet(AdminStyleSheet());
    outer->addWidget(panel, 1);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 8, 10, 10);
    auto* setup = new QGroupBox(QStringLiteral("Tournament"), panel);
    auto* form = new QGridLayout(setup);
    form->addWidget(caption(QStringLiteral("Tournament Title:"), setup), 0, 0);
    form->addWidget(txtTitle, 0, 1, 1, 3);
    form->addWidget(caption(QStringLiteral("Tournament Type:"), setup), 1, 0);
    form->addWidget(cmbType, 1, 1);
    form->addWidget(caption(QStringLiteral("Game:"), setup), 1, 2);
    form->addWidget(cmbGame, 1, 3);
    form->addWidget(caption(QStringLiteral("Tournament Rules:"), setup), 2, 0);
    form->addWidget(txtRules, 2, 1, 1, 3);
    form->addWidget(caption(QStringLiteral("Fee:"), setup), 3, 0);
    auto* feeRow = new QHBoxLayout;
    feeRow->addWidget(cmbFee);
    feeRow->addWidget(caption(QStringLiteral("Gold"), setup));
    form->addLayout(feeRow, 3, 1);
    form->addWidget(caption(QStringLiteral("Time to Start (Minutes):"), setup), 3, 2);
    form->addWidget(cmbTimer, 3, 3);
    form->addWidget(caption(QStringLiteral("Prize:"), setup), 4, 0);
    form->addWidget(txtPrize, 4, 1);
    form->addWidget(chkOther, 4, 2);
    form->addWidget(chkPot, 4, 3);
    form->addWidget(chkAcceptPM, 5, 0, 1, 4);
    grid->addWidget(setup, 0, 0, 1, 4);
    const std::pair<const char*, QListWidget*> lists[] = {
        {"Registrations:", lstRegistrations}, {"Winner Bracket", lstwinner}, {"Loser Bracket", lstloser}, {"Matches", lstmatches}};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(caption(QString::fromLatin1(lists[i].first), panel), 1, i);
        grid->addWidget(lists[i].second, 2, i);
    }
    grid->addWidget(cmdRemove, 3, 0);
    grid->addWidget(cmdBegin, 3, 2, 1, 2);
    auto* note = caption(QStringLiteral("** To manually add a player, check the accept registrations check box and right click their name."), panel);
    note->setWordWrap(true);
    grid->addWidget(note, 4, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("Tournament Log"), panel), 5, 0);
    grid->addWidget(txtDebug, 6, 0, 1, 4);

    connect(chkAcceptPM, &QCheckBox::clicked, this, &frmTournyHelper::chkAcceptPM_Click);
    connect(chkOther, &QCheckBox::clicked, this, &frmTournyHelper::chkOther_Click);
    connect(cmdBegin, &QPushButton::clicked, this, &frmTournyHelper::cmdBegin_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmTournyHelper::cmdRemove_Click);
    connect(tmrTimer, &QTimer::timeout, this, &frmTournyHelper::tmrTimer_Timer);
}

void frmTournyHelper::Form_Load() {
    tmrTimer->stop();
    resumeNext([&] { DressAdminWindow(this, picTitle, lblTitle, kCaption); });
}

// Only this window sets the flags; a closed window takes no more registrations, so the next one
// starts from a clean state.
void frmTournyHelper::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    tmrTimer->stop();
    TourneyAnnounced = false;
    TourneyAcceptPM = false;
}

void frmTournyHelper::chkAcceptPM_Click() { TourneyAcceptPM = chkAcceptPM->isChecked(); }
void frmTournyHelper::chkOther_Click() { txtPrize->setEnabled(chkOther->isChecked()); }

// ---- Helpers ------------------------------------------------------------------------------------

void frmTournyHelper::pm(const QString& name, const QString& text) {
    lines::send(QStringLiteral("PM ") + name + u' ' + QString(text).replace(u' ', QStringLiteral("%20")));
}

QString frmTournyHelper::entering() const {
    return chkAcceptPM->isChecked() ? QStringLiteral("PM me to get entered") : QStringLiteral("Wait for instructions on entering the tournament.");
}

int64_t frmTournyHelper::fee() const { return int64_t(vbVal(cmbFee->currentText())); }

void frmTournyHelper::AddLog(const QString& text) {
    txtDebug->moveCursor(QTextCursor::End);
    txtDebug->insertPlainText(text + u'\n');
}

void frmTournyHelper::ResetCounters() {
    RoundNumber = 0;
    GamesPlayed = 0;
    TournamentID = 0;
    PotAmount = 0;
}

void frmTournyHelper::closeRegistration() { TourneyAnnounced = false; }

// ---- Start and registration ---------------------------------------------------------------------

void frmTournyHelper::cmdBegin_Click() {
    shielded("frmTournyHelper::cmdBegin_Click", [&] {
        MinutesLeft = vbCInt(vbVal(cmbTimer->currentText()));
        frmadmin* admin = ifLoaded<frmadmin>();
        if (!admin || !admin->isVisible()) return;
        if (txtTitle->text().isEmpty() || txtRules->text().isEmpty() || cmbFee->currentText().isEmpty() || cmbGame->currentText().isEmpty() ||
            cmbType->currentText().isEmpty() || cmbTimer->currentText().isEmpty() || (chkOther->isChecked() && txtPrize->text().isEmpty())) {
            MsgBox(QStringLiteral("All fields must be filled out."), 0, QStringLiteral("Error"));
            return;
        }
        if (fee() > 0)
            MsgBox(QStringLiteral("Warning! Because the fee is not zero, fees will be taken from the player when they register.  They are not "
                                  "refundable.  Also, your screen might freeze while the action of taking the gold from player takes place."),
                   vb::OKOnly, QStringLiteral("Please Note!"));
        txtDebug->clear();
        for (QListWidget* l : {lstRegistrations, lstwinner, lstmatches, lstloser, lstshuffle, lstRank}) l->clear();
        ResetCounters();
        TourneyRunning = false;
        MinutesLeft = vbCInt(vbVal(cmbTimer->currentText()));
        tmrTimer->start();
        lines::send(QStringLiteral("CHAT ") + txtTitle->text() + QStringLiteral(" is about to start in ") + QString::number(MinutesLeft) +
                    QStringLiteral(" minutes! Game: ") + cmbGame->currentText() + QStringLiteral(" - Rules: ") + txtRules->text() +
                    QStringLiteral(" - Tournament Type: ") + cmbType->currentText());
        lines::send(QStringLiteral("CHAT Prize: ") + txtPrize->text() + QStringLiteral(" - Fee: ") + cmbFee->currentText() +
                    QStringLiteral(" - ") + entering());
        TourneyAnnounced = true;
    });
}

void frmTournyHelper::RegisterPlayer(const QString& name, bool bFee) {
    shielded("frmTournyHelper::RegisterPlayer", [&] {
        if (tourny::entries(lstRegistrations).contains(name)) {
            pm(name, QStringLiteral("You are already in the tournament and cannot be added again."));
            return;
        }
        double status = 1;
        if (bFee) {
            try {
                QString call = QStringLiteral("call spt_ActiveTournamentFee(") + tourny::quoted(ClientConfig().PassKey()) + QStringLiteral(", ") +
                               tourny::quoted(name) + QStringLiteral(", ") + QString::number(fee()) + u')';
                RecordSet rs = RunQuery(call);
                status = vbVal(rs.Fields(QStringLiteral("Status")).toString());
            } catch (const std::exception&) {
                pm(name, QStringLiteral("You could not be added to the tournament.  An error occurred.  Let the tournament coordinator know."));
                return;
            }
        }
        if (status == 1) {
            lstRegistrations->addItem(name);
            pm(name, QStringLiteral("You have been added to the tournament."));
        } else {
            pm(name, QStringLiteral("You could not be added to the tournament.  Do you have enough gold or are you in a table/game?"));
        }
    });
}

void frmTournyHelper::tmrTimer_Timer() {
    shielded("frmTournyHelper::tmrTimer_Timer", [&] {
        MinutesLeft = int16_t(MinutesLeft - 1);
        const QString title = txtTitle->text(), rules = txtRules->text(), type = cmbType->currentText();
        if (MinutesLeft > 0 && MinutesLeft % 5 == 0) {
            lines::send(QStringLiteral("CHAT The ") + title + QStringLiteral(" is about to start in ") + QString::number(MinutesLeft) +
                        QStringLiteral(" minutes! Rules: ") + rules + QStringLiteral(" - Tournament Type: ") + type);
            lines::send(QStringLiteral("CHAT Prize: ") + txtPrize->text() + QStringLiteral(" - Fee: ") + cmbFee->currentText() +
                        QStringLiteral(" GP - ") + entering());
        } else if (MinutesLeft > 0 && MinutesLeft % 2 == 0) {
            lines::send(QStringLiteral("CHAT ") + QString::number(MinutesLeft) + QStringLiteral(" minutes left on registration for ") + title +
                        QStringLiteral("! ") + QString::number(lstRegistrations->count()) + QStringLiteral(" entries thus far! Rules: ") +
                        rules + QStringLiteral(" - Game: ") + cmbGame->currentText() + QStringLiteral(" - Tournament Type: ") + type +
                        u' ' + entering());
        }
        if (MinutesLeft <= 0) {
            tmrTimer->stop();
            TourneyRunning = true;
            if (lstRegistrations->count() < 2) {
                lines::send(QStringLiteral("CHAT Not enough participants, ") + title +
                            QStringLiteral(" was ended. Maybe next time.... or the pomplings will smite you all!"));
                TourneyRunning = false;
                closeRegistration();
                return;
            }
            lines::send(QStringLiteral("CHAT The ") + title + QStringLiteral(" commences!"));
            AnnouncePrize();
            lstwinner->addItems(tourny::entries(lstRegistrations));
            nextround();
            return;
        }
        tmrTimer->start();
        AddLog(QString::number(MinutesLeft) + QStringLiteral(" minutes left on registration."));
    });
}

void frmTournyHelper::AnnouncePrize() {
    // Nine tenths, rounded down, in whole numbers so that no rounding of 0.9 creeps in.
    PotAmount = int64_t(lstRegistrations->count()) * fee() * 9 / 10;
    if (chkPot->isChecked()) lines::send(QStringLiteral("CHAT The Prize is: ") + QString::number(PotAmount));
    else PotAmount = 0;
}
