// Unpacking on real archives made here with libzip: the options of the unpacker, the paths it
// refuses, damaged archives, and the first-run set-up that unpacks the archives beside the
// program and keeps the ones that failed.
#include "app/CGUnzipFiles.h"
#include "app/modMain.h"
#include "app/storedvars.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"
#include "tests/support/ClientFixture.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <zip.h>

#include <vector>

namespace {
struct Member {
    QByteArray name;
    QByteArray data;  // a name ending in '/' is a folder
    QDateTime mtime = QDateTime(QDate(2020, 1, 1), QTime(12, 0));
    QByteArray password = {};  // AES-256 when set
    bool stored = false;
};

// Builds an archive; false when libzip refused (for example encryption without crypto support).
bool makeZip(const QString& path, const std::vector<Member>& members) {
    QFile::remove(path);
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z) return false;
    bool ok = true;
    for (const Member& m : members) {
        zip_int64_t index;
        if (m.name.endsWith('/')) {
            index = zip_dir_add(z, m.name.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* src = zip_source_buffer(z, m.data.constData(), zip_uint64_t(m.data.size()), 0);
            index = zip_file_add(z, m.name.constData(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
            if (index < 0) zip_source_free(src);
        }
        if (index < 0) {
            ok = false;
            continue;
        }
        if (m.mtime.isValid()) zip_file_set_mtime(z, zip_uint64_t(index), time_t(m.mtime.toSecsSinceEpoch()), 0);
        if (m.stored) zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_STORE, 0);
        if (!m.password.isEmpty() &&
            zip_file_set_encryption(z, zip_uint64_t(index), ZIP_EM_AES_256, m.password.constData()) != 0)
            ok = false;
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        return false;
    }
    return ok;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QStringList filesBelow(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}

const QString kFirstRunText = QStringLiteral(
    "Because this is the first time you are running this application, it may take up to 3 minutes to start the "
    "application as certain files have to be created.  Please stand by.");

const QStringList kFirstRunFolders = {"decks",         "decks/Blue",           "decks/Red",
                                      "skins",         "skins/default",        "skins/default/avatars",
                                      "skins/default/dice", "skins/default/element", "skins/default/sphere",
                                      "wavs",          "wavs/sphere"};
}  // namespace

class TestUnzip : public QObject {
    Q_OBJECT

private slots:
    // ---- The unpacker -----------------------------------------------------------------------

    void defaults() {
        CGUnzipFiles u;
        QVERIFY(!u.ExtractNewer() && !u.SpaceToUnderScore() && !u.PromptOverwrite());
        QCOMPARE(u.MessageLevel(), int16_t(2));
        QVERIFY(!u.WriteToStdOut() && !u.TestZip() && !u.ExtractList() && !u.ExtractOnlyNewer());
        QVERIFY(!u.DisplayComment() && !u.ConvertCRtoCRLF() && !u.Verbose());
        QVERIFY(u.HonorDirectories() && u.OverWriteFiles() && u.CaseSensitive());
        QCOMPARE(u.Privilege(), int16_t(0));
        QCOMPARE(u.ZipFileName(), QString());
        QCOMPARE(u.ExtractDir(), QString());
        u.TestZip(true);
        QVERIFY(u.TestZip());
        u.TestZip(false);
        QVERIFY(!u.TestZip());
        QCOMPARE(u.Unzip(), UnzipResult::BadParam);  // no archive named
    }

    void unpacksFoldersAndKeepsDates() {
        ClientFixture fx(ClientFixture::None);
        const QString zip = fx.path("a.zip");
        const QDateTime when(QDate(2019, 5, 6), QTime(7, 8, 10));
        QVERIFY(makeZip(zip, {{"top/", {}}, {"top/inner/deep.txt", "deep", when}, {"loose.txt", "loose"},
                              {"made/implicitly/x.bin", QByteArray(100000, 'x')}}));
        const QString target = fx.path("out");
        CGUnzipFiles u;
        QCOMPARE(u.Unzip(zip, target + "/"), 0);
        QCOMPARE(u.ZipFileName(), zip);
        QCOMPARE(readFile(target + "/top/inner/deep.txt"), QByteArray("deep"));
        QCOMPARE(readFile(target + "/loose.txt"), QByteArray("loose"));
        QCOMPARE(readFile(target + "/made/implicitly/x.bin"), QByteArray(100000, 'x'));
        QCOMPARE(QFileInfo(target + "/top/inner/deep.txt").lastModified(), when);
        // Empty arguments keep the properties of the earlier call.
        QVERIFY(QFile::remove(target + "/loose.txt"));
        QCOMPARE(u.Unzip(), 0);
        QVERIFY(QFile::exists(target + "/loose.txt"));
        QCOMPARE(u.ExtractDir(), target + "/");
        QCOMPARE(u.GetLastMessage(), UnzipMessage);
    }

    void existingFoldersAndFilesFoundWithoutRegardToCase() {
        ClientFixture fx(ClientFixture::None);
        writeFile(fx.path("Decks/blue/OLD.JPG"), "old");
        const QString zip = fx.path("d.zip");
        QVERIFY(makeZip(zip, {{"decks/", {}}, {"decks/Blue/", {}}, {"decks/Blue/old.jpg", "new"},
                              {"DECKS/BLUE/other.jpg", "other"}}));
        QCOMPARE(RunUnzip(zip, fx.folder(), UnzipOptions{}), 0);
        QCOMPARE(filesBelow(fx.folder()), (QStringList{"Decks/blue/OLD.JPG", "Decks/blue/other.jpg", "d.zip"}));
        QCOMPARE(readFile(fx.path("Decks/blue/OLD.JPG")), QByteArray("new"));
    }

    void refusesPathsThatLeaveTheFolder() {
        ClientFixture fx(ClientFixture::None);
        const QString target = fx.path("client");
        QVERIFY(QDir().mkpath(target));
        const QString zip = fx.path("evil.zip");
        QVERIFY(makeZip(zip, {{"../evil.txt", "x"},
                              {"..\\evil2.txt", "x"},
                              {"ok/..\\..\\evil3.txt", "x"},
                              {"ok/../../evil4.txt", "x"},
                              {"/tmp/corvadex-absolute-evil.txt", "x"},
                              {"\\evil5.txt", "x"},
                              {"C:/evil6.txt", "x"},
                              {"c:evil7.txt", "x"},
                              {"..", "x"},
                              {"fine/inside.txt", "good"}}));
        QCOMPARE(RunUnzip(zip, target, UnzipOptions{}), UnzipResult::Warning);
        QCOMPARE(filesBelow(fx.folder()), (QStringList{"client/fine/inside.txt", "evil.zip"}));
        QVERIFY(!QFile::exists("/tmp/corvadex-absolute-evil.txt"));
        QVERIFY(!QFile::exists("/evil5.txt"));
        QVERIFY(UnzipMessage.contains("../evil.txt"));
    }

    void linksInTheFolderDoNotCarryWritesOutside() {
        ClientFixture fx(ClientFixture::None);
        const QString target = fx.path("client");
        const QString outside = fx.path("outside");
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QDir().mkpath(outside));
        writeFile(outside + "/victim.txt", "precious");
        QVERIFY(QFile::link(outside, target + "/skins"));
        QVERIFY(QFile::link(outside + "/victim.txt", target + "/main.ini"));
        const QString zip = fx.path("links.zip");
        QVERIFY(makeZip(zip, {{"skins/planted.txt", "x"}, {"skins/made/planted.txt", "x"}, {"skins/folder/", ""},
                              {"main.ini", "[startup]\r\nskin=default\r\n"}}));
        QCOMPARE(RunUnzip(zip, target, UnzipOptions{}), UnzipResult::Warning);
        QCOMPARE(filesBelow(outside), QStringList{"victim.txt"});
        // Not even a folder is made through the link.
        QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"victim.txt"});
        QCOMPARE(readFile(outside + "/victim.txt"), QByteArray("precious"));
        // The link itself was replaced by the member, inside the folder.
        QVERIFY(!QFileInfo(target + "/main.ini").isSymLink());
        QCOMPARE(readFile(target + "/main.ini"), QByteArray("[startup]\r\nskin=default\r\n"));
    }

    void damagedArchives() {
        ClientFixture fx(ClientFixture::None);
        const QString target = fx.path("out");
        writeFile(fx.path("garbage.zip"), QByteArray(4096, 'g'));
        QCOMPARE(RunUnzip(fx.path("garbage.zip"), target, UnzipOptions{}), UnzipResult::NotFound);
        QVERIFY(!UnzipMessage.isEmpty());
        QCOMPARE(RunUnzip(fx.path("missing.zip"), target, UnzipOptions{}), UnzipResult::NotFound);

        // A real archive cut short loses its directory.
        QVERIFY(makeZip(fx.path("whole.zip"), {{"a.txt", QByteArray(5000, 'a')}, {"b.txt", "b"}}));
        const QByteArray whole = readFile(fx.path("whole.zip"));
        writeFile(fx.path("cut.zip"), whole.left(whole.size() / 2));
        QCOMPARE(RunUnzip(fx.path("cut.zip"), target, UnzipOptions{}), UnzipResult::NotFound);

        // A member whose bytes were changed fails its check and leaves no half file behind.
        const QByteArray payload = "0123456789abcdefghijklmnopqrstuvwxyz-payload-that-is-stored";
        QVERIFY(makeZip(fx.path("crc.zip"), {{"bad.txt", payload, {}, {}, true}, {"good.txt", "good"}}));
        QByteArray bytes = readFile(fx.path("crc.zip"));
        const qsizetype at = bytes.indexOf(payload);
        QVERIFY(at > 0);
        bytes[at + 5] = 'X';
        writeFile(fx.path("crc.zip"), bytes);
        QCOMPARE(RunUnzip(fx.path("crc.zip"), target, UnzipOptions{}), UnzipResult::Error);
        QVERIFY(!QFile::exists(target + "/bad.txt"));
        QCOMPARE(readFile(target + "/good.txt"), QByteArray("good"));
        UnzipOptions test;
        test.test = true;
        QCOMPARE(RunUnzip(fx.path("crc.zip"), fx.path("tested"), test), UnzipResult::Error);
        QVERIFY(!QFile::exists(fx.path("tested")));
    }

    void testAndListWriteNothing() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(makeZip(fx.path("t.zip"), {{"d/", {}}, {"d/a.txt", "a"}}));
        CGUnzipFiles u;
        u.TestZip(true);
        QCOMPARE(u.Unzip(fx.path("t.zip"), fx.path("out")), 0);
        QVERIFY(!QFile::exists(fx.path("out")));
        u.TestZip(false);
        u.ExtractList(true);
        QCOMPARE(u.Unzip(), 0);
        QVERIFY(!QFile::exists(fx.path("out")));
        u.ExtractList(false);
        u.MessageLevel(0);
        QCOMPARE(u.Unzip(), 0);
        QVERIFY(QFile::exists(fx.path("out/d/a.txt")));
        QVERIFY(u.GetLastMessage().contains("d/a.txt"));
    }

    void flatNamesUnderscoresAndLineEnds() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(makeZip(fx.path("f.zip"), {{"deep/er/My Card.txt", "one\ntwo\r\nthree\n"}, {"deep/bin.dat", QByteArray("a\nb\0c", 5)}}));
        CGUnzipFiles u;
        u.HonorDirectories(false);
        u.SpaceToUnderScore(true);
        u.ConvertCRtoCRLF(true);
        QCOMPARE(u.Unzip(fx.path("f.zip"), fx.path("out")), 0);
        QCOMPARE(filesBelow(fx.path("out")), (QStringList{"My_Card.txt", "bin.dat"}));
        QCOMPARE(readFile(fx.path("out/My_Card.txt")), QByteArray("one\r\ntwo\r\nthree\r\n"));
        QCOMPARE(readFile(fx.path("out/bin.dat")), QByteArray("a\nb\0c", 5));  // binary kept as it is
    }

    void overwriteChoices() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(makeZip(fx.path("o.zip"), {{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}}));
        const auto reset = [&] {
            for (const char* n : {"a.txt", "b.txt", "c.txt"}) writeFile(fx.path(QStringLiteral("out/") + n), "old");
        };
        CGUnzipFiles u;
        u.ZipFileName(fx.path("o.zip"));
        u.ExtractDir(fx.path("out"));

        // Never overwrite, never ask.
        reset();
        u.OverWriteFiles(false);
        QCOMPARE(u.Unzip(), 0);
        QCOMPARE(readFile(fx.path("out/a.txt")), QByteArray("old"));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());

        // Ask: Yes, No, then Cancel, which answers every later question with no.
        reset();
        u.PromptOverwrite(true);
        fx.services.dialogs->answer(vb::Yes);
        fx.services.dialogs->answer(vb::No);
        fx.services.dialogs->answer(vb::Cancel);
        QCOMPARE(u.Unzip(), 0);
        QCOMPARE(fx.services.dialogs->boxes.size(), 3);
        const BoxRecord first = fx.services.dialogs->boxes.first();
        QCOMPARE(first.title, QStringLiteral("VBUnZip32 - File Already Exists!"));
        QCOMPARE(first.text, QStringLiteral("Overwrite a.txt?"));
        QCOMPARE(first.style, vb::YesNoCancel | vb::Exclamation);
        QCOMPARE(readFile(fx.path("out/a.txt")), QByteArray("new a"));
        QCOMPARE(readFile(fx.path("out/b.txt")), QByteArray("old"));
        QCOMPARE(readFile(fx.path("out/c.txt")), QByteArray("old"));

        reset();
        fx.services.dialogs->clear();
        fx.services.dialogs->answer(vb::Cancel);
        QCOMPARE(u.Unzip(), 0);
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(readFile(fx.path("out/c.txt")), QByteArray("old"));

        // The client's own settings overwrite without asking.
        reset();
        fx.services.dialogs->clear();
        u.OverWriteFiles(true);
        QCOMPARE(u.Unzip(), 0);
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QCOMPARE(readFile(fx.path("out/c.txt")), QByteArray("new c"));
    }

    void newerAndFreshen() {
        ClientFixture fx(ClientFixture::None);
        const QDateTime archived(QDate(2020, 1, 1), QTime(12, 0));
        QVERIFY(makeZip(fx.path("n.zip"), {{"older.txt", "archive", archived}, {"newer.txt", "archive", archived},
                                           {"absent.txt", "archive", archived}}));
        const auto prepare = [&] {
            QFile::remove(fx.path("out/absent.txt"));
            for (const auto& [name, when] : {std::pair{"older.txt", archived.addDays(-1)}, std::pair{"newer.txt", archived.addDays(1)}}) {
                writeFile(fx.path(QStringLiteral("out/") + name), "disk");
                QFile f(fx.path(QStringLiteral("out/") + name));
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
            }
        };
        CGUnzipFiles u;
        prepare();
        u.ExtractNewer(true);
        QCOMPARE(u.Unzip(fx.path("n.zip"), fx.path("out")), 0);
        QCOMPARE(readFile(fx.path("out/older.txt")), QByteArray("archive"));
        QCOMPARE(readFile(fx.path("out/newer.txt")), QByteArray("disk"));
        QCOMPARE(readFile(fx.path("out/absent.txt")), QByteArray("archive"));

        prepare();
        u.ExtractNewer(false);
        u.ExtractOnlyNewer(true);
        QCOMPARE(u.Unzip(), 0);
        QCOMPARE(readFile(fx.path("out/older.txt")), QByteArray("archive"));
        QCOMPARE(readFile(fx.path("out/newer.txt")), QByteArray("disk"));
        QVERIFY(!QFile::exists(fx.path("out/absent.txt")));
    }

    void passwords() {
        ClientFixture fx(ClientFixture::None);
        if (!makeZip(fx.path("p.zip"), {{"s1.txt", "secret one", {}, "pw"}, {"s2.txt", "secret two", {}, "pw"}, {"open.txt", "open"}}))
            QSKIP("this libzip cannot write encrypted members");
        // No password given: asked once, both secret members skipped, the open one unpacked.
        QCOMPARE(RunUnzip(fx.path("p.zip"), fx.path("out"), UnzipOptions{}), UnzipResult::BadPassword);
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].kind, BoxRecord::Input);
        QCOMPARE(fx.services.dialogs->boxes[0].text, QStringLiteral("Please Enter The Password!"));
        QCOMPARE(filesBelow(fx.path("out")), QStringList{"open.txt"});

        fx.services.dialogs->clear();
        fx.services.dialogs->type("pw");
        QCOMPARE(RunUnzip(fx.path("p.zip"), fx.path("out2"), UnzipOptions{}), 0);
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(readFile(fx.path("out2/s2.txt")), QByteArray("secret two"));

        fx.services.dialogs->clear();
        fx.services.dialogs->type("wrong");
        QCOMPARE(RunUnzip(fx.path("p.zip"), fx.path("out3"), UnzipOptions{}), UnzipResult::BadPassword);
        QCOMPARE(filesBelow(fx.path("out3")), QStringList{"open.txt"});
    }

    void unwritableTarget() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(makeZip(fx.path("w.zip"), {{"a/b.txt", "x"}}));
        writeFile(fx.path("blocked"), "a file where the folder should be");
        QCOMPARE(RunUnzip(fx.path("w.zip"), fx.path("blocked"), UnzipOptions{}), UnzipResult::Disk);
        writeFile(fx.path("out/a"), "a file where a member folder should be");
        QVERIFY(RunUnzip(fx.path("w.zip"), fx.path("out"), UnzipOptions{}) != 0);
        QCOMPARE(readFile(fx.path("out/a")), QByteArray("a file where a member folder should be"));
    }

    // ---- First-run set-up -------------------------------------------------------------------

    void firstRunWithTheThreeArchives() {
        ClientFixture fx(ClientFixture::None);
        for (const char* name : {"decks.zip", "skins.zip", "wavs.zip"})
            QVERIFY(QFile::copy(ClientFixture::archive(name), fx.path(name)));
        bool unpackedBeforeBox = true;
        fx.services.dialogs->onBox = [&](const BoxRecord&) {
            unpackedBeforeBox = fx.exists("decks/Blue/Emberlark.jpg") || !fx.exists("decks.zip");
        };
        FirstRunSetup();
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        const BoxRecord box = fx.services.dialogs->boxes[0];
        QCOMPARE(box.title, QStringLiteral("Start up"));
        QCOMPARE(box.text, kFirstRunText);
        QCOMPARE(box.style, int(vb::Information));
        QVERIFY2(!unpackedBeforeBox, "the box comes before the unpacking");
        for (const QString& f : kFirstRunFolders) QVERIFY2(QFileInfo(fx.path(f)).isDir(), qPrintable(f));
        for (const char* name : {"decks.zip", "skins.zip", "wavs.zip"}) QVERIFY2(!fx.exists(name), name);
        QVERIFY(fx.exists("decks/Blue/Emberlark.jpg"));
        QVERIFY(fx.exists("decks/Red/Emberlark.jpg"));
        QVERIFY(fx.exists("skins/default.ini"));
        QVERIFY(fx.exists("skins/default/button_normal.gif"));
        QVERIFY(fx.exists("wavs/beep.wav"));
        QVERIFY(fx.exists("wavs/sphere/echo.wav"));
        QVERIFY(fx.services.lifecycle->ends == 0);
    }

    void onlyTheSoundsArchive() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(QFile::copy(ClientFixture::archive("wavs.zip"), fx.path("wavs.zip")));
        FirstRunSetup();
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QVERIFY(!fx.exists("wavs.zip"));
        QVERIFY(fx.exists("wavs/TABLEJOIN.wav"));
        for (const QString& f : kFirstRunFolders) QVERIFY2(QFileInfo(fx.path(f)).isDir(), qPrintable(f));
        // Nothing to do at the next start.
        FirstRunSetup();
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void archiveNamesFoundWithoutRegardToCase() {
        ClientFixture fx(ClientFixture::None);
        QVERIFY(QFile::copy(ClientFixture::archive("skins.zip"), fx.path("Skins.ZIP")));
        FirstRunSetup();
        QVERIFY(!fx.exists("Skins.ZIP"));
        QVERIFY(fx.exists("skins/default.ini"));
    }

    void failedArchivesStayAndAreReportedOnceEach() {
        ClientFixture fx(ClientFixture::None);
        writeFile(fx.path("decks.zip"), "not an archive");
        QVERIFY(QFile::copy(ClientFixture::archive("skins.zip"), fx.path("skins.zip")));
        writeFile(fx.path("wavs.zip"), QByteArray(300, '\0'));
        FirstRunSetup();
        const auto& boxes = fx.services.dialogs->boxes;
        QCOMPARE(boxes.size(), 3);  // the first-run notice, then one per failed archive
        QCOMPARE(boxes[0].text, kFirstRunText);
        for (int i : {1, 2}) {
            QCOMPARE(boxes[i].title, QStringLiteral("Start up"));
            QVERIFY(boxes[i].text.endsWith("It was kept and will be unpacked again at the next start."));
        }
        QVERIFY(boxes[1].text.startsWith("The file decks.zip could not be unpacked"));
        QVERIFY(boxes[2].text.startsWith("The file wavs.zip could not be unpacked"));
        QVERIFY(fx.exists("decks.zip"));
        QVERIFY(fx.exists("wavs.zip"));
        QVERIFY(!fx.exists("skins.zip"));
        QVERIFY(fx.exists("skins/default.ini"));
        QVERIFY(fx.services.lifecycle->ends == 0);

        // Mended before the next start: unpacked and gone.
        QVERIFY(QFile::remove(fx.path("wavs.zip")));
        QVERIFY(QFile::copy(ClientFixture::archive("wavs.zip"), fx.path("wavs.zip")));
        fx.services.dialogs->clear();
        FirstRunSetup();
        QCOMPARE(fx.services.dialogs->boxes.size(), 2);  // decks.zip: the notice and its failure
        QVERIFY(!fx.exists("wavs.zip"));
        QVERIFY(fx.exists("wavs/beep.wav"));
    }

    void archiveWithAnEscapingMemberWritesNothingOutside() {
        ClientFixture fx(ClientFixture::None);
        const QString client = fx.folder() + "/client";
        QVERIFY(QDir().mkpath(client));
        SetClientFolder(client);
        QVERIFY(makeZip(client + "/wavs.zip", {{"../evil.txt", "evil"}, {"wavs/fine.wav", "fine"}}));
        FirstRunSetup();
        QVERIFY(!QFile::exists(fx.folder() + "/evil.txt"));
        QCOMPARE(filesBelow(fx.folder()), (QStringList{"client/wavs.zip", "client/wavs/fine.wav"}));
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].title, QStringLiteral("Start up"));
        QVERIFY(fx.services.dialogs->boxes[0].text.startsWith("The file wavs.zip could not be unpacked"));
    }

    void folderInTheWayOfAFirstRunFolder() {
        ClientFixture fx(ClientFixture::None);
        writeFile(fx.path("skins"), "a file named like the folder");
        QVERIFY(QFile::copy(ClientFixture::archive("skins.zip"), fx.path("skins.zip")));
        FirstRunSetup();  // must not crash or loop
        QVERIFY(fx.exists("skins.zip"));
        QCOMPARE(fx.services.dialogs->count("Start up"), 1);
        QVERIFY(QFileInfo(fx.path("decks/Blue")).isDir());
    }
};

QTEST_MAIN(TestUnzip)
#include "tst_unzip.moc"
