#pragma once
// The sound numbers behind the files a recording sound service played, in order.
#include "app/modSound.h"
#include "platform/Paths.h"

#include <QList>
#include <QStringList>

inline QList<int> soundNumbers(const QStringList& played) {
    QList<int> ids;
    for (const QString& path : played) {
        for (int id = 1; id < 60; ++id) {
            const QString file = SoundFile(id);
            if (!file.isEmpty() && resolvePath(clientPath(file)) == path) {
                ids << id;
                break;
            }
        }
    }
    return ids;
}
