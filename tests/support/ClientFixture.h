#pragma once
// A fresh client for one test case: an empty temporary client folder (with the default skin,
// cards and sounds unpacked from the build's archives when asked), test doubles for every
// service, and on destruction every window unloaded and every global back to a fresh start.
#include "TestServices.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class ClientFixture {
public:
    enum Assets { None = 0, Skin = 1, Decks = 2, Wavs = 4, All = 7 };
    explicit ClientFixture(int assets = Skin);
    ~ClientFixture();
    ClientFixture(const ClientFixture&) = delete;
    ClientFixture& operator=(const ClientFixture&) = delete;

    QString folder() const { return m_dir.path(); }
    QString path(const QString& relative) const;
    void write(const QString& relative, const QByteArray& content) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

    TestServices services;

    // The build's first-run archive (decks.zip, skins.zip, wavs.zip).
    static QString archive(const QString& name);
    // Unloads every window and deletes it now, so the next case starts clean.
    static void unloadAll();

private:
    QTemporaryDir m_dir;
};
