#include "lobby/LoadingWindow.h"

#include "lobby/fancychat.h"

#include <QPointer>
#include <QWidget>
#include <exception>

void OpenLoadingWindow(const QString& notice, const QString& screen, const std::function<QWidget*()>& load,
                       const std::function<void(QWidget*)>& refresh) {
    PrintChatLine(QStringLiteral("Loading"), QString(), notice, ChatColour::Yellow);
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
