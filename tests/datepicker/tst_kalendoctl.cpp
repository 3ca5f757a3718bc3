// Tests of KalendoCtl, offscreen.
#include "KalendoCtl.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// A form with the control and one other field to take the focus.
struct Form {
    QWidget window;
    KalendoCtl *ctl = nullptr;
    QLineEdit *other = nullptr;

    Form()
    {
        window.resize(320, 240);
        ctl = new KalendoCtl(&window);
        ctl->setObjectName(QStringLiteral("kalendoCtl1"));
        ctl->move(10, 10);
        other = new QLineEdit(&window);
        other->setObjectName(QStringLiteral("other"));
        other->setGeometry(10, 60, 120, 22); // under the open calendar
    }
    // Gives a widget the focus afresh (from the other field), as a user moving to it does.
    void focus(QWidget *w)
    {
        other->setFocus();
        w->setFocus();
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

// Cell centres and the day grid (twips).
double CellX(int column)
{
    return (column - 1) * 350 + 200;
}
double CellY(int row)
{
    return (row - 1) * 240 + 920;
}

} // namespace

class TestKalendoCtl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // creation and saved properties
    void initialState();
    void properties();
    void readAndWriteProperties();
    void dateFormatType();

    // locale order
    void localeOrder_data();
    void localeOrder();
    void localeQueryFails();
    void localeOrderRewritesBoxes();

    // validation and commit
    void validateClamps_data();
    void validateClamps();
    void validateOnLeavingBox();
    void exitFocusRollsOver_data();
    void exitFocusRollsOver();
    void yearFirstLocaleReadsInThatOrder();
    void impossibleDateKeepsValue();
    void leavingTheControlCommits();
    void focusMovingInsideDoesNotCommit();

    // the calendar
    void monthGridApril2001();
    void monthGridSixRows();
    void monthAndYearStepping();
    void stepButtonsByMouse();
    void dayClick_data();
    void dayClick();
    void dayClickByMouse();
    void pickThenLeaveCommits();
    void emptyCellKeepsCalendarOpen();
    void footerClickShowsToday();
    void valueLetWhileOpenRedraws();
    void valueLetRefusesInvalid();
    void dropDownToggles();

    // keyboard
    void digitsAndAutoAdvance();
    void digitReplacesSelectionOrAppends();
    void fullBoxDropsDigit();
    void separatorsMoveOn();
    void otherCharactersRefused();
    void arrowsMoveBetweenBoxes();
    void backspaceDeletesBeforeCaret();
    void tabStillMovesFocus();

    // sizing, Enabled and drawing
    void collapsedHeightPinnedWidthFollows();
    void openSize();
    void showWhileOpenCollapses();
    void enabledFalseClosesCalendar();
    void drawing();
};

void TestKalendoCtl::init()
{
    KalendoCtl::SetLocaleQuery({});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
}

void TestKalendoCtl::cleanup()
{
    KalendoCtl::SetLocaleQuery({});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
}

// ---- creation -----------------------------------------------------------------------------------

void TestKalendoCtl::initialState()
{
    KalendoCtl ctl;
    const QDate today = QDate::currentDate();
    QCOMPARE(ctl.Value(), QDateTime(today, QTime(0, 0)));
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("%1").arg(today.day(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl.MonthBox()->text(), QStringLiteral("%1").arg(today.month(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl.YearBox()->text(), QString::number(today.year()));
    QCOMPARE(ctl.ShownDay(), today.day());
    QCOMPARE(ctl.ShownMonth(), today.month());
    QCOMPARE(ctl.ShownYear(), today.year());
    QVERIFY(!ctl.DroppedDown);
    QVERIFY(ctl.Enabled());
    QCOMPARE(ctl.size(), QSize(105, 19)); // 1575 x 285 twips

    // The constituent controls, by their given names.
    for (const char *name : {"txtDate_1", "txtDate_2", "txtDate_3"})
        QVERIFY2(ctl.findChild<QLineEdit *>(QLatin1String(name)), name);
    for (const char *name : {"lblSlash1", "lblSlash2", "lblBorder"})
        QVERIFY2(ctl.findChild<QLabel *>(QLatin1String(name)), name);
    for (const char *name : {"cmdOpen", "cmdLeftYear", "cmdLeftMonth", "cmdRightMonth", "cmdRightYear"})
        QVERIFY2(ctl.findChild<QToolButton *>(QLatin1String(name)), name);
    QCOMPARE(ctl.txtDate(1)->maxLength(), 2);
    QCOMPARE(ctl.txtDate(2)->maxLength(), 2);
    QCOMPARE(ctl.txtDate(3)->maxLength(), 4);
    QCOMPARE(ctl.findChild<QLabel *>(QStringLiteral("lblSlash1"))->text(), QStringLiteral("/"));
    // Positions in twips at 15 to the pixel.
    QCOMPARE(ctl.txtDate(1)->geometry(), QRect(8, 3, 13, 13));
    QCOMPARE(ctl.txtDate(2)->geometry(), QRect(32, 3, 13, 13));
    QCOMPARE(ctl.txtDate(3)->geometry(), QRect(56, 3, 25, 13));
    QCOMPARE(ctl.findChild<QToolButton *>(QStringLiteral("cmdOpen"))->geometry(), QRect(88, 2, 15, 15));
    QCOMPARE(ctl.findChild<QToolButton *>(QStringLiteral("cmdRightYear"))->geometry(), QRect(149, 24, 15, 13));
}

void TestKalendoCtl::properties()
{
    KalendoCtl ctl;
    const QMetaObject *mo = ctl.metaObject();
    const QMetaProperty enabled = mo->property(mo->indexOfProperty("Enabled"));
    QVERIFY(enabled.isValid());
    QVERIFY(enabled.isStored());
    QVERIFY(enabled.isDesignable());
    const QMetaProperty value = mo->property(mo->indexOfProperty("Value"));
    QVERIFY(value.isValid());
    QVERIFY(!value.isStored());
    QVERIFY(ctl.setProperty("Value", QDateTime(QDate(2001, 4, 14), QTime(0, 0))));
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("14"));
    QVERIFY(ctl.setProperty("Enabled", false));
    QVERIFY(!ctl.Enabled());
    QVERIFY(!ctl.property("DroppedDown").toBool());
}

void TestKalendoCtl::readAndWriteProperties()
{
    KalendoCtl ctl;
    QVERIFY(ctl.UserControl_WriteProperties().isEmpty()); // Enabled True is the default
    ctl.UserControl_ReadProperties({{QStringLiteral("Enabled"), false}});
    QVERIFY(!ctl.Enabled());
    QVERIFY(!ctl.DayBox()->isEnabled());
    const QVariantMap bag = ctl.UserControl_WriteProperties();
    QCOMPARE(bag.size(), 1);
    QCOMPARE(bag.value(QStringLiteral("Enabled")), QVariant(false));
    ctl.UserControl_ReadProperties({});
    QVERIFY(ctl.Enabled());
}

void TestKalendoCtl::dateFormatType()
{
    const QMetaEnum e = QMetaEnum::fromType<KalendoCtl::DateFormatType>();
    QCOMPARE(e.keyCount(), 2);
    QCOMPARE(QByteArray(e.key(0)), QByteArray("DMYFormat"));
    QCOMPARE(QByteArray(e.key(1)), QByteArray("MDYFormat"));
    QCOMPARE(int(KalendoCtl::DMYFormat), 0);
    QCOMPARE(int(KalendoCtl::MDYFormat), 1);
}

// ---- locale order -------------------------------------------------------------------------------

void TestKalendoCtl::localeOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("monthFirst");
    QTest::newRow("en_US") << "en_US" << true;
    QTest::newRow("en_GB") << "en_GB" << false;
    QTest::newRow("de_DE") << "de_DE" << false;
    QTest::newRow("ja_JP year first") << "ja_JP" << false;
    QTest::newRow("sv_SE year first") << "sv_SE" << false;
}

void TestKalendoCtl::localeOrder()
{
    QFETCH(QString, locale);
    QFETCH(bool, monthFirst);
    QLocale::setDefault(QLocale(locale));
    KalendoCtl ctl;
    QCOMPARE(ctl.MonthFirst(), monthFirst);
    QCOMPARE(ctl.DayIndex(), monthFirst ? 2 : 1);
    QCOMPARE(ctl.MonthIndex(), monthFirst ? 1 : 2);
    ctl.SetValue(QDate(2001, 4, 14));
    QCOMPARE(ctl.txtDate(1)->text(), monthFirst ? QStringLiteral("04") : QStringLiteral("14"));
    QCOMPARE(ctl.txtDate(2)->text(), monthFirst ? QStringLiteral("14") : QStringLiteral("04"));
    QCOMPARE(ctl.txtDate(3)->text(), QStringLiteral("2001"));
}

void TestKalendoCtl::localeQueryFails()
{
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    KalendoCtl::SetLocaleQuery([] { return std::optional<QString>(); });
    {
        KalendoCtl ctl;
        QVERIFY(!ctl.MonthFirst());
        QCOMPARE(ctl.DayIndex(), 1);
        QCOMPARE(ctl.MonthIndex(), 2);
    }
    KalendoCtl::SetLocaleQuery([] { return std::optional<QString>(QString()); });
    {
        KalendoCtl ctl;
        QCOMPARE(ctl.DayIndex(), 1);
    }
    KalendoCtl::SetLocaleQuery([] { return std::optional<QString>(QStringLiteral("yyyy-MM-dd")); });
    {
        KalendoCtl ctl;
        QCOMPARE(ctl.DayIndex(), 1);
    }
    KalendoCtl::SetLocaleQuery([] { return std::optional<QString>(QStringLiteral("mm/dd/yyyy")); });
    {
        KalendoCtl ctl; // the first character is upper-cased
        QCOMPARE(ctl.DayIndex(), 2);
        QCOMPARE(ctl.MonthIndex(), 1);
    }
}

void TestKalendoCtl::localeOrderRewritesBoxes()
{
    KalendoCtl ctl; // en_GB: day first
    ctl.SetValue(QDate(2001, 4, 14));
    QCOMPARE(ctl.txtDate(1)->text(), QStringLiteral("14"));
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    ctl.UserControl_ReadProperties({});
    QVERIFY(ctl.MonthFirst());
    QCOMPARE(ctl.txtDate(1)->text(), QStringLiteral("04"));
    QCOMPARE(ctl.txtDate(2)->text(), QStringLiteral("14"));
    QCOMPARE(ctl.Value().date(), QDate(2001, 4, 14));
}

// ---- validation and commit ----------------------------------------------------------------------

void TestKalendoCtl::validateClamps_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("day 45") << "day" << "45" << "31";
    QTest::newRow("day 32") << "day" << "32" << "31";
    QTest::newRow("day 31") << "day" << "31" << "31";
    QTest::newRow("day 00") << "day" << "00" << "1";
    QTest::newRow("day empty") << "day" << "" << "1";
    QTest::newRow("day 7") << "day" << "7" << "7";
    QTest::newRow("month 00") << "month" << "00" << "1";
    QTest::newRow("month empty") << "month" << "" << "1";
    QTest::newRow("month 13") << "month" << "13" << "12";
    QTest::newRow("month 99") << "month" << "99" << "12";
    QTest::newRow("month 07") << "month" << "07" << "07";
    QTest::newRow("year 7") << "year" << "7" << "2007";
    QTest::newRow("year 49") << "year" << "49" << "2049";
    QTest::newRow("year 50") << "year" << "50" << "1950";
    QTest::newRow("year 00") << "year" << "00" << "2000";
    QTest::newRow("year 199") << "year" << "199" << "1990";
    QTest::newRow("year empty") << "year" << "" << "2000";
    QTest::newRow("year 2001") << "year" << "2001" << "2001";
}

void TestKalendoCtl::validateClamps()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    for (const char *locale : {"en_GB", "en_US"}) {
        QLocale::setDefault(QLocale(QLatin1String(locale)));
        KalendoCtl ctl;
        const int index = box == u"day" ? ctl.DayIndex() : box == u"month" ? ctl.MonthIndex() : 3;
        ctl.txtDate(index)->setText(typed);
        ctl.txtDate_Validate(index);
        QCOMPARE(ctl.txtDate(index)->text(), expected);
    }
}

void TestKalendoCtl::validateOnLeavingBox()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->DayBox()->setFocus();
    ctl->DayBox()->setText(QStringLiteral("45"));
    ctl->MonthBox()->setFocus(); // leaving the day box inside the control
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("31"));
    ctl->MonthBox()->setText(QStringLiteral("00"));
    ctl->YearBox()->setFocus();
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("1"));
    ctl->YearBox()->setText(QStringLiteral("50"));
    form.other->setFocus(); // leaving the control: the year box first, then the commit
    QCOMPARE(ctl->Value().date(), QDate(1950, 1, 31));
}

void TestKalendoCtl::exitFocusRollsOver_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("day first") << "en_GB";
    QTest::newRow("month first") << "en_US";
}

void TestKalendoCtl::exitFocusRollsOver()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    KalendoCtl ctl;
    ctl.DayBox()->setText(QStringLiteral("31"));
    ctl.MonthBox()->setText(QStringLiteral("02"));
    ctl.YearBox()->setText(QStringLiteral("2001"));
    ctl.UserControl_ExitFocus();
    QCOMPARE(ctl.Value(), QDateTime(QDate(2001, 3, 3), QTime(0, 0)));
    QCOMPARE(ctl.txtDate(1)->text(), QStringLiteral("03"));
    QCOMPARE(ctl.txtDate(2)->text(), QStringLiteral("03"));
    QCOMPARE(ctl.txtDate(3)->text(), QStringLiteral("2001"));
    QCOMPARE(ctl.ShownDay(), 3);
    QCOMPARE(ctl.ShownMonth(), 3);
}

void TestKalendoCtl::yearFirstLocaleReadsInThatOrder()
{
    for (const char *locale : {"ja_JP", "sv_SE", "zh_CN"}) {
        QLocale::setDefault(QLocale(QLatin1String(locale)));
        KalendoCtl ctl;
        QCOMPARE(ctl.DayIndex(), 1); // the boxes stay day, month, year
        ctl.DayBox()->setText(QStringLiteral("05"));
        ctl.MonthBox()->setText(QStringLiteral("04"));
        ctl.YearBox()->setText(QStringLiteral("2001"));
        ctl.UserControl_ExitFocus();
        QCOMPARE(ctl.Value().date(), QDate(2001, 4, 5)); // not 4 May, not 1 April
        QCOMPARE(ctl.txtDate(1)->text(), QStringLiteral("05"));
        QCOMPARE(ctl.txtDate(2)->text(), QStringLiteral("04"));
        // A day beyond the month's end runs on here too.
        ctl.DayBox()->setText(QStringLiteral("31"));
        ctl.MonthBox()->setText(QStringLiteral("02"));
        ctl.UserControl_ExitFocus();
        QCOMPARE(ctl.Value().date(), QDate(2001, 3, 3));
    }
}

void TestKalendoCtl::impossibleDateKeepsValue()
{
    KalendoCtl ctl;
    const QDateTime before(QDate(2001, 4, 14), QTime(0, 0));
    ctl.SetValue(before);
    ctl.DayBox()->setText(QStringLiteral("10"));
    ctl.MonthBox()->setText(QStringLiteral("05"));
    ctl.YearBox()->setText(QStringLiteral("0000")); // no year 0
    ctl.UserControl_ExitFocus();
    QCOMPARE(ctl.Value(), before);
    // The boxes show the last good date again.
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("14"));
    QCOMPARE(ctl.MonthBox()->text(), QStringLiteral("04"));
    QCOMPARE(ctl.YearBox()->text(), QStringLiteral("2001"));

    // A day that runs on beyond the last date.
    ctl.DayBox()->setText(QStringLiteral("99"));
    ctl.MonthBox()->setText(QStringLiteral("12"));
    ctl.YearBox()->setText(QStringLiteral("9999"));
    ctl.UserControl_ExitFocus();
    QCOMPARE(ctl.Value(), before);

    // And a month that is not one (a box never validated).
    ctl.MonthBox()->setText(QString());
    ctl.UserControl_ExitFocus();
    QCOMPARE(ctl.Value(), before);

    // The last date itself is fine.
    ctl.DayBox()->setText(QStringLiteral("31"));
    ctl.MonthBox()->setText(QStringLiteral("12"));
    ctl.YearBox()->setText(QStringLiteral("9999"));
    ctl.UserControl_ExitFocus();
    QCOMPARE(ctl.Value().date(), QDate(9999, 12, 31));
}

void TestKalendoCtl::leavingTheControlCommits()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    form.focus(ctl->DayBox());
    QTest::keyClicks(ctl->DayBox(), QStringLiteral("31")); // full: on to the month box
    QVERIFY(ctl->MonthBox()->hasFocus());
    QTest::keyClicks(ctl->MonthBox(), QStringLiteral("02"));
    QVERIFY(ctl->YearBox()->hasFocus());
    QTest::keyClicks(ctl->YearBox(), QStringLiteral("1")); // "1" -> "2001" on leaving
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14)); // not yet
    form.other->setFocus();
    QVERIFY(form.other->hasFocus());
    QCOMPARE(ctl->YearBox()->text(), QStringLiteral("2001"));
    QCOMPARE(ctl->Value().date(), QDate(2001, 3, 3));
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("03"));
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("03"));

    // A clamped day, committed by the mouse taking the focus elsewhere.
    QTest::mouseClick(ctl->DayBox(), Qt::LeftButton);
    QVERIFY(ctl->DayBox()->hasFocus());
    QTRY_COMPARE(ctl->DayBox()->selectedText(), QStringLiteral("03"));
    QTest::keyClicks(ctl->DayBox(), QStringLiteral("4"));
    QTest::mouseClick(form.other, Qt::LeftButton);
    QCOMPARE(ctl->Value().date(), QDate(2001, 3, 4));
}

void TestKalendoCtl::focusMovingInsideDoesNotCommit()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DayBox()->setFocus();
    ctl->DayBox()->setText(QStringLiteral("20"));
    ctl->MonthBox()->setFocus();
    ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen"))->setFocus();
    ctl->YearBox()->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14));
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 20));
}

// ---- the calendar -------------------------------------------------------------------------------

void TestKalendoCtl::monthGridApril2001()
{
    KalendoCtl ctl;
    ctl.SetValue(QDate(2001, 4, 14));
    ctl.DropDown();
    QCOMPARE(ctl.ShownMonth(), 4);
    QCOMPARE(ctl.ShownYear(), 2001);
    for (int column = 1; column <= 7; ++column)
        QCOMPARE(ctl.DayGrid(1, column), -1); // 1 April 2001 is a Sunday: row 1 stays empty
    QCOMPARE(ctl.DayGrid(2, 1), 1);
    QCOMPARE(ctl.DayGrid(2, 7), 7);
    QCOMPARE(ctl.DayGrid(3, 1), 8);
    QCOMPARE(ctl.DayGrid(3, 7), 14);
    QCOMPARE(ctl.DayGrid(6, 1), 29);
    QCOMPARE(ctl.DayGrid(6, 2), 30);
    for (int column = 3; column <= 7; ++column)
        QCOMPARE(ctl.DayGrid(6, column), -1);
}

void TestKalendoCtl::monthGridSixRows()
{
    KalendoCtl ctl;
    ctl.SetValue(QDate(2001, 12, 1)); // a Saturday
    ctl.DropDown();
    QCOMPARE(ctl.DayGrid(1, 7), 1);
    for (int column = 1; column <= 6; ++column)
        QCOMPARE(ctl.DayGrid(1, column), -1);
    QCOMPARE(ctl.DayGrid(2, 1), 2);
    QCOMPARE(ctl.DayGrid(6, 1), 30);
    QCOMPARE(ctl.DayGrid(6, 2), 31);
    ctl.SetValue(QDate(2001, 3, 1)); // a Thursday
    QCOMPARE(ctl.DayGrid(1, 5), 1);
    QCOMPARE(ctl.DayGrid(1, 7), 3);
    QCOMPARE(ctl.DayGrid(2, 1), 4);
}

void TestKalendoCtl::monthAndYearStepping()
{
    KalendoCtl ctl;
    ctl.SetValue(QDate(2001, 1, 15));
    ctl.DropDown();
    ctl.cmdLeftMonth_Click();
    QCOMPARE(ctl.ShownMonth(), 12);
    QCOMPARE(ctl.ShownYear(), 2000);
    QCOMPARE(ctl.DayGrid(1, 6), 1); // 1 December 2000 is a Friday
    ctl.cmdRightMonth_Click();
    QCOMPARE(ctl.ShownMonth(), 1);
    QCOMPARE(ctl.ShownYear(), 2001);

    ctl.SetValue(QDate(2001, 12, 15));
    ctl.cmdRightMonth_Click();
    QCOMPARE(ctl.ShownMonth(), 1);
    QCOMPARE(ctl.ShownYear(), 2002);
    QCOMPARE(ctl.DayGrid(1, 3), 1); // 1 January 2002 is a Tuesday
    ctl.cmdLeftMonth_Click();
    QCOMPARE(ctl.ShownMonth(), 12);
    QCOMPARE(ctl.ShownYear(), 2001);
    ctl.cmdLeftYear_Click();
    QCOMPARE(ctl.ShownYear(), 2000);
    QCOMPARE(ctl.ShownMonth(), 12);
    ctl.cmdRightYear_Click();
    ctl.cmdRightYear_Click();
    QCOMPARE(ctl.ShownYear(), 2002);

    // The boxes and Value do not change.
    QCOMPARE(ctl.Value().date(), QDate(2001, 12, 15));
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("15"));
    QCOMPARE(ctl.MonthBox()->text(), QStringLiteral("12"));
    QCOMPARE(ctl.YearBox()->text(), QStringLiteral("2001"));
    QVERIFY(ctl.DroppedDown);
}

void TestKalendoCtl::stepButtonsByMouse()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    QVERIFY(ctl->DroppedDown);
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdRightMonth")), Qt::LeftButton);
    QCOMPARE(ctl->ShownMonth(), 5);
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdRightYear")), Qt::LeftButton);
    QCOMPARE(ctl->ShownYear(), 2002);
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdLeftYear")), Qt::LeftButton);
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdLeftMonth")), Qt::LeftButton);
    QCOMPARE(ctl->ShownMonth(), 4);
    QCOMPARE(ctl->ShownYear(), 2001);
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    QVERIFY(!ctl->DroppedDown);
}

void TestKalendoCtl::dayClick_data()
{
    // April 2001: row 2 holds 1..7, row 3 8..14, row 4 15..21, row 5 22..28, row 6 29, 30.
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("day");
    QTest::newRow("centre r2 c1") << CellX(1) << CellY(2) << 1;
    QTest::newRow("centre r3 c4") << CellX(4) << CellY(3) << 11;
    QTest::newRow("centre r4 c7") << CellX(7) << CellY(4) << 21;
    QTest::newRow("centre r6 c2") << CellX(2) << CellY(6) << 30;
    QTest::newRow("column 1.5 -> 2") << 375.0 << CellY(2) << 2;
    QTest::newRow("column 2.5 -> 2") << 725.0 << CellY(2) << 2;
    QTest::newRow("column 3.5 -> 4") << 1075.0 << CellY(2) << 4;
    QTest::newRow("column 6.5 -> 6") << 2125.0 << CellY(2) << 6;
    QTest::newRow("just left of 1.5") << 374.0 << CellY(2) << 1;
    QTest::newRow("just right of 2.5") << 726.0 << CellY(2) << 3;
    QTest::newRow("row 2.5 -> 2") << CellX(1) << 1280.0 << 1;
    QTest::newRow("row 3.5 -> 4") << CellX(1) << 1520.0 << 15;
    QTest::newRow("row 4.5 -> 4") << CellX(1) << 1760.0 << 15;
    QTest::newRow("row 5.5 -> 6") << CellX(1) << 2000.0 << 29;
    QTest::newRow("below row 4.5") << CellX(1) << 1761.0 << 22;
    QTest::newRow("x 0 -> column 0") << 0.0 << CellY(2) << -1;
    QTest::newRow("x 2480 -> column 8") << 2480.0 << CellY(2) << -1;
    QTest::newRow("row 1, empty") << CellX(3) << CellY(1) << -1;
    QTest::newRow("row 6 c3, empty") << CellX(3) << CellY(6) << -1;
    QTest::newRow("grid top -> row 1") << CellX(2) << 800.0 << -1;
    QTest::newRow("above the grid") << CellX(2) << 700.0 << -1;
}

void TestKalendoCtl::dayClick()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, day);
    KalendoCtl ctl;
    const QDateTime value(QDate(2001, 4, 14), QTime(0, 0));
    ctl.SetValue(value);
    ctl.DropDown();
    ctl.UserControl_MouseDown(1, 0, x, y);
    if (day == -1) {
        QVERIFY(ctl.DroppedDown);
        QCOMPARE(ctl.DayBox()->text(), QStringLiteral("14"));
    } else {
        QVERIFY(!ctl.DroppedDown);
        QCOMPARE(ctl.size(), QSize(105, 19));
        QCOMPARE(ctl.DayBox()->text(), QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0')));
        QCOMPARE(ctl.MonthBox()->text(), QStringLiteral("04"));
        QCOMPARE(ctl.YearBox()->text(), QStringLiteral("2001"));
        QCOMPARE(ctl.ShownDay(), day);
    }
    QCOMPARE(ctl.Value(), value); // a pick changes the boxes only
}

void TestKalendoCtl::dayClickByMouse()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DropDown();
    ctl->cmdRightMonth_Click(); // May 2001: 1 May is a Tuesday
    // Row 2, column 4 (Wednesday 9 May), at its centre in pixels.
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(int(CellX(4) / 15), int(CellY(2) / 15)));
    QVERIFY(!ctl->DroppedDown);
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("09"));
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("05"));
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14));
}

void TestKalendoCtl::pickThenLeaveCommits()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    form.other->setFocus();
    ctl->SetValue(QDate(2001, 4, 14));
    QTest::mouseClick(ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    QVERIFY(ctl->DroppedDown);
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(int(CellX(3) / 15), int(CellY(5) / 15))); // 24 April
    QVERIFY(!ctl->DroppedDown);
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14));
    QTest::mouseClick(form.other, Qt::LeftButton);
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 24));

    // Opened by the host while the focus is elsewhere: a pick on the calendar takes the focus.
    ctl->DropDown();
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(int(CellX(2) / 15), int(CellY(2) / 15))); // 2 April
    QVERIFY(!form.other->hasFocus());
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 2));
}

void TestKalendoCtl::emptyCellKeepsCalendarOpen()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DropDown();
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(int(CellX(4) / 15), int(CellY(1) / 15)));
    QVERIFY(ctl->DroppedDown);
    QCOMPARE(ctl->size(), QSize(167, 167));
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("14"));
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(int(CellX(6) / 15), int(CellY(6) / 15)));
    QVERIFY(ctl->DroppedDown);
}

void TestKalendoCtl::footerClickShowsToday()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    const QDateTime value(QDate(2001, 4, 14), QTime(0, 0));
    ctl->SetValue(value);
    ctl->DropDown();
    QTest::mouseClick(ctl, Qt::LeftButton, {}, QPoint(80, 2370 / 15));
    const QDate today = QDate::currentDate();
    QVERIFY(!ctl->DroppedDown);
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("%1").arg(today.day(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("%1").arg(today.month(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl->YearBox()->text(), QString::number(today.year()));
    QCOMPARE(ctl->Value(), value); // unchanged until the focus leaves
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), today);
}

void TestKalendoCtl::valueLetWhileOpenRedraws()
{
    KalendoCtl ctl;
    ctl.SetValue(QDate(2001, 4, 14));
    ctl.DropDown();
    ctl.SetValue(QDate(2002, 7, 4));
    QVERIFY(ctl.DroppedDown);
    QCOMPARE(ctl.ShownMonth(), 7);
    QCOMPARE(ctl.ShownYear(), 2002);
    QCOMPARE(ctl.DayGrid(1, 2), 1); // 1 July 2002 is a Monday
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("04"));
}

void TestKalendoCtl::valueLetRefusesInvalid()
{
    KalendoCtl ctl;
    const QDateTime value(QDate(2001, 4, 14), QTime(10, 30));
    ctl.SetValue(value);
    QCOMPARE(ctl.Value(), value); // kept unchanged, time and all
    ctl.SetValue(QDateTime());
    ctl.SetValue(QDate(99, 12, 31));
    ctl.SetValue(QDate(10000, 1, 1));
    QCOMPARE(ctl.Value(), value);
}

void TestKalendoCtl::dropDownToggles()
{
    KalendoCtl ctl;
    ctl.CloseUp(); // nothing when closed
    QVERIFY(!ctl.DroppedDown);
    QCOMPARE(ctl.size(), QSize(105, 19));
    ctl.DropDown();
    QVERIFY(ctl.DroppedDown);
    ctl.DropDown();
    QVERIFY(!ctl.DroppedDown);
    ctl.cmdOpen_Click();
    QVERIFY(ctl.DroppedDown);
    ctl.CloseUp();
    QVERIFY(!ctl.DroppedDown);
}

// ---- keyboard -----------------------------------------------------------------------------------

void TestKalendoCtl::digitsAndAutoAdvance()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    form.other->setFocus();
    QTest::keyClick(form.other, Qt::Key_Tab); // Tab into the day box: all selected
    QVERIFY(ctl->DayBox()->hasFocus());
    QCOMPARE(ctl->DayBox()->selectedText(), QStringLiteral("14"));
    QTest::keyClick(ctl->DayBox(), Qt::Key_0);
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("0"));
    QVERIFY(ctl->DayBox()->hasFocus());
    QTest::keyClick(ctl->DayBox(), Qt::Key_5);
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("05"));
    QVERIFY(ctl->MonthBox()->hasFocus());
    QCOMPARE(ctl->MonthBox()->selectedText(), QStringLiteral("04"));
    QTest::keyClicks(ctl->MonthBox(), QStringLiteral("11"));
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("11"));
    QVERIFY(ctl->YearBox()->hasFocus());
    QTest::keyClicks(ctl->YearBox(), QStringLiteral("200"));
    QVERIFY(ctl->YearBox()->hasFocus());
    QTest::keyClick(ctl->YearBox(), Qt::Key_3);
    QCOMPARE(ctl->YearBox()->text(), QStringLiteral("2003"));
    QVERIFY(ctl->txtDate(1)->hasFocus()); // 3 wraps to 1
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2003, 11, 5));
}

void TestKalendoCtl::digitReplacesSelectionOrAppends()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QLineEdit *year = ctl->YearBox();
    year->setFocus();
    year->setText(QStringLiteral("19"));
    year->setCursorPosition(0); // the digit goes to the end wherever the caret stands
    QTest::keyClick(year, Qt::Key_8);
    QCOMPARE(year->text(), QStringLiteral("198"));
    QCOMPARE(year->cursorPosition(), 3);
    year->setSelection(1, 1); // part of the text selected: the text becomes the digit alone
    QTest::keyClick(year, Qt::Key_7);
    QCOMPARE(year->text(), QStringLiteral("7"));
    // The same through the handler itself.
    QCOMPARE(ctl->txtDate_KeyPress(3, '4'), 0);
    QCOMPARE(year->text(), QStringLiteral("74"));
}

void TestKalendoCtl::fullBoxDropsDigit()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QLineEdit *day = ctl->DayBox();
    day->setFocus();
    day->setText(QStringLiteral("12"));
    day->deselect();
    QTest::keyClick(day, Qt::Key_3);
    QCOMPARE(day->text(), QStringLiteral("12")); // at most 2 characters
    QVERIFY(ctl->MonthBox()->hasFocus());
}

void TestKalendoCtl::separatorsMoveOn()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    form.focus(ctl->txtDate(1));
    QTest::keyClick(ctl->txtDate(1), Qt::Key_7);
    QTest::keyClick(ctl->txtDate(1), Qt::Key_Slash);
    QCOMPARE(ctl->txtDate(1)->text(), QStringLiteral("7"));
    QVERIFY(ctl->txtDate(2)->hasFocus());
    QTest::keyClick(ctl->txtDate(2), Qt::Key_Minus);
    QCOMPARE(ctl->txtDate(2)->text(), QStringLiteral("04"));
    QVERIFY(ctl->txtDate(3)->hasFocus());
    QTest::keyClick(ctl->txtDate(3), Qt::Key_Backslash);
    QVERIFY(ctl->txtDate(1)->hasFocus());
    QCOMPARE(ctl->txtDate(3)->text(), QStringLiteral("2001"));
}

void TestKalendoCtl::otherCharactersRefused()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QLineEdit *day = ctl->DayBox();
    day->setFocus();
    day->setText(QStringLiteral("1"));
    day->deselect();
    QTest::keyClicks(day, QStringLiteral("a.,: x+"));
    QCOMPARE(day->text(), QStringLiteral("1"));
    QVERIFY(day->hasFocus());
    QCOMPARE(ctl->txtDate_KeyPress(1, 'q'), 0);
    QCOMPARE(ctl->txtDate_KeyPress(1, '.'), 0);
    QCOMPARE(day->text(), QStringLiteral("1"));
    // Pasting text that is not digits is refused as well.
    day->selectAll();
    day->insert(QStringLiteral("x9"));
    QCOMPARE(day->text(), QStringLiteral("1"));
}

void TestKalendoCtl::arrowsMoveBetweenBoxes()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->txtDate(1)->setFocus();
    QTest::keyClick(ctl->txtDate(1), Qt::Key_Right);
    QVERIFY(ctl->txtDate(2)->hasFocus());
    QTest::keyClick(ctl->txtDate(2), Qt::Key_Right);
    QVERIFY(ctl->txtDate(3)->hasFocus());
    QTest::keyClick(ctl->txtDate(3), Qt::Key_Right);
    QVERIFY(ctl->txtDate(1)->hasFocus()); // 3 wraps to 1
    QTest::keyClick(ctl->txtDate(1), Qt::Key_Left);
    QVERIFY(ctl->txtDate(3)->hasFocus()); // 1 wraps to 3
    QTest::keyClick(ctl->txtDate(3), Qt::Key_Left);
    QVERIFY(ctl->txtDate(2)->hasFocus());
    QVERIFY(ctl->txtDate(2)->hasSelectedText()); // a box that gets the focus selects its text
    QVERIFY(ctl->txtDate_KeyDown(2, 37));
    QVERIFY(ctl->txtDate(1)->hasFocus());
    QVERIFY(!ctl->txtDate_KeyDown(1, 38));
}

void TestKalendoCtl::backspaceDeletesBeforeCaret()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QLineEdit *year = ctl->YearBox();
    year->setFocus();
    year->setText(QStringLiteral("2001"));
    year->setCursorPosition(2);
    QTest::keyClick(year, Qt::Key_Backspace);
    QCOMPARE(year->text(), QStringLiteral("201"));
    QCOMPARE(year->cursorPosition(), 1);
    QVERIFY(!year->text().contains(u'.'));
    year->setCursorPosition(0);
    QTest::keyClick(year, Qt::Key_Backspace); // nothing before the caret
    QCOMPARE(year->text(), QStringLiteral("201"));
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace); // a selection goes
    QCOMPARE(year->text(), QString());
    QVERIFY(year->hasFocus());
    year->setText(QStringLiteral("19"));
    QCOMPARE(ctl->txtDate_KeyPress(3, 8), 0);
    QCOMPARE(year->text(), QStringLiteral("1"));
}

void TestKalendoCtl::tabStillMovesFocus()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->txtDate(1)->setFocus();
    QTest::keyClick(ctl->txtDate(1), Qt::Key_Tab);
    QVERIFY(ctl->txtDate(2)->hasFocus());
    QTest::keyClick(ctl->txtDate(2), Qt::Key_Tab);
    QVERIFY(ctl->txtDate(3)->hasFocus());
    QTest::keyClick(ctl->txtDate(3), Qt::Key_Backtab);
    QVERIFY(ctl->txtDate(2)->hasFocus());
}

// ---- sizing, Enabled and drawing ------------------------------------------------------------------

void TestKalendoCtl::collapsedHeightPinnedWidthFollows()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    auto *border = ctl->findChild<QLabel *>(QStringLiteral("lblBorder"));
    auto *open = ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen"));
    QCOMPARE(ctl->size(), QSize(105, 19));
    ctl->resize(200, 50);
    QCOMPARE(ctl->size(), QSize(200, 19)); // the height is put back
    QCOMPARE(border->size(), QSize(200, 19));
    QCOMPARE(open->x(), 200 - 15 - 2); // width - 225 - 30 twips
    ctl->resize(150, 5);
    QCOMPARE(ctl->size(), QSize(150, 19));
    QCOMPARE(border->width(), 150);
    QCOMPARE(open->x(), 133);
    // Opening and closing keep the widened collapsed size.
    ctl->DropDown();
    QCOMPARE(ctl->size(), QSize(167, 167));
    ctl->CloseUp();
    QCOMPARE(ctl->size(), QSize(150, 19));
    QCOMPARE(ctl->sizeHint(), QSize(150, 19));
}

void TestKalendoCtl::openSize()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->DropDown();
    QVERIFY(ctl->DroppedDown);
    // 2500 twips at 15 to the pixel is 166.7 pixels: 167.
    QCOMPARE(ctl->size(), QSize(KalendoCtl::px(2500), KalendoCtl::px(2500)));
    QCOMPARE(ctl->size(), QSize(167, 167));
    QVERIFY(qAbs(KalendoCtl::twips(ctl->width()) - 2500) < 15);
    QCOMPARE(ctl->sizeHint(), QSize(167, 167));
    // The control lies over the other controls of the form.
    QVERIFY(ctl->geometry().intersects(form.other->geometry()));
    QCOMPARE(form.window.childAt(form.other->geometry().center()), ctl);
    ctl->CloseUp();
    QCOMPARE(ctl->size(), QSize(105, 19));
}

void TestKalendoCtl::showWhileOpenCollapses()
{
    Form form;
    form.ctl->DropDown(); // before the form is shown
    QCOMPARE(form.ctl->size(), QSize(167, 167));
    QVERIFY(form.show());
    QCOMPARE(form.ctl->size(), QSize(105, 19)); // UserControl_Show: the size of lblBorder
    QVERIFY(!form.ctl->DroppedDown);
    form.ctl->DropDown();
    QVERIFY(form.ctl->DroppedDown);
    QCOMPARE(form.ctl->size(), QSize(167, 167));
}

void TestKalendoCtl::enabledFalseClosesCalendar()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QSignalSpy changed(ctl, &KalendoCtl::propertyChanged);
    ctl->DropDown();
    QVERIFY(ctl->DroppedDown);
    ctl->SetEnabled(false);
    QVERIFY(!ctl->Enabled());
    QVERIFY(!ctl->DroppedDown);
    QCOMPARE(ctl->size(), QSize(105, 19));
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!ctl->txtDate(i)->isEnabled());
    QVERIFY(!ctl->findChild<QLabel *>(QStringLiteral("lblSlash1"))->isEnabled());
    QVERIFY(!ctl->findChild<QLabel *>(QStringLiteral("lblSlash2"))->isEnabled());
    QVERIFY(!ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen"))->isEnabled());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Enabled"));
    ctl->SetEnabled(true);
    QVERIFY(ctl->txtDate(1)->isEnabled());
    QVERIFY(ctl->findChild<QToolButton *>(QStringLiteral("cmdOpen"))->isEnabled());
}

void TestKalendoCtl::drawing()
{
    Form form;
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    const QImage closed = ctl->grab().toImage();
    QCOMPARE(closed.size(), QSize(105, 19));
    ctl->DropDown();
    const QImage open = ctl->grab().toImage();
    QCOMPARE(open.size(), QSize(167, 167));
    // The outline of the calendar (2470 twips) and its shadow (2485 twips) are black.
    QCOMPARE(open.pixelColor(KalendoCtl::px(2470), 100), QColor(Qt::black));
    QCOMPARE(open.pixelColor(KalendoCtl::px(2485), 100), QColor(Qt::black));
    QCOMPARE(open.pixelColor(80, KalendoCtl::px(800)), QColor(Qt::black));
    QCOMPARE(open.pixelColor(80, KalendoCtl::px(2240)), QColor(Qt::black));
    // The grid is white; the selected day (14: row 3, column 7) has the fill-colour disc.
    const int discY = KalendoCtl::px((3 - 1) * 240 + 800 + 120);
    const int discX = KalendoCtl::px(6 * 350 + 200);
    QCOMPARE(open.pixelColor(discX, discY - 6), ctl->FillColor());
    QCOMPARE(open.pixelColor(KalendoCtl::px(200), discY - 6), QColor(Qt::white)); // 8 April: no disc
    // The title band and the footer are in the button face.
    QCOMPARE(open.pixelColor(1, 50), ctl->palette().color(QPalette::Button));
    QCOMPARE(open.pixelColor(3, KalendoCtl::px(2260)), ctl->palette().color(QPalette::Button));
    // Day numbers are drawn: dark pixels in the cell of the 11th.
    bool ink = false;
    for (int y = discY - 6; y <= discY + 6; ++y)
        for (int x = KalendoCtl::px(3 * 350 + 25); x < KalendoCtl::px(4 * 350 + 25); ++x)
            ink = ink || open.pixelColor(x, y).lightness() < 100;
    QVERIFY(ink);
    // No disc when the boxes show another month than the calendar.
    ctl->cmdRightMonth_Click();
    const QImage may = ctl->grab().toImage();
    for (int y = 60; y < 150; ++y)
        for (int x = 2; x < 164; ++x)
            QVERIFY(may.pixelColor(x, y) != ctl->FillColor());
}

QTEST_MAIN(TestKalendoCtl)
#include "tst_kalendoctl.moc"
