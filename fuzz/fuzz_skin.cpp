// A fuzzed skin file, per-user settings file and main.ini, used the way the client uses them. The
// first byte picks the window that loads them (its value modulo 3: the lobby, a private message,
// the options window); the rest is cut at lines "%%" into skins/default.ini, config/<player>.cvc
// and main.ini. Then that window loads: the lobby its skin; a private message opens its window;
// the options window loads, saves, and the lobby renders a line after it. Every input also
// renders chat and notices (reading fonts, colours and options) and has a framed window draw its
// title strip. Besides not crashing, every skin value the client reads must be the value the file
// holds after the client wrote its own settings.
#include "FuzzClient.h"

#include "app/frmconfig.h"
#include "app/modSettings.h"
#include "app/modSkin.h"
#include "lobby/frmchildchat.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "platform/FileWatch.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

namespace {
fuzzclient::Session*& session() {
    static fuzzclient::Session* s = nullptr;
    return s;
}

// The input's files are written with the system's own calls: through Qt's file classes each
// cost a few hundred allocations, which AddressSanitizer records one by one.
void writeFile(const QByteArray& path, const QByteArray& bytes) {
    const auto open = [&] { return ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644); };
    int fd = open();
    if (fd < 0 && errno == ENOENT) {
        // The settings folder, which every reset removes.
        QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
        fd = open();
    }
    if (fd < 0) std::abort();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0) std::abort();
        done += n;
    }
    ::close(fd);
}

// Where the three parts go: the same files for the whole run (one player, one client folder).
struct InputFiles {
    QString skin;
    QByteArray skinPath, settingsPath, mainIniPath;
};

const InputFiles& inputFiles() {
    static const InputFiles files = [] {
        InputFiles f;
        f.skin = session()->folder() + QStringLiteral("/skins/default.ini");
        f.skinPath = QFile::encodeName(f.skin);
        f.settingsPath = QFile::encodeName(GetIniFile());
        f.mainIniPath = QFile::encodeName(MainIniPath());
        return f;
    }();
    return files;
}

void receive(const char* line) {
    QString text = QString::fromLatin1(line);
    clsWinsock().HandleIncoming(text);
}

// What the client reads for every key of the skin file is what the reader finds in the file.
void checkSkinValues(const QString& skinFile) {
    const QStringList sections = IniSections(skinFile);
    for (int s = 0; s < sections.size() && s < 8; ++s) {
        const QStringList keys = IniKeys(sections[s], skinFile);
        for (int k = 0; k < keys.size() && k < 12; ++k) {
            const QString direct = ReadIni(sections[s], keys[k], skinFile);
            const QString client = GetSkinValue(sections[s], keys[k]);
            if (client != direct) {
                std::fprintf(stderr, "skin value [%s] %s: client reads [%s], the file holds [%s]\n", qPrintable(sections[s]),
                             qPrintable(keys[k]), qPrintable(client), qPrintable(direct));
                std::abort();
            }
        }
    }
}

// Puts the client back, and removes the chat log an input's settings turned on. What the client
// remembers of the input's files goes now: every input starts with none of it, and frees what it
// made (an input leaving more blocks than it freed is run again by libFuzzer, its heap scanned).
void resetClient() {
    session()->reset();
    QDir(session()->folder() + QStringLiteral("/logs")).removeRecursively();
    filewatch::poll();
}

// The window that loads an input's files. One per input: each costs about as much as the chat and
// the reset together, and none reads what another writes (the options window, the one that
// writes, ran last when an input loaded all three). Chat and notices come in every input.
enum class Loader { Lobby, PrivateMessage, Options };
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzzclient::startApplication(argc, argv);
    fuzzclient::holdTimers();
    session() = new fuzzclient::Session(ClientFixture::Skin);
    // The socket window is kept too (built afresh, it read the whole skin again for each input):
    // these inputs reach it only through the framed dialogs' background, set and cleared, and lines
    // sent while not connected, dropped at once. What it keeps outside its widgets is emptied.
    session()->keep<frmCon>([](frmCon* con) { con->tmrPacket->stop(); },
                            [](frmCon* con) {
                                con->lstPackets.clear();
                                con->picBG = QPixmap();
                                con->lstpacketlog.clear();
                                con->gstrDataWaitingToBeProcessed.clear();
                                con->gblnProcessingData = false;
                                con->gstrDataWaitingToBeSent.clear();
                                con->gblnSendingData = false;
                                con->sPendingData.clear();
                                con->bReconnecting = false;
                                con->iAttempts = 0;
                            });
    // The lobby is loaded but not shown. A shown log lays out each line as it comes, to size its
    // scroll bar, and a skin short of pictures brings some forty notices an input: a fifth of the
    // input went there. Nothing the client does on these paths asks whether the lobby is shown,
    // and the private message window still lays its text out in the input's fonts.
    fuzzclient::keepLobby(*session(), false);
    // The options window is kept too (building it was a fifth of an input): each input that picks
    // it loads it again from the input's files, as a new one would load. Its first load wrote the
    // default options into the player's settings file, which an input finds absent.
    // It is recorded shown, as each input leaves it, so that showing it again is no change.
    session()->keep<frmconfig>([](frmconfig* options) {
        QFile::remove(GetIniFile());
        options->show();
    });
    resetClient();
    // Which window the platform last gave the focus to is the one thing dropping its events does
    // not put back: an input that opens a private message leaves none, the others leave it as it
    // is. One such input run here leaves it as every later one finds it.
    const uint8_t privateMessage = uint8_t(Loader::PrivateMessage);
    LLVMFuzzerTestOneInput(&privateMessage, 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Loader loader = size ? Loader(data[0] % 3) : Loader::Lobby;
    if (size) {
        ++data;
        --size;
    }
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (int i = 0; i < 2; ++i) {
        const qsizetype cut = input.indexOf("\n%%\n", from);
        if (cut < 0) break;
        parts << input.mid(from, cut - from);
        from = cut + 4;
    }
    parts << input.mid(from);
    const InputFiles& files = inputFiles();
    const QString& skinFile = files.skin;
    // The unpacked skin is put back after each input.
    static const QByteArray pristine = [&] {
        QFile f(skinFile);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    writeFile(files.skinPath, parts[0]);
    if (parts.size() > 1) writeFile(files.settingsPath, parts[1]);
    if (parts.size() > 2) writeFile(files.mainIniPath, parts[2]);

    // A logged-in player: chat and notices are shown only then.
    ConnectionState = 1;
    // The kept lobby loads the input's skin as a new one would; otherwise it stands as the reset
    // left it, loaded from the unpacked skin.
    if (loader == Loader::Lobby) form<frmchildchat>()->Form_Load();
    receive("CHAT Nyx hello there, see http://example.com/a%20b and mailto:a@b.c");
    receive("NOTICE Restart%20soon");
    receive("MOTD Welcome back");
    if (loader == Loader::PrivateMessage) receive("INPM Nyx kira hi");

    if (loader == Loader::Options) {
        frmconfig* options = form<frmconfig>();
        options->cmbSkin->clear();
        options->FileSkinList.clear();
        options->Form_Load();
        options->show();
        options->cmdSave_Click();
        // And one more write into the saved file: sounds on, for the line that follows.
        WriteIni(QStringLiteral("Options"), QStringLiteral("Sounds"), QStringLiteral("1"), GetIniFile());
    }
    receive("CHAT Ryo and again");
    checkSkinValues(skinFile);

    QWidget strip;
    QLabel title;
    clsBaseForm().TileBar(&strip, &title, QStringLiteral("Fuzz"));
    clsBaseForm().Load(&strip);
    (void)SkinPicture(QStringLiteral("main"), QStringLiteral("cardback"));

    writeFile(files.skinPath, pristine);
    QCoreApplication::sendPostedEvents();
    resetClient();
    return 0;
}
