// Kalendo: KalendoCtl, a compact date entry field.
//
// Collapsed, the control shows day, month and year boxes in the order of the user's locale
// with a button at the right; the button drops down a month calendar drawn on the control.
// The typed or picked date becomes Value when the focus leaves the control.
//
// Positions and drawing are in twips, 15 to the pixel. The event handlers keep their given
// names and are public so that hosts and tests can drive them directly.
//
// A Qt host uses it as any widget: new KalendoCtl(form), then Value()/SetValue(),
// DropDown(), CloseUp(), Enabled()/SetEnabled() and the DroppedDown variable. At a fixed
// position the open control grows over its siblings; under a layout, which keeps it one field
// high, the same calendar opens in a pop-up window under the field. A host that
// loads the library at run time goes through the exports of kalendo_exports.h instead.
#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

#include "kalendo_global.h"

class QLabel;
class QLineEdit;
class QPainter;
class QToolButton;
class KalendoPopup;

class KALENDO_API KalendoCtl : public QWidget
{
    Q_OBJECT
    // The one saved property.
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled NOTIFY propertyChanged)
    Q_PROPERTY(QDateTime Value READ Value WRITE SetValue STORED false DESIGNABLE false)
    Q_PROPERTY(bool DroppedDown MEMBER DroppedDown STORED false DESIGNABLE false)

public:
    // Described by the type library; the control itself never reads it.
    enum DateFormatType { DMYFormat, MDYFormat };
    Q_ENUM(DateFormatType)

    // The locale's short date pattern (standing in for GetLocaleInfoA, item 31); nullopt when
    // the query fails. The default asks QLocale() (the default locale).
    using LocaleQuery = std::function<std::optional<QString>()>;
    static void SetLocaleQuery(LocaleQuery query); // an empty function restores the default
    static std::optional<QString> QueryShortDatePattern();

    // Creates the control (UserControl_Initialize) and loads it as a control on a running
    // form is loaded: UserControl_ReadProperties with an empty bag (Enabled True, the date
    // order read from the locale).
    explicit KalendoCtl(QWidget *parent = nullptr);
    ~KalendoCtl() override;

    // ---- _KalendoCtl ----------------------------------------------------------------------
    bool DroppedDown = false; // True while the calendar is open (a plain variable)
    bool Enabled() const; // the same as the widget's own enabled state (QWidget::setEnabled)
    void SetEnabled(bool enabled);
    QDateTime Value() const { return m_value; }
    // Refuses a date that is not valid or lies outside 1 January 100 to 31 December 9999.
    void SetValue(const QDateTime &value);
    void SetValue(QDate date) { SetValue(QDateTime(date, QTime(0, 0))); }

    // ---- saved properties -----------------------------------------------------------------
    void UserControl_InitProperties() {}
    void UserControl_ReadProperties(const QVariantMap &bag);
    QVariantMap UserControl_WriteProperties() const; // "Enabled", only when not the default

    // ---- state, for hosts and tests ---------------------------------------------------------
    int DayIndex() const { return m_dayIndex; }
    int MonthIndex() const { return m_monthIndex; }
    static constexpr int YearIndex = 3;
    bool MonthFirst() const { return m_monthFirst; }
    int ShownDay() const { return m_shownDay; }
    int ShownMonth() const { return m_shownMonth; }
    int ShownYear() const { return m_shownYear; }
    int DayGrid(int row, int column) const; // rows 1..6, columns 1..7 (1 = Sunday); -1 = empty
    QLineEdit *txtDate(int index) const;   // 1..3, left to right
    QLineEdit *DayBox() const { return txtDate(m_dayIndex); }
    QLineEdit *MonthBox() const { return txtDate(m_monthIndex); }
    QLineEdit *YearBox() const { return txtDate(YearIndex); }

    // Twips, 15 to the pixel.
    static constexpr int TwipsPerPixel = 15;
    static int px(double twips);
    static double twips(double pixels) { return pixels * TwipsPerPixel; }

    // The colour of the selected-day disc (the control's fill colour).
    QColor FillColor() const { return m_fillColor; }
    void SetFillColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // "Signal a property change" (the Enabled let).
    void propertyChanged(const QString &name);

public slots:
    void DropDown();
    void CloseUp();

    // ---- event handlers ----------------------------------------------------------
    void UserControl_Show();
    void UserControl_Resize();
    void cmdOpen_Click();
    void cmdLeftMonth_Click();
    void cmdRightMonth_Click();
    void cmdLeftYear_Click();
    void cmdRightYear_Click();
    // x, y in twips from the control's top left. The button and shift state are not read.
    void UserControl_MouseDown(int button, int shift, double x, double y);
    void txtDate_GotFocus(int index);
    // VB key codes: 37 Left arrow, 39 Right arrow. Returns whether the key was used.
    bool txtDate_KeyDown(int index, int keyCode);
    // A character typed into box index; returns the character let through to the box (0 when
    // the control swallowed or applied it itself). Backspace (8) deletes the selection or
    // else the character before the caret.
    int txtDate_KeyPress(int index, int keyAscii);
    void txtDate_Validate(int index);
    void UserControl_ExitFocus();
    // Reads the locale's order into DayIndex/MonthIndex, rewrites the boxes, and returns
    // whether the month comes first.
    bool ReadDateOrder();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class KalendoPopup;

    void UserControl_Initialize();
    void ShowDate(int day, int month, int year);
    void DrawCalendar();
    void BuildMonthGrid();
    void DrawFrame(QPainter &p) const;
    void DrawDays(QPainter &p) const;
    void FocusNextBox(int index);
    void FocusPrevBox(int index);
    void StepShownMonth(int months);
    void ResizeSelf(int widthTwips, int heightTwips);
    int BoxIndexOf(const QObject *object) const;
    void OnFocusChanged(QWidget *old, QWidget *now);
    bool ManagedByLayout() const;
    void OpenPopup();
    void DeletePopup();
    void PlaceStepButtons(bool onPopup); // the month and year buttons on the pop-up or the control
    void PressOnCalendar(QMouseEvent *event, QPointF at); // at: pixels from the control's top left

    QDateTime m_value;
    bool m_enabled = true; // the Enabled let last applied (a host's setEnabled() differs from it)
    int m_dayIndex = 1;
    int m_monthIndex = 2;
    bool m_monthFirst = false;
    bool m_yearFirst = false; // the locale's pattern begins with the year (how typed dates are read)
    int m_shownDay = 1;
    int m_shownMonth = 1;
    int m_shownYear = 2000;
    bool m_resizing = false;
    bool m_applyingEnabled = false;
    QSize m_selfSize;          // the size the control last gave itself
    std::array<std::array<int, 8>, 7> m_dayGrid{};

    // What DrawCalendar drew (kept so that a repaint shows the same picture).
    bool m_markerApplies = false;
    QDate m_today;

    QColor m_fillColor;
    bool m_focusInside = false;
    int m_focusBox = 0;
    bool m_destroying = false;
    KalendoPopup *m_popup = nullptr; // made on the first drop under a layout
    bool m_inPopup = false;          // the open calendar lies in m_popup
    bool m_buttonsOnPopup = false;

    // Constituent controls.
    std::array<QLineEdit *, 4> m_txtDate{}; // [1..3]
    QLabel *lblSlash1 = nullptr;
    QLabel *lblSlash2 = nullptr;
    QToolButton *cmdOpen = nullptr;
    QLabel *lblBorder = nullptr;
    QToolButton *cmdLeftYear = nullptr;
    QToolButton *cmdLeftMonth = nullptr;
    QToolButton *cmdRightMonth = nullptr;
    QToolButton *cmdRightYear = nullptr;

    // lblBorder's size in twips (the collapsed size).
    int m_borderWidth = 1575;
    int m_borderHeight = 285;
};
