// Arbitrary bytes as a first-run archive, unpacked twice into a temporary folder (once with
// options picked from the input, once as the client unpacks at first start, over what the first
// run left). Besides not crashing, nothing may be written outside the folder: not through a
// member named "../x", "/x", "C:/x" or "a\..\..\x", and not through links planted in the folder
// that point out of it. The target aborts when anything outside changed.
#include "TestServices.h"

#include "app/CGUnzipFiles.h"
#include "app/storedvars.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
QString scratchBase() {
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

// <box>/archive.zip, <box>/outside/ (a folder and a file the links point at), <box>/out/ (the target).
struct Box {
    QTemporaryDir dir{scratchBase() + QStringLiteral("/fuzz_unzip-XXXXXX")};
    QString path(const char* rel) const { return dir.path() + u'/' + QLatin1String(rel); }
};

const QByteArray kSentinel = "left alone\n";

[[noreturn]] void escaped(const QString& what) {
    std::fprintf(stderr, "unpacking wrote outside its folder: %s\n", qPrintable(what));
    std::abort();
}

// Every entry under folder, relative, sorted.
QStringList entries(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

void prepare(const Box& box) {
    QDir(box.path("out")).removeRecursively();
    QDir(box.path("outside")).removeRecursively();
    QDir().mkpath(box.path("out"));
    QDir().mkpath(box.path("outside/dir"));
    QFile f(box.path("outside/file.txt"));
    if (!f.open(QIODevice::WriteOnly) || f.write(kSentinel) != kSentinel.size()) std::abort();
    f.close();
    // Links a member could try to write through: to a folder and to a file outside.
    QFile::link(box.path("outside/dir"), box.path("out/link"));
    QFile::link(box.path("outside/file.txt"), box.path("out/file.txt"));
    QFile::link(QStringLiteral("../outside"), box.path("out/up"));
}

void checkContained(const Box& box, const QStringList& topBefore) {
    if (!entries(box.path("outside/dir")).isEmpty()) escaped(box.path("outside/dir") + u'/' + entries(box.path("outside/dir")).join(u' '));
    const QStringList outside = entries(box.path("outside"));
    if (outside != QStringList({QStringLiteral("dir"), QStringLiteral("file.txt")})) escaped(outside.join(u' '));
    QFile f(box.path("outside/file.txt"));
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != kSentinel) escaped(box.path("outside/file.txt"));
    QStringList top = QDir(box.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    top.sort();
    if (top != topBefore) escaped(box.dir.path() + QStringLiteral(": ") + top.join(u' '));
    // Whatever landed in the folder is a plain file or folder (the only links are the planted ones).
    for (const QString& rel : entries(box.path("out"))) {
        const QFileInfo info(box.path("out") + u'/' + rel);
        if (info.isSymLink() && rel != QLatin1String("link") && rel != QLatin1String("file.txt") && rel != QLatin1String("up"))
            escaped(QStringLiteral("a link was made: ") + rel);
    }
}

UnzipOptions optionsFrom(const uint8_t* data, size_t size) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    UnzipOptions o;
    o.extractNewer = h & 1;
    o.spaceToUnderscore = h & 2;
    o.promptOverwrite = h & 4;
    o.freshen = (h & 0x18) == 0x18;
    o.honorDirectories = !(h & 0x20);
    o.overwrite = h & 0x40;
    o.convertLineEnds = h & 0x80;
    o.test = (h & 0x300) == 0x300;
    o.list = (h & 0xC00) == 0xC00;
    o.comment = h & 0x1000;
    o.quietLevel = (h & 0x2000) ? 0 : 2;
    return o;
}
}  // namespace

// libzip is built without frame pointers: only the slow unwinder sees which of its calls an
// allocation came from, which the leak suppression of its own losses needs.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0:malloc_context_size=8"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Box box;
    TestServices services;
    services.install();
    // A password box gets an answer now and then, so encrypted members are tried too.
    services.dialogs->type(QStringLiteral("secret"));
    prepare(box);
    {
        QFile f(box.path("archive.zip"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (size && f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    }
    QStringList top = QDir(box.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    top.sort();

    const int first = RunUnzip(box.path("archive.zip"), box.path("out"), optionsFrom(data, size));
    checkContained(box, top);
    UnzipOptions quiet;
    const int second = RunUnzip(box.path("archive.zip"), box.path("out"), quiet);
    checkContained(box, top);
    (void)first;
    (void)second;
    UnzipMessage.clear();
    return 0;
}
