// Kalendo: the Qt Designer custom-widget plugin of KalendoCtl.
#include "KalendoCtlPlugin.h"

#include "KalendoCtl.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

KalendoCtlPlugin::KalendoCtlPlugin(QObject *parent)
    : QObject(parent)
{
}

QString KalendoCtlPlugin::name() const
{
    return QStringLiteral("KalendoCtl");
}

QString KalendoCtlPlugin::group() const
{
    return QStringLiteral("Input Widgets");
}

QString KalendoCtlPlugin::toolTip() const
{
    return QStringLiteral("Kalendo Lightweight Date Picker Control");
}

QString KalendoCtlPlugin::whatsThis() const
{
    return QStringLiteral("A compact date entry field: day, month and year boxes in the order of the "
                          "user's locale, and a button that drops down a month calendar.");
}

QString KalendoCtlPlugin::includeFile() const
{
    return QStringLiteral("KalendoCtl.h");
}

QIcon KalendoCtlPlugin::icon() const
{
    // A small calendar leaf.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(1, 2, 14, 13, Qt::white);
    p.fillRect(1, 2, 14, 4, QColor(0x3A, 0x6E, 0xC8));
    p.setPen(Qt::black);
    p.drawRect(1, 2, 13, 12);
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3)
            p.drawPoint(x, y);
    p.end();
    return QIcon(pixmap);
}

bool KalendoCtlPlugin::isContainer() const
{
    return false;
}

QWidget *KalendoCtlPlugin::createWidget(QWidget *parent)
{
    return new KalendoCtl(parent);
}

bool KalendoCtlPlugin::isInitialized() const
{
    return m_initialized;
}

void KalendoCtlPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString KalendoCtlPlugin::domXml() const
{
    // The design-time size is 1575 x 285 twips: 105 x 19 pixels.
    return QStringLiteral(
        "<ui language=\"c++\">\n"
        " <widget class=\"KalendoCtl\" name=\"kalendoCtl\">\n"
        "  <property name=\"geometry\">\n"
        "   <rect><x>0</x><y>0</y><width>105</width><height>19</height></rect>\n"
        "  </property>\n"
        " </widget>\n"
        "</ui>\n");
}
