// The "/music" title: the track a running music player is playing, read from the desktop's
// media-player interface (every player that offers one registers org.mpris.MediaPlayer2.<name>
// on the session bus).
#include "app/modLinks.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

namespace {
const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
// A player that does not answer at once must not hold up the chat input.
constexpr int kTimeoutMs = 500;

QVariant property(const QDBusConnection& bus, const QString& service, const QString& name) {
    QDBusMessage get = QDBusMessage::createMethodCall(service, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kPlayer << name;
    const QDBusMessage reply = bus.call(get, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

// A value as the bus delivers it: still marshalled when it holds a map or a list.
template <class T>
T unpacked(const QVariant& value) {
    if (!value.canConvert<QDBusArgument>()) return value.value<T>();
    T out;
    value.value<QDBusArgument>() >> out;
    return out;
}

// Another program's text goes into a chat line: no line breaks or other control characters.
QString printable(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = u' ';
    return text;
}
}  // namespace

QString GetNowPlaying() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return {};
    QStringList names = bus.interface()->registeredServiceNames().value();
    names.sort();
    for (const QString& service : names) {
        if (!service.startsWith(kPlayerPrefix)) continue;
        if (property(bus, service, QStringLiteral("PlaybackStatus")).toString() != QLatin1String("Playing")) continue;
        const auto track = unpacked<QVariantMap>(property(bus, service, QStringLiteral("Metadata")));
        const QString title = printable(track.value(QStringLiteral("xesam:title")).toString()).trimmed();
        const QString artist = printable(unpacked<QStringList>(track.value(QStringLiteral("xesam:artist"))).join(QStringLiteral(", "))).trimmed();
        if (title.isEmpty() && artist.isEmpty()) continue;
        // As a player's window title reads once its track number is taken off: a blank, the
        // artist and the track.
        if (artist.isEmpty()) return u' ' + title;
        if (title.isEmpty()) return u' ' + artist;
        return u' ' + artist + QStringLiteral(" - ") + title;
    }
    return {};
}
