#pragma once
// Cases that need a real X server (the screen photographed, windows stacked by the server): the
// test program starts an Xvfb of its own and runs those cases again as a child on it.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

inline bool onXServer() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Starts Xvfb on a display it finds free; the display's name, or "" when it did not come up.
inline QString startXvfb(QProcess& server) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) return {};
    // -displayfd: the server takes a free display and writes its number to standard output.
    server.start(program, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForStarted(10000)) return {};
    QByteArray number;
    QDeadlineTimer deadline(20000);
    while (!number.contains('\n') && server.state() == QProcess::Running && !deadline.hasExpired()) {
        server.waitForReadyRead(200);
        number += server.readAllStandardOutput();
    }
    number = number.trimmed();
    return number.isEmpty() ? QString() : QStringLiteral(":") + QString::fromLatin1(number);
}

struct XServerRun {
    bool started = false;  // false: no Xvfb here
    bool finished = false;
    int exitCode = -1;
    QByteArray report;
};

// Runs this test program's cases on a fresh X server, with extra environment; waits for it.
inline XServerRun runOnXServer(const QStringList& cases, const QProcessEnvironment& extra = {}, int ms = 240000) {
    XServerRun run;
    QProcess server;
    const QString display = startXvfb(server);
    if (display.isEmpty()) return run;
    run.started = true;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), cases);
    run.finished = child.waitForFinished(ms) && child.exitStatus() == QProcess::NormalExit;
    run.report = child.readAll();
    if (!run.finished) child.kill();
    run.exitCode = child.exitCode();
    server.terminate();
    if (!server.waitForFinished(5000)) server.kill();
    return run;
}
