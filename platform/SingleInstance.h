#pragma once
// One running client per user and client folder. The first copy listens on a local socket; a
// later copy asks it to bring its window up and then ends.
#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& clientFolder, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when another copy answered (and was asked to show itself).
    bool otherRunning();
    // Starts listening; false when the name could not be taken.
    bool listen();
    QString serverName() const { return m_name; }

signals:
    void activationRequested();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};

// Brings the client's visible top-level window to the front (the one the user last had).
void activateClientWindow();
