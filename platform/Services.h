#pragma once
// The seams between the client and the world: message boxes, the shell, sound, time, chance
// and the end of the program. Production installs the real ones; tests install doubles.
#include <QString>
#include <cstdint>
#include <memory>

class QWidget;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // style: button set + icon (vb::YesNo | vb::Question ...); returns vb::OK, vb::Yes, ...
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
    // Returns the typed text, or "" when cancelled. A secret (a pass key) is typed hidden.
    enum class Echo { Normal, Password };
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, Echo echo) = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document or web page with the desktop; returns > 32 on success like the old shell.
    virtual int open(const QString& target) = 0;
    // Starts a program without waiting for it; false when it could not be started.
    virtual bool startProgram(const QString& path) = 0;
};

class Sound {
public:
    virtual ~Sound() = default;
    // Plays a wave file asynchronously; a new sound replaces one still playing.
    virtual void play(const QString& path) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t monotonicMs() = 0;
    virtual int64_t wallMsSinceEpoch() = 0;
    // Handles pending window, timer and socket events once.
    virtual void DoEvents() = 0;
    // Waits whole seconds while events go on; 0 waits one clock tick.
    virtual void Pause(int seconds) = 0;
};

class Random {
public:
    virtual ~Random() = default;
    // A number in [0, 1), as the old Rnd.
    virtual double Rnd() = 0;
    // A whole number in [low, high].
    virtual int between(int low, int high) = 0;
};

class Lifecycle {
public:
    virtual ~Lifecycle() = default;
    // Ends the program. The production one does not return.
    virtual void end(int status) = 0;
    virtual bool ending() const = 0;
};

struct Services {
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<Shell> shell;
    std::shared_ptr<Sound> sound;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<Random> random;
    std::shared_ptr<Lifecycle> lifecycle;
};

// The installed services; the production set is installed on first use.
Services& services();
void installServices(const Services& s);
Services productionServices();

// Shorthands used all over the client.
int MsgBox(const QString& text, int style = 0, const QString& title = QString());
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString(),
                 Dialogs::Echo echo = Dialogs::Echo::Normal);
void DoEvents();
// Waits until at least one event arrives and handles it (a socket write completing, a timer).
void WaitForEvents();
void Pause(int seconds);
void EndProgram(int status = 0);
