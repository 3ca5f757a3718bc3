// kalendo_snapshot: draws KalendoCtl on a small form, closed and open, to PNG files, the way a
// user sees it (run offscreen: QT_QPA_PLATFORM=offscreen).
//
//   kalendo_snapshot [output folder] [zoom]
//
// Writes kalendo-closed.png, kalendo-open.png, kalendo-focused.png (typing in the first box) and
// kalendo-disabled-wide.png (Enabled False, widened by the host), the form at 1:1, and, when
// zoom > 1, each also as <name>-xN.png enlarged without smoothing for a closer look.
// The date shown is 14 April 2001 under the default locale (set LANG/LC_ALL to change it).
#include "KalendoCtl.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const int zoom = argc > 2 ? qMax(1, QString::fromLocal8Bit(argv[2]).toInt()) : 4;
    QDir().mkpath(folder);

    QWidget form;
    form.setWindowTitle(QStringLiteral("Kalendo"));
    form.resize(300, 220);
    auto *caption = new QLabel(QStringLiteral("Date of birth:"), &form);
    caption->setGeometry(12, 14, 90, 19);
    auto *ctl = new KalendoCtl(&form);
    ctl->setObjectName(QStringLiteral("kalendoCtl1"));
    ctl->move(104, 14);
    auto *below = new QLineEdit(QStringLiteral("another field"), &form);
    below->setGeometry(104, 44, 150, 22);
    ctl->raise();
    form.show();
    ctl->SetValue(QDate(2001, 4, 14));

    auto save = [&](const QString &name) {
        const QImage image = form.grab().toImage();
        const QString path = folder + u'/' + name + QStringLiteral(".png");
        bool ok = image.save(path);
        if (zoom > 1) {
            const QImage big = image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            ok = big.save(folder + u'/' + name + QStringLiteral("-x%1.png").arg(zoom)) && ok;
        }
        QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << '\n';
        return ok;
    };
    bool ok = save(QStringLiteral("kalendo-closed"));
    ctl->DropDown();
    ok = save(QStringLiteral("kalendo-open")) && ok;
    ctl->CloseUp();

    // Typing: the focus in the first box, its text selected.
    form.activateWindow();
    QApplication::processEvents();
    ctl->txtDate(1)->setFocus();
    ctl->txtDate(1)->selectAll();
    ok = save(QStringLiteral("kalendo-focused")) && ok;

    // Disabled, and widened by the host.
    below->setFocus();
    ctl->resize(150, 40);
    ctl->SetEnabled(false);
    ok = save(QStringLiteral("kalendo-disabled-wide")) && ok;
    return ok ? 0 : 1;
}
