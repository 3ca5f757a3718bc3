// The administrator window's two chat bots: the 8-ball, whose answers the chat receiver picks
// from bottxt/8ball.txt, and the trivia quiz read from bottxt/<name>.txt. Both speak as public
// chat of the operator; the chat receiver scores the answers while ChatBotOn is set.
#include "admin/frmadmin.h"

#include "app/storedvars.h"
#include "net/LineFields.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QPointer>

#include <algorithm>

using lines::send;

namespace {
const QString kData = QStringLiteral("Data");
const QString kTriviaTitle = QStringLiteral("Trivia Interactive");

// A question count as the quiz keeps it: a whole number from 0 up that fits 16 bits.
bool questionCount(const QString& text, int16_t& out) { return tryInt16(text, out) && out >= 0; }

int16_t clampedInt16(double value) {
    return int16_t(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}
}  // namespace

void frmadmin::stopBots() {
    ++m_botRun;
    ChatBotOn = false;
    ChatBotKind.clear();
    tmrTrivia->stop();
    tmrTriviaNext->stop();
    TriviaOpen = false;
    m_questionAnswer.clear();
    m_questionsLeft = 0;
}

void frmadmin::mnu8Ball_Click() {
    if (!FileExists(clientPath(QStringLiteral("bottxt/8ball.txt")))) {
        MsgBox(QStringLiteral("You do not have an 8ball file."), vb::Information, QStringLiteral("8Ball Interactive"));
        return;
    }
    if (ChatBotOn) {
        stopBots();
        send(QStringLiteral("CHAT 8-Ball is deactivated."));
        return;
    }
    ++m_botRun;
    ChatBotOn = true;
    ChatBotKind = QStringLiteral("8ball");
    send(QStringLiteral("CHAT 8-Ball is activated.  Type !8ball yourquestion to trigger it.  - Powered by Brightmoor, Inc."));
}

void frmadmin::mnuTriviaBot_Click() {
    const QString name = InputBox(QStringLiteral("Name of the trivia file (minus the extension, IE if general.txt, then general)?"),
                                  QStringLiteral("Trivia Name?"));
    const QString countText = InputBox(QStringLiteral("How many questions?"), QStringLiteral("Questions?"));
    if (name.isEmpty()) return;
    // The name is typed as a file name, never as a path into other folders.
    const QString file = clientPath(QStringLiteral("bottxt/") + name + QStringLiteral(".txt"));
    if (!isSafePathComponent(name) || !FileExists(file)) {
        MsgBox(QStringLiteral("You do not have the file you tried to open."), vb::Information, kTriviaTitle);
        return;
    }
    const QString questionsText = ReadIni(kData, QStringLiteral("Questions"), file);
    int16_t count = 0, questions = 0;
    if (!questionCount(countText, count)) {
        MsgBox(QStringLiteral("The number of questions must be a whole number of 0 or more."), vb::Exclamation, kTriviaTitle);
        return;
    }
    if (!questionCount(questionsText, questions)) {
        MsgBox(QStringLiteral("The trivia file ") + name + QStringLiteral(".txt does not say how many questions it holds: its [Data] "
                                                                          "Questions must be a whole number of 0 or more."),
               vb::Exclamation, kTriviaTitle);
        return;
    }
    m_triviaFile = file;
    count = std::min(count, questions);
    const QString title = ReadIni(kData, QStringLiteral("Title"), file);
    m_giveAnswers = ReadIni(kData, QStringLiteral("GiveAnswers"), file);
    m_questionsLeft = count;
    m_fileQuestions = questions;
    m_questionNumber = 0;

    if (ChatBotOn) {
        stopBots();
        send(QStringLiteral("CHAT Trivia Interactive is deactivated."));
        return;
    }
    const int run = ++m_botRun;
    ChatBotOn = true;
    ChatBotKind = QStringLiteral("trivia");
    m_scores.clear();
    send(QStringLiteral("CHAT Trivia Interactive is activated. ") + ClientConfig().Username() + QStringLiteral(" has chosen ") + title +
         QStringLiteral(" competition trivia.  The winner after ") + QString::number(count) +
         QStringLiteral(" will .... win! Each question is 30 seconds. - Powered by Brightmoor, Inc."));
    QPointer<frmadmin> self(this);
    Pause(3);
    // The bot may have been switched meanwhile, or the window gone.
    if (!self || run != m_botRun) return;
    send(QStringLiteral("CHAT Let's Begin!"));
    NextQuestion();
}

void frmadmin::NextQuestion() {
    if (m_questionsLeft <= 0) {
        EndTrivia();
        return;
    }
    --m_questionsLeft;
    const int n = std::min<int>(m_fileQuestions, int(services().random->Rnd() * m_fileQuestions) + 1);
    ++m_questionNumber;
    const QString section = QString::number(n);
    const QString question = ReadIni(section, QStringLiteral("Question"), m_triviaFile);
    m_questionAnswer = ReadIni(section, QStringLiteral("Answer"), m_triviaFile);
    m_triviaPoints = clampedInt16(vbVal(ReadIni(section, QStringLiteral("Points"), m_triviaFile)));
    send(QStringLiteral("CHAT Trivia Question - Question #") + QString::number(m_questionNumber) + QStringLiteral(": ") + question);
    tmrTrivia->start();
    TriviaOpen = true;
}

void frmadmin::tmrTrivia_Timer() {
    tmrTrivia->stop();
    TriviaOpen = false;
    send(QStringLiteral("CHAT Time is up! The answer is: ") +
         (m_giveAnswers == QLatin1String("1") ? m_questionAnswer : QStringLiteral("[Answers are disabled]")));
    tmrTriviaNext->start();
}

void frmadmin::tmrTriviaNext_Timer() {
    tmrTriviaNext->stop();
    NextQuestion();
}

void frmadmin::TriviaGivePoint(const QString& player, int16_t points) {
    for (clsPlayerScore& record : m_scores) {
        if (record.player().compare(player, Qt::CaseInsensitive) != 0) continue;
        record.Score(clampedInt16(double(record.Score()) + points));
        return;
    }
    clsPlayerScore record;
    record.player(player);
    record.Score(points);
    m_scores.append(record);
}

void frmadmin::EndTrivia() {
    if (m_scores.isEmpty()) {
        send(QStringLiteral("CHAT We have no winners. Trivia has ended."));
    } else {
        // The first of the best scores is the champion, even when nobody scored above nothing.
        const auto best = std::max_element(m_scores.begin(), m_scores.end(),
                                           [](const clsPlayerScore& a, const clsPlayerScore& b) { return a.Score() < b.Score(); });
        QStringList winners;
        for (const clsPlayerScore& record : m_scores)
            if (record.Score() == best->Score()) winners << record.player();
        if (winners.size() == 1)
            send(QStringLiteral("CHAT Trivia has ended.  The trivia champion is ") + best->player() + QStringLiteral(" with ") +
                 QString::number(best->Score()) + QStringLiteral(" points! Congratulations!"));
        else
            send(QStringLiteral("CHAT We have a tie! The winners are: ") + winners.join(QStringLiteral(", ")));
    }
    ++m_botRun;
    ChatBotKind.clear();
    ChatBotOn = false;
}
