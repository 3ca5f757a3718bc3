#include "TestServices.h"

#include "platform/VbCompat.h"

#include <QCoreApplication>

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title) {
    BoxRecord r{BoxRecord::Message, title, text, style};
    boxes << r;
    if (onBox) onBox(r);
    if (!m_answers.empty()) {
        const int a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (style & 0x7) {
        case vb::AbortRetryIgnore: return vb::Abort;
        case vb::YesNoCancel:
        case vb::YesNo: return vb::Yes;
        case vb::RetryCancel: return vb::Retry;
        default: return vb::OK;
    }
}

QString ScriptedDialogs::InputBox(const QString& prompt, const QString& title, const QString&, Echo echo) {
    BoxRecord r{BoxRecord::Input, title, prompt, 0, echo == Echo::Password};
    boxes << r;
    if (onBox) onBox(r);
    if (m_inputs.empty()) return {};
    const QString t = m_inputs.front();
    m_inputs.pop_front();
    return t;
}

QStringList ScriptedDialogs::titles() const {
    QStringList out;
    for (const auto& b : boxes) out << b.title;
    return out;
}

int ScriptedDialogs::count(const QString& title) const {
    int n = 0;
    for (const auto& b : boxes) n += b.title == title;
    return n;
}

void ManualClock::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void ManualClock::Pause(int seconds) {
    pauses << seconds;
    advance(int64_t(seconds < 0 ? 0 : seconds) * 1000 + 1);
    DoEvents();
}

double ScriptedRandom::Rnd() {
    if (values.empty()) return 0.5;
    const double v = values.front();
    values.pop_front();
    return v;
}

int ScriptedRandom::between(int low, int high) { return low + int(Rnd() * (high - low + 1)); }

void TestServices::install() const {
    Services s;
    s.dialogs = dialogs;
    s.shell = shell;
    s.sound = sound;
    s.clock = clock;
    s.random = random;
    s.lifecycle = lifecycle;
    installServices(s);
}
