// The sound table and the sound switch, on the build's sounds unpacked into a client folder.
#include "app/modSound.h"
#include "app/storedvars.h"
#include "platform/Paths.h"
#include "tests/support/ClientFixture.h"

#include <QFile>
#include <QMap>
#include <QTest>

namespace {
// Identifier to file, as the sound table gives them.
const QMap<int, QString> kTable = {
    {1, "\\wavs\\coin.wav"},       {2, "\\wavs\\combo.wav"},      {3, "\\wavs\\beep.wav"},
    {4, "\\wavs\\on.wav"},         {5, "\\wavs\\off.wav"},        {6, "\\wavs\\enter.wav"},
    {7, "\\wavs\\scroll.WAV"},     {8, "\\wavs\\join.wav"},       {9, "\\wavs\\part.wav"},
    {10, "\\wavs\\ready.wav"},     {11, "\\wavs\\requestlog.wav"}, {12, "\\wavs\\special.wav"},
    {13, "\\wavs\\pm.wav"},        {14, "\\wavs\\kick.wav"},      {15, "\\wavs\\pmchat.wav"},
    {18, "\\wavs\\pmchat.wav"},    {19, "\\wavs\\target.wav"},    {22, "\\wavs\\cardflip.wav"},
    {23, "\\wavs\\win.IT"},        {24, "\\wavs\\loss.wav"},      {25, "\\wavs\\draw.wav"},
    {28, "\\wavs\\snapshot.wav"},  {31, "\\wavs\\level.wav"},     {40, "\\wavs\\sphere\\corebreak.wav"},
    {41, "\\wavs\\sphere\\frozen.wav"}, {42, "\\wavs\\sphere\\go.wav"}, {43, "\\wavs\\sphere\\spin.wav"},
    {44, "\\wavs\\sphere\\echo.wav"}, {45, "\\wavs\\TABLEJOIN.wav"}, {46, "\\wavs\\roll.wav"},
    {47, "\\wavs\\stalemate.wav"}, {48, "\\wavs\\tick.wav"},      {49, "\\wavs\\timeup.wav"},
};
}  // namespace

class TestSound : public QObject {
    Q_OBJECT

private slots:
    void table() {
        for (int id = -5; id <= 60; ++id) QCOMPARE(SoundFile(id), kTable.value(id));
        for (int id : {-32768, 32767, 100, 255}) QCOMPARE(SoundFile(id), QString());
    }

    void everyFileOfTheTablePlaysWhenPresent() {
        ClientFixture fx(ClientFixture::Wavs);
        for (auto it = kTable.begin(); it != kTable.end(); ++it) {
            // Any file missing from the build's archive is put in place, so that every row is heard.
            const QString rel = normalizePath(it.value()).mid(1);
            if (!fx.exists(rel)) fx.write(rel, "RIFF");
            fx.services.sound->played.clear();
            PlaySound(it.key());
            QCOMPARE(fx.services.sound->played, QStringList{fx.folder() + "/" + rel});
        }
    }

    void identifiersWithoutAFile() {
        ClientFixture fx(ClientFixture::Wavs);
        for (int id : {0, 16, 17, 20, 21, 26, 27, 29, 30, 32, 33, 39, 50, -1}) PlaySound(id);
        QVERIFY(fx.services.sound->played.isEmpty());
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void fifteenAndEighteenShareAFile() {
        ClientFixture fx(ClientFixture::Wavs);
        PlaySound(15);
        PlaySound(18);
        QCOMPARE(fx.services.sound->played.size(), 2);
        QCOMPARE(fx.services.sound->played[0], fx.services.sound->played[1]);
        QVERIFY(fx.services.sound->played[0].endsWith("/wavs/pmchat.wav"));
    }

    void missingFilePlaysNothing() {
        ClientFixture fx(ClientFixture::Skin);  // no sounds unpacked
        PlaySound(3);
        PlaySound(45);
        QVERIFY(fx.services.sound->played.isEmpty());
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void fileNamesFoundWithoutRegardToCase() {
        ClientFixture fx(ClientFixture::None);
        fx.write("WAVS/tablejoin.WAV", "RIFF");
        fx.write("WAVS/Sphere/ECHO.wav", "RIFF");
        PlaySound(45);
        PlaySound(44);
        QCOMPARE(fx.services.sound->played,
                 (QStringList{fx.folder() + "/WAVS/tablejoin.WAV", fx.folder() + "/WAVS/Sphere/ECHO.wav"}));
    }

    void switchBeforeAndAfterLogin_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QByteArray>("file");  // the per-user file, or empty for none
        QTest::addColumn<bool>("plays");
        QTest::newRow("before login, off") << 0 << QByteArray("[Options]\r\nSounds=0\r\n") << true;
        QTest::newRow("before login, no file") << 0 << QByteArray() << true;
        QTest::newRow("logged in, on") << 1 << QByteArray("[Options]\r\nSounds=1\r\n") << true;
        QTest::newRow("logged in, quoted on") << 1 << QByteArray("[options]\r\nsounds=\"1\"\r\n") << true;
        QTest::newRow("logged in, off") << 1 << QByteArray("[Options]\r\nSounds=0\r\n") << false;
        QTest::newRow("logged in, true") << 1 << QByteArray("[Options]\r\nSounds=true\r\n") << false;
        QTest::newRow("logged in, 01") << 1 << QByteArray("[Options]\r\nSounds=01\r\n") << false;
        QTest::newRow("logged in, missing") << 1 << QByteArray("[Options]\r\nMusic=1\r\n") << false;
        QTest::newRow("logged in, no file") << 1 << QByteArray() << false;
        QTest::newRow("quitting, on") << 2 << QByteArray("[Options]\r\nSounds=1\r\n") << true;
        QTest::newRow("quitting, off") << 2 << QByteArray("[Options]\r\nSounds=0\r\n") << false;
    }

    void switchBeforeAndAfterLogin() {
        QFETCH(int, state);
        QFETCH(QByteArray, file);
        QFETCH(bool, plays);
        ClientFixture fx(ClientFixture::Wavs);
        Nickname = "anna";
        ConnectionState = int16_t(state);
        if (!file.isEmpty()) fx.write("config/anna.cvc", file);
        PlaySound(8);
        PlayWav(fx.path("wavs/join.wav"));
        QCOMPARE(fx.services.sound->played.size(), plays ? 2 : 0);
    }

    void switchIsReadAtEverySound() {
        ClientFixture fx(ClientFixture::Wavs);
        Nickname = "anna";
        ConnectionState = 1;
        fx.write("config/anna.cvc", "[Options]\r\nSounds=1\r\n");
        PlaySound(1);
        fx.write("config/anna.cvc", "[Options]\r\nSounds=0\r\n");
        PlaySound(1);
        fx.write("config/anna.cvc", "[Options]\r\nSounds=1\r\n");
        PlaySound(1);
        QCOMPARE(fx.services.sound->played.size(), 2);
    }

    void playWavOfAMissingFileGoesToThePlatform() {
        ClientFixture fx(ClientFixture::None);
        PlayWav(fx.folder() + "/nothere.wav");
        QCOMPARE(fx.services.sound->played, QStringList{fx.folder() + "/nothere.wav"});
    }
};

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
