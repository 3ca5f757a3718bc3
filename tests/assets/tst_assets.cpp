// The first-run archives: what the client will find after unpacking them, checked against
// the names the client looks up; and the generator that makes them.

#include "AssetSources.h"
#include "GifWriter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QMovie>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <zip.h>

using namespace assets;

namespace {

struct Archive {
    QStringList names; // every entry, folders included, in archive order
    QMap<QString, QByteArray> files;
    QString error;
};

Archive readArchive(const QString &path)
{
    Archive a;
    int err = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err);
    if (!za) {
        a.error = QStringLiteral("cannot open %1 (libzip error %2)").arg(path).arg(err);
        return a;
    }
    const zip_int64_t n = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const QString name = QString::fromUtf8(zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS));
        a.names.append(name);
        if (name.endsWith(u'/'))
            continue;
        zip_stat_t st;
        zip_stat_index(za, zip_uint64_t(i), 0, &st);
        QByteArray data(qsizetype(st.size), Qt::Uninitialized);
        zip_file_t *f = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!f || zip_fread(f, data.data(), st.size) != zip_int64_t(st.size))
            a.error = QStringLiteral("cannot read ") + name;
        if (f)
            zip_fclose(f);
        a.files.insert(name, data);
    }
    zip_close(za);
    return a;
}

QByteArray readSource(const QString &relative)
{
    QFile f(QStringLiteral(ASSETS_SOURCE_DIR "/") + relative);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return reader.read();
}

// What a wave file must be for the sound player: PCM RIFF WAVE with sound in it.
QString waveProblem(const QByteArray &b)
{
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return QStringLiteral("not a RIFF WAVE file");
    if (qFromLittleEndian<quint32>(b.constData() + 4) != quint32(b.size() - 8))
        return QStringLiteral("RIFF size does not match the file");
    qsizetype pos = 12;
    bool fmt = false;
    while (pos + 8 <= b.size()) {
        const QByteArray id = b.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + pos + 4);
        if (pos + 8 + qsizetype(size) > b.size())
            return QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
        const char *c = b.constData() + pos + 8;
        if (id == "fmt ") {
            if (size < 16 || qFromLittleEndian<quint16>(c) != 1 || qFromLittleEndian<quint16>(c + 2) != 1
                || qFromLittleEndian<quint16>(c + 14) != 16 || qFromLittleEndian<quint32>(c + 4) < 8000
                || qFromLittleEndian<quint16>(c + 12) != 2
                || qFromLittleEndian<quint32>(c + 8) != 2 * qFromLittleEndian<quint32>(c + 4))
                return QStringLiteral("not 16-bit mono PCM");
            fmt = true;
        } else if (id == "data") {
            if (!fmt)
                return QStringLiteral("data before fmt");
            if (size == 0 || size % 2)
                return QStringLiteral("empty or odd data chunk");
            int peak = 0;
            for (quint32 k = 0; k < size; k += 2)
                peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(c + k))));
            return peak > 1000 ? QString() : QStringLiteral("silent");
        }
        pos += 8 + size + (size % 2);
    }
    return QStringLiteral("no data chunk");
}

QImage noiseImage(int w, int h, int colours, quint32 seed, bool holes)
{
    QRandomGenerator rng(seed);
    QList<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.append(qRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, holes && rng.bounded(5) == 0 ? qRgba(0, 0, 0, 0) : palette[rng.bounded(colours)]);
    return img;
}

QList<QImage> gifFrames(const QByteArray &gif)
{
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");
    QList<QImage> frames;
    QImage f;
    while (reader.read(&f))
        frames.append(f.convertToFormat(QImage::Format_ARGB32));
    return frames;
}

} // namespace

class TestAssets : public QObject {
    Q_OBJECT

    Archive decks, skins, wavs;
    QList<SkinEntry> skin;

    QByteArray member(const QString &name) const
    {
        for (const Archive *a : {&decks, &skins, &wavs})
            if (a->files.contains(name))
                return a->files.value(name);
        return {};
    }
    bool hasMember(const QString &name) const
    {
        return decks.files.contains(name) || skins.files.contains(name) || wavs.files.contains(name);
    }
    QString skinValue(const QString &section, const QString &key) const
    {
        for (const SkinEntry &e : skin)
            if (e.section.compare(section, Qt::CaseInsensitive) == 0 && e.key.compare(key, Qt::CaseInsensitive) == 0)
                return e.value;
        return {};
    }

private slots:
    void initTestCase()
    {
        decks = readArchive(QStringLiteral(CORVADEX_BIN_DIR "/decks.zip"));
        skins = readArchive(QStringLiteral(CORVADEX_BIN_DIR "/skins.zip"));
        wavs = readArchive(QStringLiteral(CORVADEX_BIN_DIR "/wavs.zip"));
        for (const Archive *a : {&decks, &skins, &wavs})
            QVERIFY2(a->error.isEmpty(), qPrintable(a->error));
        QString error;
        skin = parseSkinIni(skins.files.value(QStringLiteral("skins/default.ini")), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!skin.isEmpty());
    }

    void membersUnpackInsideTheClientFolder_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::newRow("decks") << QStringLiteral("decks");
        QTest::newRow("skins") << QStringLiteral("skins");
        QTest::newRow("wavs") << QStringLiteral("wavs");
    }
    void membersUnpackInsideTheClientFolder()
    {
        QFETCH(QString, archive);
        const Archive &a = archive == QLatin1String("decks") ? decks : archive == QLatin1String("skins") ? skins : wavs;
        QVERIFY(a.files.size() > 5);
        const QSet<QString> names(a.names.cbegin(), a.names.cend());
        QCOMPARE(names.size(), a.names.size()); // no entry twice
        for (const QString &name : a.names) {
            QVERIFY2(!name.startsWith(u'/') && !name.contains(u'\\') && !name.contains(u':'), qPrintable(name));
            QVERIFY2(!name.split(u'/').contains(QStringLiteral("..")), qPrintable(name));
            // The skins archive also carries the chat bots' example files.
            QVERIFY2(name.startsWith(archive + u'/') || (archive == QLatin1String("skins") && name.startsWith(QLatin1String("bottxt/"))),
                     qPrintable(name));
            // Every file's folders are listed, so the unpacker makes them before the file.
            const QStringList parts = name.split(u'/', Qt::SkipEmptyParts);
            QString folder;
            for (int i = 0; i + 1 < parts.size(); ++i) {
                folder += parts[i] + u'/';
                QVERIFY2(names.contains(folder), qPrintable(name + QStringLiteral(" lacks folder ") + folder));
            }
        }
    }

    void shippedSkinIsTheSourceFile()
    {
        QCOMPARE(skins.files.value(QStringLiteral("skins/default.ini")), readSource(QStringLiteral("skins/default.ini")));
    }

    void skinNamesTheWholeVocabulary()
    {
        // The sections and keys the windows look up.
        const QList<QPair<QString, QString>> vocabulary = [] {
            QList<QPair<QString, QString>> v;
            auto add = [&v](const char *section, const char *keys) {
                for (const QString &k : QString::fromLatin1(keys).split(u' '))
                    v.append({QString::fromLatin1(section), k});
            };
            add("start", "login");
            add("splash", "background");
            add("main", "fontface fontsize cardback cursor border hflip vflip cardblock blackbar loadingscreen");
            add("baseform", "background tilebarsize");
            add("controlpanel", "background snapshot createicon joinicon");
            add("icons", "achievement cardwiki helpwiki quests forum website portal fairdome leaderboard zorviumbank "
                         "membership myshop mystats video rushbar bar chatballoon");
            add("button", "normal rollover down");
            add("pm", "background namefont namesize nameitalic namebold namecolor selfheadercolor secondaryheadercolor "
                      "selftextcolor secondarytextcolor chatboxbackgroundcolor typeboxbackgroundcolor chatfont "
                      "chatheaderfontsize chattextfontsize typeboxforecolor");
            add("cvboard", "background p1turn p2turn");
            add("omniboard", "background");
            add("teamocvboard", "background");
            add("memory", "background");
            add("chinchin", "background");
            add("cvw", "background");
            add("sphere", "background bordercoin corecoin spin bust bordercoinbreak frozen corebreak go echo nextturn");
            add("dice", "1 2 3 4 5 6");
            add("elements", "fire ice thunder earth poison wind water holy");
            add("display", "topcards_top");
            add("guild", "background guildbank guildhistory guildlist guildmessageboard myguild publicmessageboard");
            return v;
        }();
        for (const auto &[section, key] : vocabulary)
            QVERIFY2(!skinValue(section, key).isEmpty(), qPrintable(QStringLiteral("[%1] %2 missing").arg(section, key)));
    }

    void everySkinPictureLoads()
    {
        int pictures = 0;
        for (const SkinEntry &e : std::as_const(skin)) {
            if (!isPictureValue(e.value))
                continue;
            ++pictures;
            const QString where = QStringLiteral("[%1] %2 = %3").arg(e.section, e.key, e.value);
            const QString name = memberForSkinValue(e);
            // The dice board joins its values to the client folder; they must still land in skins.
            QVERIFY2(name.startsWith(QLatin1String("skins/")), qPrintable(where));
            QVERIFY2(hasMember(name), qPrintable(where + QStringLiteral(": no member ") + name));
            const QImage img = decode(member(name));
            QVERIFY2(!img.isNull() && img.width() > 0, qPrintable(where + QStringLiteral(": does not load")));
        }
        QVERIFY(pictures >= 70);
    }

    void cardFlipsAreAnimations_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("hflip") << QStringLiteral("hflip");
        QTest::newRow("vflip") << QStringLiteral("vflip");
    }
    void cardFlipsAreAnimations()
    {
        QFETCH(QString, key);
        const QString value = skinValue(QStringLiteral("main"), key);
        QVERIFY(value.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive));
        QBuffer buffer;
        buffer.setData(member(memberForSkinValue({QStringLiteral("main"), key, value, 0})));
        QMovie movie(&buffer, "gif");
        QVERIFY(movie.isValid());
        QVERIFY2(movie.frameCount() > 1, "a flip needs several frames");
        // The board waits for the end of the flip, so it must not loop for ever.
        QVERIFY(movie.loopCount() != -1);
        const QList<QImage> frames = gifFrames(buffer.data());
        QCOMPARE(frames.size(), movie.frameCount());
        for (const QImage &f : frames)
            QCOMPARE(f.size(), QSize(72, 90));
        QVERIFY(frames.first() != frames.last());
    }

    void settingValuesAreUsable()
    {
        bool ok = false;
        QVERIFY(skinValue(QStringLiteral("main"), QStringLiteral("fontsize")).toDouble(&ok) > 0 && ok);
        QVERIFY(skinValue(QStringLiteral("baseform"), QStringLiteral("tilebarsize")).toInt(&ok) > 0 && ok);
        skinValue(QStringLiteral("display"), QStringLiteral("topcards_top")).toInt(&ok);
        QVERIFY(ok);
        for (const char *key : {"namesize", "chatheaderfontsize", "chattextfontsize"})
            QVERIFY2(skinValue(QStringLiteral("pm"), QString::fromLatin1(key)).toInt(&ok) > 0 && ok, key);
        for (const char *key : {"nameitalic", "namebold"})
            QVERIFY(QStringList({QStringLiteral("0"), QStringLiteral("1")}).contains(skinValue(QStringLiteral("pm"), QString::fromLatin1(key))));
        // Colours: one of the renderer's names or six hexadecimal digits.
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
        const QStringList names{QStringLiteral("white"), QStringLiteral("black"), QStringLiteral("cyan"), QStringLiteral("magnenta"),
                                QStringLiteral("green"), QStringLiteral("red"), QStringLiteral("yellow"), QStringLiteral("blue")};
        for (const SkinEntry &e : std::as_const(skin))
            if (e.section == QLatin1String("pm") && e.key.endsWith(QLatin1String("color")))
                QVERIFY2(names.contains(e.value.toLower()) || hex.match(e.value).hasMatch(), qPrintable(e.key));
    }

    void fixedDefaultFilesExist()
    {
        QStringList fixed{QStringLiteral("skins/default/control_panel.jpg"), QStringLiteral("skins/default/snapshot.gif"),
                          QStringLiteral("skins/default/createicon.gif"), QStringLiteral("skins/default/joinicon.gif"),
                          QStringLiteral("skins/default/icons/chatballoon.gif"), QStringLiteral("skins/default/guild/background.jpg"),
                          QStringLiteral("skins/default/guild/myguild.gif"), QStringLiteral("skins/default/pm.jpg"),
                          QStringLiteral("skins/default/loadingscreen.jpg"), QStringLiteral("skins/default/corvadawar/cvwar.jpg")};
        for (const char *icon : {"Achievement", "Card Wiki", "Help Wiki", "Quests", "Forum", "Website", "Portal", "Fairdome",
                                 "Leaderboard", "Zorvium Bank", "Membership", "My Shop", "My Stats", "video", "rushbar", "bar"})
            fixed.append(QStringLiteral("skins/icons/") + QString::fromLatin1(icon) + QStringLiteral(".gif"));
        for (const char *icon : {"guildbank", "guildhistory", "guildlist", "guildmessageboard", "publicmessageboard"})
            fixed.append(QStringLiteral("skins/default/guild/icons/") + QString::fromLatin1(icon) + QStringLiteral(".gif"));
        for (const QString &f : std::as_const(fixed)) {
            QVERIFY2(hasMember(f), qPrintable(f));
            QVERIFY2(!decode(member(f)).isNull(), qPrintable(f));
        }
        // The lobby's gauge is 234 pixels wide when full.
        QCOMPARE(decode(member(QStringLiteral("skins/icons/rushbar.gif"))).width(), 234);
        QCOMPARE(decode(member(QStringLiteral("skins/icons/bar.gif"))).width(), 234);
    }

    void buttonLooksShareOneSize()
    {
        QList<QImage> looks;
        for (const char *look : {"normal", "rollover", "down"})
            looks.append(decode(member(memberForSkinValue({QStringLiteral("button"), QString::fromLatin1(look),
                                                           skinValue(QStringLiteral("button"), QString::fromLatin1(look)), 0}))));
        for (const QImage &img : looks)
            QCOMPARE(img.size(), QSize(100, 21));
        QVERIFY(looks[0] != looks[1] && looks[1] != looks[2] && looks[0] != looks[2]);
    }

    void everySoundOfTheTableIsAWave()
    {
        const QStringList table{"coin.wav", "combo.wav", "beep.wav", "on.wav", "off.wav", "enter.wav", "scroll.WAV",
                                "join.wav", "part.wav", "ready.wav", "requestlog.wav", "special.wav", "pm.wav", "kick.wav",
                                "pmchat.wav", "target.wav", "cardflip.wav", "win.IT", "loss.wav", "draw.wav",
                                "snapshot.wav", "level.wav", "sphere/corebreak.wav", "sphere/frozen.wav", "sphere/go.wav",
                                "sphere/spin.wav", "sphere/echo.wav", "TABLEJOIN.wav", "roll.wav", "stalemate.wav",
                                "tick.wav", "timeup.wav", "command.wav"};
        QSet<QByteArray> digests;
        for (const QString &file : table) {
            const QString name = QStringLiteral("wavs/") + file;
            QVERIFY2(wavs.files.contains(name), qPrintable(name + QStringLiteral(" (case counts)")));
            const QString problem = waveProblem(wavs.files.value(name));
            QVERIFY2(problem.isEmpty(), qPrintable(name + QStringLiteral(": ") + problem));
            digests.insert(QCryptographicHash::hash(wavs.files.value(name), QCryptographicHash::Sha1));
        }
        QCOMPARE(digests.size(), table.size()); // each sound its own
        QCOMPARE(wavs.files.size(), table.size());
    }

    void waveCheckCatchesBrokenFiles()
    {
        const QByteArray good = wavs.files.value(QStringLiteral("wavs/beep.wav"));
        QVERIFY(waveProblem(good).isEmpty());
        QVERIFY(!waveProblem(good.left(good.size() - 10)).isEmpty()); // cut short
        QByteArray stereo = good;
        stereo[22] = 2;
        QVERIFY(!waveProblem(stereo).isEmpty());
        QByteArray silent = good;
        std::fill(silent.begin() + 44, silent.end(), char(0));
        QCOMPARE(waveProblem(silent), QStringLiteral("silent"));
    }

    void everyCardHasBothPictures()
    {
        QString error;
        const QList<CardSpec> cards = parseCardList(readSource(QStringLiteral("cards.txt")), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(cards.size() >= 25 && cards.size() <= 40);
        QVERIFY(decks.names.contains(QStringLiteral("decks/Blue/")));
        QVERIFY(decks.names.contains(QStringLiteral("decks/Red/")));
        for (const CardSpec &c : cards) {
            const QByteArray blue = decks.files.value(QStringLiteral("decks/Blue/") + c.name + QStringLiteral(".jpg"));
            const QByteArray red = decks.files.value(QStringLiteral("decks/Red/") + c.name + QStringLiteral(".jpg"));
            QVERIFY2(!blue.isEmpty() && !red.isEmpty(), qPrintable(c.name));
            const QImage b = decode(blue), r = decode(red);
            QCOMPARE(b.size(), QSize(72, 90));
            QCOMPARE(r.size(), QSize(72, 90));
            QVERIFY(b != r);
            // The frames carry the side's colour.
            int blueSide = 0, redSide = 0;
            for (int y = 20; y < 60; ++y) {
                blueSide += qBlue(b.pixel(3, y)) - qRed(b.pixel(3, y));
                redSide += qRed(r.pixel(3, y)) - qBlue(r.pixel(3, y));
            }
            QVERIFY2(blueSide > 40 * 40 && redSide > 40 * 40, qPrintable(c.name));
        }
        QCOMPARE(decks.files.size(), 2 * cards.size());
    }

    void avatarLayersStackOverTheirBackgrounds()
    {
        const QString folder = QStringLiteral("skins/default/avatars/");
        QSize size;
        for (const char *code : {"001", "002", "003"}) {
            const QImage bg = decode(member(folder + QStringLiteral("background_") + QString::fromLatin1(code) + QStringLiteral(".gif")));
            QVERIFY(!bg.isNull());
            QVERIFY(!bg.hasAlphaChannel() || bg.pixelColor(0, 0).alpha() == 255);
            if (size.isEmpty())
                size = bg.size();
            QCOMPARE(bg.size(), size);
            for (const char *prefix : {"m", "f"})
                for (const char *part : {"_head_", "_body_"}) {
                    const QString name = folder + QString::fromLatin1(prefix) + QString::fromLatin1(part) + QString::fromLatin1(code)
                        + QStringLiteral(".gif");
                    const QImage layer = decode(member(name)).convertToFormat(QImage::Format_ARGB32);
                    QVERIFY2(!layer.isNull(), qPrintable(name));
                    QCOMPARE(layer.size(), size);
                    QCOMPARE(layer.pixelColor(0, 0).alpha(), 0); // the background shows through
                }
        }
    }

    void generatorRepeatsItselfAndWritesTheTree()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        QProcess gen;
        gen.start(QStringLiteral(MAKEASSETS_PATH), {QStringLiteral("--source"), QStringLiteral(ASSETS_SOURCE_DIR),
                                                    QStringLiteral("--out"), temp.filePath(QStringLiteral("out")),
                                                    QStringLiteral("--tree"), temp.filePath(QStringLiteral("client"))});
        QVERIFY(gen.waitForFinished(60000));
        QVERIFY2(gen.exitStatus() == QProcess::NormalExit && gen.exitCode() == 0, gen.readAllStandardError().constData());
        int files = 0;
        for (const char *zip : {"decks.zip", "skins.zip", "wavs.zip"}) {
            QFile again(temp.filePath(QStringLiteral("out/") + QString::fromLatin1(zip)));
            QFile built(QStringLiteral(CORVADEX_BIN_DIR "/") + QString::fromLatin1(zip));
            QVERIFY(again.open(QIODevice::ReadOnly) && built.open(QIODevice::ReadOnly));
            QVERIFY2(again.readAll() == built.readAll(), zip); // same sources, same bytes
        }
        for (const Archive *a : {&decks, &skins, &wavs})
            for (auto it = a->files.cbegin(); it != a->files.cend(); ++it) {
                QFile f(temp.filePath(QStringLiteral("client/") + it.key()));
                QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(it.key()));
                QVERIFY2(f.readAll() == it.value(), qPrintable(it.key()));
                ++files;
            }
        QDirIterator it(temp.filePath(QStringLiteral("client")), QDir::Files, QDirIterator::Subdirectories);
        int onDisk = 0;
        while (it.hasNext()) {
            it.next();
            ++onDisk;
        }
        QCOMPARE(onDisk, files);
    }

    void generatorRefusesBadSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("append");
        QTest::addColumn<QString>("message");
        QTest::newRow("key without a drawing") << "skins/default.ini" << QByteArray("\n[main]\nmystery=\\default\\x.gif\n")
                                               << "no drawing";
        QTest::newRow("key twice") << "skins/default.ini" << QByteArray("\n[MAIN]\nCursor=\\default\\c2.gif\n")
                                   << "given twice";
        QTest::newRow("unknown section") << "skins/default.ini" << QByteArray("\n[nosuch]\nthing=\\default\\thing.gif\n")
                                         << "no drawing";
        QTest::newRow("climbs out") << "skins/default.ini" << QByteArray("\n[nosuch2]\nx=\\..\\..\\evil.gif\n") << "leaves";
        QTest::newRow("not an ini line") << "skins/default.ini" << QByteArray("\njust words\n") << "key=value";
        QTest::newRow("bad rank") << "cards.txt" << QByteArray("Odd One\tAshfall\t1\t1\t2\tB\t4\tfire\tCommon\n") << "rank";
        QTest::newRow("path in name") << "cards.txt" << QByteArray("../evil\tAshfall\t1\t1\t2\t3\t4\tfire\tCommon\n") << "file name";
        QTest::newRow("short line") << "cards.txt" << QByteArray("Lonely\tX\t1\n") << "columns";
        QTest::newRow("duplicate card") << "cards.txt" << QByteArray("cinderpup\tAshfall\t1\t1\t2\t3\t4\tfire\tCommon\n") << "duplicate";
        QTest::newRow("unknown element") << "cards.txt" << QByteArray("Newt\tAshfall\t1\t1\t2\t3\t4\tlava\tCommon\n") << "element";
    }
    void generatorRefusesBadSources()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, append);
        QFETCH(QString, message);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QDir src(temp.filePath(QStringLiteral("src")));
        QVERIFY(QDir().mkpath(src.filePath(QStringLiteral("skins"))));
        for (const QString &f : {QStringLiteral("skins/default.ini"), QStringLiteral("cards.txt")}) {
            QFile out(src.filePath(f));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(readSource(f) + (f == file ? append : QByteArray()));
        }
        QProcess gen;
        gen.start(QStringLiteral(MAKEASSETS_PATH),
                  {QStringLiteral("--source"), src.path(), QStringLiteral("--out"), temp.filePath(QStringLiteral("out"))});
        QVERIFY(gen.waitForFinished(60000));
        QCOMPARE(gen.exitStatus(), QProcess::NormalExit);
        QCOMPARE(gen.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(gen.readAllStandardError());
        QVERIFY2(err.contains(message), qPrintable(err));
        // Nothing half-made is left for the client to unpack.
        QVERIFY(QDir(temp.filePath(QStringLiteral("out"))).entryList(QDir::Files).isEmpty());
    }

    void iniReaderTakesWindowsFiles()
    {
        QString error;
        const QList<SkinEntry> e = parseSkinIni("; note\r\n[ Main ]\r\n  cardback = \\default\\back.jpg \r\n\r\n"
                                                "[dice]\r\n1=\\skins\\default\\dice\\1.gif\r\nfontface=Verdana\r\n",
                                                &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(e.size(), 3);
        QCOMPARE(e[0].section, QStringLiteral("Main"));
        QCOMPARE(e[0].key, QStringLiteral("cardback"));
        QCOMPARE(e[0].value, QStringLiteral("\\default\\back.jpg"));
        QCOMPARE(e[0].line, 3);
        QVERIFY(isPictureValue(e[0].value));
        QVERIFY(!isPictureValue(e[2].value));
        QVERIFY(!isPictureValue(QStringLiteral("default\\x.gif"))); // no leading backslash: not a skin path
        QVERIFY(isPictureValue(QStringLiteral("\\default\\X.GIF")));
        QCOMPARE(memberForSkinValue(e[0]), QStringLiteral("skins/default/back.jpg"));
        QCOMPARE(memberForSkinValue(e[1]), QStringLiteral("skins/default/dice/1.gif"));
    }

    void iniReaderRefusesBrokenLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("key outside a section") << QByteArray("key=value\n");
        QTest::newRow("open header") << QByteArray("[main\nkey=value\n");
        QTest::newRow("empty header") << QByteArray("[]\n");
        QTest::newRow("no equals") << QByteArray("[main]\nkey value\n");
        QTest::newRow("empty key") << QByteArray("[main]\n=value\n");
    }
    void iniReaderRefusesBrokenLines()
    {
        QFETCH(QByteArray, text);
        QString error;
        QVERIFY(parseSkinIni(text, &error).isEmpty());
        QVERIFY(error.startsWith(QLatin1String("line ")));
    }

    void cardListReaderReadsRanksAndRefusesBadRows()
    {
        const QByteArray header = cardListHeader().join(u'\t').toUtf8() + "\r\n";
        QString error;
        const QList<CardSpec> ok = parseCardList(header + "Ash Newt\tAshfall\t2\tA\t1\t9\t5\tnone\tRare\r\n\r\n", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(ok.size(), 1);
        QCOMPARE(ok[0].name, QStringLiteral("Ash Newt"));
        QCOMPARE(ok[0].top, 10);
        QCOMPARE(ok[0].right, 1);
        QCOMPARE(ok[0].bottom, 9);
        QCOMPARE(ok[0].left, 5);
        QCOMPARE(rankText(ok[0].top), QStringLiteral("A"));
        for (const QByteArray &bad : {QByteArray("Ash Newt\tAshfall\t0\t1\t1\t1\t1\tnone\tRare"),      // level
                                      QByteArray("Ash Newt\tAshfall\t1\t10\t1\t1\t1\tnone\tRare"),     // rank
                                      QByteArray("Ash Newt\tAshfall\t1\t1\t1\t1\t1\tnone\tLegend"),    // rarity
                                      QByteArray("Ash\\Newt\tAshfall\t1\t1\t1\t1\t1\tnone\tRare"),   // path
                                      QByteArray("Ash Newt \tAshfall\t1\t1\t1\t1\t1\tnone\tRare")}) {  // blank at the end
            QVERIFY(parseCardList(header + bad, &error).isEmpty());
            QVERIFY2(!error.isEmpty(), bad.constData());
        }
        QVERIFY(parseCardList("Name\tDeck\n", &error).isEmpty()); // wrong header
        QVERIFY(error.contains(QLatin1String("header")));
        QVERIFY(parseCardList("", &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }

    void gifKeepsFewColoursExactly_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("colours");
        QTest::addColumn<bool>("holes");
        QTest::newRow("one pixel") << QSize(1, 1) << 1 << false;
        QTest::newRow("odd size") << QSize(3, 7) << 5 << false;
        QTest::newRow("table resets") << QSize(97, 83) << 200 << false; // far more than 4096 codes
        QTest::newRow("255 colours, holes") << QSize(160, 120) << 255 << true;
        QTest::newRow("one colour, large") << QSize(600, 400) << 1 << false;
    }
    void gifKeepsFewColoursExactly()
    {
        QFETCH(QSize, size);
        QFETCH(int, colours);
        QFETCH(bool, holes);
        const QImage img = noiseImage(size.width(), size.height(), colours, quint32(size.width() * 31 + colours), holes);
        const QList<QImage> frames = gifFrames(encodeGif(img));
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames[0].size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb want = img.pixel(x, y), got = frames[0].pixel(x, y);
                if (qAlpha(want) == 0)
                    QVERIFY2(qAlpha(got) == 0, "hole filled");
                else
                    QVERIFY2(got == want, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
    }

    void gifApproximatesManyColours()
    {
        QImage img(256, 64, QImage::Format_ARGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x)
                img.setPixel(x, y, qRgb(x, y * 4, 255 - x));
        const QList<QImage> frames = gifFrames(encodeGif(img));
        QCOMPARE(frames.size(), 1);
        int worst = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x) {
                const QRgb a = img.pixel(x, y), b = frames[0].pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        QVERIFY2(worst <= 24, qPrintable(QString::number(worst)));
    }

    void gifAnimationKeepsFramesDelaysAndLoops()
    {
        GifAnimation anim;
        for (int i = 0; i < 4; ++i)
            anim.frames.append(noiseImage(20, 10, 3 + i, quint32(i + 1), i == 2));
        anim.delays = {5, 10, 20, 40};
        anim.loops = 0;
        const QByteArray gif = encodeGif(anim);
        QBuffer buffer;
        buffer.setData(gif);
        QImageReader reader(&buffer, "gif");
        QCOMPARE(reader.imageCount(), 4);
        QCOMPARE(reader.loopCount(), -1); // for ever
        for (int i = 0; i < 4; ++i) {
            QImage f;
            QVERIFY(reader.read(&f));
            f = f.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 20; ++x)
                    if (qAlpha(anim.frames[i].pixel(x, y)))
                        QCOMPARE(f.pixel(x, y), anim.frames[i].pixel(x, y));
                    else
                        QCOMPARE(qAlpha(f.pixel(x, y)), 0); // nothing of the frame before shows through
            QCOMPARE(reader.nextImageDelay(), anim.delays[i] * 10);
        }
        anim.loops = -1;
        QBuffer once;
        once.setData(encodeGif(anim));
        QImageReader onceReader(&once, "gif");
        QCOMPARE(onceReader.loopCount(), 0);
    }

    void gifRefusesWhatItCannotEncode()
    {
        QVERIFY(encodeGif(GifAnimation{}).isEmpty());
        QVERIFY(encodeGif(QImage()).isEmpty());
        GifAnimation mixed;
        mixed.frames = {QImage(4, 4, QImage::Format_ARGB32), QImage(5, 4, QImage::Format_ARGB32)};
        QVERIFY(encodeGif(mixed).isEmpty());
    }
};

QTEST_MAIN(TestAssets)
#include "tst_assets.moc"
