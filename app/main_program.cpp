#include "app/modMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvadex"));
    QApplication::setOrganizationName(QStringLiteral("Corvadex"));
    // The program ends only through its own shutdown, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!Main()) return 0;
    return app.exec();
}
