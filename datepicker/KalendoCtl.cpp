// Kalendo: KalendoCtl.
#include "KalendoCtl.h"

#include "KalendoModule.h"

#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QStringList>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <cstring>

namespace {

// ---- small helpers ---------------------------------------------------------------------------

enum class DateOrder { DMY, MDY, YMD };

// Reads a date text of three numbers separated by "/" in the given order.
std::optional<QDate> ReadDateText(const QString &text, DateOrder order)
{
    const QStringList parts = text.split(u'/');
    if (parts.size() != 3)
        return std::nullopt;
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part.size() > 4)
            return std::nullopt;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return std::nullopt;
        numbers[i] = part.toInt();
    }
    int day = 0, month = 0, year = 0;
    switch (order) {
    case DateOrder::DMY: day = numbers[0]; month = numbers[1]; year = numbers[2]; break;
    case DateOrder::MDY: month = numbers[0]; day = numbers[1]; year = numbers[2]; break;
    case DateOrder::YMD: year = numbers[0]; month = numbers[1]; day = numbers[2]; break;
    }
    if (month < 1 || month > 12 || year < 100 || year > 9999)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// The pictures of the buttons: '#' is a dark pixel.
QIcon PictureIcon(const QWidget *owner, const char *const rows[], int height)
{
    const int width = int(std::strlen(rows[0]));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QRgb ink = owner->palette().color(QPalette::ButtonText).rgba();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#')
                image.setPixel(x, y, ink);
    return QIcon(QPixmap::fromImage(image));
}

const char *const kOpenPicture[] = {// 7 x 6
    ".......",
    "#######",
    ".#####.",
    "..###..",
    "...#...",
    "......."};
const char *const kLeftMonthPicture[] = {// 3 x 5
    "..#",
    ".##",
    "###",
    ".##",
    "..#"};
const char *const kRightMonthPicture[] = {
    "#..",
    "##.",
    "###",
    "##.",
    "#.."};
const char *const kLeftYearPicture[] = {// 7 x 5
    "..#...#",
    ".##..##",
    "###.###",
    ".##..##",
    "..#...#"};
const char *const kRightYearPicture[] = {
    "#...#..",
    "##..##.",
    "###.###",
    "##..##.",
    "#...#.."};

KalendoCtl::LocaleQuery &LocaleQueryHook()
{
    static KalendoCtl::LocaleQuery hook;
    return hook;
}

} // namespace

namespace kalendo_internal {

// The leading whole number of a text (blanks, an optional sign, digits), 0 when there is none.
long long LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long n = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        if (n < 100000000000LL)
            n = n * 10 + (text.at(i).unicode() - u'0');
    }
    return negative ? -n : n;
}

QString Format0(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace kalendo_internal

using kalendo_internal::Format0;
using kalendo_internal::LeadingNumber;
using kalendo_internal::kOpenSize;

// ---- locale ------------------------------------------------------------------------------------

void KalendoCtl::SetLocaleQuery(LocaleQuery query)
{
    LocaleQueryHook() = std::move(query);
}

std::optional<QString> KalendoCtl::QueryShortDatePattern()
{
    if (LocaleQueryHook())
        return LocaleQueryHook()();
    const QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    if (pattern.isEmpty())
        return std::nullopt;
    return pattern;
}

int KalendoCtl::px(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

// ---- creation ----------------------------------------------------------------------------------

KalendoCtl::KalendoCtl(QWidget *parent)
    : QWidget(parent)
{
    kalendo_internal::ControlCreated();

    // The fonts are free: a small condensed face fits the design-time boxes.
    QFont small = font();
    small.setPixelSize(10);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    m_fillColor = QColor(0xC4, 0xDA, 0xF6);

    auto place = [](QWidget *w, int left, int top, int width, int height) {
        w->setGeometry(px(left), px(top), px(width), px(height));
    };

    // lblBorder first, so that it lies beneath the other controls.
    lblBorder = new QLabel(this);
    lblBorder->setObjectName(QStringLiteral("lblBorder"));
    lblBorder->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    lblBorder->setBackgroundRole(QPalette::Base);
    lblBorder->setAutoFillBackground(true);
    place(lblBorder, 0, 0, m_borderWidth, m_borderHeight);

    const int boxLeft[4] = {0, 120, 480, 840};
    const int boxWidth[4] = {0, 195, 195, 375};
    for (int i = 1; i <= 3; ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("txtDate_%1").arg(i));
        box->setFrame(false);
        box->setAlignment(Qt::AlignCenter);
        // QLineEdit keeps 2 pixels at either side of its text; the design-time boxes are too
        // narrow for that, so the text margins give the pixels back.
        box->setTextMargins(-2, 0, -2, 0);
        box->setMaxLength(i == YearIndex ? 4 : 2);
        box->setText(i == YearIndex ? QStringLiteral("2000") : QStringLiteral("01"));
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        // The boxes lie on lblBorder's white field, enabled or not.
        QPalette clear = box->palette();
        clear.setColor(QPalette::Base, Qt::transparent);
        box->setPalette(clear);
        place(box, boxLeft[i], 45, boxWidth[i], 195);
        box->installEventFilter(this);
        m_txtDate[size_t(i)] = box;
        if (i < 3) {
            auto *slash = new QLabel(QStringLiteral("/"), this);
            slash->setObjectName(i == 1 ? QStringLiteral("lblSlash1") : QStringLiteral("lblSlash2"));
            slash->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            slash->setTextFormat(Qt::PlainText);
            place(slash, i == 1 ? 360 : 720, 45, 135, 195);
            (i == 1 ? lblSlash1 : lblSlash2) = slash;
        }
    }

    auto makeButton = [&](const char *name, const char *const picture[], int pictureHeight, int left, int top,
                          int width, int height) {
        auto *button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setIcon(PictureIcon(this, picture, pictureHeight));
        button->setIconSize(QSize(int(std::strlen(picture[0])), pictureHeight));
        button->setAutoRepeat(false);
        place(button, left, top, width, height);
        return button;
    };
    cmdOpen = makeButton("cmdOpen", kOpenPicture, 6, 1320, 30, 225, 225);
    // A click gives the button the focus, as a command button takes it: the control then has
    // the focus, and the date is taken when the focus leaves it.
    cmdOpen->setFocusPolicy(Qt::StrongFocus);
    cmdLeftYear = makeButton("cmdLeftYear", kLeftYearPicture, 5, 45, 360, 225, 195);
    cmdLeftMonth = makeButton("cmdLeftMonth", kLeftMonthPicture, 5, 255, 360, 225, 195);
    cmdRightMonth = makeButton("cmdRightMonth", kRightMonthPicture, 5, 2010, 360, 225, 195);
    cmdRightYear = makeButton("cmdRightYear", kRightYearPicture, 5, 2235, 360, 225, 195);
    for (QToolButton *b : {cmdLeftYear, cmdLeftMonth, cmdRightMonth, cmdRightYear}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    cmdLeftYear->setToolTip(QStringLiteral("Previous year"));
    cmdLeftMonth->setToolTip(QStringLiteral("Previous month"));
    cmdRightMonth->setToolTip(QStringLiteral("Next month"));
    cmdRightYear->setToolTip(QStringLiteral("Next year"));

    connect(cmdOpen, &QToolButton::clicked, this, &KalendoCtl::cmdOpen_Click);
    connect(cmdLeftYear, &QToolButton::clicked, this, &KalendoCtl::cmdLeftYear_Click);
    connect(cmdLeftMonth, &QToolButton::clicked, this, &KalendoCtl::cmdLeftMonth_Click);
    connect(cmdRightMonth, &QToolButton::clicked, this, &KalendoCtl::cmdRightMonth_Click);
    connect(cmdRightYear, &QToolButton::clicked, this, &KalendoCtl::cmdRightYear_Click);
    connect(qApp, &QApplication::focusChanged, this, &KalendoCtl::OnFocusChanged);

    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_txtDate[1]);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    for (auto &row : m_dayGrid)
        row.fill(-1);

    UserControl_Initialize();
    ResizeSelf(m_borderWidth, m_borderHeight);
    // A Qt form builds its controls when it runs; that is the case of a control loaded from
    // its saved form, so the saved properties (none: the defaults) are read here.
    UserControl_ReadProperties({});
}

KalendoCtl::~KalendoCtl()
{
    m_destroying = true;
    disconnect(qApp, nullptr, this, nullptr);
    DeletePopup();
    for (int i = 1; i <= 3; ++i)
        m_txtDate[size_t(i)]->removeEventFilter(this);
    kalendo_internal::ControlDestroyed();
}

void KalendoCtl::UserControl_Initialize()
{
    m_dayIndex = 1;
    m_monthIndex = 2;
    const QDate today = QDate::currentDate();
    SetValue(today);
    ShowDate(today.day(), today.month(), today.year());
    DroppedDown = false;
    SetEnabled(true);
}

// ---- saved properties --------------------------------------------------------------------------

void KalendoCtl::UserControl_ReadProperties(const QVariantMap &bag)
{
    SetEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
    m_monthFirst = ReadDateOrder();
}

QVariantMap KalendoCtl::UserControl_WriteProperties() const
{
    QVariantMap bag;
    if (!Enabled()) // written with default True: only a different value is stored
        bag.insert(QStringLiteral("Enabled"), false);
    return bag;
}

bool KalendoCtl::ReadDateOrder()
{
    const std::optional<QString> pattern = QueryShortDatePattern();
    QChar first;
    if (pattern && !pattern->isEmpty())
        first = pattern->at(0).toUpper();
    const bool monthFirst = first == u'M';
    if (monthFirst) {
        m_monthIndex = 1;
        m_dayIndex = 2;
    } else {
        // A pattern that starts with the day or the year, and a failed query, give day first.
        m_dayIndex = 1;
        m_monthIndex = 2;
    }
    m_monthFirst = monthFirst;
    m_yearFirst = first == u'Y';
    SetValue(m_value); // the boxes show the date in the new order
    return monthFirst;
}

// ---- public members ----------------------------------------------------------------------------

void KalendoCtl::SetValue(const QDateTime &value)
{
    if (!value.isValid() || !kalendo_internal::InDateRange(value.date()))
        return;
    m_value = value;
    const QDate d = value.date();
    ShowDate(d.day(), d.month(), d.year());
    if (DroppedDown)
        DrawCalendar();
}

bool KalendoCtl::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void KalendoCtl::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (DroppedDown)
        CloseUp();
    // The widget's own state too, so that isEnabled() and a form's setEnabled() agree with it.
    m_applyingEnabled = true;
    QWidget::setEnabled(enabled);
    m_applyingEnabled = false;
    DayBox()->setEnabled(enabled);
    MonthBox()->setEnabled(enabled);
    YearBox()->setEnabled(enabled);
    lblSlash1->setEnabled(enabled);
    lblSlash2->setEnabled(enabled);
    cmdOpen->setEnabled(enabled);
    emit propertyChanged(QStringLiteral("Enabled"));
}

void KalendoCtl::SetFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void KalendoCtl::DropDown()
{
    cmdOpen_Click();
}

QLineEdit *KalendoCtl::txtDate(int index) const
{
    return index >= 1 && index <= 3 ? m_txtDate[size_t(index)] : nullptr;
}

int KalendoCtl::DayGrid(int row, int column) const
{
    if (row < 0 || row > 6 || column < 0 || column > 7)
        return -1;
    return m_dayGrid[size_t(row)][size_t(column)];
}

QSize KalendoCtl::sizeHint() const
{
    if (DroppedDown && !m_inPopup)
        return {px(kOpenSize), px(kOpenSize)};
    return {px(m_borderWidth), px(m_borderHeight)};
}

QSize KalendoCtl::minimumSizeHint() const
{
    return {px(1575), px(m_borderHeight)};
}

// ---- boxes -------------------------------------------------------------------------------------

void KalendoCtl::ShowDate(int day, int month, int year)
{
    DayBox()->setText(Format0(day, 2));
    MonthBox()->setText(Format0(month, 2));
    YearBox()->setText(Format0(year, 4));
    m_shownDay = day;
    m_shownMonth = month;
    m_shownYear = year;
}

void KalendoCtl::FocusNextBox(int index)
{
    txtDate(index >= 3 ? 1 : index + 1)->setFocus(Qt::OtherFocusReason);
}

void KalendoCtl::FocusPrevBox(int index)
{
    txtDate(index <= 1 ? 3 : index - 1)->setFocus(Qt::OtherFocusReason);
}

void KalendoCtl::txtDate_GotFocus(int index)
{
    if (QLineEdit *box = txtDate(index))
        box->selectAll();
}

bool KalendoCtl::txtDate_KeyDown(int index, int keyCode)
{
    if (keyCode == 37) {
        FocusPrevBox(index);
        return true;
    }
    if (keyCode == 39) {
        FocusNextBox(index);
        return true;
    }
    return false;
}

int KalendoCtl::txtDate_KeyPress(int index, int keyAscii)
{
    QLineEdit *box = txtDate(index);
    if (!box)
        return keyAscii;
    if (keyAscii == '/' || keyAscii == '\\' || keyAscii == '-') {
        FocusNextBox(index);
        return 0;
    }
    if (keyAscii == 8) { // Backspace: the selection, or else the character before the caret
        box->backspace();
        return 0;
    }
    if (keyAscii < '0' || keyAscii > '9')
        return 0;
    const QChar digit(keyAscii);
    // setText keeps at most maxLength characters: a digit typed into a full box is dropped.
    box->setText(box->hasSelectedText() ? QString(digit) : box->text() + digit);
    box->setCursorPosition(int(box->text().size()));
    if (box->text().size() == box->maxLength())
        FocusNextBox(index);
    return 0;
}

void KalendoCtl::txtDate_Validate(int index)
{
    QLineEdit *box = txtDate(index);
    if (!box)
        return;
    const QString text = box->text();
    const long long n = LeadingNumber(text);
    if (index == m_dayIndex) {
        if (n > 31)
            box->setText(QStringLiteral("31"));
        else if (n < 1)
            box->setText(QStringLiteral("1"));
    } else if (index == m_monthIndex) {
        if (n > 12)
            box->setText(QStringLiteral("12"));
        else if (n < 1)
            box->setText(QStringLiteral("1"));
    } else {
        switch (text.size()) {
        case 0: box->setText(QStringLiteral("2000")); break;
        case 1: box->setText(QStringLiteral("200") + text); break;
        case 2: box->setText((n >= 50 ? QStringLiteral("19") : QStringLiteral("20")) + text); break;
        case 3: box->setText(text + QStringLiteral("0")); break;
        default: break;
        }
    }
}

void KalendoCtl::UserControl_ExitFocus()
{
    // 1. The first day of the month in the month box and the year in the year box, built as
    //    a text in the locale's order and read in that order.
    const QString month = QString::number(LeadingNumber(MonthBox()->text()));
    const QString year = QString::number(LeadingNumber(YearBox()->text()));
    std::optional<QDate> first;
    if (m_monthFirst)
        first = ReadDateText(month + QStringLiteral("/01/") + year, DateOrder::MDY);
    else if (m_yearFirst)
        first = ReadDateText(year + u'/' + month + QStringLiteral("/01"), DateOrder::YMD);
    else
        first = ReadDateText(QStringLiteral("01/") + month + u'/' + year, DateOrder::DMY);
    // 2. Value := that day + (the day box - 1) days; a day beyond the month's end runs on.
    if (first) {
        const long long day = LeadingNumber(DayBox()->text());
        const QDate value = first->addDays(day - 1);
        if (kalendo_internal::InDateRange(value))
            m_value = QDateTime(value, QTime(0, 0));
    }
    // 3. The boxes show Value (the last good date when the steps above failed).
    const QDate shown = m_value.date();
    ShowDate(shown.day(), shown.month(), shown.year());
    // 4.
    if (DroppedDown)
        CloseUp();
}

// ---- sizing ------------------------------------------------------------------------------------

void KalendoCtl::ResizeSelf(int widthTwips, int heightTwips)
{
    const QSize size(px(widthTwips), px(heightTwips));
    m_resizing = true;
    resize(size);
    m_resizing = false;
    // A hidden widget gets its resize event only when shown: that one is ours too.
    m_selfSize = testAttribute(Qt::WA_PendingResizeEvent) ? size : QSize();
    updateGeometry();
}

void KalendoCtl::UserControl_Show()
{
    if (m_inPopup)
        CloseUp();
    ResizeSelf(m_borderWidth, m_borderHeight);
    // The collapsed size means a closed calendar.
    DroppedDown = false;
}

void KalendoCtl::UserControl_Resize()
{
    if (height() != px(m_borderHeight))
        resize(width(), px(m_borderHeight));
    m_borderWidth = width() * TwipsPerPixel;
    lblBorder->resize(width(), px(m_borderHeight));
    cmdOpen->move(px(m_borderWidth - 225 - 30), px(30));
    updateGeometry();
}

void KalendoCtl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_resizing)
        return;
    if (m_selfSize.isValid() && event->size() == m_selfSize) {
        m_selfSize = QSize();
        return;
    }
    m_selfSize = QSize();
    UserControl_Resize();
}

void KalendoCtl::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // The pop-up is a window of its own: it must not stay open over a hidden form.
    if (m_inPopup)
        CloseUp();
}

void KalendoCtl::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || m_applyingEnabled || m_destroying)
        return;
    if (Enabled() != m_enabled)
        SetEnabled(Enabled()); // QWidget::setEnabled() from the host: the Enabled let
    else if (!isEnabled() && DroppedDown)
        CloseUp(); // the form around the control was disabled
}

void KalendoCtl::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        UserControl_Show();
}

// ---- focus and keys ----------------------------------------------------------------------------

int KalendoCtl::BoxIndexOf(const QObject *object) const
{
    for (int i = 1; i <= 3; ++i)
        if (m_txtDate[size_t(i)] == object)
            return i;
    return 0;
}

void KalendoCtl::OnFocusChanged(QWidget *, QWidget *now)
{
    // A window that loses activation moves the focus to nothing: the control keeps it then.
    if (m_destroying || !now)
        return;
    const int nowBox = BoxIndexOf(now);
    if (m_focusBox != 0 && nowBox != m_focusBox) {
        const int left = m_focusBox;
        m_focusBox = 0;
        txtDate_Validate(left);
    }
    if (nowBox != 0)
        m_focusBox = nowBox;
    const bool inside = now == this || isAncestorOf(now);
    if (inside) {
        m_focusInside = true;
    } else if (m_focusInside) {
        m_focusInside = false;
        UserControl_ExitFocus();
    }
}

bool KalendoCtl::eventFilter(QObject *watched, QEvent *event)
{
    const int index = m_destroying ? 0 : BoxIndexOf(watched);
    if (index == 0)
        return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::FocusIn) {
        txtDate_GotFocus(index);
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
            // The click that gave the focus also places the caret: select again after it.
            QPointer<QLineEdit> box = txtDate(index);
            QTimer::singleShot(0, box, [box] {
                if (box && box->hasFocus())
                    box->selectAll();
            });
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;

    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Left:
        return txtDate_KeyDown(index, 37);
    case Qt::Key_Right:
        return txtDate_KeyDown(index, 39);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false; // focus keys and the form's default and cancel buttons
    case Qt::Key_Backspace:
        txtDate_KeyPress(index, 8);
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return false; // not a character (Delete, Home, End, ...): the box handles it
    return txtDate_KeyPress(index, int(text.at(0).unicode())) == 0;
}
