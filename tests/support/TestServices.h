#pragma once
// Doubles of the client's services: every box is recorded and answered from a script, links
// and programs are recorded instead of opened, sounds are recorded, the end of the program is
// recorded, and time can be moved by hand.
#include "platform/Services.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

struct BoxRecord {
    enum Kind { Message, Input };
    Kind kind = Message;
    QString title;
    QString text;
    int style = 0;
    bool hidden = false;  // an input box that echoes what is typed as stars
};

class ScriptedDialogs : public Dialogs {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, Echo echo) override;

    // Answers for the next boxes, in order. A message box without a queued answer gets the
    // first button of its set (OK, Yes, Abort, Retry); an input box without one gets "".
    void answer(int button) { m_answers.push_back(button); }
    void type(const QString& text) { m_inputs.push_back(text); }
    // Runs while a box is "open" (lets a test act as if the user did something meanwhile).
    std::function<void(const BoxRecord&)> onBox;

    QList<BoxRecord> boxes;
    QStringList titles() const;
    int count(const QString& title) const;
    void clear() { boxes.clear(); }

private:
    std::deque<int> m_answers;
    std::deque<QString> m_inputs;
};

class RecordingShell : public Shell {
public:
    int open(const QString& target) override {
        opened << target;
        return 33;
    }
    bool startProgram(const QString& path) override {
        started << path;
        return true;
    }
    QStringList opened;
    QStringList started;
};

class RecordingSound : public Sound {
public:
    void play(const QString& path) override { played << path; }
    QStringList played;
};

// Real event processing, but time that only moves when told (and by Pause).
class ManualClock : public Clock {
public:
    int64_t monotonicMs() override { return m_mono; }
    int64_t wallMsSinceEpoch() override { return m_wall + m_mono; }
    void DoEvents() override;
    void Pause(int seconds) override;
    void advance(int64_t ms) { m_mono += ms; }
    void setWall(int64_t msSinceEpoch) { m_wall = msSinceEpoch - m_mono; }
    QList<int> pauses;

private:
    int64_t m_mono = 1'000'000;
    int64_t m_wall = 1'800'000'000'000;
};

class ScriptedRandom : public Random {
public:
    double Rnd() override;
    int between(int low, int high) override;
    std::deque<double> values;  // returned in order; 0.5 once empty
};

class RecordingLifecycle : public Lifecycle {
public:
    void end(int status) override {
        ++ends;
        lastStatus = status;
    }
    bool ending() const override { return ends > 0; }
    int ends = 0;
    int lastStatus = -1;
};

// The full set of doubles, installed by the fixture.
struct TestServices {
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::shared_ptr<RecordingShell> shell = std::make_shared<RecordingShell>();
    std::shared_ptr<RecordingSound> sound = std::make_shared<RecordingSound>();
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<ScriptedRandom> random = std::make_shared<ScriptedRandom>();
    std::shared_ptr<RecordingLifecycle> lifecycle = std::make_shared<RecordingLifecycle>();
    void install() const;
};
