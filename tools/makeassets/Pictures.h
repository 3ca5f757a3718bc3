#pragma once
// Every picture the generator makes: skin pictures by their skin key, card faces, avatar
// layers.

#include "AssetSources.h"

#include <QImage>
#include <QList>
#include <QString>

namespace assets {

struct Picture {
    QList<QImage> frames;
    QList<int> delays; // hundredths of a second
    int loops = -1;    // as GifAnimation::loops
};

// The picture for a skin key, or false when the generator has no drawing for that key
// (a key added to default.ini must get one here).
bool renderSkinPicture(const QString &section, const QString &key, Picture *out);

// Card face in the blue or the red frame, 72 x 90 like a board cell.
QImage renderCard(const CardSpec &card, bool red);

struct NamedPicture {
    QString member;
    Picture picture;
};
// Avatar layers: background_<code>.gif, <prefix>_head_<code>.gif, <prefix>_body_<code>.gif.
QList<NamedPicture> renderAvatars();
const QStringList &avatarPrefixes();
const QStringList &avatarCodes();

} // namespace assets
