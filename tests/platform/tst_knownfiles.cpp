// Settings files and paths kept in memory between lookups: whatever changes on the way to a
// file, by this program or another one, however quickly and with whatever time stamps, the next
// lookup sees it.
#include "platform/Ini.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
QByteArray setting(const char* value) { return QByteArray("[o]\r\nk=") + value + "\r\n"; }
}  // namespace

class TestKnownFiles : public QObject {
    Q_OBJECT

private slots:
    void changesOnTheWayAreSeen_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("file created") << "create" << "" << "2";
        QTest::newRow("file removed") << "remove" << "1" << "";
        QTest::newRow("file renamed over") << "rename" << "1" << "2";
        QTest::newRow("same size and time") << "sametime" << "1" << "2";
        QTest::newRow("folder created") << "mkdir" << "" << "2";
        QTest::newRow("folder replaced") << "newfolder" << "1" << "2";
        QTest::newRow("exact case appears") << "case" << "1" << "2";
        QTest::newRow("another program") << "process" << "1" << "2";
        QTest::newRow("written by us") << "ourwrite" << "1" << "2";
    }
    void changesOnTheWayAreSeen() {
        QFETCH(QString, change);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("cfg"));
        const QString file = folder + QStringLiteral("/s.ini");
        if (change != QLatin1String("mkdir")) QVERIFY(QDir().mkpath(folder));
        if (change == QLatin1String("case"))
            QVERIFY(writeAll(folder + QStringLiteral("/S.INI"), setting("1")));
        else if (!before.isEmpty())
            QVERIFY(writeAll(file, setting("1")));
        const QDateTime stamp = QDateTime::currentDateTime().addSecs(-3600);
        if (change == QLatin1String("sametime")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        // Twice: the second lookup is answered from memory.
        QCOMPARE(ReadIni(QStringLiteral("o"), QStringLiteral("k"), file), before);
        QCOMPARE(ReadIni(QStringLiteral("o"), QStringLiteral("k"), file), before);

        if (change == QLatin1String("create") || change == QLatin1String("case")) {
            QVERIFY(writeAll(file, setting("2")));
        } else if (change == QLatin1String("remove")) {
            QVERIFY(QFile::remove(file));
        } else if (change == QLatin1String("rename")) {
            QVERIFY(writeAll(folder + QStringLiteral("/new"), setting("2")));
            QVERIFY(::rename(QFile::encodeName(folder + QStringLiteral("/new")).constData(), QFile::encodeName(file).constData()) == 0);
        } else if (change == QLatin1String("sametime")) {
            QVERIFY(writeAll(file, setting("2")));
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(stamp, QFileDevice::FileModificationTime));
        } else if (change == QLatin1String("mkdir")) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(writeAll(file, setting("2")));
        } else if (change == QLatin1String("newfolder")) {
            QVERIFY(QDir().rename(folder, folder + QStringLiteral(".old")));
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(writeAll(file, setting("2")));
        } else if (change == QLatin1String("process")) {
            QCOMPARE(QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("printf '[o]\\r\\nk=2\\r\\n' > \"$0\""), file}), 0);
        } else if (change == QLatin1String("ourwrite")) {
            QVERIFY(WriteIni(QStringLiteral("o"), QStringLiteral("k"), QStringLiteral("2"), file));
        }
        QCOMPARE(ReadIni(QStringLiteral("o"), QStringLiteral("k"), file), after);
    }

    // A remembered path follows the folder: whether it exists, and the spelling it has there.
    void knownPathsFollowTheDisk() {
        QTemporaryDir dir;
        const QString asked = dir.filePath(QStringLiteral("config"));
        bool exists = true;
        QCOMPARE(knownPath(asked, &exists), asked);
        QVERIFY(!exists);
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("Config"))));
        QCOMPARE(knownPath(asked, &exists), dir.filePath(QStringLiteral("Config")));
        QVERIFY(exists);
        QVERIFY(QDir().mkpath(asked));
        QCOMPARE(knownPath(asked, &exists), asked);
        QVERIFY(QDir().rmdir(asked) && QDir().rmdir(dir.filePath(QStringLiteral("Config"))));
        QCOMPARE(knownPath(asked, &exists), asked);
        QVERIFY(!exists);
    }

    // A path to an existing file, remembered, then something done to the file or beside it.
    void knownPathsFollowTheFile_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("found");  // the spelling found after, "" for the path as asked
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("value");  // the setting read through the path after
        QTest::newRow("saved again") << "save" << "" << true << "2";
        QTest::newRow("renamed over") << "rename" << "" << true << "2";
        QTest::newRow("removed") << "remove" << "" << false << "";
        QTest::newRow("removed, other case beside") << "removecase" << "S.INI" << true << "2";
        QTest::newRow("moved away") << "moveaway" << "" << false << "";
        QTest::newRow("other case created beside") << "case" << "" << true << "1";
    }
    void knownPathsFollowTheFile() {
        QFETCH(QString, change);
        QFETCH(QString, found);
        QFETCH(bool, exists);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("s.ini"));
        const QString other = dir.filePath(QStringLiteral("S.INI"));
        QVERIFY(writeAll(file, setting("1")));
        if (change == QLatin1String("removecase")) QVERIFY(writeAll(other, setting("2")));
        bool there = false;
        QCOMPARE(knownPath(file, &there), file);
        QVERIFY(there);

        if (change == QLatin1String("save")) {
            QVERIFY(WriteIni(QStringLiteral("o"), QStringLiteral("k"), QStringLiteral("2"), file));
        } else if (change == QLatin1String("rename")) {
            QVERIFY(writeAll(dir.filePath(QStringLiteral("new")), setting("2")));
            QVERIFY(::rename(QFile::encodeName(dir.filePath(QStringLiteral("new"))).constData(), QFile::encodeName(file).constData()) == 0);
        } else if (change == QLatin1String("remove") || change == QLatin1String("removecase")) {
            QVERIFY(QFile::remove(file));
        } else if (change == QLatin1String("moveaway")) {
            QVERIFY(QFile::rename(file, dir.filePath(QStringLiteral("elsewhere"))));
        } else if (change == QLatin1String("case")) {
            QVERIFY(writeAll(other, setting("2")));
        }
        QCOMPARE(knownPath(file, &there), found.isEmpty() ? file : dir.filePath(found));
        QCOMPARE(there, exists);
        // And the settings read through it are the file's as it is now.
        QCOMPARE(ReadIni(QStringLiteral("o"), QStringLiteral("k"), file), value);
    }

    // A path below the client folder, asked for again after a change.
    void clientPathsFollowTheDisk_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("found");  // below the client folder after the change
        QTest::addColumn<bool>("exists");
        QTest::newRow("nothing") << "" << "config/x.cvc" << false;
        QTest::newRow("folder made in other case") << "Config" << "Config/x.cvc" << false;
        QTest::newRow("file made") << "config/x.cvc" << "config/x.cvc" << true;
        QTest::newRow("another client folder") << "move" << "config/x.cvc" << false;
    }
    void clientPathsFollowTheDisk() {
        QFETCH(QString, change);
        QFETCH(QString, found);
        QFETCH(bool, exists);
        QTemporaryDir dir, other;
        SetClientFolder(dir.path());
        bool there = true;
        QCOMPARE(knownClientPath(QStringLiteral("config/x.cvc"), &there), dir.filePath(QStringLiteral("config/x.cvc")));
        QVERIFY(!there);
        if (change == QLatin1String("Config")) QVERIFY(QDir().mkpath(dir.filePath(change)));
        if (change == QLatin1String("config/x.cvc")) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("config"))));
            QVERIFY(writeAll(dir.filePath(change), setting("1")));
        }
        if (change == QLatin1String("move")) SetClientFolder(other.path());
        const QString folder = change == QLatin1String("move") ? other.path() : dir.path();
        QCOMPARE(knownClientPath(QStringLiteral("config/x.cvc"), &there), folder + u'/' + found);
        QCOMPARE(there, exists);
        SetClientFolder(QString());
    }
};

QTEST_GUILESS_MAIN(TestKnownFiles)
#include "tst_knownfiles.moc"
