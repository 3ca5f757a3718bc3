// Tests of KalendoCtl on the forms a Qt developer builds: at a fixed position, under layouts
// (the calendar in a pop-up), and with the widget's own enabled state. Offscreen.
#include "KalendoCtl.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// A shown form with the control and a field below it.
struct Form {
    QWidget window;
    KalendoCtl *ctl = new KalendoCtl;
    QLineEdit *other = new QLineEdit;

    explicit Form(bool inLayout)
    {
        if (inLayout) { // a form layout inside a box layout: the control two layouts down
            auto *fields = new QFormLayout;
            fields->addRow(QStringLiteral("Date:"), ctl);
            fields->addRow(QStringLiteral("Other:"), other);
            (new QVBoxLayout(&window))->addLayout(fields);
        } else {
            ctl->setParent(&window);
            other->setParent(&window);
            window.resize(320, 240);
            ctl->move(60, 10);
            other->setGeometry(60, 40, 120, 22); // under the open calendar
        }
        window.move(100, 100);
        window.show();
        window.activateWindow();
        ctl->SetValue(QDate(2001, 4, 14));
    }
    QWidget *popup() const { return ctl->findChild<QWidget *>(QStringLiteral("calendarPopup")); }
    bool popupShown() const { return popup() && popup()->isVisible(); }
    QToolButton *button(const char *name) const { return ctl->findChild<QToolButton *>(QLatin1String(name)); }
};

// The centre of a day cell on the pop-up, which begins under the 19-pixel field.
QPoint OnPopup(int row, int column)
{
    return QPoint(((column - 1) * 350 + 200) / 15, ((row - 1) * 240 + 920) / 15 - 19);
}

} // namespace

class TestKalendoForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void dropDownInLayout();
    void closing_data();
    void closing();
    void pickAndKeysOnPopup();
    void enabledAgreesWithWidget_data();
    void enabledAgreesWithWidget();
    void disabledFormKeepsSavedEnabled();
};

void TestKalendoForm::init()
{
    KalendoCtl::SetLocaleQuery({});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
}

void TestKalendoForm::dropDownInLayout()
{
    Form form(true);
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    KalendoCtl *ctl = form.ctl;
    const QSize field = ctl->size();
    const QSize window = form.window.size();
    const QSize hint = ctl->sizeHint();
    for (int round = 0; round < 2; ++round) {
        ctl->DropDown();
        QVERIFY(ctl->DroppedDown);
        QApplication::processEvents();
        // The field keeps its size and the form does not grow; the pop-up holds the rest of
        // the 167-pixel calendar right under the field.
        QCOMPARE(ctl->size(), field);
        QCOMPARE(ctl->sizeHint(), hint);
        QCOMPARE(form.window.size(), window);
        QVERIFY(form.popupShown());
        QCOMPARE(form.popup()->geometry(), QRect(ctl->mapToGlobal(QPoint(0, 19)), QSize(167, 148)));
        ctl->DropDown(); // toggles, as the button does
        QVERIFY(!ctl->DroppedDown);
        QVERIFY(!form.popupShown());
    }
}

void TestKalendoForm::closing_data()
{
    QTest::addColumn<bool>("inLayout");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::newRow("fixed: focus leaves") << false << "focus leaves" << true;
    QTest::newRow("pop-up: focus leaves") << true << "focus leaves" << true;
    QTest::newRow("pop-up: Escape") << true << "escape" << true;
    QTest::newRow("pop-up: click outside") << true << "outside" << true;
    QTest::newRow("pop-up: open button") << true << "open button" << true;
    QTest::newRow("pop-up: CloseUp") << true << "closeup" << true;
    QTest::newRow("pop-up: setEnabled(false)") << true << "setEnabled" << true;
    QTest::newRow("pop-up: form hidden") << true << "hide" << true;
    QTest::newRow("pop-up: empty cell") << true << "empty cell" << false;
}

void TestKalendoForm::closing()
{
    QFETCH(bool, inLayout);
    QFETCH(QString, how);
    QFETCH(bool, closes);
    Form form(inLayout);
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    KalendoCtl *ctl = form.ctl;
    ctl->DayBox()->setFocus();
    ctl->DayBox()->setText(QStringLiteral("20"));
    ctl->DropDown();
    QCOMPARE(form.popupShown(), inLayout);
    QWidget *popup = form.popup();
    const QPoint corner = form.window.mapToGlobal(QPoint(2, 2)); // beside the field
    QToolButton *open = form.button("cmdOpen");
    if (how == u"focus leaves")
        form.other->setFocus();
    else if (how == u"escape")
        QTest::keyClick(popup, Qt::Key_Escape);
    else if (how == u"outside")
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->mapFromGlobal(corner));
    else if (how == u"open button") { // pressed while open: closes, and the release does not reopen
        QTest::mousePress(popup, Qt::LeftButton, {}, popup->mapFromGlobal(open->mapToGlobal(QPoint(7, 7))));
        QTest::mouseRelease(open, Qt::LeftButton, {}, QPoint(7, 7));
    } else if (how == u"closeup")
        ctl->CloseUp();
    else if (how == u"setEnabled")
        ctl->setEnabled(false);
    else if (how == u"hide")
        form.window.hide();
    else if (how == u"empty cell")
        QTest::mouseClick(popup, Qt::LeftButton, {}, OnPopup(1, 3));
    QCOMPARE(ctl->DroppedDown, !closes);
    QCOMPARE(form.popupShown(), !closes && popup);
    if (closes)
        QCOMPARE(ctl->height(), 19);
    if (how == u"focus leaves")
        QCOMPARE(ctl->Value().date(), QDate(2001, 4, 20));
}

void TestKalendoForm::pickAndKeysOnPopup()
{
    Form form(true);
    QVERIFY(QTest::qWaitForWindowActive(&form.window));
    KalendoCtl *ctl = form.ctl;
    form.other->setFocus();
    QTest::mouseClick(form.button("cmdOpen"), Qt::LeftButton);
    QVERIFY(form.popupShown());
    QTest::mouseClick(form.popup(), Qt::LeftButton, {}, OnPopup(5, 3)); // Tuesday 24 April
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(!form.popupShown());
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("24"));
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 14)); // not before the focus leaves
    QTest::mouseClick(form.other, Qt::LeftButton);
    QVERIFY(form.other->hasFocus());
    QCOMPARE(ctl->Value().date(), QDate(2001, 4, 24));

    ctl->DayBox()->setFocus(); // its text selected
    ctl->DropDown();
    // The pop-up has the keyboard; the keys still type into the boxes.
    QTest::keyClicks(form.popup(), QStringLiteral("07"));
    QCOMPARE(ctl->DayBox()->text(), QStringLiteral("07"));
    QVERIFY(ctl->MonthBox()->hasFocus());
    QVERIFY(form.popupShown());
    // The month and year buttons lie on the pop-up where they lie on the open control.
    QToolButton *next = form.button("cmdRightMonth");
    QCOMPARE(next->window(), form.popup());
    QCOMPARE(next->mapToGlobal(QPoint(0, 0)), ctl->mapToGlobal(QPoint(134, 24)));
    QTest::mouseClick(form.button("cmdRightYear"), Qt::LeftButton);
    QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(form.popup(), Qt::LeftButton, {}, OnPopup(1, 4)); // Wednesday 1 May 2002
    form.other->setFocus();
    QCOMPARE(ctl->Value().date(), QDate(2002, 5, 1));
}

void TestKalendoForm::enabledAgreesWithWidget_data()
{
    QTest::addColumn<QString>("disableBy");
    QTest::addColumn<QString>("enableBy");
    QTest::newRow("setEnabled, both ways") << "setEnabled" << "setEnabled";
    QTest::newRow("setEnabled, then SetEnabled") << "setEnabled" << "SetEnabled";
    QTest::newRow("SetEnabled, then setEnabled") << "SetEnabled" << "setEnabled";
    QTest::newRow("Qt properties") << "enabled" << "Enabled";
}

void TestKalendoForm::enabledAgreesWithWidget()
{
    QFETCH(QString, disableBy);
    QFETCH(QString, enableBy);
    auto apply = [](KalendoCtl *ctl, const QString &by, bool on) {
        if (by == u"setEnabled")
            ctl->setEnabled(on);
        else if (by == u"SetEnabled")
            ctl->SetEnabled(on);
        else
            ctl->setProperty(by.toLatin1(), on); // "enabled" (QWidget's) or "Enabled"
    };
    Form form(true);
    KalendoCtl *ctl = form.ctl;
    QSignalSpy changed(ctl, &KalendoCtl::propertyChanged);
    for (bool on : {false, true}) {
        apply(ctl, on ? enableBy : disableBy, on);
        QCOMPARE(ctl->Enabled(), on);
        QCOMPARE(ctl->isEnabled(), on);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(ctl->txtDate(i)->isEnabled(), on);
        QCOMPARE(form.button("cmdOpen")->isEnabled(), on);
        QCOMPARE(ctl->UserControl_WriteProperties().value(QStringLiteral("Enabled"), true), QVariant(on));
        QCOMPARE(changed.count(), on ? 2 : 1);
    }
}

void TestKalendoForm::disabledFormKeepsSavedEnabled()
{
    // A disabled form disables the control for the user, closes its calendar, and leaves its
    // own saved value alone.
    Form form(true);
    KalendoCtl *ctl = form.ctl;
    ctl->DropDown();
    form.window.setEnabled(false);
    QVERIFY(!ctl->isEnabled());
    QVERIFY(!ctl->DroppedDown);
    QVERIFY(ctl->Enabled());
    QVERIFY(ctl->UserControl_WriteProperties().isEmpty());
    form.window.setEnabled(true);
    QVERIFY(ctl->txtDate(1)->isEnabled());
}

QTEST_MAIN(TestKalendoForm)
#include "tst_kalendoform.moc"
