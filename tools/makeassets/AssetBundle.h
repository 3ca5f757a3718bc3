#pragma once
// The generated files, kept in memory until they are packed or written out.

#include <QByteArray>
#include <QMap>
#include <QString>

namespace assets {

class AssetBundle {
public:
    // Adds a file; member paths use '/' and no leading slash. A second file at the same
    // path is a generator fault and is reported by returning false.
    bool add(const QString &member, const QByteArray &bytes);
    bool contains(const QString &member) const { return files_.contains(member); }

    // The members whose path begins with `top` + "/", in path order.
    QMap<QString, QByteArray> under(const QString &top) const;
    const QMap<QString, QByteArray> &all() const { return files_; }

private:
    QMap<QString, QByteArray> files_;
};

// Writes one archive with the folder entries of every member's parents first, fixed
// time stamps and deflate, so the same members give the same bytes. Returns "" or a
// message.
QString writeZip(const QString &zipPath, const QMap<QString, QByteArray> &members);

// Writes the members as files below `folder`, creating folders as needed.
QString writeTree(const QString &folder, const QMap<QString, QByteArray> &members);

} // namespace assets
