// Kalendo: the dropped calendar of KalendoCtl: opening and closing, drawing, the mouse, and
// the pop-up that holds the calendar when a layout manages the control.
#include "KalendoCtl.h"

#include "KalendoModule.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

#include <cmath>

namespace {

// Rounding to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// The month names of the title: 9 characters each, trimmed.
const char kMonthNames[] =
    "January  February March    April    May      June     July     August   SeptemberOctober  November December ";
const char kDayNames[] = "SunMonTueWedThuFriSat";

// Whether the layout, or one nested in it, holds the widget.
bool LayoutHolds(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget)
            return true;
        if (item->layout() && LayoutHolds(item->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

using namespace kalendo_internal;

// ---- the pop-up ----------------------------------------------------------------------------------

// A layout gives the control the field's height and no more, so there the calendar opens in a
// frameless pop-up window under the field: the part of the 2500-twip square below the field,
// drawn and clicked in the control's own twips.
class KalendoPopup final : public QWidget
{
public:
    explicit KalendoPopup(KalendoCtl *owner)
        : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
        , m_owner(owner)
    {
        setObjectName(QStringLiteral("calendarPopup"));
        setAttribute(Qt::WA_WindowPropagation); // the control's font and palette
        setFocusPolicy(Qt::NoFocus);
    }
    // How far the pop-up's top lies below the control's top (pixels).
    int Offset() const { return KalendoCtl::px(m_owner->m_borderHeight); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.translate(0, -Offset());
        m_owner->DrawFrame(p);
        m_owner->DrawDays(p);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        const QPointF at = event->position();
        if (!rect().contains(at.toPoint())) {
            // A click outside closes the calendar. Where the platform passes that press on to
            // the widget under it, one on the open button must not open the calendar again.
            const QWidget *open = m_owner->cmdOpen;
            if (open->rect().contains(open->mapFromGlobal(event->globalPosition().toPoint())))
                setAttribute(Qt::WA_NoMouseReplay);
            m_owner->CloseUp();
            return;
        }
        m_owner->PressOnCalendar(event, QPointF(at.x(), at.y() + Offset()));
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            m_owner->CloseUp();
            return;
        }
        Forward(event);
    }
    void keyReleaseEvent(QKeyEvent *event) override { Forward(event); }
    void hideEvent(QHideEvent *event) override
    {
        QWidget::hideEvent(event);
        if (m_owner->m_inPopup) // closed by the platform (the window lost the focus)
            m_owner->CloseUp();
    }

private:
    // A pop-up takes the keyboard; the keys belong to the box that has the focus, as they do
    // while the calendar lies on the form.
    void Forward(QKeyEvent *event)
    {
        QWidget *target = QApplication::focusWidget();
        if (target && target != this)
            QApplication::sendEvent(target, event);
        else
            event->ignore();
    }

    KalendoCtl *m_owner;
};

bool KalendoCtl::ManagedByLayout() const
{
    const QWidget *parent = parentWidget();
    return parent && !isWindow() && parent->layout() && LayoutHolds(parent->layout(), this);
}

void KalendoCtl::PlaceStepButtons(bool onPopup)
{
    // Moved only when the calendar opens, never while it closes: a close can come from a form
    // that is being destroyed.
    if (m_buttonsOnPopup == onPopup)
        return;
    m_buttonsOnPopup = onPopup;
    QWidget *surface = onPopup ? static_cast<QWidget *>(m_popup) : this;
    const int dy = onPopup ? -m_popup->Offset() : m_popup->Offset();
    for (QToolButton *b : {cmdLeftYear, cmdLeftMonth, cmdRightMonth, cmdRightYear}) {
        const QRect at = b->geometry().translated(0, dy);
        b->setParent(surface);
        b->setGeometry(at);
        b->show();
    }
}

void KalendoCtl::OpenPopup()
{
    if (!m_popup)
        m_popup = new KalendoPopup(this);
    const int offset = m_popup->Offset();
    const QSize size(px(kOpenSize), px(kOpenSize) - offset);
    QPoint at = mapToGlobal(QPoint(0, offset));
    if (const QScreen *screen = this->screen()) {
        // Above the field where there is no room below it, and never off the screen's sides.
        const QRect room = screen->availableGeometry();
        const int above = mapToGlobal(QPoint(0, 0)).y() - size.height();
        if (at.y() + size.height() > room.bottom() + 1 && above >= room.top())
            at.setY(above);
        at.setX(qMax(room.left(), qMin(at.x(), room.right() + 1 - size.width())));
    }
    m_popup->setGeometry(QRect(at, size));
    m_popup->setAttribute(Qt::WA_NoMouseReplay, false);
    PlaceStepButtons(true);
    DroppedDown = true;
    m_inPopup = true;
    DrawCalendar();
    m_popup->show();
}

void KalendoCtl::DeletePopup()
{
    // Before the control's own destruction: the pop-up's hide must not reach a control half
    // destroyed.
    m_inPopup = false;
    delete m_popup;
    m_popup = nullptr;
}

void KalendoCtl::CloseUp()
{
    if (!DroppedDown)
        return;
    DroppedDown = false;
    if (m_inPopup) {
        m_inPopup = false;
        m_popup->hide();
    } else {
        ResizeSelf(m_borderWidth, m_borderHeight);
    }
    update();
}

// ---- the calendar ------------------------------------------------------------------------------

void KalendoCtl::cmdOpen_Click()
{
    if (DroppedDown) {
        CloseUp();
        return;
    }
    if (ManagedByLayout()) {
        OpenPopup();
        return;
    }
    if (m_popup)
        PlaceStepButtons(false);
    ResizeSelf(kOpenSize, kOpenSize);
    DroppedDown = true;
    raise(); // the calendar lies over the controls below it
    DrawCalendar();
}

void KalendoCtl::StepShownMonth(int months)
{
    int month = m_shownMonth + months;
    int year = m_shownYear;
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    if (year < 100 || year > 9999) // beyond the range of dates
        return;
    m_shownMonth = month;
    m_shownYear = year;
    DrawCalendar();
}

void KalendoCtl::cmdLeftMonth_Click()
{
    StepShownMonth(-1);
}

void KalendoCtl::cmdRightMonth_Click()
{
    StepShownMonth(1);
}

void KalendoCtl::cmdLeftYear_Click()
{
    if (m_shownYear - 1 < 100)
        return;
    --m_shownYear;
    DrawCalendar();
}

void KalendoCtl::cmdRightYear_Click()
{
    if (m_shownYear + 1 > 9999)
        return;
    ++m_shownYear;
    DrawCalendar();
}

void KalendoCtl::DrawCalendar()
{
    BuildMonthGrid();
    m_markerApplies = LeadingNumber(YearBox()->text()) == m_shownYear
        && LeadingNumber(MonthBox()->text()) == m_shownMonth;
    m_today = QDate::currentDate();
    update();
    if (m_inPopup)
        m_popup->update();
}

void KalendoCtl::BuildMonthGrid()
{
    for (int row = 1; row <= 6; ++row)
        for (int column = 1; column <= 7; ++column)
            m_dayGrid[size_t(row)][size_t(column)] = -1;
    QDate d = QDate(2000, 1, 1).addYears(m_shownYear - 2000).addMonths(m_shownMonth - 1);
    if (!d.isValid())
        return;
    int row = 1;
    do {
        const int w = d.dayOfWeek() % 7 + 1; // Sunday = 1 ... Saturday = 7
        if (w == 1)
            ++row;
        if (row <= 6)
            m_dayGrid[size_t(row)][size_t(w)] = d.day();
        d = d.addDays(1);
    } while (d.month() == m_shownMonth);
}

void KalendoCtl::paintEvent(QPaintEvent *)
{
    if (!DroppedDown || m_inPopup)
        return;
    QPainter p(this);
    DrawFrame(p);
    DrawDays(p);
}

void KalendoCtl::DrawFrame(QPainter &p) const
{
    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor ink = Qt::black;
    auto filledBox = [&](int x1, int y1, int x2, int y2, const QColor &colour) {
        p.fillRect(QRect(QPoint(px(x1), px(y1)), QPoint(px(x2), px(y2))), colour);
    };
    auto line = [&](int x1, int y1, int x2, int y2) { p.drawLine(px(x1), px(y1), px(x2), px(y2)); };

    // 1-3: the title band, the day grid and the footer band.
    filledBox(0, m_borderHeight, 2470, kGridTop, buttonFace);
    filledBox(0, kGridTop, kOpenSize, kOpenSize, Qt::white);
    filledBox(0, kFooterTop, 2470, kOpenSize, buttonFace);

    // 4: the outline, its shadow and the two rules.
    p.setPen(QPen(ink, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(px(0), px(m_borderHeight), px(2470) - px(0), px(2470) - px(m_borderHeight));
    line(15, 2485, 2485, 2485);
    line(2485, m_borderHeight + 15, 2485, 2485);
    line(0, kGridTop, 2485, kGridTop);
    line(0, kFooterTop, 2485, kFooterTop);

    QFont textFont = font();
    textFont.setPixelSize(11);
    auto print = [&](double xTwips, double yTwips, const QString &text) {
        const QFontMetricsF fm(p.font());
        p.drawText(QPointF(xTwips / TwipsPerPixel, yTwips / TwipsPerPixel + fm.ascent()), text);
    };
    auto widthOf = [&](const QString &text) { return QFontMetricsF(p.font()).horizontalAdvance(text) * TwipsPerPixel; };
    auto heightOf = [&](const QString &text) {
        Q_UNUSED(text);
        return QFontMetricsF(p.font()).height() * TwipsPerPixel;
    };

    // 5: the title.
    QFont bold = textFont;
    bold.setBold(true);
    p.setFont(bold);
    const int month = qBound(1, m_shownMonth, 12);
    const QString title = QString::fromLatin1(kMonthNames + (month - 1) * 9, 9).trimmed() + u' '
        + QString::number(m_shownYear);
    print((kOpenSize - widthOf(title)) / 2, 350, title);
    p.setFont(textFont);

    // 6: the weekday names.
    for (int i = 1; i <= 7; ++i) {
        const QString name = QString::fromLatin1(kDayNames + i * 3 - 3, 3);
        print((i - 1) * kColumnWidth + 25 + (kColumnWidth - widthOf(name)) / 2, 600, name);
    }

    // 7: today at the bottom.
    const QString today = QLocale().toString(m_today, QStringLiteral("d MMMM yyyy"));
    print((kOpenSize - widthOf(today)) / 2, kFooterTop + (240 - heightOf(QStringLiteral("1"))) / 2, today);
}

void KalendoCtl::DrawDays(QPainter &p) const
{
    QFont textFont = font();
    textFont.setPixelSize(11);
    p.setFont(textFont);
    const QFontMetricsF fm(textFont);
    const double textHeight = fm.height() * TwipsPerPixel;
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int row = 1; row <= 6; ++row) {
        const double y0 = (row - 1) * kRowHeight + kGridTop;
        const double textY = y0 + (kRowHeight - textHeight) / 2;
        for (int column = 1; column <= 7; ++column) {
            const int day = m_dayGrid[size_t(row)][size_t(column)];
            if (day == -1)
                continue;
            if (m_markerApplies && day == m_shownDay) {
                p.setPen(Qt::NoPen);
                p.setBrush(m_fillColor);
                p.drawEllipse(QPointF(((column - 1) * kColumnWidth + 200) / double(TwipsPerPixel),
                                      (y0 + 120) / TwipsPerPixel),
                              120.0 / TwipsPerPixel, 120.0 / TwipsPerPixel);
                p.setBrush(Qt::NoBrush);
            }
            const QString number = QString::number(day);
            const double width = fm.horizontalAdvance(number) * TwipsPerPixel;
            const double x = (column - 1) * kColumnWidth + 25 + (kColumnWidth - width) / 2;
            p.setPen(Qt::black);
            p.drawText(QPointF(x / TwipsPerPixel, textY / TwipsPerPixel + fm.ascent()), number);
        }
    }
}

// ---- mouse -------------------------------------------------------------------------------------

void KalendoCtl::mousePressEvent(QMouseEvent *event)
{
    PressOnCalendar(event, event->position());
}

void KalendoCtl::PressOnCalendar(QMouseEvent *event, QPointF at)
{
    // A click on the calendar gives the control the focus (its first box), so that the
    // picked date is taken when the focus leaves the control.
    if (!m_focusInside && Enabled())
        setFocus(Qt::MouseFocusReason);
    UserControl_MouseDown(int(event->button()), int(event->modifiers()), twips(at.x()), twips(at.y()));
    event->accept();
}

void KalendoCtl::UserControl_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    if (y >= kGridTop && y <= kFooterTop) {
        const double column = RoundHalfEven((x - 25 + 175) / kColumnWidth);
        const double row = RoundHalfEven((y - kGridTop + 120) / kRowHeight);
        if (row >= 1 && row <= 6 && column >= 1 && column <= 7) {
            const int day = m_dayGrid[size_t(row)][size_t(column)];
            if (day != -1) {
                DayBox()->setText(Format0(day, 2));
                ShowDate(day, m_shownMonth, m_shownYear);
                CloseUp();
            }
        }
    }
    if (y >= kFooterTop) {
        const QDate today = QDate::currentDate();
        ShowDate(today.day(), today.month(), today.year());
        CloseUp();
    }
}

