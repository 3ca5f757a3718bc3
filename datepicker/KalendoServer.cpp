// Kalendo: the four exports over a small layer of our own in place of the control runtime:
// the class registry file, the class factory, the control object and the unload count.
#include "kalendo_exports.h"

#include "KalendoCtl.h"
#include "KalendoModule.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cmath>
#include <new>

#include <dlfcn.h>

namespace {

std::atomic<int> g_liveControls{0};
std::atomic<int> g_liveObjects{0}; // factories and control objects with references
std::atomic<int> g_serverLocks{0};

const char kClassName[] = "KalendoCtl";
const char kProgId[] = "Kalendo.KalendoCtl";
const char kDescription[] = "Kalendo Lightweight Date Picker Control";

QString GuidText(const KalendoGuid &g)
{
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(g.Data1),
                             unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2],
                             g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}

// ---- the registry file ---------------------------------------------------------------------

QString RegistryPath()
{
    const QByteArray env = qgetenv("KALENDO_REGISTRY");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Kalendo/registry.ini");
}

QString LibraryPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    const QFileInfo file(QFile::decodeName(info.dli_fname));
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

bool IsSectionHeader(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Reads the file's lines ("" when it does not exist). False when it exists but cannot be read.
bool ReadLines(const QString &path, QStringList *lines)
{
    lines->clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Lines keep their carriage returns: another program's lines are written back as they were,
    // and a section header is read trimmed.
    *lines = QString::fromUtf8(file.readAll()).split(u'\n');
    while (!lines->isEmpty() && lines->last().isEmpty())
        lines->removeLast();
    return true;
}

// Removes the section of the class id (any case), keeping every other line.
void RemoveSection(QStringList *lines, const QString &section)
{
    QStringList kept;
    bool skipping = false;
    for (const QString &line : *lines) {
        QString name;
        if (IsSectionHeader(line, &name))
            skipping = name.compare(section, Qt::CaseInsensitive) == 0;
        if (!skipping)
            kept << line;
    }
    while (!kept.isEmpty() && kept.last().trimmed().isEmpty())
        kept.removeLast();
    *lines = kept;
}

bool WriteLines(const QString &path, const QStringList &lines)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text = lines.join(u'\n');
    if (!text.isEmpty())
        text += u'\n';
    file.write(text.toUtf8());
    return file.commit();
}

// ---- OLE dates -------------------------------------------------------------------------------

const QDate kOleEpoch(1899, 12, 30);

// ---- reference counting ----------------------------------------------------------------------

// What the factory and the control object share: one interface besides IKalendoUnknown, a count
// that starts at the creator's reference and deletes the object at zero, and a place in the
// count of live objects that keeps the library loaded.
template <class Interface, const KalendoGuid &Iid>
class RefCounted : public Interface
{
public:
    KalendoResult QueryInterface(const KalendoGuid *riid, void **ppv) override
    {
        if (!ppv)
            return KALENDO_E_POINTER;
        *ppv = nullptr;
        if (!riid)
            return KALENDO_E_POINTER;
        if (*riid == IID_IKalendoUnknown || *riid == Iid) {
            *ppv = static_cast<Interface *>(this);
            AddRef();
            return KALENDO_S_OK;
        }
        return KALENDO_E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++m_refs; }
    uint32_t Release() override
    {
        const uint32_t left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    RefCounted() { ++g_liveObjects; }
    virtual ~RefCounted() { --g_liveObjects; }

private:
    std::atomic<uint32_t> m_refs{1};
};

// ---- the control object (_KalendoCtl) --------------------------------------------------------

class ControlObject final : public RefCounted<IKalendoCtl, IID_IKalendoCtl>
{
public:
    explicit ControlObject(KalendoCtl *control)
        : m_control(control)
    {
    }

    QWidget *Widget() override { return m_control.data(); }
    KalendoResult get_DroppedDown(int16_t *value) override
    {
        if (!value)
            return KALENDO_E_POINTER;
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        *value = m_control->DroppedDown ? KALENDO_TRUE : KALENDO_FALSE;
        return KALENDO_S_OK;
    }
    KalendoResult put_DroppedDown(int16_t value) override
    {
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        m_control->DroppedDown = value != 0;
        return KALENDO_S_OK;
    }
    KalendoResult DropDown() override
    {
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        m_control->DropDown();
        return KALENDO_S_OK;
    }
    KalendoResult CloseUp() override
    {
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        m_control->CloseUp();
        return KALENDO_S_OK;
    }
    KalendoResult get_Enabled(int16_t *value) override
    {
        if (!value)
            return KALENDO_E_POINTER;
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        *value = m_control->Enabled() ? KALENDO_TRUE : KALENDO_FALSE;
        return KALENDO_S_OK;
    }
    KalendoResult put_Enabled(int16_t value) override
    {
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        m_control->SetEnabled(value != 0);
        return KALENDO_S_OK;
    }
    KalendoResult get_Value(double *value) override
    {
        if (!value)
            return KALENDO_E_POINTER;
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        *value = kalendo_internal::ToOleDate(m_control->Value());
        return KALENDO_S_OK;
    }
    KalendoResult put_Value(double value) override
    {
        if (!m_control)
            return KALENDO_E_UNEXPECTED;
        const std::optional<QDateTime> date = kalendo_internal::FromOleDate(value);
        if (!date)
            return KALENDO_E_INVALIDARG;
        m_control->SetValue(*date);
        return KALENDO_S_OK;
    }

private:
    ~ControlObject() override
    {
        // The object owns a control that no form has taken; a form owns the one it took.
        if (m_control && !m_control->parent())
            delete m_control.data();
    }

    QPointer<KalendoCtl> m_control;
};

// ---- the class factory -----------------------------------------------------------------------

class ClassFactory final : public RefCounted<IKalendoClassFactory, IID_IKalendoClassFactory>
{
public:

    KalendoResult CreateInstance(IKalendoUnknown *outer, const KalendoGuid *riid, void **ppv) override
    {
        if (!ppv)
            return KALENDO_E_POINTER;
        *ppv = nullptr;
        if (!riid)
            return KALENDO_E_POINTER;
        if (outer)
            return KALENDO_CLASS_E_NOAGGREGATION;
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return KALENDO_E_UNEXPECTED; // a widget needs a QApplication
        auto *object = new (std::nothrow) ControlObject(new KalendoCtl);
        if (!object)
            return KALENDO_E_FAIL;
        const KalendoResult result = object->QueryInterface(riid, ppv);
        object->Release();
        return result;
    }

    KalendoResult LockServer(int32_t lock) override
    {
        if (lock)
            ++g_serverLocks;
        else if (g_serverLocks > 0)
            --g_serverLocks;
        return KALENDO_S_OK;
    }

private:
    ~ClassFactory() override = default;
};

} // namespace

// ---- shared inside the library -----------------------------------------------------------------

namespace kalendo_internal {

void ControlCreated()
{
    ++g_liveControls;
}

void ControlDestroyed()
{
    --g_liveControls;
}

std::optional<QDateTime> FromOleDate(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double days = std::trunc(value);
    if (days < -657434.0 || days > 2958465.0) // 1 January 100 .. 31 December 9999
        return std::nullopt;
    const double fraction = std::fabs(value - days);
    long long ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    const QDate date = kOleEpoch.addDays(qint64(days));
    if (!InDateRange(date))
        return std::nullopt;
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

double ToOleDate(const QDateTime &value)
{
    const double days = double(kOleEpoch.daysTo(value.date()));
    const double fraction = value.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? days + fraction : days - fraction;
}

} // namespace kalendo_internal

// ---- the exports -------------------------------------------------------------------------------

extern "C" {

KALENDO_API KalendoResult DllRegisterServer(void)
{
    const QString path = RegistryPath();
    QStringList lines;
    if (!ReadLines(path, &lines))
        return KALENDO_SELFREG_E_CLASS;
    const QString section = GuidText(CLSID_KalendoCtl);
    RemoveSection(&lines, section);
    if (!lines.isEmpty())
        lines << QString();
    lines << u'[' + section + u']'
          << QStringLiteral("Name=") + QLatin1String(kClassName)
          << QStringLiteral("ProgID=") + QLatin1String(kProgId)
          << QStringLiteral("Path=") + LibraryPath()
          << QStringLiteral("Description=") + QLatin1String(kDescription);
    return WriteLines(path, lines) ? KALENDO_S_OK : KALENDO_SELFREG_E_CLASS;
}

KALENDO_API KalendoResult DllUnregisterServer(void)
{
    const QString path = RegistryPath();
    if (!QFile::exists(path))
        return KALENDO_S_OK;
    QStringList lines;
    if (!ReadLines(path, &lines))
        return KALENDO_SELFREG_E_CLASS;
    const QStringList before = lines;
    RemoveSection(&lines, GuidText(CLSID_KalendoCtl));
    if (lines == before)
        return KALENDO_S_OK;
    return WriteLines(path, lines) ? KALENDO_S_OK : KALENDO_SELFREG_E_CLASS;
}

KALENDO_API KalendoResult DllGetClassObject(const KalendoGuid *rclsid, const KalendoGuid *riid, void **ppv)
{
    if (!ppv)
        return KALENDO_E_POINTER;
    *ppv = nullptr;
    if (!rclsid || !riid)
        return KALENDO_E_POINTER;
    if (!(*rclsid == CLSID_KalendoCtl))
        return KALENDO_CLASS_E_CLASSNOTAVAILABLE;
    auto *factory = new (std::nothrow) ClassFactory;
    if (!factory)
        return KALENDO_E_FAIL;
    const KalendoResult result = factory->QueryInterface(riid, ppv);
    factory->Release();
    return result;
}

KALENDO_API KalendoResult DllCanUnloadNow(void)
{
    return g_liveControls == 0 && g_liveObjects == 0 && g_serverLocks == 0 ? KALENDO_S_OK : KALENDO_S_FALSE;
}

} // extern "C"
