// Kalendo example: a form with a layout that holds the date picker. The date typed or picked
// becomes Value when the focus leaves the control; the label below shows Value each time.
#include <KalendoCtl.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QWidget form;
    form.setWindowTitle(QStringLiteral("Kalendo example"));
    auto *fields = new QFormLayout;
    auto *name = new QLineEdit;
    auto *date = new KalendoCtl;
    auto *enabled = new QCheckBox(QStringLiteral("Date can be changed"));
    auto *value = new QLabel;
    enabled->setChecked(true);
    fields->addRow(QStringLiteral("&Name:"), name);
    fields->addRow(QStringLiteral("&Date of birth:"), date);
    fields->addRow(QString(), enabled);
    fields->addRow(QStringLiteral("Value:"), value);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto *layout = new QVBoxLayout(&form);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addWidget(buttons);

    auto showValue = [date, value] {
        value->setText(QLocale().toString(date->Value().date(), QLocale::LongFormat));
    };
    showValue();
    // Value changes when the focus leaves the control: show it on every focus change.
    QObject::connect(&app, &QApplication::focusChanged, value, showValue);
    QObject::connect(enabled, &QCheckBox::toggled, date, &KalendoCtl::setEnabled);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &form, &QWidget::close);

    form.resize(320, 160);
    form.show();
    return app.exec();
}
