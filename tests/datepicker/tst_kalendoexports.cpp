// Tests of Kalendo's four exports, through dlopen as a host loads the library (this program
// does not link libkalendo; it only includes the hosts' header).
#include "kalendo_exports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <dlfcn.h>

#ifndef KALENDO_LIBRARY_PATH
#error "KALENDO_LIBRARY_PATH must name the built libkalendo"
#endif

namespace {

const char kSection[] = "[{6B3F2A71-94C8-4E5D-A1B7-3C52D8E90F14}]";

QString ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestKalendoExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void exportsAreUnmangled();
    void registerAndUnregister_data();
    void registerAndUnregister();
    void registryUnderConfigFolder();
    void registerFailsOnUnwritablePath();
    void unknownClassNotAvailable();
    void factoryCreatesControl();
    void canUnloadWhileControlLives();
    void serverLocks();
    void controlTakenByForm();
    void controlInterface();
    void argumentsChecked();

private:
    void *m_lib = nullptr;
    PFN_DllRegisterServer m_register = nullptr;
    PFN_DllUnregisterServer m_unregister = nullptr;
    PFN_DllGetClassObject m_getClassObject = nullptr;
    PFN_DllCanUnloadNow m_canUnloadNow = nullptr;
    QTemporaryDir m_dir;

    IKalendoClassFactory *Factory();
};

void TestKalendoExports::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_lib = dlopen(KALENDO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(m_lib, dlerror());
    m_register = reinterpret_cast<PFN_DllRegisterServer>(dlsym(m_lib, "DllRegisterServer"));
    m_unregister = reinterpret_cast<PFN_DllUnregisterServer>(dlsym(m_lib, "DllUnregisterServer"));
    m_getClassObject = reinterpret_cast<PFN_DllGetClassObject>(dlsym(m_lib, "DllGetClassObject"));
    m_canUnloadNow = reinterpret_cast<PFN_DllCanUnloadNow>(dlsym(m_lib, "DllCanUnloadNow"));
    QVERIFY(m_register && m_unregister && m_getClassObject && m_canUnloadNow);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_OK);
}

void TestKalendoExports::cleanup()
{
    qunsetenv("KALENDO_REGISTRY");
    QCOMPARE(m_canUnloadNow(), KALENDO_S_OK); // every test leaves nothing alive
}

IKalendoClassFactory *TestKalendoExports::Factory()
{
    void *pv = nullptr;
    if (m_getClassObject(&CLSID_KalendoCtl, &IID_IKalendoClassFactory, &pv) != KALENDO_S_OK)
        return nullptr;
    return static_cast<IKalendoClassFactory *>(pv);
}

void TestKalendoExports::exportsAreUnmangled()
{
    // The names are found as they stand, and the addresses are the library's.
    Dl_info info{};
    QVERIFY(dladdr(reinterpret_cast<void *>(m_register), &info) != 0);
    QCOMPARE(QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath(),
             QFileInfo(QStringLiteral(KALENDO_LIBRARY_PATH)).canonicalFilePath());
    QCOMPARE(QByteArray(info.dli_sname), QByteArray("DllRegisterServer"));
}

void TestKalendoExports::registerAndUnregister_data()
{
    QTest::addColumn<QByteArray>("existing");
    QTest::newRow("LF") << QByteArray("; a registry of our own\n[{11111111-2222-3333-4444-555555555555}]\nName=Other\n");
    // Another program's line endings and stray carriage returns are its own.
    QTest::newRow("CRLF") << QByteArray("; a registry of our own\r\n[{11111111-2222-3333-4444-555555555555}]\r\nName=Other\r\r\n");
}

void TestKalendoExports::registerAndUnregister()
{
    QFETCH(QByteArray, existing);
    const QString original = QString::fromUtf8(existing);
    const QString registry = m_dir.filePath(QStringLiteral("sub/registry.ini"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("sub")));
    // Another class's entry is there already and must stay.
    {
        QFile file(registry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    qputenv("KALENDO_REGISTRY", QFile::encodeName(registry));
    QCOMPARE(m_register(), KALENDO_S_OK);
    const QString text = ReadAll(registry);
    const QString library = QFileInfo(QStringLiteral(KALENDO_LIBRARY_PATH)).canonicalFilePath();
    QVERIFY2(text.contains(QLatin1String(kSection)), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("\nName=KalendoCtl\n")));
    QVERIFY(text.contains(QStringLiteral("\nPath=") + library + u'\n'));
    QVERIFY(text.contains(QStringLiteral("\nDescription=Kalendo Lightweight Date Picker Control\n")));
    QVERIFY2(text.startsWith(original), qPrintable(text));

    // Registering again replaces the entry rather than adding a second one.
    QCOMPARE(m_register(), KALENDO_S_OK);
    QCOMPARE(ReadAll(registry).count(QLatin1String(kSection)), 1);
    QCOMPARE(ReadAll(registry), text);

    QCOMPARE(m_unregister(), KALENDO_S_OK);
    const QString after = ReadAll(registry);
    QVERIFY(!after.contains(QLatin1String(kSection)));
    QVERIFY(!after.contains(QStringLiteral("KalendoCtl")));
    QCOMPARE(after, original);
    // Unregistering what is not registered is fine.
    QCOMPARE(m_unregister(), KALENDO_S_OK);
}

void TestKalendoExports::registryUnderConfigFolder()
{
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QString config = m_dir.filePath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    qputenv("KALENDO_REGISTRY", QByteArray()); // empty counts as unset
    QCOMPARE(m_register(), KALENDO_S_OK);
    const QString registry = config + QStringLiteral("/Kalendo/registry.ini");
    QVERIFY(QFile::exists(registry));
    QVERIFY(ReadAll(registry).contains(QLatin1String(kSection)));
    QCOMPARE(m_unregister(), KALENDO_S_OK);
    QVERIFY(!ReadAll(registry).contains(QLatin1String(kSection)));
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

void TestKalendoExports::registerFailsOnUnwritablePath()
{
    // A folder where the file should be: the entry cannot be written.
    const QString folder = m_dir.filePath(QStringLiteral("a-folder"));
    QVERIFY(QDir().mkpath(folder));
    qputenv("KALENDO_REGISTRY", QFile::encodeName(folder));
    QCOMPARE(m_register(), KALENDO_SELFREG_E_CLASS);
}

void TestKalendoExports::unknownClassNotAvailable()
{
    const KalendoGuid unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void *pv = reinterpret_cast<void *>(0x1);
    QCOMPARE(m_getClassObject(&unknown, &IID_IKalendoClassFactory, &pv), KALENDO_CLASS_E_CLASSNOTAVAILABLE);
    QVERIFY(pv == nullptr);
    // An interface the factory does not have.
    QCOMPARE(m_getClassObject(&CLSID_KalendoCtl, &IID_IKalendoCtl, &pv), KALENDO_E_NOINTERFACE);
    QVERIFY(pv == nullptr);
}

void TestKalendoExports::factoryCreatesControl()
{
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    void *pv = nullptr;
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IKalendoCtl, &pv), KALENDO_S_OK);
    auto *ctl = static_cast<IKalendoCtl *>(pv);
    QVERIFY(ctl);
    QPointer<QWidget> widget = ctl->Widget();
    QVERIFY(widget);
    QCOMPARE(QByteArray(widget->metaObject()->className()), QByteArray("KalendoCtl"));
    QCOMPARE(widget->size(), QSize(105, 19));
    void *unknown = nullptr;
    QCOMPARE(ctl->QueryInterface(&IID_IKalendoUnknown, &unknown), KALENDO_S_OK);
    QCOMPARE(static_cast<IKalendoUnknown *>(unknown)->Release(), 1u);
    QCOMPARE(ctl->QueryInterface(&IID_IKalendoClassFactory, &unknown), KALENDO_E_NOINTERFACE);
    QCOMPARE(factory->Release(), 0u);
    QCOMPARE(ctl->Release(), 0u);
    QVERIFY(!widget); // the last reference took the control with it
}

void TestKalendoExports::canUnloadWhileControlLives()
{
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_FALSE); // the factory is alive
    void *pv = nullptr;
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IKalendoCtl, &pv), KALENDO_S_OK);
    factory->Release();
    auto *ctl = static_cast<IKalendoCtl *>(pv);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_FALSE); // the control lives
    ctl->AddRef();
    QCOMPARE(ctl->Release(), 1u);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_FALSE);
    QCOMPARE(ctl->Release(), 0u);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_OK);
}

void TestKalendoExports::serverLocks()
{
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    QCOMPARE(factory->LockServer(1), KALENDO_S_OK);
    factory->Release();
    QCOMPARE(m_canUnloadNow(), KALENDO_S_FALSE); // locked
    factory = Factory();
    QCOMPARE(factory->LockServer(0), KALENDO_S_OK);
    factory->Release();
    QCOMPARE(m_canUnloadNow(), KALENDO_S_OK);
}

void TestKalendoExports::controlTakenByForm()
{
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    void *pv = nullptr;
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IKalendoCtl, &pv), KALENDO_S_OK);
    factory->Release();
    auto *ctl = static_cast<IKalendoCtl *>(pv);
    auto *form = new QWidget;
    QPointer<QWidget> widget = ctl->Widget();
    widget->setParent(form); // the form takes it
    QCOMPARE(ctl->Release(), 0u);
    QVERIFY(widget); // the form owns it now
    QCOMPARE(m_canUnloadNow(), KALENDO_S_FALSE);
    delete form;
    QVERIFY(!widget);
    QCOMPARE(m_canUnloadNow(), KALENDO_S_OK);
}

void TestKalendoExports::controlInterface()
{
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    void *pv = nullptr;
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IKalendoCtl, &pv), KALENDO_S_OK);
    factory->Release();
    auto *ctl = static_cast<IKalendoCtl *>(pv);

    // Value as an OLE date: 36995 is 14 April 2001; .5 is noon.
    QCOMPARE(ctl->put_Value(36995.5), KALENDO_S_OK);
    double value = 0;
    QCOMPARE(ctl->get_Value(&value), KALENDO_S_OK);
    QCOMPARE(value, 36995.5);
    QCOMPARE(QByteArray(ctl->Widget()->property("Value").toDateTime().toString(Qt::ISODate).toLatin1()),
             QByteArray("2001-04-14T12:00:00"));
    QCOMPARE(ctl->put_Value(-1.25), KALENDO_S_OK); // 29 December 1899, 06:00
    QCOMPARE(ctl->Widget()->property("Value").toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(ctl->get_Value(&value), KALENDO_S_OK);
    QCOMPARE(value, -1.25);
    QCOMPARE(ctl->put_Value(3e6), KALENDO_E_INVALIDARG); // beyond 9999

    int16_t flag = 0;
    QCOMPARE(ctl->get_DroppedDown(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_FALSE);
    QCOMPARE(ctl->DropDown(), KALENDO_S_OK);
    QCOMPARE(ctl->get_DroppedDown(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_TRUE);
    QCOMPARE(ctl->Widget()->size(), QSize(167, 167));
    QCOMPARE(ctl->CloseUp(), KALENDO_S_OK);
    QCOMPARE(ctl->get_DroppedDown(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_FALSE);

    QCOMPARE(ctl->get_Enabled(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_TRUE);
    QCOMPARE(ctl->DropDown(), KALENDO_S_OK);
    QCOMPARE(ctl->put_Enabled(KALENDO_FALSE), KALENDO_S_OK);
    QCOMPARE(ctl->get_Enabled(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_FALSE);
    QCOMPARE(ctl->get_DroppedDown(&flag), KALENDO_S_OK);
    QCOMPARE(flag, KALENDO_FALSE); // Enabled False closed the calendar
    QCOMPARE(ctl->put_DroppedDown(KALENDO_TRUE), KALENDO_S_OK); // a plain variable
    QCOMPARE(ctl->Widget()->property("DroppedDown").toBool(), true);
    QCOMPARE(ctl->get_Enabled(nullptr), KALENDO_E_POINTER);
    ctl->Release();
}

void TestKalendoExports::argumentsChecked()
{
    QCOMPARE(m_getClassObject(&CLSID_KalendoCtl, &IID_IKalendoClassFactory, nullptr), KALENDO_E_POINTER);
    void *pv = nullptr;
    QCOMPARE(m_getClassObject(nullptr, &IID_IKalendoClassFactory, &pv), KALENDO_E_POINTER);
    IKalendoClassFactory *factory = Factory();
    QVERIFY(factory);
    // No aggregation.
    QCOMPARE(factory->CreateInstance(factory, &IID_IKalendoCtl, &pv), KALENDO_CLASS_E_NOAGGREGATION);
    QVERIFY(pv == nullptr);
    QCOMPARE(factory->CreateInstance(nullptr, &IID_IKalendoClassFactory, &pv), KALENDO_E_NOINTERFACE);
    QVERIFY(pv == nullptr);
    void *unknown = nullptr;
    QCOMPARE(factory->QueryInterface(&IID_IKalendoUnknown, &unknown), KALENDO_S_OK);
    static_cast<IKalendoUnknown *>(unknown)->Release();
    QCOMPARE(factory->Release(), 0u);
}

QTEST_MAIN(TestKalendoExports)
#include "tst_kalendoexports.moc"
