// The settings-file reader and writer on real files: the Windows profile rules for reading, and
// a writer that changes only the one line it must.
#include "platform/Codec1252.h"
#include "platform/Ini.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
}  // namespace

class TestIni : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;

private slots:
    void init() { m_file = m_dir.filePath(QStringLiteral("t%1.ini").arg(QTest::currentTestFunction())); }

    void missingFileSectionOrKeyReadsEmpty() {
        QVERIFY(!QFileInfo::exists(m_file));
        QCOMPARE(ReadIni("startup", "skin", m_file), QString());
        QVERIFY(!QFileInfo::exists(m_file));  // reading creates nothing
        writeAll(m_file, "[startup]\r\nskin=dark\r\n");
        QCOMPARE(ReadIni("other", "skin", m_file), QString());
        QCOMPARE(ReadIni("startup", "font", m_file), QString());
        QCOMPARE(ReadIni("startup", "skin", m_file), QStringLiteral("dark"));
        QVERIFY(ReadIni("startup", "skin", m_dir.path()).isEmpty());  // a folder is no settings file
    }

    void matchingIgnoresCaseAndBlanks() {
        writeAll(m_file,
                 "  [ Options ]  \r\n"
                 "  Sounds   =   1   \r\n"
                 "TitleFont=\tRingbearer Bold\t\r\n"
                 "[Chat]\r\nFontSize=10\r\n");
        QCOMPARE(ReadIni("options", "SOUNDS", m_file), QStringLiteral("1"));
        QCOMPARE(ReadIni("OPTIONS", "titlefont", m_file), QStringLiteral("Ringbearer Bold"));
        QCOMPARE(ReadIni(" Options ", " Sounds ", m_file), QStringLiteral("1"));
        QCOMPARE(ReadIni("chat", "fontsize", m_file), QStringLiteral("10"));
    }

    void firstMatchWins() {
        writeAll(m_file,
                 "[A]\nk=first\nK=second\n"
                 "[a]\nk=third\nonly=here\n");
        QCOMPARE(ReadIni("A", "k", m_file), QStringLiteral("first"));
        // The first section of the name is the one read, even for a key only the second holds.
        QCOMPARE(ReadIni("A", "only", m_file), QString());
        QCOMPARE(IniSections(m_file), QStringList{"A"});
        QCOMPARE(IniKeys("a", m_file), QStringList{"k"});
    }

    void valueForms() {
        writeAll(m_file,
                 "[S]\n"
                 "dq=\"quoted value\"\n"
                 "sq='single'\n"
                 "inner=\"a\" and \"b\"\n"
                 "twice=\"\"x\"\"\n"
                 "lone=\"open\n"
                 "eq=a=b=c\n"
                 "empty=\n"
                 "blankquoted=\"  padded  \"\n"
                 "novalue\n"
                 "=nokey\n");
        QCOMPARE(ReadIni("S", "dq", m_file), QStringLiteral("quoted value"));
        QCOMPARE(ReadIni("S", "sq", m_file), QStringLiteral("single"));
        QCOMPARE(ReadIni("S", "inner", m_file), QStringLiteral("a\" and \"b"));
        QCOMPARE(ReadIni("S", "twice", m_file), QStringLiteral("\"x\""));  // one pair only
        QCOMPARE(ReadIni("S", "lone", m_file), QStringLiteral("\"open"));
        QCOMPARE(ReadIni("S", "eq", m_file), QStringLiteral("a=b=c"));
        QCOMPARE(ReadIni("S", "empty", m_file), QString());
        QCOMPARE(ReadIni("S", "blankquoted", m_file), QStringLiteral("  padded  "));
        QCOMPARE(ReadIni("S", "novalue", m_file), QString());
        QCOMPARE(IniKeys("S", m_file),
                 (QStringList{"dq", "sq", "inner", "twice", "lone", "eq", "empty", "blankquoted"}));
    }

    void valuesAreCutAt254() {
        const QString longValue = QString(300, u'v');
        writeAll(m_file, "[S]\nlong=" + longValue.toLatin1() + "\nexact=" + QByteArray(254, 'e') + "\n");
        QCOMPARE(ReadIni("S", "long", m_file), QString(254, u'v'));
        QCOMPARE(ReadIni("S", "exact", m_file).size(), 254);
        // The writer keeps the whole value; only reading cuts.
        QVERIFY(WriteIni("S", "long2", longValue, m_file));
        QVERIFY(readAll(m_file).contains(longValue.toLatin1()));
        QCOMPARE(ReadIni("S", "long2", m_file).size(), 254);
    }

    void lineEndsAndCodePage() {
        writeAll(m_file, "[Unix]\nk=lf\r[Mac]\rk=cr\r\n[Win]\r\nk=caf\xe9 \x80\r\n");
        QCOMPARE(ReadIni("Unix", "k", m_file), QStringLiteral("lf"));
        QCOMPARE(ReadIni("Mac", "k", m_file), QStringLiteral("cr"));
        QCOMPARE(ReadIni("Win", "k", m_file), QStringLiteral("caf\u00e9 \u20ac"));
        QVERIFY(WriteIni("Win", "k", QStringLiteral("\u20ac\u00fc"), m_file));
        QVERIFY(readAll(m_file).contains("k=\x80\xfc"));  // written back in the same code page
    }

    void writeCreatesFileButNotFolder() {
        QVERIFY(WriteIni("startup", "skin", "default", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[startup]\r\nskin=default\r\n"));
        const QString deep = m_dir.filePath("missing/folder/x.ini");
        QVERIFY(!WriteIni("S", "k", "v", deep));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("missing")));
        QCOMPARE(ReadIni("S", "k", deep), QString());
    }

    void writeReplacesInPlaceAndKeepsEveryOtherLine() {
        const QByteArray before =
            "; a comment the user wrote\r\n"
            "[Options]\r\n"
            "Sounds = 0\r\n"
            "junk line without equals\r\n"
            "Chatlog=1\r\n"
            "\r\n"
            "[Chat]\r\n"
            "Font=Verdana\r\n";
        writeAll(m_file, before);
        QVERIFY(WriteIni("OPTIONS", "sounds", "1", m_file));
        QByteArray expected = before;
        expected.replace("Sounds = 0", "sounds=1");
        QCOMPARE(readAll(m_file), expected);
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("1"));
    }

    void writeAppendsToItsSectionBeforeTrailingBlanks() {
        writeAll(m_file, "[Options]\nSounds=1\n\n\n[Chat]\nFont=Arial\n");
        QVERIFY(WriteIni("Options", "Music", "0", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[Options]\nSounds=1\nMusic=0\n\n\n[Chat]\nFont=Arial\n"));
        QVERIFY(WriteIni("Chat", "FontSize", "9", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[Options]\nSounds=1\nMusic=0\n\n\n[Chat]\nFont=Arial\nFontSize=9\n"));
        QVERIFY(WriteIni("Away", "Status", "1", m_file));
        QCOMPARE(readAll(m_file),
                 QByteArray("[Options]\nSounds=1\nMusic=0\n\n\n[Chat]\nFont=Arial\nFontSize=9\n[Away]\nStatus=1\n"));
        QCOMPARE(IniSections(m_file), (QStringList{"Options", "Chat", "Away"}));
    }

    void writeToFileWithoutFinalLineEnd() {
        writeAll(m_file, "[S]\r\na=1");
        QVERIFY(WriteIni("S", "b", "2", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[S]\r\na=1\r\nb=2\r\n"));
        writeAll(m_file, "[S]\r\na=1");
        QVERIFY(WriteIni("T", "c", "3", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[S]\r\na=1\r\n[T]\r\nc=3\r\n"));
        QCOMPARE(ReadIni("S", "a", m_file), QStringLiteral("1"));
    }

    // Writes given together leave the file as the same writes one by one.
    void severalWritesAtOnce_data() {
        QTest::addColumn<QByteArray>("before");  // "-" for no file
        QTest::addColumn<QStringList>("writes");  // section, key, value, ...
        const QStringList options{"Chat", "ShowJoinPart", "1", "Options", "Sounds", "1", "Options", "Chatlog", "0"};
        QTest::newRow("no file") << QByteArray("-") << options;
        QTest::newRow("empty file") << QByteArray("") << options;
        QTest::newRow("sections there, blanks after") << QByteArray("[Options]\nMusic=1\n\n[Chat]\nFont=A\n\n") << options;
        QTest::newRow("keys replaced") << QByteArray("[options]\r\nsounds = 0\r\n[CHAT]\r\nshowjoinpart=0") << options;
        QTest::newRow("same key twice, last wins")
            << QByteArray("[Options]\r\n") << QStringList{"Options", "Sounds", "1", "Options", "SOUNDS", "0"};
        QTest::newRow("line breaks and odd letters")
            << QByteArray("[Away]\r\nStatus=0\r\n")
            << QStringList{"Away", "Reason", "gone\r\n[Options]\r\nSounds=0", "Options", "Title", QString::fromUtf8("\u212Aelvin \u20AC \u4E00")};
    }
    void severalWritesAtOnce() {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, writes);
        const QString oneByOne = m_dir.filePath(QStringLiteral("one%1.ini").arg(QTest::currentDataTag()));
        const QString together = m_dir.filePath(QStringLiteral("all%1.ini").arg(QTest::currentDataTag()));
        if (before != "-") {
            writeAll(oneByOne, before);
            writeAll(together, before);
        }
        QList<IniWrite> all;
        for (qsizetype i = 0; i + 2 < writes.size(); i += 3) {
            QVERIFY(WriteIni(writes[i], writes[i + 1], writes[i + 2], oneByOne));
            all << IniWrite{writes[i], writes[i + 1], writes[i + 2]};
        }
        QVERIFY(WriteIni(all, together));
        QCOMPARE(readAll(together), readAll(oneByOne));
        QVERIFY(readAll(together) != before);
    }

    void writeIntoEmptyFile() {
        writeAll(m_file, "");
        QVERIFY(WriteIni("S", "k", "v", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[S]\r\nk=v\r\n"));
    }

    void deleteKey() {
        writeAll(m_file, "[Ignore]\nbob=1\neve=1\n[Other]\nbob=2\n");
        QVERIFY(DeleteIniKey("ignore", "BOB", m_file));
        QCOMPARE(readAll(m_file), QByteArray("[Ignore]\neve=1\n[Other]\nbob=2\n"));
        QVERIFY(DeleteIniKey("Ignore", "nobody", m_file));
        QVERIFY(DeleteIniKey("Nosection", "bob", m_file));
        QVERIFY(DeleteIniKey("S", "k", m_dir.filePath("nofile.ini")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("nofile.ini")));
        QCOMPARE(ReadIni("Other", "bob", m_file), QStringLiteral("2"));
    }

    // Another program (or a copy over the file) may change it between two reads; the reader
    // must see every change, however quickly it follows, also when the size stays the same.
    void changesOnDiskAreSeenAtOnce() {
        for (int i = 0; i < 200; ++i) {
            const QByteArray v = QByteArray::number(i % 10);
            writeAll(m_file, "[Options]\r\nSounds=" + v + "\r\n");
            QCOMPARE(ReadIni("Options", "Sounds", m_file), QString::fromLatin1(v));
        }
    }

    void changeOfAnOldFileIsSeen() {
        writeAll(m_file, "[Options]\r\nSounds=0\r\n");
        {
            QFile f(m_file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        }
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("0"));
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("0"));
        writeAll(m_file, "[Options]\r\nSounds=1\r\n");
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("1"));
        QVERIFY(QFile::remove(m_file));
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QString());
    }

    void ourOwnWritesAreSeenAtOnce() {
        for (int i = 0; i < 200; ++i) {
            const QString v = QString::number(i % 10);
            QVERIFY(WriteIni("Options", "Sounds", v, m_file));
            QCOMPARE(ReadIni("Options", "Sounds", m_file), v);
        }
        QCOMPARE(IniKeys("Options", m_file), QStringList{"Sounds"});
    }

    void lineBreaksCannotRewriteTheFile() {
        writeAll(m_file, "[Options]\r\nSounds=1\r\n[Away]\r\nStatus=0\r\n");
        QVERIFY(WriteIni("Away", "Reason", "gone\r\n[Options]\r\nSounds=0", m_file));
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("1"));
        QCOMPARE(ReadIni("Away", "Reason", m_file), QStringLiteral("gone  [Options]  Sounds=0"));
        QVERIFY(WriteIni("Ignore", "eve\nSounds", "1", m_file));
        QVERIFY(WriteIni("Chat]\n[Options", "x", "1", m_file));
        QCOMPARE(ReadIni("Options", "Sounds", m_file), QStringLiteral("1"));
        QCOMPARE(IniKeys("Options", m_file), QStringList{"Sounds"});
        QCOMPARE(readAll(m_file).count('\n'), 9);  // one line for the new key, two for each new section
    }

    void bracketsAndOddHeaders() {
        writeAll(m_file, "[no close\nk=1\n[ok] trailing words\nk=2\n[]\nk=3\n");
        QCOMPARE(ReadIni("no close", "k", m_file), QStringLiteral("1"));
        QCOMPARE(ReadIni("ok", "k", m_file), QStringLiteral("2"));
        QCOMPARE(ReadIni("", "k", m_file), QStringLiteral("3"));
    }

    void caseOfFileNameIgnored() {
        QVERIFY(QDir(m_dir.path()).mkpath("cased"));
        const QString folder = m_dir.filePath("cased");
        writeAll(folder + "/Main.INI", "[startup]\nskin=dark\n");
        QCOMPARE(ReadIni("startup", "skin", folder + "/main.ini"), QStringLiteral("dark"));
        QVERIFY(WriteIni("startup", "skin", "light", folder + "/MAIN.ini"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Main.INI"});
        QCOMPARE(readAll(folder + "/Main.INI"), QByteArray("[startup]\nskin=light\n"));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
