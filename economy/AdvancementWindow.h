#pragma once
// The two advancement windows (alternate and veteran) are one window with two settings: their
// stored procedures, their train line, and whether the share of experience can be chosen.
#include "app/RFButton.h"
#include "economy/RecordSetGrid.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

class AdvancementWindow : public FormWindow<QWidget> {
    Q_OBJECT
public:
    struct Kind {
        const char* name;       // the window's object name
        QString title;
        QString abilities;      // stored procedures
        QString stats;
        QString description;
        QString trainLine;      // the keyword Train sends before the key
        bool alternate;         // the experience share list and the trained figure
    };
    explicit AdvancementWindow(const Kind& kind);

    // Controls.
    QWidget* picTitle;
    QLabel* lblTitle;
    QLabel* Label8;
    QLabel* Label1;
    QLabel* Label2;
    RecordSetGrid* DataGrid;
    QLabel* lblDescription;
    QLabel* lblAAEXP;
    QLabel* lblAASpend;
    QLabel* lblAATrained;
    QComboBox* cmbAASlider;  // nullptr in the veteran window
    RFButton* cmdTrain;

    QString SelectedAA() const { return DataGrid->CurrentText(1); }
    QString SelectedDescription() const { return DataGrid->CurrentText(5); }
    // The first word of the ability's name, in lower case.
    QString SelectedKey() const;
    QString SelectedLevel() const { return DataGrid->CurrentText(3); }
    QString SelectedMaxLevels() const { return DataGrid->CurrentText(4); }

    // Grid and figures again; a failure tells the player and closes the window.
    void RefreshGrid();
    void setVisible(bool visible) override;

public slots:
    void Form_Load();
    // A click at grid coordinates: the header row sorts, a data row shows its description.
    void DataGrid_Click(int row, int col);
    void cmbAASlider_Click();
    void cmdTrain_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void readStats();
    const Kind m_kind;
};
