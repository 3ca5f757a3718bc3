#include "net/clsChangePass.h"

#include "platform/Services.h"
#include "platform/VbCompat.h"

void clsChangePass::AccountModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("CHPASS-WRONGPASS")) {
        MsgBox(QStringLiteral("Either the password you entered was invalid or the server could not process your request.  Try again later."),
               vb::Critical, QStringLiteral("Error"));
    } else if (keyword == QLatin1String("CHPASS-OK")) {
        MsgBox(QStringLiteral("Your information has been changed."), vb::Information, QStringLiteral("Password Confirmed"));
    }
}
