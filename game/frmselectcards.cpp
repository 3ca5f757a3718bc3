#include "game/frmselectcards.h"

#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/ModMiscFunctions.h"
#include "game/frmplaying.h"
#include "net/frmCon.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {
constexpr int kPickSeconds = 180;
// Grid column widths in twips: the row marks, then Card, Level, Total, Special.
constexpr int kColumnTwips[5] = {180, 2400, 555, 525, 720};
const QString kText = QStringLiteral("color: #f4e6c4; background: transparent;");

QLabel* caption(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    return GameLabel(parent, name, text, where, kText);
}
}  // namespace

frmselectcards::frmselectcards()
    : picTitle(new QWidget(this)),
      lblTitle(new QLabel(picTitle)),
      cmbDecks(new QComboBox(this)),
      DataGrid(new QTableView(this)),
      gridModel(new RecordSetModel(this)),
      current(new PictureBox(this)),
      cmdPick(new RFButton(this)),
      cmdClear(new RFButton(this)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("frmselectcards"));
    setWindowTitle(QStringLiteral("Select Your Cards"));
    setFixedSize(640, 480);
    setMouseTracking(true);

    picTitle->setObjectName(QStringLiteral("picTitle"));
    picTitle->setGeometry(0, 0, 640, 24);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(8, 0, 624, 24);
    lblTitle->setTextFormat(Qt::PlainText);

    lblDecks = caption(this, "lblDecks", QStringLiteral("Decks:"), QRect(16, 36, 50, 22));
    cmbDecks->setObjectName(QStringLiteral("cmbDecks"));
    cmbDecks->setGeometry(70, 35, 230, 24);
    cmbDecks->setPlaceholderText(QStringLiteral("Choose a deck"));

    DataGrid->setObjectName(QStringLiteral("DataGrid"));
    DataGrid->setGeometry(16, 68, 340, 296);
    DataGrid->setModel(gridModel);
    DataGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid->setSortingEnabled(false);
    DataGrid->horizontalHeader()->setSectionsClickable(true);
    DataGrid->horizontalHeader()->setHighlightSections(false);
    DataGrid->verticalHeader()->setDefaultSectionSize(20);
    // The columns keep their old widths; the grid's small type fits them.
    QFont small = DataGrid->font();
    small.setPointSize(8);
    DataGrid->setFont(small);
    DataGrid->horizontalHeader()->setFont(small);
    DataGrid->verticalHeader()->setFont(small);
    DataGrid->setStyleSheet(QStringLiteral(
        "QTableView { background: rgba(12, 9, 18, 225); color: #f4e6c4; gridline-color: #4a3d2a;"
        " selection-background-color: #7a5c22; selection-color: #fff6dc; border: 1px solid #6b5a3a; }"
        "QHeaderView::section { background: #2a2036; color: #e2bc66; border: 1px solid #4a3d2a; padding: 1px; }"));

    lblCurrent = caption(this, "lblCurrent", QStringLiteral("Selected Card"), QRect(380, 36, 144, 18));
    lblCurrent->setAlignment(Qt::AlignCenter);
    current->setObjectName(QStringLiteral("current"));
    current->setGeometry(380, 56, 144, 180);
    lblTimeLeft = caption(this, "lblTimeLeft", QStringLiteral("Time Left:"), QRect(540, 56, 90, 18));
    timeleft = caption(this, "timeleft", QString(), QRect(540, 76, 90, 36));
    timeleft->setStyleSheet(QStringLiteral("color: #e2bc66; font-weight: bold; font-size: 26px; background: transparent;"));
    cmdPick->setObjectName(QStringLiteral("cmdPick"));
    cmdPick->move(380, 248);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    cmdClear->move(380, 276);
    for (int i = 0; i < clsPickCards::kSlots; ++i) {
        selected[i] = new PictureBox(this);
        selected[i]->setObjectName(QStringLiteral("selected_%1").arg(i));
        selected[i]->setGeometry(16 + i * 82, 378, 72, 90);
    }

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmselectcards::Timer1_Timer);
    connect(cmbDecks, &QComboBox::activated, this, [this](int) { cmbDecks_Click(); });
    connect(DataGrid, &QTableView::clicked, this,
            [this](const QModelIndex& index) { DataGrid_Click(index.row() + 1, index.column() + 1); });
    connect(DataGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { DataGrid_Click(0, section + 1); });
    connect(cmdPick, &RFButton::Click, this, &frmselectcards::cmdPick_Click);
    connect(cmdClear, &RFButton::Click, this, &frmselectcards::cmdClear_Click);
}

void frmselectcards::Form_Load() {
    m_picks.Clear();
    const QPixmap back = CardBack();
    current->Picture(back);
    for (PictureBox* pick : selected) pick->Picture(back);
    SetSkinBackground(this, QStringLiteral("baseform"), QStringLiteral("background"));
    clsBaseForm().TileBar(picTitle, lblTitle, QStringLiteral("Select Cards"));
    cmdPick->ButtonCaption(QStringLiteral("Pick"));
    cmdClear->ButtonCaption(QStringLiteral("Clear"));
}

std::shared_ptr<clsCVRules> frmselectcards::oCV() {
    if (!m_oCV) m_oCV = std::make_shared<clsCVRules>();
    return m_oCV;
}

QString frmselectcards::cell(int gridColumn) const {
    const QModelIndex at = DataGrid->currentIndex();
    if (!at.isValid()) return {};
    return gridModel->data(gridModel->index(at.row(), gridColumn - 1)).toString();
}

QString frmselectcards::SelectedCard() const { return cell(1); }
QString frmselectcards::SelectedTotal() const { return cell(3); }
bool frmselectcards::SelectedSpecial() const { return cell(4) == QLatin1String("Yes"); }

void frmselectcards::DivideDecks() {
    cmbDecks->clear();
    for (const QString& deck : oCV()->decks().split(u' '))
        if (!deck.isEmpty()) cmbDecks->addItem(deck);
    // No deck is chosen until the player chooses one.
    cmbDecks->setCurrentIndex(-1);
}

void frmselectcards::Start_this() {
    guarded(45, [&] {
        m_countdown = kPickSeconds;
        for (PictureBox* pick : selected) pick->setVisible(true);
        cmdPick->setVisible(true);
        timeleft->setText(QString::number(m_countdown));
        Timer1->start();
    });
}

// ---- The owned cards ----------------------------------------------------------------------------

// A failure of the grid work (a failed query, a result without the expected fields) leaves the
// window as it is, usable.
void frmselectcards::cmbDecks_Click() {
    shielded("frmselectcards::cmbDecks_Click", [&] {
        resumeNext([&] {
            const std::shared_ptr<clsCVRules> rules = oCV();
            const int16_t max = rules->MaxLevelValue() == 0 ? int16_t(10) : rules->MaxLevelValue();
            QString command = QStringLiteral("call sps_CVCards('%1', '%2', %3, %4, %5)")
                                  .arg(SqlQuote(Nickname), SqlQuote(cmbDecks->currentText()),
                                       QString::number(rules->MinLevelValue()), QString::number(max),
                                       rules->TradeNone() ? QStringLiteral("1") : QStringLiteral("0"));
            m_rs = RunQuery(command);
            m_sortCol = 0;
            m_sortAsc = false;
            if (m_rs.RecordCount() < 1) {
                gridModel->setRecordSet(::RecordSet());
                cmdPick->Enabled(false);
                return;
            }
            ShowOwnedCards();
            SetGridColumns();
        });
    });
}

void frmselectcards::takeFromTotals(const QString& name) {
    if (name.isEmpty()) return;
    for (m_rs.MoveFirst(); !m_rs.isEOF(); m_rs.MoveNext()) {
        if (m_rs.Fields(QStringLiteral("Card")).toString() != name) continue;
        QVariant& total = m_rs.Fields(QStringLiteral("Total"));
        total = qlonglong(vbVal(total.toString())) - 1;
        return;
    }
}

void frmselectcards::ShowOwnedCards() {
    resumeNext([&] {
        // The cards already picked are not in hand any more.
        for (int i = 0; i < clsPickCards::kSlots; ++i) takeFromTotals(m_picks.Cards(i));
        bindGrid();
    });
}

void frmselectcards::TakeOneFromGrid(const QString& name) {
    resumeNext([&] {
        takeFromTotals(name);
        bindGrid();
    });
}

void frmselectcards::bindGrid() {
    const int row = DataGrid->currentIndex().row();
    gridModel->setRecordSet(m_rs);
    if (row >= 0 && row < gridModel->rowCount()) DataGrid->setCurrentIndex(gridModel->index(row, 0));
    SetGridColumns();
}

void frmselectcards::SetGridColumns() {
    // The row marks keep their old width at least, and grow with the row numbers ("10" and up)
    // rather than cutting them.
    DataGrid->verticalHeader()->setMinimumWidth(twips(kColumnTwips[0]));
    // A header marked for sorting may need more room than the old width gave it.
    const QFontMetrics metrics(DataGrid->horizontalHeader()->font());
    for (int c = 0; c < gridModel->columnCount() && c < 4; ++c) {
        const int header = metrics.horizontalAdvance(gridModel->headerData(c, Qt::Horizontal).toString()) + 10;
        DataGrid->setColumnWidth(c, std::max(twips(kColumnTwips[c + 1]), header));
    }
}

void frmselectcards::DataGrid_Click(int row, int col) {
    shielded("frmselectcards::DataGrid_Click", [&] {
        resumeNext([&] {
            if (row == 0) {
                if (col < 1 || col > gridModel->columnCount()) return;
                if (col == m_sortCol) {
                    m_sortAsc = !m_sortAsc;
                } else {
                    m_sortCol = col;
                    m_sortAsc = true;
                }
                gridModel->sort(col - 1, m_sortAsc ? Qt::AscendingOrder : Qt::DescendingOrder);
                SetGridColumns();
                return;
            }
            const QString card = SelectedCard();
            if (card.isEmpty()) {
                cmdPick->Enabled(false);
                return;
            }
            current->Picture(CardPicture(card, OwnColour()));
            cmdPick->Enabled(vbVal(SelectedTotal()) > 0);
        });
    });
}

// ---- Picking ------------------------------------------------------------------------------------

void frmselectcards::cmdPick_Click() {
    shielded("frmselectcards::cmdPick_Click", [&] {
        const QString card = SelectedCard();
        if (!card.isEmpty()) AddPick(card, SelectedSpecial());
    });
}

void frmselectcards::AddPick(const QString& name, bool special) {
    const auto problem = [](const QString& text) { MsgBox(text, vb::Information, QStringLiteral("Problem")); };
    int copies = 0;
    bool specialPicked = false;
    for (int i = 0; i < clsPickCards::kSlots; ++i) {
        copies += m_picks.Cards(i) == name;
        specialPicked = specialPicked || m_picks.Special(i) != 0;
    }
    const std::shared_ptr<clsCVRules> rules = oCV();
    if (rules->NoDupes() && copies > 0)
        return problem(QStringLiteral("You have already selected this card.  Duplicates are not allowed when the No "
                                      "Dupes rule is on."));
    if (special && !rules->TradeNone())
        return problem(QStringLiteral("You cannot pick special edition or event cards on trade games"));
    if (special && specialPicked) return problem(QStringLiteral("You can only pick 1 special edition or event card per game."));
    if (copies >= 2) return problem(QStringLiteral("You can only pick the same card twice"));
    if (vbVal(SelectedTotal()) <= 0)
        return problem(QStringLiteral("You do not have any of this card to add to your playing hand."));
    for (int i = 0; i < clsPickCards::kSlots; ++i) {
        if (!m_picks.Cards(i).isEmpty()) continue;
        m_picks.Cards(i, name);
        selected[i]->Picture(CardPicture(name, OwnColour()));
        m_picks.Special(i, special ? -1 : 0);
        break;
    }
    if (!m_picks.Cards(clsPickCards::kSlots - 1).isEmpty())
        SendHand();
    else
        TakeOneFromGrid(name);
}

void frmselectcards::cmdClear_Click() {
    shielded("frmselectcards::cmdClear_Click", [&] {
        m_picks.Clear();
        for (PictureBox* pick : selected) pick->Picture(CardBack());
    });
}

void frmselectcards::SendHand() {
    QStringList names;
    for (int i = 0; i < clsPickCards::kSlots; ++i)
        names << QString(m_picks.Cards(i)).replace(u' ', QStringLiteral("%20"));
    QPointer<frmselectcards> self(this);
    SendGameLine(QStringLiteral("CV_MYCARD ") + names.join(u' '));
    if (!self) return;
    frmplaying* board = form<frmplaying>();
    auto& hand = IsCreator() ? board->Player1 : board->Player2;
    for (int i = 0; i < clsPickCards::kSlots; ++i) {
        hand[i]->Picture(selected[i]->Picture());
        hand[i]->Tag = m_picks.Cards(i);
        hand[i]->ToolTipText(m_picks.Cards(i));
    }
    board->show();
    board->setWindowTitle(QStringLiteral("Corvada [") + board->oCV()->Opponent() + u']');
    board->TimerValue(90);
    board->OrderSequence(0);
    board->oCV(oCV());
    board->oCV()->WriteRuleList(board->lstrules);
    unload<frmselectcards>();
}

void frmselectcards::Timer1_Timer() {
    shielded("frmselectcards::Timer1_Timer", [&] {
        if (m_countdown <= 0) {
            Timer1->stop();
            return;
        }
        --m_countdown;
        if (m_countdown >= 1) {
            timeleft->setText(QString::number(m_countdown));
            DoEvents();
            return;
        }
        Timer1->stop();
        SendGameLine(QStringLiteral("CV_TIMEOUT"));
    });
}

void frmselectcards::Form_MouseMove() {
    shielded("frmselectcards::Form_MouseMove", [&] {
        cmdPick->RolloverRelease();
        cmdClear->RolloverRelease();
    });
}

void frmselectcards::mouseMoveEvent(QMouseEvent* e) {
    Form_MouseMove();
    FormWindow<QWidget>::mouseMoveEvent(e);
}
