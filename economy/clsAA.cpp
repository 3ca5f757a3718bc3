#include "economy/clsAA.h"

#include "app/modSound.h"
#include "app/modText.h"
#include "economy/frmAdvancement.h"
#include "economy/frmVAdvancement.h"
#include "lobby/fancychat.h"

#include <QPointer>

namespace {
template <class T>
void refresh() {
    QPointer<T> window = form<T>();
    window->RefreshGrid();
    // The refresh may have closed a window whose data could not be read.
    if (window && !window->unloading()) window->cmdTrain->Enabled(true);
}
}  // namespace

void clsAA::AAModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("AALEVELUP")) return LevelUp(line);
    if (keyword == QLatin1String("AAREFRESH")) return refresh<frmAdvancement>();
    if (keyword == QLatin1String("AAVETREFRESH")) return refresh<frmVAdvancement>();
}

void clsAA::LevelUp(const QString& line) {
    const QString points = Divide(line, QStringLiteral(" "))[1];
    RenderIncomingChat(QStringLiteral("AA"), QString(),
                       QStringLiteral("Congratulations! You have gained an AA point.  You now have ") + points +
                           QStringLiteral("AA points"),
                       65535);
    PlaySound(31);
}
