#include "lobby/LoadingWindow.h"

#include "lobby/fancychat.h"

#include <QPointer>
#include <QWidget>
#include <exception>

QString LoadingNotice(const QString& screen) {
    return QStringLiteral("The ") + screen +
           QStringLiteral(" screen is loading, please wait... This may take a few seconds depending on your internet connection.  "
                          "Maximum time is 60-80 seconds.  Do not panic if the screen freezes while it loads.");
}

void OpenLoadingWindow(const QString& screen, const std::function<QWidget*()>& load, const std::function<void(QWidget*)>& refresh) {
    PrintChatLine(QStringLiteral("Loading"), QString(), LoadingNotice(screen), ChatColour::Yellow);
    QPointer<QWidget> window;
    bool done = false;
    try {
        window = load();
        if (window) {
            window->hide();
            refresh(window);
            done = true;
        }
    } catch (const std::exception& e) {
        qWarning("%s screen: %s", qPrintable(screen), e.what());
    }
    if (!done)
        PrintChatLine(QStringLiteral("Error"), QString(),
                      QStringLiteral("The ") + screen + QStringLiteral(" screen could not be loaded. Please try again later."),
                      ChatColour::Red);
    if (window) window->show();
}
