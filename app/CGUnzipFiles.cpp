#include "app/CGUnzipFiles.h"

#include "app/storedvars.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <zip.h>

#include <cstdio>
#include <memory>

namespace {

// State of one run, as the callbacks of the unpacking library kept it.
struct RunState {
    QString printed;
    QString listing;
    bool passwordRefused = false;
    bool replaceNone = false;
    QByteArray password;
    int result = UnzipResult::OK;
    // Case-insensitive placement without listing a folder once per member.
    QHash<QString, QString> parents;                   // member folder -> folder on disk
    QHash<QString, QHash<QString, QString>> listings;  // folder on disk -> lower-case name -> name

    void raise(int code) {
        // The worst outcome wins; a refused password or a disk error outranks a warning.
        if (code > result) result = code;
    }
};

void print(RunState& run, const QString& text) {
    run.printed += text.startsWith(u'\n') ? QStringLiteral("\r\n") + text.mid(1) : text;
    UnzipMessage = run.printed;
}

// Answers 1 when no password is to be tried, else 0 with the password set.
int askPassword(RunState& run) {
    if (run.passwordRefused) return 1;
    const QString answer = InputBox(QStringLiteral("Please Enter The Password!"), QString(), QString());
    if (answer.isEmpty()) {
        run.passwordRefused = true;
        return 1;
    }
    run.password = answer.toLatin1().left(255);
    return 0;
}

int askReplace(const QString& name) {
    const int answer = MsgBox(QStringLiteral("Overwrite ") + name + u'?', vb::YesNoCancel | vb::Exclamation,
                              QStringLiteral("VBUnZip32 - File Already Exists!"));
    if (answer == vb::Yes) return UnzipReplace::Yes;
    if (answer == vb::No) return UnzipReplace::No;
    return UnzipReplace::None;
}

void listMember(RunState& run, const QString& name, qint64 size, const QDateTime& when) {
    if (run.listing.isEmpty())
        run.listing = QStringLiteral("Filename:").leftJustified(50) + QStringLiteral("Size").rightJustified(12) +
                      QStringLiteral("  Date      Time\r\n");
    const QString date = when.toString(QStringLiteral("M/d/yyyy"));
    const QString time = when.toString(QStringLiteral("h:mm"));
    QString line = name.left(50).leftJustified(50) + QString::number(size).rightJustified(12) + QStringLiteral("  ") +
                   date.leftJustified(10) + time;
    run.listing += line.leftJustified(80) + QStringLiteral("\r\n");
}

// A member path made safe: '/' separators, no drive, no absolute path, no step out of the folder.
bool safeMemberName(QString name, QString& out) {
    name.replace(u'\\', u'/');
    if (name.isEmpty() || name.startsWith(u'/') || (name.size() > 1 && name[1] == u':')) return false;
    const QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
    for (const QString& p : parts)
        if (p == QLatin1String("..")) return false;
    out = parts.join(u'/');
    if (name.endsWith(u'/')) out += u'/';
    return !parts.isEmpty();
}

// The member's path on disk, matching existing folders and files without regard to case.
QString placeMember(RunState& run, const QString& folder, const QString& name) {
    const qsizetype slash = name.lastIndexOf(u'/');
    const QString parentRel = slash < 0 ? QString() : name.left(slash);
    const QString leaf = name.mid(slash + 1);
    auto p = run.parents.find(parentRel);
    if (p == run.parents.end())
        p = run.parents.insert(parentRel, parentRel.isEmpty() ? folder : resolvePath(folder + u'/' + parentRel));
    const QString parent = *p;
    auto l = run.listings.find(parent);
    if (l == run.listings.end()) {
        QHash<QString, QString> names;
        for (const QString& e : QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            names.insert(e.toLower(), e);
        l = run.listings.insert(parent, names);
    }
    const QString key = leaf.toLower();
    auto known = l->find(key);
    if (known == l->end()) known = l->insert(key, leaf);
    return parent + u'/' + *known;
}

bool isInside(const QString& folderCanonical, const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && (canonical == folderCanonical || canonical.startsWith(folderCanonical + u'/'));
}

// Whether the folders missing up to path would be made inside the target folder: the nearest
// part of it that exists (a link counts, followed or dangling) must already lie inside, so that
// a link in the folder cannot carry a new folder elsewhere.
bool wouldBeInside(const QString& folderCanonical, QString path) {
    while (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash <= 0) return false;
        path.truncate(slash);
    }
    return isInside(folderCanonical, path);
}

QByteArray toCrLf(const QByteArray& data) {
    if (data.contains('\0')) return data;  // binary members keep their bytes
    QByteArray out;
    out.reserve(data.size() + data.size() / 32);
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == '\n' && (i == 0 || data[i - 1] != '\r')) out += '\r';
        out += data[i];
    }
    return out;
}

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

}  // namespace

int RunUnzip(const QString& zipFile, const QString& extractDir, const UnzipOptions& o) {
    UnzipMessage.clear();
    RunState run;
    const QString archivePath = resolvePath(zipFile);
    int zerr = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &zerr));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, zerr);
        print(run, QStringLiteral("cannot open ") + zipFile + QStringLiteral(": ") + QString::fromLocal8Bit(zip_error_strerror(&error)) +
                       u'\n');
        zip_error_fini(&error);
        return UnzipResult::NotFound;
    }
    if (o.quietLevel <= 0) print(run, QStringLiteral("Archive:  ") + zipFile + u'\n');
    if (o.comment) {
        int length = 0;
        if (const char* c = zip_get_archive_comment(archive.get(), &length, ZIP_FL_ENC_GUESS))
            print(run, QString::fromUtf8(c, length) + u'\n');
    }

    QString folder = resolvePath(extractDir.isEmpty() ? ClientFolder() : extractDir);
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    if (!o.test && !o.list && !o.toStdOut && !QDir().mkpath(folder)) {
        print(run, QStringLiteral("cannot create ") + folder + u'\n');
        return UnzipResult::Disk;
    }
    const QString folderCanonical = QFileInfo(folder).canonicalFilePath();

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    std::vector<char> buffer(256 * 1024);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            run.raise(UnzipResult::Error);
            continue;
        }
        const QString rawName = QString::fromUtf8(st.name);
        const QDateTime when = (st.valid & ZIP_STAT_MTIME) ? QDateTime::fromSecsSinceEpoch(st.mtime) : QDateTime();
        QString name;
        if (!safeMemberName(rawName, name)) {
            print(run, QStringLiteral("skipping: ") + rawName + QStringLiteral("  (its path leaves the target folder)\n"));
            run.raise(UnzipResult::Warning);
            continue;
        }
        if (o.list) {
            listMember(run, name, qint64(st.size), when);
            continue;
        }
        const bool isFolder = name.endsWith(u'/');
        if (!o.honorDirectories) {
            if (isFolder) continue;
            name = name.mid(name.lastIndexOf(u'/') + 1);
        }
        if (o.spaceToUnderscore) name.replace(u' ', u'_');
        const QString target = placeMember(run, folder, isFolder ? name.chopped(1) : name);

        if (isFolder) {
            if (o.test || o.toStdOut) continue;
            if (!wouldBeInside(folderCanonical, target)) {
                print(run, QStringLiteral("skipping: ") + rawName + QStringLiteral("  (cannot place it in the target folder)\n"));
                run.raise(UnzipResult::Warning);
            } else if (!QDir().mkpath(target)) {
                print(run, QStringLiteral("cannot create ") + target + u'\n');
                run.raise(UnzipResult::Disk);
            }
            continue;
        }
        if (!o.test && !o.toStdOut) {
            const QFileInfo existing(target);
            if (o.freshen && !existing.exists()) continue;
            if ((o.extractNewer || o.freshen) && existing.exists() && when.isValid() && existing.lastModified() >= when)
                continue;
            if (existing.exists() && !o.overwrite) {
                int answer = UnzipReplace::No;
                if (o.promptOverwrite && !run.replaceNone) answer = askReplace(name);
                if (answer == UnzipReplace::None) run.replaceNone = true;
                if (answer != UnzipReplace::Yes) continue;
            }
            const QString parent = QFileInfo(target).absolutePath();
            if (!wouldBeInside(folderCanonical, parent) || !QDir().mkpath(parent) || !isInside(folderCanonical, parent)) {
                print(run, QStringLiteral("skipping: ") + rawName + QStringLiteral("  (cannot place it in the target folder)\n"));
                run.raise(UnzipResult::Warning);
                continue;
            }
            // A link left in the folder must not carry the write elsewhere.
            if (QFileInfo(target).isSymLink()) QFile::remove(target);
        }

        zip_file_t* opened = nullptr;
        const bool encrypted = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
        if (encrypted) {
            if (run.password.isEmpty() && askPassword(run) != 0) {
                print(run, QStringLiteral("skipping: ") + rawName + QStringLiteral("  (no password)\n"));
                run.raise(UnzipResult::BadPassword);
                continue;
            }
            opened = zip_fopen_index_encrypted(archive.get(), zip_uint64_t(i), 0, run.password.constData());
        } else {
            opened = zip_fopen_index(archive.get(), zip_uint64_t(i), 0);
        }
        std::unique_ptr<zip_file_t, FileCloser> member(opened);
        if (!member) {
            print(run, QStringLiteral("error: ") + rawName + QStringLiteral(": ") +
                           QString::fromLocal8Bit(zip_strerror(archive.get())) + u'\n');
            run.raise(encrypted ? UnzipResult::BadPassword : UnzipResult::Error);
            continue;
        }
        if (o.quietLevel <= 0) print(run, (o.test ? QStringLiteral("    testing: ") : QStringLiteral("  inflating: ")) + name + u'\n');

        QFile out(target);
        const bool writeFile = !o.test && !o.toStdOut;
        if (writeFile && !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            print(run, QStringLiteral("cannot write ") + target + QStringLiteral(": ") + out.errorString() + u'\n');
            run.raise(UnzipResult::Disk);
            continue;
        }
        QByteArray whole;  // only for line-end conversion
        bool failed = false;
        for (;;) {
            const zip_int64_t n = zip_fread(member.get(), buffer.data(), zip_uint64_t(buffer.size()));
            if (n < 0) {
                print(run, QStringLiteral("error: ") + rawName + QStringLiteral(": ") +
                               QString::fromLocal8Bit(zip_file_strerror(member.get())) + u'\n');
                run.raise(UnzipResult::Error);
                failed = true;
                break;
            }
            if (n == 0) break;
            if (o.convertLineEnds) {
                whole.append(buffer.data(), qsizetype(n));
            } else if (o.toStdOut) {
                std::fwrite(buffer.data(), 1, size_t(n), stdout);
            } else if (writeFile && out.write(buffer.data(), n) != n) {
                print(run, QStringLiteral("cannot write ") + target + QStringLiteral(": ") + out.errorString() + u'\n');
                run.raise(UnzipResult::Disk);
                failed = true;
                break;
            }
        }
        if (!failed && o.convertLineEnds) {
            const QByteArray converted = toCrLf(whole);
            if (o.toStdOut)
                std::fwrite(converted.constData(), 1, size_t(converted.size()), stdout);
            else if (writeFile && out.write(converted) != converted.size()) {
                failed = true;
                run.raise(UnzipResult::Disk);
            }
        }
        if (writeFile) {
            // Members keep their archive date, so that "only newer" runs compare like with like.
            if (!failed && when.isValid() && out.flush()) out.setFileTime(when, QFileDevice::FileModificationTime);
            out.close();
            if (failed) QFile::remove(target);
        }
    }
    if (o.toStdOut) std::fflush(stdout);
    return run.result;
}

int CGUnzipFiles::Unzip(const QString& zipFile, const QString& extractDir) {
    if (!zipFile.isEmpty()) m_ZipFileName = zipFile;
    if (!extractDir.isEmpty()) m_ExtractDir = extractDir;
    if (m_ZipFileName.isEmpty()) return UnzipResult::BadParam;
    UnzipOptions o;
    o.extractNewer = ExtractNewer();
    o.spaceToUnderscore = SpaceToUnderScore();
    o.promptOverwrite = PromptOverwrite();
    o.quietLevel = m_MessageLevel;
    o.toStdOut = WriteToStdOut();
    o.test = TestZip();
    o.list = ExtractList();
    o.freshen = ExtractOnlyNewer();
    o.comment = DisplayComment();
    o.honorDirectories = HonorDirectories();
    o.overwrite = OverWriteFiles();
    o.convertLineEnds = ConvertCRtoCRLF();
    o.verbose = Verbose();
    o.caseSensitive = CaseSensitive();
    o.privilege = m_Privilege;
    return RunUnzip(m_ZipFileName, m_ExtractDir, o);
}

QString CGUnzipFiles::GetLastMessage() const { return UnzipMessage; }
