// Every skinned button of every window shows its whole caption: each window is loaded on a
// logged-in client with the default skin and a fake web service, and each caption is measured in
// the font its label draws with against the room the label has inside its button.
#include "../economy/EconomyLink.h"
#include "Screenshots.h"

#include "app/RFButton.h"
#include "app/frmconfig.h"
#include "economy/frmAdvancement.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "economy/frmmerchant.h"
#include "game/frmdisplaybox.h"
#include "game/frmselectcards.h"
#include "net/frmstart.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "tables/frmfavrules.h"
#include "tables/frmocv_setup.h"
#include "tables/frmtradebox.h"
#include "variants/frmchinchin.h"
#include "variants/frmomni.h"
#include "variants/frmsphere.h"
#include "variants/frmsphere_setup.h"
#include "variants/frmteamomni.h"

#include <QFontMetrics>

namespace {
template <class T>
QWidget* shown() {
    T* w = form<T>();
    w->show();
    return w;
}

// The windows with skinned buttons.
const std::pair<const char*, QWidget* (*)()> kWindows[] = {
    {"login", shown<frmstart>},
    {"options", shown<frmconfig>},
    {"favourite rules", shown<frmfavrules>},
    {"waiting", shown<frmchallengewaiting>},
    {"omni rules", shown<frmocv_setup>},
    {"trade", shown<frmtradebox>},
    {"two-seat room", shown<frmchallengebox_single>},
    {"four-seat room", shown<frmchallengebox>},
    {"game over", shown<frmdisplaybox>},
    {"card pick", shown<frmselectcards>},
    {"avatars", shown<frmAvatars>},
    {"alternate advancement", shown<frmAdvancement>},
    {"veteran advancement", shown<frmVAdvancement>},
    {"starter decks", shown<frmStarterDecks>},
    {"merchant", shown<frmmerchant>},
    {"omni", shown<frmomni>},
    {"team omni", shown<frmteamomni>},
    {"coin board", shown<frmsphere>},
    {"coin board rules", shown<frmsphere_setup>},
    {"dice", shown<frmchinchin>},
};

// What the windows that close themselves without their data ask the web service.
void answerWindowQueries(FakeWebService& web) {
    web.answer(QStringLiteral("CALL usp_FindDecks()"), table({"deck"}, {{"Ashfall"}}));
    for (const bool veteran : {false, true}) {
        const QString v = veteran ? QStringLiteral("V") : QStringLiteral("A");
        web.answer(QStringLiteral("call sps_Player%1A('Tester')").arg(v),
                   table({"Ability", "Category", "Level", "MaxLevel", "Description"}, {{"Keen Eye", "Mind", "9", "10", "See more"}}));
        const QStringList stats = veteran ? QStringList{"EXPNext", "AAPoints", "AATrained"}
                                          : QStringList{"EXPNext", "Percent", "AAPoints", "AATrained"};
        web.answer(QStringLiteral("call sps_Player%1AStats('Tester')").arg(v),
                   table(stats, {veteran ? QStringList{"1200", "2", "7"} : QStringList{"1200", "30", "2", "7"}}));
    }
}
}  // namespace

class tst_captions : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ClientFixture::unloadAll(); }

    void everyCaptionFitsItsButton_data() {
        QTest::addColumn<int>("window");
        for (int i = 0; i < int(std::size(kWindows)); ++i) QTest::newRow(kWindows[i].first) << i;
    }
    void everyCaptionFitsItsButton() {
        QFETCH(int, window);
        EconomyLink l;
        answerWindowQueries(l.web);
        QWidget* w = kWindows[window].second();
        QVERIFY(w->isVisible());
        QCoreApplication::processEvents();
        const QList<RFButton*> buttons = w->findChildren<RFButton*>();
        QVERIFY(!buttons.isEmpty());
        QStringList over;
        for (RFButton* b : buttons) {
            const QLabel* caption = b->lblCaption;
            QVERIFY(!caption->text().isEmpty());
            // The part of the label that lies on its button.
            const QRect room = caption->contentsRect().translated(caption->pos()).intersected(b->rect());
            const QFontMetrics metrics(caption->font());
            const int needed = metrics.horizontalAdvance(caption->text());
            if (needed > room.width() || metrics.height() > room.height())
                over << QStringLiteral("%1 \"%2\": %3x%4 px in %5x%6")
                            .arg(b->objectName(), caption->text())
                            .arg(needed)
                            .arg(metrics.height())
                            .arg(room.width())
                            .arg(room.height());
        }
        QVERIFY2(over.isEmpty(), qPrintable(over.join(QStringLiteral("; "))));
        save(w->grab().toImage(), QByteArray("captions_").append(QTest::currentDataTag()).replace(' ', '_').constData());
    }
};

QTEST_MAIN(tst_captions)
#include "tst_captions.moc"
