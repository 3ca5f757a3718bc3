// makeassets: draws the default skin, the starter cards and the avatar layers, writes
// the sound effects, and packs them into the first-run archives decks.zip, skins.zip and
// wavs.zip. The skin's ini file decides which skin pictures exist; the card list decides
// which card pictures exist. The example bot files of assets/bottxt go into skins.zip.

#include "AssetBundle.h"
#include "AssetSources.h"
#include "GifWriter.h"
#include "Pictures.h"
#include "Sounds.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSet>
#include <cstdio>

using namespace assets;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "makeassets: %s\n", qPrintable(message));
    return 1;
}

bool readFile(const QString &path, QByteArray *out, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return false;
    }
    *out = f.readAll();
    return true;
}

QByteArray encodePicture(const Picture &pic, const QString &member)
{
    if (member.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive))
        return encodeGif(GifAnimation{pic.frames, pic.delays, pic.loops});
    QImage opaque(pic.frames.first().size(), QImage::Format_RGB32);
    opaque.fill(Qt::black);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, pic.frames.first());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!opaque.save(&buffer, "JPG", 90))
        return {};
    return bytes;
}

// Skin pictures named by default.ini, plus the ini file itself.
QString addSkin(const QByteArray &iniText, AssetBundle &bundle)
{
    QString error;
    const QList<SkinEntry> entries = parseSkinIni(iniText, &error);
    if (!error.isEmpty())
        return QStringLiteral("default.ini ") + error;
    QSet<QString> seen;
    for (const SkinEntry &e : entries) {
        const QString id = e.section.toLower() + u'/' + e.key.toLower();
        if (seen.contains(id))
            return QStringLiteral("default.ini line %1: [%2] %3 given twice").arg(e.line).arg(e.section, e.key);
        seen.insert(id);
        if (!isPictureValue(e.value))
            continue;
        const QString member = memberForSkinValue(e);
        if (member.contains(QLatin1String("..")))
            return QStringLiteral("default.ini line %1: value leaves the client folder").arg(e.line);
        if (bundle.contains(member))
            continue; // two keys may share one picture
        Picture pic;
        if (!renderSkinPicture(e.section, e.key, &pic))
            return QStringLiteral("default.ini line %1: no drawing for [%2] %3").arg(e.line).arg(e.section, e.key);
        const QByteArray bytes = encodePicture(pic, member);
        if (bytes.isEmpty() || !bundle.add(member, bytes))
            return QStringLiteral("cannot encode %1").arg(member);
    }
    bundle.add(QStringLiteral("skins/default.ini"), iniText);
    for (const NamedPicture &a : renderAvatars())
        if (!bundle.add(a.member, encodePicture(a.picture, a.member)))
            return QStringLiteral("avatar %1 clashes with a skin picture").arg(a.member);
    return {};
}

QString addCards(const QByteArray &listText, AssetBundle &bundle)
{
    QString error;
    const QList<CardSpec> cards = parseCardList(listText, &error);
    if (!error.isEmpty())
        return QStringLiteral("cards.txt ") + error;
    for (const CardSpec &c : cards)
        for (const bool red : {false, true}) {
            const QString member = (red ? QStringLiteral("decks/Red/") : QStringLiteral("decks/Blue/")) + c.name + QStringLiteral(".jpg");
            if (!bundle.add(member, encodePicture(Picture{{renderCard(c, red)}, {0}, -1}, member)))
                return QStringLiteral("cannot add ") + member;
        }
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs fonts but never a screen: build machines have none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes the client's first-run archives."));
    parser.addHelpOption();
    const QCommandLineOption sourceOpt(QStringLiteral("source"), QStringLiteral("Folder with skins/default.ini and cards.txt."),
                                       QStringLiteral("folder"));
    const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("Folder for decks.zip, skins.zip and wavs.zip."),
                                    QStringLiteral("folder"));
    const QCommandLineOption treeOpt(QStringLiteral("tree"), QStringLiteral("Also write the unpacked files below this folder."),
                                     QStringLiteral("folder"));
    parser.addOption(sourceOpt);
    parser.addOption(outOpt);
    parser.addOption(treeOpt);
    parser.process(app);
    if (!parser.isSet(sourceOpt) || (!parser.isSet(outOpt) && !parser.isSet(treeOpt)))
        return fail(QStringLiteral("usage: makeassets --source <assets folder> [--out <folder>] [--tree <folder>]"));

    const QDir source(parser.value(sourceOpt));
    QString error;
    QByteArray iniText, cardText;
    if (!readFile(source.filePath(QStringLiteral("skins/default.ini")), &iniText, &error)
        || !readFile(source.filePath(QStringLiteral("cards.txt")), &cardText, &error))
        return fail(error);

    AssetBundle bundle;
    if (!(error = addSkin(iniText, bundle)).isEmpty() || !(error = addCards(cardText, bundle)).isEmpty())
        return fail(error);
    for (const SoundFile &s : makeSounds())
        if (!bundle.add(s.member, s.bytes))
            return fail(QStringLiteral("cannot add ") + s.member);
    // Example files of the administrator's chat bots, so an operator can try them at once.
    const QDir bots(source.filePath(QStringLiteral("bottxt")));
    for (const QString &name : bots.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QByteArray text;
        if (!readFile(bots.filePath(name), &text, &error))
            return fail(error);
        if (!bundle.add(QStringLiteral("bottxt/") + name, text))
            return fail(QStringLiteral("cannot add bottxt/") + name);
    }

    if (parser.isSet(outOpt)) {
        const QString out = parser.value(outOpt);
        if (!QDir().mkpath(out))
            return fail(QStringLiteral("cannot create ") + out);
        for (const QString &top : {QStringLiteral("decks"), QStringLiteral("skins"), QStringLiteral("wavs")}) {
            QMap<QString, QByteArray> members = bundle.under(top);
            // The bot files travel with the skins: there are three first-run archives.
            if (top == QLatin1String("skins"))
                members.insert(bundle.under(QStringLiteral("bottxt")));
            if (!(error = writeZip(QDir(out).filePath(top + QStringLiteral(".zip")), members)).isEmpty())
                return fail(error);
        }
    }
    if (parser.isSet(treeOpt) && !(error = writeTree(parser.value(treeOpt), bundle.all())).isEmpty())
        return fail(error);
    return 0;
}
