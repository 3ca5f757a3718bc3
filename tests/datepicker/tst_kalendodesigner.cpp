// Tests of the Qt Designer plugin of KalendoCtl: it loads with QPluginLoader and creates the
// control, and QUiLoader builds a form that holds the control from a .ui file.
#include "KalendoCtl.h"

#include <QBuffer>
#include <QLineEdit>
#include <QPluginLoader>
#include <QTest>

#include <memory>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#ifdef KALENDO_HAVE_UITOOLS
#include <QUiLoader>
#endif

#ifndef KALENDO_DESIGNER_PLUGIN
#error "KALENDO_DESIGNER_PLUGIN must name the built plugin"
#endif

class TestKalendoDesigner : public QObject
{
    Q_OBJECT

private slots:
    void pluginLoadsAndCreatesControl();
    void domXmlPlacesControl();
    void formFromUiFile();
};

void TestKalendoDesigner::pluginLoadsAndCreatesControl()
{
    QPluginLoader loader(QStringLiteral(KALENDO_DESIGNER_PLUGIN));
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    QCOMPARE(loader.metaData().value(QStringLiteral("IID")).toString(),
             QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetInterface"));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    QVERIFY(plugin);
    QCOMPARE(plugin->name(), QStringLiteral("KalendoCtl"));
    QCOMPARE(plugin->includeFile(), QStringLiteral("KalendoCtl.h"));
    QVERIFY(!plugin->isContainer());
    QVERIFY(!plugin->group().isEmpty());
    QVERIFY(!plugin->icon().isNull());
    QVERIFY(!plugin->isInitialized());
    plugin->initialize(nullptr);
    QVERIFY(plugin->isInitialized());

    QWidget form;
    QWidget *widget = plugin->createWidget(&form);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &form);
    auto *ctl = qobject_cast<KalendoCtl *>(widget);
    QVERIFY(ctl);
    QCOMPARE(ctl->size(), QSize(105, 19));
    ctl->DropDown();
    QVERIFY(ctl->DroppedDown);
}

void TestKalendoDesigner::domXmlPlacesControl()
{
    QPluginLoader loader(QStringLiteral(KALENDO_DESIGNER_PLUGIN));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
    QVERIFY(plugin);
    const QString xml = plugin->domXml();
    QVERIFY(xml.contains(QStringLiteral("class=\"KalendoCtl\"")));
    QVERIFY(xml.contains(QStringLiteral("<width>105</width>")));
    QVERIFY(xml.contains(QStringLiteral("<height>19</height>")));
}

void TestKalendoDesigner::formFromUiFile()
{
#ifndef KALENDO_HAVE_UITOOLS
    QSKIP("Qt UiTools is not available");
#else
    // A form saved by the designer: the control with its one saved property.
    const QByteArray ui = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>240</width><height>120</height></rect></property>
  <widget class="KalendoCtl" name="kalendoCtl1">
   <property name="geometry"><rect><x>10</x><y>10</y><width>105</width><height>19</height></rect></property>
   <property name="Enabled"><bool>false</bool></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>KalendoCtl</class><extends>QWidget</extends><header>KalendoCtl.h</header></customwidget>
 </customwidgets>
</ui>
)";
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(KALENDO_DESIGNER_PLUGIN_DIR));
    QVERIFY(loader.availableWidgets().contains(QStringLiteral("KalendoCtl")));
    QBuffer buffer;
    buffer.setData(ui);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    QVERIFY2(form, qPrintable(loader.errorString()));
    auto *ctl = form->findChild<KalendoCtl *>(QStringLiteral("kalendoCtl1"));
    QVERIFY(ctl);
    QVERIFY(!ctl->Enabled());
    QVERIFY(!ctl->txtDate(1)->isEnabled());
    QCOMPARE(ctl->size(), QSize(105, 19));
#endif
}

QTEST_MAIN(TestKalendoDesigner)
#include "tst_kalendodesigner.moc"
