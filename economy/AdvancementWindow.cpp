#include "economy/AdvancementWindow.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "economy/EconomyCommon.h"
#include "game/ModMiscFunctions.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMouseEvent>

namespace {
constexpr int kWidth = 640;
constexpr int kHeight = 450;
}  // namespace

AdvancementWindow::AdvancementWindow(const Kind& kind)
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      DataGrid(new RecordSetGrid(this, "DataGrid")),
      cmbAASlider(kind.alternate ? new QComboBox(this) : nullptr),
      cmdTrain(new RFButton(this)),
      m_kind(kind) {
    setObjectName(QString::fromLatin1(kind.name));
    setWindowTitle(kind.title);
    setFixedSize(kWidth, kHeight);
    setMouseTracking(true);
    PlaceTitleStrip(picTitle, lblTitle, kWidth);

    Label8 = EconomyCaption(this, "Label8", QStringLiteral("Advancement Abilities"), QRect(16, 34, 300, 20));
    DataGrid->setGeometry(16, 56, 390, 286);
    Label2 = EconomyCaption(this, "Label2", QStringLiteral("Description:"), QRect(16, 350, 200, 20));
    lblDescription = EconomyValue(this, "lblDescription", QRect(16, 372, 608, 64));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label1 = EconomyCaption(this, "Label1", QStringLiteral("Statistics"), QRect(424, 34, 200, 20));
    const auto figure = [this](const char* captionName, const QString& caption, const char* name, int y) {
        EconomyCaption(this, captionName, caption, QRect(424, y, 128, 22))->setStyleSheet(
            QStringLiteral("color: #e2bc66; background: transparent;"));
        return EconomyValue(this, name, QRect(556, y, 72, 22));
    };
    lblAAEXP = figure("lblCaptionEXP", QStringLiteral("EXP to Next Point:"), "lblAAEXP", 60);
    lblAASpend = figure("lblCaptionSpend", QStringLiteral("AA to Spend:"), "lblAASpend", 86);
    lblAATrained = figure("lblCaptionTrained", QStringLiteral("AA Trained:"), "lblAATrained", 112);
    int trainY = 150;
    if (cmbAASlider) {
        EconomyCaption(this, "lblCaptionPct", QStringLiteral("PCT of EXP to AA:"), QRect(424, 140, 128, 22))
            ->setStyleSheet(QStringLiteral("color: #e2bc66; background: transparent;"));
        cmbAASlider->setObjectName(QStringLiteral("cmbAASlider"));
        cmbAASlider->setGeometry(556, 139, 68, 24);
        for (int pct = 0; pct <= 100; pct += 10) cmbAASlider->addItem(QString::number(pct) + u'%');
        cmbAASlider->setCurrentIndex(-1);
        connect(cmbAASlider, &QComboBox::activated, this, [this](int) { cmbAASlider_Click(); });
        trainY = 184;
    }
    cmdTrain->setObjectName(QStringLiteral("cmdTrain"));
    cmdTrain->move(474, trainY);

    connect(DataGrid, &RecordSetGrid::cellClicked, this, &AdvancementWindow::DataGrid_Click);
    connect(cmdTrain, &RFButton::Click, this, &AdvancementWindow::cmdTrain_Click);
}

void AdvancementWindow::Form_Load() {
    cmdTrain->ButtonCaption(QStringLiteral("Train"));
    DressEconomyWindow(this, picTitle, lblTitle, m_kind.title);
    RefreshGrid();
}

void AdvancementWindow::setVisible(bool visible) {
    // A window that closed itself while loading stays closed for a caller that shows it after.
    if (visible && unloading()) return;
    FormWindow<QWidget>::setVisible(visible);
}

QString AdvancementWindow::SelectedKey() const { return SelectedAA().split(u' ').first().toLower(); }

void AdvancementWindow::RefreshGrid() {
    if (unloading()) return;
    try {
        DataGrid->clear();
        DataGrid->repaint();
        const RecordSet abilities = Query(StoredCall(m_kind.abilities, {Nickname}));
        if (abilities.failed()) throw RuntimeError(abilities.error());
        DataGrid->bind(abilities);
        DataGrid->AutoSizeGrid();
        DataGrid->ColWidth(5, 0);
        DataGrid->repaint();
        readStats();
    } catch (const std::exception&) {
        MsgBox(QStringLiteral("Could Not Get Advancement Ability Data"), vb::Critical, QStringLiteral("Error"));
        unloadWidget(this);
    }
}

void AdvancementWindow::readStats() {
    RecordSet stats = Query(StoredCall(m_kind.stats, {Nickname}));
    stats.MoveFirst();
    // Every field is read before anything is shown, so a short record changes nothing.
    const QString exp = stats.Fields(0).toString();
    const QString spend = stats.Fields(QStringLiteral("AAPoints")).toString();
    if (m_kind.alternate) {
        const QString share = vbStr(vbVal(stats.Fields(1).toString())) + u'%';
        const QString trained = stats.Fields(QStringLiteral("AATrained")).toString();
        const bool canTrain = vbVal(stats.Fields(2).toString()) > 0;
        lblAAEXP->setText(exp);
        // A share the list does not hold shows no item rather than a wrong one.
        cmbAASlider->setCurrentIndex(cmbAASlider->findText(share));
        lblAASpend->setText(spend);
        lblAATrained->setText(trained);
        cmdTrain->Enabled(canTrain);
    } else {
        const bool canTrain = vbVal(stats.Fields(1).toString()) > 0;
        lblAAEXP->setText(exp);
        lblAASpend->setText(spend);
        cmdTrain->Enabled(canTrain);
    }
}

void AdvancementWindow::DataGrid_Click(int row, int col) {
    shielded("AdvancementWindow::DataGrid_Click", [&] {
        if (row == 0) {
            DataGrid->sortByHeader(col);
            return;
        }
        DataGrid->Row(row);
        const QString ability = SelectedAA();
        if (ability.isEmpty()) return;
        RecordSet found = Query(StoredCall(m_kind.description, {ability}));
        if (found.RecordCount() == 0) return;
        found.MoveFirst();
        resumeNext([&] { lblDescription->setText(found.Fields(QStringLiteral("description")).toString()); });
    });
}

void AdvancementWindow::cmbAASlider_Click() {
    shielded("AdvancementWindow::cmbAASlider_Click", [&] {
        if (!cmbAASlider || cmbAASlider->currentIndex() < 0) return;
        const QString share = cmbAASlider->currentText().section(u'%', 0, 0);
        SendGameLine(QStringLiteral("ALTERNATESET ") + share);
    });
}

void AdvancementWindow::cmdTrain_Click() {
    shielded("AdvancementWindow::cmdTrain_Click", [&] {
        cmdTrain->Enabled(false);
        const QString key = SelectedKey();
        if (key.isEmpty()) {
            cmdTrain->Enabled(true);
            return;
        }
        // Stays disabled until the server's refresh.
        SendGameLine(m_kind.trainLine + u' ' + key);
    });
}

void AdvancementWindow::Form_MouseMove() { cmdTrain->RolloverRelease(); }

void AdvancementWindow::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
