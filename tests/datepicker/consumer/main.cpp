// A host of the installed libkalendo: puts the control on a form, uses the exports it links,
// and loads the installed Qt Designer plugin.
#include <KalendoCtl.h>
#include <kalendo_exports.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPluginLoader>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    int failures = 0;
    auto check = [&](bool ok, const char *what) {
        out << (ok ? "ok   " : "FAIL ") << what << '\n';
        failures += ok ? 0 : 1;
    };

    {
        QWidget form;
        auto *ctl = new KalendoCtl(&form);
        ctl->SetValue(QDate(2001, 4, 14));
        check(ctl->YearBox()->text() == QLatin1String("2001"), "the control shows the year");
        check(ctl->size() == QSize(105, 19), "the collapsed size");
        ctl->DropDown();
        check(ctl->DroppedDown && ctl->size() == QSize(167, 167), "the calendar opens");
        check(DllCanUnloadNow() == KALENDO_S_FALSE, "DllCanUnloadNow refuses while a control lives");
    }
    check(DllCanUnloadNow() == KALENDO_S_OK, "DllCanUnloadNow agrees afterwards");

#ifdef KALENDO_EXPECT_PLUGIN
    const QDir plugins(QStringLiteral(KALENDO_PLUGIN_DIR));
    const QStringList found = plugins.entryList({QStringLiteral("*kalendodesigner*")}, QDir::Files);
    check(!found.isEmpty(), "the Designer plugin is installed");
    if (!found.isEmpty()) {
        QPluginLoader loader(plugins.filePath(found.first()));
        check(loader.load(), "the installed Designer plugin loads (it finds the installed library)");
        if (!loader.isLoaded())
            out << loader.errorString() << '\n';
    }
#endif
    out << (failures == 0 ? "consumer: all good" : "consumer: failures") << '\n';
    return failures == 0 ? 0 : 1;
}
