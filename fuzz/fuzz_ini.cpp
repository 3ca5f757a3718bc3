// The settings-file reader and writer on arbitrary bytes: the input is written as a file in a
// temporary folder, every section and key found in it is read, one key is written and read
// back, and one is deleted. Besides not crashing, a written value must read back by the reading
// rules (blanks trimmed, one pair of enclosing quotes removed, cut at 254 characters), and the
// writer must leave every other section's keys as they were.
#include "platform/Codec1252.h"
#include "platform/Ini.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const QString& iniPath() {
    // Every write of the writer is synced to disk; a memory file system keeps the runs quick.
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/fuzz_ini-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/fuzz_ini-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Fuzz.ini"));
    return path;
}

void writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (size && f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
}

// What a value written with WriteIni must read back as.
QString expectedRead(const QString& value) {
    QString v = value.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return v.left(254);
}

[[noreturn]] void fail(const char* what, const QString& a, const QString& b) {
    std::fprintf(stderr, "%s\n  got:      [%s]\n  expected: [%s]\n", what, qPrintable(a), qPrintable(b));
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& path = iniPath();
    writeFile(path, data, size);

    // Names for lookups that need not be in the file: the first bytes of the input.
    const QString raw = decode1252(reinterpret_cast<const char*>(data), qsizetype(size < 64 ? size : 64));
    const QString probeSection = raw.left(8);
    const QString probeKey = raw.mid(8, 8);
    ReadIni(probeSection, probeKey, path);
    // The same file under another case of its name.
    ReadIni(probeSection, probeKey, path.chopped(9) + QStringLiteral("fUZZ.INI"));

    const QStringList sections = IniSections(path);
    QStringList firstKeys;
    for (int i = 0; i < sections.size() && i < 8; ++i) {
        const QStringList keys = IniKeys(sections[i], path);
        for (int k = 0; k < keys.size() && k < 16; ++k) {
            const QString v = ReadIni(sections[i], keys[k], path);
            if (v.size() > 254) fail("value longer than 254", v, QString());
        }
        firstKeys << (keys.isEmpty() ? QString() : keys.first());
    }

    // A value made from the input, without line breaks.
    QString value = decode1252(reinterpret_cast<const char*>(data), qsizetype(size < 300 ? size : 300));
    value.replace(u'\r', u' ').replace(u'\n', u' ');

    const QString section = sections.isEmpty() ? QStringLiteral("Fuzz") : sections.first();
    const QString key = firstKeys.isEmpty() || firstKeys.first().isEmpty() ? QStringLiteral("key") : firstKeys.first();
    QStringList otherBefore;
    for (int i = 1; i < sections.size() && i < 8; ++i)
        for (const QString& k : IniKeys(sections[i], path))
            if (sections[i].compare(section, Qt::CaseInsensitive) != 0) otherBefore << ReadIni(sections[i], k, path);

    if (!WriteIni(section, key, value, path)) std::abort();
    const QString back = ReadIni(section, key, path);
    if (back != expectedRead(value)) fail("written value does not read back", back, expectedRead(value));

    QStringList otherAfter;
    for (int i = 1; i < sections.size() && i < 8; ++i)
        for (const QString& k : IniKeys(sections[i], path))
            if (sections[i].compare(section, Qt::CaseInsensitive) != 0) otherAfter << ReadIni(sections[i], k, path);
    if (otherAfter != otherBefore) fail("another section changed", otherAfter.join(u'|'), otherBefore.join(u'|'));

    // A key of a section of our own always lands.
    if (!WriteIni(QStringLiteral("Added"), QStringLiteral("Fresh"), QStringLiteral("1"), path)) std::abort();
    const QString added = ReadIni(QStringLiteral("added"), QStringLiteral("fresh"), path);
    if (added != QLatin1String("1")) fail("added key does not read back", added, QStringLiteral("1"));

    const int keysBefore = int(IniKeys(section, path).size());
    if (!DeleteIniKey(section, key, path)) std::abort();
    if (IniKeys(section, path).size() > keysBefore) fail("delete added a key", section, key);
    return 0;
}
