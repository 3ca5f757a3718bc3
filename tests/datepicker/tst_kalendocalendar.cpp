// Tests of KalendoCtl's dropped calendar as drawn (the texts and where they stand, read from a
// recording paint device) and of the mouse on its footer edge. Offscreen.
#include "KalendoCtl.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

struct DrawnText {
    QString text;
    QFont font;
    double top = 0;    // pixels: the top of the text line (baseline - ascent)
    double centre = 0; // the middle of its advance
};

// A paint engine that keeps the texts drawn through it and nothing else.
class RecordingEngine final : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<DrawnText> texts;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyTransform)
            m_transform = state.transform();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QFontMetricsF fm(item.font());
        const QPointF at = m_transform.map(p);
        const double width = fm.horizontalAdvance(item.text());
        texts.push_back({item.text(), item.font(), at.y() - fm.ascent(), at.x() + width / 2});
    }
    Type type() const override { return QPaintEngine::User; }

private:
    QTransform m_transform;
};

class RecordingDevice final : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &m_engine; }
    std::vector<DrawnText> &texts() { return m_engine.texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: case PdmHeight: return 400;
        case PdmWidthMM: case PdmHeightMM: return 106;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        default: return QPaintDevice::metric(metric); // colours and pixel ratios
        }
    }

private:
    mutable RecordingEngine m_engine;
};

// Twips to pixels, for the places the calendar's layout gives in twips.
double Px(double twips)
{
    return twips / 15.0;
}

} // namespace

class TestKalendoCalendar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void calendarTexts_data();
    void calendarTexts();
    void footerEdge_data();
    void footerEdge();
};

void TestKalendoCalendar::init()
{
    KalendoCtl::SetLocaleQuery({});
    QLocale::setDefault(QLocale(QStringLiteral("en_GB")));
}

// ---- what the calendar draws --------------------------------------------------------------------

void TestKalendoCalendar::calendarTexts_data()
{
    QTest::addColumn<bool>("inLayout");
    QTest::addColumn<QDate>("value");
    QTest::addColumn<QString>("title");
    QTest::newRow("on the control, April 2001") << false << QDate(2001, 4, 14) << "April 2001";
    QTest::newRow("on the pop-up, April 2001") << true << QDate(2001, 4, 14) << "April 2001";
    QTest::newRow("September, nine letters") << false << QDate(2009, 9, 30) << "September 2009";
}

void TestKalendoCalendar::calendarTexts()
{
    QFETCH(bool, inLayout);
    QFETCH(QDate, value);
    QFETCH(QString, title);
    QWidget form;
    auto *ctl = new KalendoCtl(&form);
    if (inLayout)
        (new QFormLayout(&form))->addRow(QStringLiteral("Date:"), ctl);
    form.show();
    ctl->SetValue(value);
    ctl->DropDown();

    // The texts in the control's own pixels, whichever surface holds the calendar.
    RecordingDevice device;
    QWidget *popup = ctl->findChild<QWidget *>(QStringLiteral("calendarPopup"));
    QCOMPARE(popup && popup->isVisible(), inLayout);
    (inLayout ? popup : static_cast<QWidget *>(ctl))->render(&device);
    std::vector<DrawnText> texts = device.texts();
    for (DrawnText &t : texts)
        t.top += inLayout ? 19 : 0;
    auto near = [](double a, double b) { return qAbs(a - b) <= 0.5; };

    // The title, bold, centred on the calendar at 350 twips.
    auto titleAt = std::find_if(texts.begin(), texts.end(), [](const DrawnText &t) { return t.font.bold(); });
    QVERIFY(titleAt != texts.end());
    QCOMPARE(titleAt->text, title);
    QVERIFY2(near(titleAt->centre, Px(2500) / 2), qPrintable(QString::number(titleAt->centre)));
    QVERIFY2(near(titleAt->top, Px(350)), qPrintable(QString::number(titleAt->top)));

    // The weekday row at 600 twips, Sunday first, each name centred in its 350-twip column.
    QStringList row;
    for (const DrawnText &t : texts) {
        if (near(t.top, Px(600))) {
            row << t.text;
            QVERIFY2(near(t.centre, Px((row.size() - 1) * 350 + 25 + 175)), qPrintable(t.text));
        }
    }
    QCOMPARE(row.join(u' '), QStringLiteral("Sun Mon Tue Wed Thu Fri Sat"));

    // The footer: today, not Value, centred in the band below 2240 twips.
    auto footer = std::find_if(texts.begin(), texts.end(), [](const DrawnText &t) { return t.top >= Px(2240); });
    QVERIFY(footer != texts.end());
    QCOMPARE(footer->text, QLocale().toString(QDate::currentDate(), QStringLiteral("d MMMM yyyy")));
    QVERIFY(footer->text != QLocale().toString(value, QStringLiteral("d MMMM yyyy")));
    QVERIFY(near(footer->centre, Px(2500) / 2));
    QVERIFY(near(footer->top, Px(2240) + (Px(240) - QFontMetricsF(footer->font).height()) / 2));
}

// ---- the mouse where the grid meets the footer ------------------------------------------------

void TestKalendoCalendar::footerEdge_data()
{
    // April 2001, row 6: Sunday 29 and Monday 30; y = 2240 is both the grid's last line and the
    // footer's first: the footer has the last word.
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("day"); // 0: today
    QTest::newRow("2240 on the 29th") << 200.0 << 2240.0 << 0;
    QTest::newRow("2240 on an empty cell") << 1600.0 << 2240.0 << 0;
    QTest::newRow("2239 on the 29th") << 200.0 << 2239.0 << 29;
    QTest::newRow("2239 on the 30th") << 550.0 << 2239.0 << 30;
    QTest::newRow("bottom edge") << 1250.0 << 2499.0 << 0;
}

void TestKalendoCalendar::footerEdge()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, day);
    KalendoCtl ctl;
    const QDateTime value(QDate(2001, 4, 14), QTime(0, 0));
    ctl.SetValue(value);
    ctl.DropDown();
    ctl.UserControl_MouseDown(1, 0, x, y);
    const QDate expected = day == 0 ? QDate::currentDate() : QDate(2001, 4, day);
    QVERIFY(!ctl.DroppedDown);
    QCOMPARE(ctl.DayBox()->text(), QStringLiteral("%1").arg(expected.day(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl.MonthBox()->text(), QStringLiteral("%1").arg(expected.month(), 2, 10, QLatin1Char('0')));
    QCOMPARE(ctl.YearBox()->text(), QString::number(expected.year()));
    QCOMPARE(ctl.Value(), value); // a pick changes the boxes only
}

QTEST_MAIN(TestKalendoCalendar)
#include "tst_kalendocalendar.moc"
