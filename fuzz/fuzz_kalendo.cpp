// Kalendo's registry file on arbitrary bytes: the input is the file ($KALENDO_REGISTRY) when
// the library registers and unregisters its class. Besides not crashing, registering must leave
// exactly one entry of the class (its section and four values) and keep every line outside the
// class's sections as it was, in order; registering again changes nothing; unregistering
// leaves no entry of the class and the same other lines. The first bytes also serve as the ids
// asked of the class factory, and a control it hands out takes a date made from them.
#include "kalendo_exports.h"

#include <QApplication>
#include <QEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const QString kSection = QStringLiteral("{6B3F2A71-94C8-4E5D-A1B7-3C52D8E90F14}");

[[noreturn]] void fail(const char* what, const QStringList& lines) {
    std::fprintf(stderr, "registry file: %s\n--- file ---\n%s\n", what, qPrintable(lines.join(u'\n')));
    std::abort();
}

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(f.readAll());
    // A byte-order mark at the start is no line content (the library's reading drops it too).
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QStringList lines = text.split(u'\n');  // a line's CRs are its own, as the library keeps them
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool header(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']')) return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// The lines outside the class's sections, without blank ones (registration may tidy blanks at the end).
QStringList others(const QStringList& lines) {
    QStringList out;
    bool inClass = false;
    for (const QString& line : lines) {
        QString name;
        if (header(line, &name)) inClass = name.compare(kSection, Qt::CaseInsensitive) == 0;
        if (!inClass && !line.trimmed().isEmpty()) out << line;
    }
    return out;
}

int classSections(const QStringList& lines) {
    int n = 0;
    QString name;
    for (const QString& line : lines) n += header(line, &name) && name.compare(kSection, Qt::CaseInsensitive) == 0;
    return n;
}

void checkRegistered(const QStringList& lines, const QStringList& before) {
    if (classSections(lines) != 1) fail("not exactly one entry of the class after registering", lines);
    const qsizetype at = lines.indexOf(u'[' + kSection + u']');
    if (at < 0 || at + 4 >= lines.size() + 0 || !lines[at + 1].startsWith(QLatin1String("Name=KalendoCtl")) ||
        !lines[at + 2].startsWith(QLatin1String("ProgID=")) || !lines[at + 3].startsWith(QLatin1String("Path=")) ||
        !lines[at + 4].startsWith(QLatin1String("Description=")))
        fail("the class entry is incomplete", lines);
    if (others(lines) != others(before)) fail("registering changed other lines", lines);
}

void exerciseFactory(const uint8_t* data, size_t size) {
    if (size < 40) return;
    KalendoGuid clsid, iid;
    std::memcpy(&clsid, data, sizeof clsid);
    std::memcpy(&iid, data + 16, sizeof iid);
    double date;
    std::memcpy(&date, data + 32, sizeof date);
    // Mostly the real ids, so the factory and the control are reached; sometimes the input's own.
    if (!(data[0] & 1)) clsid = CLSID_KalendoCtl;
    if (!(data[0] & 2)) iid = IID_IKalendoClassFactory;
    void* pv = nullptr;
    if (DllGetClassObject(&clsid, &iid, &pv) != KALENDO_S_OK || !pv) return;
    auto* unknown = static_cast<IKalendoUnknown*>(pv);
    if (iid == IID_IKalendoClassFactory) {
        auto* factory = static_cast<IKalendoClassFactory*>(pv);
        void* ctl = nullptr;
        const KalendoGuid want = (data[0] & 4) ? iid : IID_IKalendoCtl;
        if (factory->CreateInstance(nullptr, &want, &ctl) == KALENDO_S_OK && ctl && want == IID_IKalendoCtl) {
            auto* control = static_cast<IKalendoCtl*>(ctl);
            control->put_Value(date);
            double back = 0;
            control->get_Value(&back);
            control->DropDown();
            int16_t dropped = 0;
            control->get_DroppedDown(&dropped);
            control->CloseUp();
            control->put_Enabled(int16_t(data[1] & 1 ? -1 : 0));
            control->Release();
        } else if (ctl) {
            static_cast<IKalendoUnknown*>(ctl)->Release();
        }
    }
    unknown->Release();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm/fuzz_kalendo-XXXXXX")
                                                                                 : QDir::tempPath() + QStringLiteral("/fuzz_kalendo-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Kalendo/registry.ini"));
    static const bool set = [] {
        qputenv("KALENDO_REGISTRY", QFile::encodeName(path));
        return QDir().mkpath(QFileInfo(path).absolutePath());
    }();
    (void)set;
    // A file that begins with more than one byte-order mark loses one each time it is written
    // (the reading drops the first, the writing adds none): such files start with one here.
    while (size >= 6 && std::memcmp(data, "\xEF\xBB\xBF\xEF\xBB\xBF", 6) == 0) {
        data += 3;
        size -= 3;
    }
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (size && f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    const QStringList before = readLines(path);

    if (DllRegisterServer() != KALENDO_S_OK) fail("registering failed", before);
    const QStringList registered = readLines(path);
    checkRegistered(registered, before);
    if (DllRegisterServer() != KALENDO_S_OK || readLines(path) != registered) fail("registering again changed the file", readLines(path));

    if (DllUnregisterServer() != KALENDO_S_OK) fail("unregistering failed", registered);
    const QStringList after = readLines(path);
    if (classSections(after) != 0) fail("an entry of the class is left after unregistering", after);
    if (others(after) != others(before)) fail("unregistering changed other lines", after);
    if (DllUnregisterServer() != KALENDO_S_OK || readLines(path) != after) fail("unregistering again changed the file", readLines(path));

    exerciseFactory(data, size);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (DllCanUnloadNow() != KALENDO_S_OK) fail("objects are left alive", {});
    return 0;
}
