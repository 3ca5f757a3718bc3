#include "AssetBundle.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <zip.h>

namespace assets {

bool AssetBundle::add(const QString &member, const QByteArray &bytes)
{
    if (member.isEmpty() || member.startsWith(u'/') || member.contains(u'\\') || member.contains(QLatin1String(".."))
        || files_.contains(member))
        return false;
    files_.insert(member, bytes);
    return true;
}

QMap<QString, QByteArray> AssetBundle::under(const QString &top) const
{
    QMap<QString, QByteArray> out;
    const QString prefix = top + u'/';
    for (auto it = files_.cbegin(); it != files_.cend(); ++it)
        if (it.key().startsWith(prefix))
            out.insert(it.key(), it.value());
    return out;
}

namespace {

// 1 January 2020, 12:00, in MS-DOS form: a fixed stamp keeps rebuilt archives identical.
constexpr zip_uint16_t kDosTime = (12 << 11);
constexpr zip_uint16_t kDosDate = ((2020 - 1980) << 9) | (1 << 5) | 1;

QString zipError(zip_t *za)
{
    return QString::fromLocal8Bit(zip_strerror(za));
}

} // namespace

QString writeZip(const QString &zipPath, const QMap<QString, QByteArray> &members)
{
    // Build next to the target and rename, so a failed run never leaves a half archive
    // that the client would unpack.
    const QString temp = zipPath + QStringLiteral(".part");
    QFile::remove(temp);
    int err = 0;
    zip_t *za = zip_open(QFile::encodeName(temp).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, err);
        const QString msg = QString::fromLocal8Bit(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return QStringLiteral("cannot create %1: %2").arg(temp, msg);
    }
    auto fail = [&](const QString &what) {
        const QString msg = what + QStringLiteral(": ") + zipError(za);
        zip_discard(za);
        QFile::remove(temp);
        return msg;
    };
    QSet<QString> folders;
    for (auto it = members.cbegin(); it != members.cend(); ++it) {
        const QStringList parts = it.key().split(u'/');
        QString folder;
        for (int i = 0; i + 1 < parts.size(); ++i) {
            folder += parts[i] + u'/';
            if (folders.contains(folder))
                continue;
            folders.insert(folder);
            const zip_int64_t idx = zip_dir_add(za, folder.toUtf8().constData(), ZIP_FL_ENC_UTF_8);
            if (idx < 0 || zip_file_set_dostime(za, zip_uint64_t(idx), kDosTime, kDosDate, 0) < 0)
                return fail(QStringLiteral("folder ") + folder);
        }
        // The buffer is borrowed: `members` outlives zip_close.
        zip_source_t *src = zip_source_buffer(za, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        if (!src)
            return fail(QStringLiteral("source ") + it.key());
        const zip_int64_t idx = zip_file_add(za, it.key().toUtf8().constData(), src, ZIP_FL_ENC_UTF_8);
        if (idx < 0) {
            zip_source_free(src);
            return fail(QStringLiteral("member ") + it.key());
        }
        // JPEG data does not shrink; store it and spare the client the work.
        const bool jpeg = it.key().endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive);
        if (zip_set_file_compression(za, zip_uint64_t(idx), jpeg ? ZIP_CM_STORE : ZIP_CM_DEFLATE, jpeg ? 0 : 9) < 0
            || zip_file_set_dostime(za, zip_uint64_t(idx), kDosTime, kDosDate, 0) < 0)
            return fail(QStringLiteral("member ") + it.key());
    }
    if (zip_close(za) < 0) {
        const QString msg = QStringLiteral("cannot write %1: %2").arg(temp, zipError(za));
        zip_discard(za);
        QFile::remove(temp);
        return msg;
    }
    QFile::remove(zipPath);
    if (!QFile::rename(temp, zipPath))
        return QStringLiteral("cannot move %1 to %2").arg(temp, zipPath);
    return {};
}

QString writeTree(const QString &folder, const QMap<QString, QByteArray> &members)
{
    QDir root(folder);
    for (auto it = members.cbegin(); it != members.cend(); ++it) {
        const QString path = root.filePath(it.key());
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            return QStringLiteral("cannot create the folder of ") + path;
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size() || !f.commit())
            return QStringLiteral("cannot write ") + path;
    }
    return {};
}

} // namespace assets
