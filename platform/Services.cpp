#include "platform/Services.h"

#include "platform/VbCompat.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace {

class QtDialogs : public Dialogs {
    static bool headless() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

public:
    int MsgBox(const QString& text, int style, const QString& title) override {
        QMessageBox box;
        box.setWindowTitle(title.isEmpty() ? QStringLiteral("Corvadex") : title);
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        switch (style & 0x70) {
            case vb::Critical: box.setIcon(QMessageBox::Critical); break;
            case vb::Question: box.setIcon(QMessageBox::Question); break;
            case vb::Exclamation: box.setIcon(QMessageBox::Warning); break;
            case vb::Information: box.setIcon(QMessageBox::Information); break;
            default: break;
        }
        using B = QMessageBox::StandardButton;
        struct Pair { B button; int answer; };
        std::vector<Pair> buttons;
        switch (style & 0x7) {
            case vb::OKCancel: buttons = {{B::Ok, vb::OK}, {B::Cancel, vb::Cancel}}; break;
            case vb::AbortRetryIgnore: buttons = {{B::Abort, vb::Abort}, {B::Retry, vb::Retry}, {B::Ignore, vb::Ignore}}; break;
            case vb::YesNoCancel: buttons = {{B::Yes, vb::Yes}, {B::No, vb::No}, {B::Cancel, vb::Cancel}}; break;
            case vb::YesNo: buttons = {{B::Yes, vb::Yes}, {B::No, vb::No}}; break;
            case vb::RetryCancel: buttons = {{B::Retry, vb::Retry}, {B::Cancel, vb::Cancel}}; break;
            default: buttons = {{B::Ok, vb::OK}}; break;
        }
        for (const auto& p : buttons) box.addButton(p.button);
        // Without a screen nobody can answer: the box counts as closed unanswered, and its
        // text goes to the log instead of blocking the program for good.
        if (headless()) {
            qWarning("%s: %s", qPrintable(box.windowTitle()), qPrintable(text));
            return buttons.size() == 1 ? buttons[0].answer : buttons.back().answer;
        }
        const int clicked = box.exec();
        for (const auto& p : buttons)
            if (clicked == int(p.button)) return p.answer;
        // Closed with Escape or the window's close button: the cancelling answer of the set.
        return buttons.size() == 1 ? buttons[0].answer : buttons.back().answer;
    }

    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, Echo echo) override {
        if (headless()) {
            qWarning("%s: %s", qPrintable(title), qPrintable(prompt));
            return {};
        }
        bool ok = false;
        const QString text = QInputDialog::getText(nullptr, title.isEmpty() ? QStringLiteral("Corvadex") : title, prompt,
                                                   echo == Echo::Password ? QLineEdit::Password : QLineEdit::Normal, defaultText, &ok);
        return ok ? text : QString();
    }
};

class DesktopShell : public Shell {
public:
    int open(const QString& target) override {
        const QUrl url = QUrl::fromUserInput(target);
        return QDesktopServices::openUrl(url) ? 33 : 0;
    }
    bool startProgram(const QString& path) override {
        if (!QFileInfo(path).isFile()) return false;
        return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
    }
};

class EffectSound : public Sound {
public:
    void play(const QString& path) override {
        if (!QCoreApplication::instance()) return;
        if (!m_effect) m_effect = new QSoundEffect(QCoreApplication::instance());
        m_effect->stop();
        m_effect->setSource(QUrl::fromLocalFile(path));
        m_effect->play();
    }

private:
    QPointer<QSoundEffect> m_effect;
};

class SystemClock : public Clock {
public:
    SystemClock() { m_timer.start(); }
    int64_t monotonicMs() override { return m_timer.elapsed(); }
    int64_t wallMsSinceEpoch() override { return QDateTime::currentMSecsSinceEpoch(); }
    void DoEvents() override {
        if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    void Pause(int seconds) override {
        // Runs on the monotonic clock, so a change of the wall clock cannot stretch or cut it.
        const int64_t target = monotonicMs() + int64_t(seconds < 0 ? 0 : seconds) * 1000;
        do {
            DoEvents();
            if (monotonicMs() <= target) QThread::msleep(5);
        } while (monotonicMs() <= target);
    }

private:
    QElapsedTimer m_timer;
};

class SystemRandom : public Random {
public:
    double Rnd() override { return QRandomGenerator::global()->generateDouble(); }
    int between(int low, int high) override {
        if (high < low) std::swap(low, high);
        return int(QRandomGenerator::global()->bounded(qint64(low), qint64(high) + 1));
    }
};

class ProcessLifecycle : public Lifecycle {
public:
    void end(int status) override {
        m_ending = true;
        // The old runtime's End: nothing after it runs. Settings files are closed after every
        // write and lines already handed to the socket are flushed first.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    bool ending() const override { return m_ending; }

private:
    bool m_ending = false;
};

Services& current() {
    static Services s;
    return s;
}

}  // namespace

Services productionServices() {
    Services s;
    s.dialogs = std::make_shared<QtDialogs>();
    s.shell = std::make_shared<DesktopShell>();
    s.sound = std::make_shared<EffectSound>();
    s.clock = std::make_shared<SystemClock>();
    s.random = std::make_shared<SystemRandom>();
    s.lifecycle = std::make_shared<ProcessLifecycle>();
    return s;
}

Services& services() {
    Services& s = current();
    if (!s.dialogs) s = productionServices();
    return s;
}

void installServices(const Services& s) {
    Services base = productionServices();
    Services& c = current();
    c.dialogs = s.dialogs ? s.dialogs : base.dialogs;
    c.shell = s.shell ? s.shell : base.shell;
    c.sound = s.sound ? s.sound : base.sound;
    c.clock = s.clock ? s.clock : base.clock;
    c.random = s.random ? s.random : base.random;
    c.lifecycle = s.lifecycle ? s.lifecycle : base.lifecycle;
}

int MsgBox(const QString& text, int style, const QString& title) { return services().dialogs->MsgBox(text, style, title); }
QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, Dialogs::Echo echo) {
    return services().dialogs->InputBox(prompt, title, defaultText, echo);
}
void DoEvents() { services().clock->DoEvents(); }
void WaitForEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}
void Pause(int seconds) { services().clock->Pause(seconds); }
void EndProgram(int status) { services().lifecycle->end(status); }
