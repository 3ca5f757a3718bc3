#pragma once
// What the fuzz targets that drive the client's windows share: one QApplication, one client
// folder with the default skin and cards unpacked once for the whole run, and a fresh client
// for each input (every window unloaded, every global reset, new service doubles, the files a
// previous input wrote into the folder's config removed), so that an input behaves the same
// whenever it runs. Nothing reaches the network: the web service and the web site point at a
// port that refuses at once, unless a target starts its own fake service.
#include "ClientFixture.h"

#include "app/CGUnzipFiles.h"
#include "app/clsClientConfig.h"
#include "app/storedvars.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzzclient {

inline QApplication*& app() {
    static QApplication* a = nullptr;
    return a;
}

// A folder on a memory file system when there is one: inputs write settings files often.
inline QString scratchTemplate(const char* name) {
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + u'/' + QLatin1String(name) + QStringLiteral("-XXXXXX");
}

// The handlers' own warnings about odd lines come by the thousand while fuzzing; only the
// serious ones are printed.
inline void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

inline void startApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_VERBOSE")) qInstallMessageHandler(quietMessages);
    // Anything that would reach the web service or the web site is refused at once.
    if (qEnvironmentVariableIsEmpty("CORVADEX_WEBSERVICE"))
        qputenv("CORVADEX_WEBSERVICE", "http://127.0.0.1:9/RookfellWebService/RookfellWebService.asmx");
    if (qEnvironmentVariableIsEmpty("CORVADEX_WEBSITE")) qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:9");
    app() = new QApplication(*argc, *argv);
}

// The client folder of the run, with the first-run archives given (ClientFixture's flags) unpacked.
inline const QString& clientFolder(int assets) {
    static QTemporaryDir dir(scratchTemplate("corvadex-fuzz"));
    static bool unpacked = false;
    if (!unpacked) {
        unpacked = true;
        const std::pair<int, const char*> archives[] = {
            {ClientFixture::Skin, "skins.zip"}, {ClientFixture::Decks, "decks.zip"}, {ClientFixture::Wavs, "wavs.zip"}};
        for (const auto& [flag, name] : archives) {
            if (!(assets & flag)) continue;
            UnzipOptions quiet;
            if (RunUnzip(ClientFixture::archive(QString::fromLatin1(name)), dir.path(), quiet) != 0) {
                std::fprintf(stderr, "cannot unpack %s from the build: build the corvadex_assets target\n", name);
                std::abort();
            }
        }
    }
    static const QString path = dir.path();
    return path;
}

// One input's client: a logged-in player's globals in the shared folder, fresh doubles.
class Client {
public:
    explicit Client(int assets, const QString& nick = QStringLiteral("kira")) {
        ClientFixture::unloadAll();
        ResetStoredVars();
        const QString& folder = clientFolder(assets);
        QDir(folder + QStringLiteral("/config")).removeRecursively();
        QFile::remove(folder + QStringLiteral("/main.ini"));
        SetClientFolder(folder);
        services.install();
        Nickname = nick;
        ClientConfig().Username(nick);
    }
    ~Client() {
        ClientFixture::unloadAll();
        ResetStoredVars();
        SetClientFolder(QString());
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    QString folder() const { return clientFolder(0); }
    TestServices services;
};

}  // namespace fuzzclient
