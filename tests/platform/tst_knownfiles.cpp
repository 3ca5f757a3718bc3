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
};

QTEST_GUILESS_MAIN(TestKnownFiles)
#include "tst_knownfiles.moc"
