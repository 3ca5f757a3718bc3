#include "ClientFixture.h"

#include "app/CGUnzipFiles.h"
#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"
#include "platform/Forms.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

QString ClientFixture::archive(const QString& name) { return QStringLiteral(CORVADEX_BIN_DIR) + u'/' + name; }

ClientFixture::ClientFixture(int assets) {
    unloadAll();
    ResetStoredVars();
    SetClientFolder(m_dir.path());
    services.install();
    const std::pair<int, const char*> archives[] = {{Skin, "skins.zip"}, {Decks, "decks.zip"}, {Wavs, "wavs.zip"}};
    for (const auto& [flag, name] : archives) {
        if (!(assets & flag)) continue;
        UnzipOptions quiet;
        const int rc = RunUnzip(archive(QString::fromLatin1(name)), m_dir.path(), quiet);
        if (rc != 0) qFatal("could not unpack %s from the build (%d): build the corvadex_assets target", name, rc);
    }
}

ClientFixture::~ClientFixture() {
    unloadAll();
    ResetStoredVars();
    SetClientFolder(QString());
}

void ClientFixture::unloadAll() {
    for (QWidget* w : loadedForms()) {
        forms::forget(w);
        delete w;
    }
    for (auto& p : MsgWindows)
        if (p) delete p.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ClientFixture::path(const QString& relative) const { return resolvePath(m_dir.path() + u'/' + normalizePath(relative)); }

void ClientFixture::write(const QString& relative, const QByteArray& content) const {
    const QString p = m_dir.path() + u'/' + normalizePath(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) qFatal("cannot write %s", qPrintable(p));
}

QByteArray ClientFixture::read(const QString& relative) const {
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool ClientFixture::exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
