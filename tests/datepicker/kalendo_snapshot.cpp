// kalendo_snapshot: draws KalendoCtl on a small form, closed and open, to PNG files, the way a
// user sees it (run offscreen: QT_QPA_PLATFORM=offscreen).
//
//   kalendo_snapshot [output folder] [zoom]
//
// Writes kalendo-closed.png, kalendo-open.png, kalendo-focused.png (typing in the first box) and
// kalendo-disabled-wide.png (Enabled False, widened by the host), kalendo-layout-open.png (the
// control in a form layout, its calendar in the pop-up under the field), the form at 1:1, and, when
// zoom > 1, each also as <name>-xN.png enlarged without smoothing for a closer look.
// The date shown is 14 April 2001 under the default locale (set LANG/LC_ALL to change it).
#include "KalendoCtl.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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

    auto save = [&](const QString &name, QImage image = {}) {
        if (image.isNull())
            image = form.grab().toImage();
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

    // In a form layout: the pop-up drawn over the form where it stands on the screen.
    QWidget laidOut;
    laidOut.setWindowTitle(QStringLiteral("Kalendo in a layout"));
    auto *fields = new QFormLayout(&laidOut);
    fields->addRow(QStringLiteral("Name:"), new QLineEdit(QStringLiteral("A. Player")));
    auto *inLayout = new KalendoCtl;
    fields->addRow(QStringLiteral("Date of birth:"), inLayout);
    fields->addRow(QStringLiteral("Town:"), new QLineEdit);
    fields->addRow(QStringLiteral("Notes:"), new QLineEdit);
    laidOut.resize(300, 220);
    laidOut.show();
    inLayout->SetValue(QDate(2001, 4, 14));
    inLayout->DropDown();
    QApplication::processEvents();
    QImage composed = laidOut.grab().toImage();
    if (QWidget *popup = inLayout->findChild<QWidget *>(QStringLiteral("calendarPopup"))) {
        QPainter p(&composed);
        p.drawPixmap(laidOut.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    }
    ok = save(QStringLiteral("kalendo-layout-open"), composed) && ok;
    return ok ? 0 : 1;
}
