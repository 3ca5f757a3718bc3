// Text from the network is never markup, wherever it lands: after lines full of tags reach the
// lobby, its private-message windows and the rules view, no label or tooltip of any window
// renders them and every chat log shows them as they were typed.
#include "LoggedInClient.h"

#include "lobby/fancychat.h"

#include <QApplication>
#include <QLabel>
#include <QAbstractScrollArea>
#include <QTextDocument>
#include <QtTest>

class tst_markup : public QObject {
    Q_OBJECT

private slots:
    void tagsFromTheServerStayText() {
        LoggedInClient c;
        QVERIFY(c.ready);
        const QString rules = QStringLiteral("1 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
        c.receive({
            QStringLiteral("NEWPLAYER 0 <b>x</b> <i>Owls</i> Gold <u>Ryo</u>"),
            QStringLiteral("CHAT <b>Nyx</b> <img%20src=x>%20<i>hi</i>"),
            QStringLiteral("INPM <b>Bree</b> kira <a%20href=x>click</a>"),
            QStringLiteral("ADDTABLE 5 <b>Kira</b> <i>Ryo</i> ") + rules + QStringLiteral("@@<h1>Big</h1>@@Standard@@300"),
            QStringLiteral("TABLEINFO 5 <b>Kira</b> <i>Ryo</i> ") + rules + QStringLiteral("@@<h1>Big</h1>@@<s>Deck</s>@@300"),
            QStringLiteral("NOTICE <font%20color=red>careful</font>"),
        });
        int labelsWithTags = 0;
        int logsWithTags = 0;
        for (QWidget* w : QApplication::allWidgets()) {
            if (auto* label = qobject_cast<QLabel*>(w); label && label->text().contains(u'<')) {
                ++labelsWithTags;
                QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName() + QStringLiteral(": ") + label->text()));
            }
            QVERIFY2(!w->toolTip().contains(QStringLiteral("<b>")) && !w->toolTip().contains(QStringLiteral("<i>")),
                     qPrintable(w->objectName() + QStringLiteral(" tooltip: ") + w->toolTip()));
            const QTextDocument* log = chatDocument(qobject_cast<QAbstractScrollArea*>(w));
            if (log && log->toPlainText().contains(QStringLiteral("<b>"))) {
                ++logsWithTags;
                // The tags are characters of the text, not formatting: no image, link or heading came of them.
                const QString html = log->toHtml();
                QVERIFY(!html.contains(QStringLiteral("<img")));
                QVERIFY(!html.contains(QStringLiteral("<h1")));
                QVERIFY(!html.contains(QStringLiteral("href=\"x\"")));
            }
        }
        // The lines really arrived: the lobby log and the private-message window hold the tags
        // as text, and some window shows a tagged name in a label.
        QVERIFY(logsWithTags >= 2);
        QVERIFY(labelsWithTags >= 1);
        QVERIFY(c.lobby->chatin->toPlainText().contains(QStringLiteral("<img src=x> <i>hi</i>")));
    }
};

QTEST_MAIN(tst_markup)
#include "tst_markup.moc"
