#include "app/ErrorHandler.h"

#include "app/Deployment.h"
#include "app/modMain.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

namespace {
// When connected the server hears why the client leaves, then the client ends.
void reportToServerAndEnd(const QString& text, const QString& where) {
    frmCon* con = ifLoaded<frmCon>();
    if (!con || !con->Winsock->connected()) return;
    QString line = QStringLiteral("ERRORHANDLER ") + ReplaceCaseCopy(text, {QStringLiteral(" "), QStringLiteral("%20")}) +
                   u' ' + ReplaceCaseCopy(where, {QStringLiteral(" "), QStringLiteral("%20")});
    con->SendToServer(line);
    con->Winsock->Tag = QStringLiteral("out");
    QString quit = QStringLiteral("QUITERROR");
    con->SendToServer(quit);
    DoEvents();
    if (QPointer<frmCon> alive = ifLoaded<frmCon>()) alive->Winsock->Close();
    ShutDown();
}
}  // namespace

void ErrorHandler(const QString& text, int site, int) {
    PlaySound(3);
    MsgBox(QStringLiteral("An error occurred, please notify technical support, ") + Deployment::supportAddress() +
               QStringLiteral(", of how it happened (with snapshots), and the description of the bug: ") + text +
               QStringLiteral(" Error ID: ") + QString::number(site),
           vb::Critical, QStringLiteral("Error"));
    reportToServerAndEnd(text, QString::number(site));
}

void SplashErrorHandler(const QString& text, const QString& label) {
    PlaySound(3);
    MsgBox(QStringLiteral("An error occurred, please notify ") + Deployment::developerContact() +
               QStringLiteral(", of how it happened (with snapshots), and the description of the bug: ") + text,
           vb::Critical, QStringLiteral("Error"));
    reportToServerAndEnd(text, label);
}
