// Tests of KalendoCtl on the forms a Qt developer builds: under layouts (the calendar in a
// pop-up), at a fixed position, and with the widget's own enabled state. Offscreen.
#include "KalendoCtl.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

enum class Placing { Fixed, FormLayout, BoxLayout, NestedLayout, GridLayout };

// A form with a caption, the control and a field below it, placed as a developer would.
struct Form {
    QWidget window;
    KalendoCtl *ctl = nullptr;
    QLineEdit *other = nullptr;

    explicit Form(Placing placing)
    {
        auto *caption = new QLabel(QStringLiteral("Date:"));
        ctl = new KalendoCtl;
        other = new QLineEdit;
        switch (placing) {
        case Placing::Fixed:
            for (QWidget *w : {static_cast<QWidget *>(caption), static_cast<QWidget *>(ctl),
                               static_cast<QWidget *>(other)})
                w->setParent(&window);
            window.resize(320, 240);
            ctl->move(60, 10);
            other->setGeometry(60, 40, 120, 22); // under the open calendar
            break;
        case Placing::FormLayout: {
            auto *form = new QFormLayout(&window);
            form->addRow(caption, ctl);
            form->addRow(QStringLiteral("Other:"), other);
            break;
        }
        case Placing::BoxLayout: {
            auto *box = new QVBoxLayout(&window);
            box->addWidget(caption);
            box->addWidget(ctl);
            box->addWidget(other);
            break;
        }
        case Placing::NestedLayout: {
            auto *outer = new QVBoxLayout(&window);
            auto *row = new QHBoxLayout;
            outer->addLayout(row);
            row->addWidget(caption);
            row->addWidget(ctl);
            outer->addWidget(other);
            break;
        }
        case Placing::GridLayout: {
            auto *grid = new QGridLayout(&window);
            grid->addWidget(caption, 0, 0);
            grid->addWidget(ctl, 0, 1);
            grid->addWidget(other, 1, 1);
            break;
        }
        }
    }
    bool show()
    {
        window.move(100, 100);
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    QWidget *popup() const { return ctl->findChild<QWidget *>(QStringLiteral("calendarPopup")); }
    bool popupShown() const { return popup() && popup()->isVisible(); }
    QToolButton *button(const char *name) const { return ctl->findChild<QToolButton *>(QLatin1String(name)); }
};

// The centre of a day cell, in pixels from the control's top left.
QPoint Cell(int row, int column)
{
    return QPoint(((column - 1) * 350 + 200) / 15, ((row - 1) * 240 + 920) / 15);
}

// The same point on the pop-up, which begins under the 19-pixel field.
QPoint OnPopup(QPoint inControl)
{
    return inControl - QPoint(0, 19);
}

} // namespace

class TestKalendoForm : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void dropDown_data();
    void dropDown();
    void pickInFormLayoutCommitsWhenFocusLeaves();
    void popupCloses_data();
    void popupCloses();
    void popupKeysReachTheBox();
    void popupStepButtons();
    void leavingClosesDroppedCalendar_data();
    void leavingClosesDroppedCalendar();

    void enabledAgreesWithWidget_data();
    void enabledAgreesWithWidget();
    void disabledFormKeepsSavedEnabled();
};

void TestKalendoForm::init()
{
    KalendoCtl::SetLocaleQuery({});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
}

// ---- dropping down ---------------------------------------------------------------------------

void TestKalendoForm::dropDown_data()
{
    QTest::addColumn<Placing>("placing");
    QTest::addColumn<bool>("inPopup");
    QTest::newRow("fixed position") << Placing::Fixed << false;
    QTest::newRow("form layout") << Placing::FormLayout << true;
    QTest::newRow("box layout") << Placing::BoxLayout << true;
    QTest::newRow("nested layout") << Placing::NestedLayout << true;
    QTest::newRow("grid layout") << Placing::GridLayout << true;
}

void TestKalendoForm::dropDown()
{
    QFETCH(Placing, placing);
    QFETCH(bool, inPopup);
    Form form(placing);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    const QSize field = ctl->size();
    const QSize window = form.window.size();
    const QSize hint = ctl->sizeHint();
    QCOMPARE(field.height(), 19);

    ctl->DropDown();
    QVERIFY(ctl->DroppedDown);
    QCOMPARE(form.popupShown(), inPopup);
    if (inPopup) {
        // The field keeps its place and size, the form does not grow, and the pop-up holds the
        // rest of the 167-pixel calendar right under the field.
        QApplication::processEvents();
        QCOMPARE(ctl->size(), field);
        QCOMPARE(ctl->sizeHint(), hint);
        QCOMPARE(form.window.size(), window);
        QCOMPARE(form.popup()->geometry(), QRect(ctl->mapToGlobal(QPoint(0, 19)), QSize(167, 148)));
        QVERIFY(form.popup()->isWindow());
    } else {
        QCOMPARE(ctl->size(), QSize(167, 167));
    }

    ctl->DropDown(); // toggles, as the button does
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(!form.popupShown());
    QApplication::processEvents();
    QCOMPARE(ctl->size(), field);
    QCOMPARE(form.window.size(), window);
}

void TestKalendoForm::pickInFormLayoutCommitsWhenFocusLeaves()
{
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    form.other->setFocus();
    QTest::mouseClick(form.button("cmdOpen"), Qt::LeftButton);
    QVERIFY(ctl->DroppedDown);
    QVERIFY(form.popupShown());
    QTest::mouseClick(form.popup(), Qt::LeftButton, {}, OnPopup(Cell(5, 3))); // Tuesday 24 April
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(!form.popupShown());
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("24"));
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14)); // not before the focus leaves
    QTest::mouseClick(form.other, Qt::LeftButton);
    QVERIFY(form.other->hasFocus());
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 24));

    // The footer of the pop-up: today.
    ctl->DropDown();
    QTest::mouseClick(form.popup(), Qt::LeftButton, {}, OnPopup(QPoint(80, 2370 / 15)));
    QVERIFY(!ctl->DroppedDown);
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate::currentDate());
}

void TestKalendoForm::popupCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Escape") << "escape" << true;
    QTest::newRow("click outside") << "outside" << true;
    QTest::newRow("click on the open button") << "open button" << true;
    QTest::newRow("CloseUp") << "closeup" << true;
    QTest::newRow("Enabled False") << "Enabled" << true;
    QTest::newRow("setEnabled(false)") << "setEnabled" << true;
    QTest::newRow("form hidden") << "hide" << true;
    QTest::newRow("click on an empty cell") << "empty cell" << false;
    QTest::newRow("next month") << "next month" << false;
}

void TestKalendoForm::popupCloses()
{
    QFETCH(QString, how);
    QFETCH(bool, closes);
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DayBox()->setFocus();
    ctl->DropDown();
    QVERIFY(form.popupShown());
    QWidget *popup = form.popup();

    if (how == u"escape") {
        QTest::keyClick(popup, Qt::Key_Escape);
    } else if (how == u"outside") {
        const QPoint corner = form.window.mapToGlobal(QPoint(2, 2)); // the form's corner, beside the field
        QVERIFY(!popup->geometry().contains(corner));
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->mapFromGlobal(corner));
    } else if (how == u"open button") {
        QToolButton *open = form.button("cmdOpen");
        const QPoint at = popup->mapFromGlobal(open->mapToGlobal(open->rect().center()));
        QTest::mousePress(popup, Qt::LeftButton, {}, at);
        QTest::mouseRelease(open, Qt::LeftButton, {}, open->rect().center());
    } else if (how == u"closeup") {
        ctl->CloseUp();
    } else if (how == u"Enabled") {
        ctl->SetEnabled(false);
    } else if (how == u"setEnabled") {
        ctl->setEnabled(false);
    } else if (how == u"hide") {
        form.window.hide();
    } else if (how == u"empty cell") {
        QTest::mouseClick(popup, Qt::LeftButton, {}, OnPopup(Cell(1, 3)));
    } else if (how == u"next month") {
        QTest::mouseClick(form.button("cmdRightMonth"), Qt::LeftButton);
        QCOMPARE(ctl->ShownMonth(), 5);
    }
    QCOMPARE(ctl->DroppedDown, !closes);
    QCOMPARE(popup->isVisible(), !closes);
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("14"));
}

void TestKalendoForm::popupKeysReachTheBox()
{
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    form.other->setFocus();
    QTest::keyClick(form.other, Qt::Key_Tab); // into the day box, its text selected
    QVERIFY(ctl->DayBox()->hasFocus());
    ctl->DropDown();
    QVERIFY(form.popupShown());
    // The pop-up has the keyboard; the keys still type into the boxes.
    QTest::keyClicks(form.popup(), QStringLiteral("07"));
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("07"));
    QVERIFY(ctl->MonthBox()->hasFocus());
    QVERIFY(form.popupShown());
    QTest::keyClick(form.popup(), Qt::Key_Escape);
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(ctl->MonthBox()->hasFocus());
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 7));
}

void TestKalendoForm::popupStepButtons()
{
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DropDown();
    QToolButton *next = form.button("cmdRightMonth");
    // On the pop-up, at the place they have on the open control.
    QCOMPARE(next->window(), form.popup());
    QCOMPARE(next->mapToGlobal(QPoint(0, 0)), ctl->mapToGlobal(QPoint(134, 24)));
    QVERIFY(next->isVisible());
    QTest::mouseClick(form.button("cmdRightYear"), Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(ctl->ShownMonth(), 5);
    QCOMPARE(ctl->ShownYear(), 2002);
    QTest::mouseClick(form.popup(), Qt::LeftButton, {}, OnPopup(Cell(1, 4))); // 1 May 2002, a Wednesday
    QVERIFY(!ctl->DroppedDown);
    QCOMPARE(ctl->MonthBox()->text(), QStringLiteral("05"));
    QCOMPARE(ctl->YearBox()->text(), QStringLiteral("2002"));
    // The same buttons serve the calendar on the control.
    form.window.layout()->removeWidget(ctl);
    ctl->DropDown();
    QCOMPARE(ctl->size(), QSize(167, 167));
    QCOMPARE(next->parentWidget(), ctl);
    QCOMPARE(next->pos(), QPoint(134, 24));
    QVERIFY(next->isVisible());
}

void TestKalendoForm::leavingClosesDroppedCalendar_data()
{
    QTest::addColumn<Placing>("placing");
    QTest::newRow("fixed position") << Placing::Fixed;
    QTest::newRow("form layout") << Placing::FormLayout;
}

void TestKalendoForm::leavingClosesDroppedCalendar()
{
    QFETCH(Placing, placing);
    Form form(placing);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->SetValue(QDate(2001, 4, 14));
    ctl->DayBox()->setFocus();
    ctl->DayBox()->setText(QStringLiteral("20"));
    ctl->DropDown();
    QVERIFY(ctl->DroppedDown);
    form.other->setFocus();
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(!form.popupShown());
    QCOMPARE(ctl->height(), 19);
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 20));
}

// ---- Enabled and the widget's enabled state -----------------------------------------------------

void TestKalendoForm::enabledAgreesWithWidget_data()
{
    QTest::addColumn<QString>("disableBy");
    QTest::addColumn<QString>("enableBy");
    QTest::newRow("Enabled let, both ways") << "Enabled" << "Enabled";
    QTest::newRow("setEnabled, both ways") << "setEnabled" << "setEnabled";
    QTest::newRow("setEnabled, then Enabled") << "setEnabled" << "Enabled";
    QTest::newRow("Enabled, then setEnabled") << "Enabled" << "setEnabled";
    QTest::newRow("Qt properties") << "property enabled" << "property Enabled";
    QTest::newRow("setDisabled") << "setDisabled" << "setEnabled";
}

void TestKalendoForm::enabledAgreesWithWidget()
{
    QFETCH(QString, disableBy);
    QFETCH(QString, enableBy);
    auto apply = [](KalendoCtl *ctl, const QString &by, bool on) {
        if (by == u"Enabled")
            ctl->SetEnabled(on);
        else if (by == u"setEnabled")
            ctl->setEnabled(on);
        else if (by == u"setDisabled")
            ctl->setDisabled(!on);
        else
            ctl->setProperty(by.section(u' ', 1).toLatin1(), on);
    };
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    QSignalSpy changed(ctl, &KalendoCtl::propertyChanged);

    apply(ctl, disableBy, false);
    QVERIFY(!ctl->Enabled());
    QVERIFY(!ctl->isEnabled());
    QVERIFY(!ctl->property("Enabled").toBool());
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!ctl->txtDate(i)->isEnabled());
    QVERIFY(!form.button("cmdOpen")->isEnabled());
    QCOMPARE(ctl->UserControl_WriteProperties().value(QStringLiteral("Enabled")), QVariant(false));
    QCOMPARE(changed.count(), 1);

    apply(ctl, enableBy, true);
    QVERIFY(ctl->Enabled());
    QVERIFY(ctl->isEnabled());
    for (int i = 1; i <= 3; ++i)
        QVERIFY(ctl->txtDate(i)->isEnabled());
    QVERIFY(form.button("cmdOpen")->isEnabled());
    QVERIFY(ctl->UserControl_WriteProperties().isEmpty());
    QCOMPARE(changed.count(), 2);
}

void TestKalendoForm::disabledFormKeepsSavedEnabled()
{
    // A disabled form disables the control for the user but leaves its own saved value alone.
    Form form(Placing::FormLayout);
    QVERIFY(form.show());
    KalendoCtl *ctl = form.ctl;
    ctl->DropDown();
    form.window.setEnabled(false);
    QVERIFY(!ctl->isEnabled());
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(ctl->Enabled());
    QVERIFY(ctl->UserControl_WriteProperties().isEmpty());
    form.window.setEnabled(true);
    QVERIFY(ctl->txtDate(1)->isEnabled());

    // Disabled by the host while the form is disabled: it stays so when the form returns.
    form.window.setEnabled(false);
    ctl->setEnabled(false);
    form.window.setEnabled(true);
    QVERIFY(!ctl->Enabled());
    QVERIFY(!ctl->txtDate(1)->isEnabled());
    QCOMPARE(ctl->UserControl_WriteProperties().value(QStringLiteral("Enabled")), QVariant(false));
}

QTEST_MAIN(TestKalendoForm)
#include "tst_kalendoform.moc"
