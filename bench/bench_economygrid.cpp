// The economy windows' record-set grid with 10,000 rows: binding with the fit of every column to
// its widest text, and the sort of a header click (numbers as numbers, then the fit again), each
// beside the plain view over the same model without the grid's extras, in the same run.
#include "ClientFixture.h"
#include "WidgetBenchMain.h"

#include "app/RecordSetModel.h"
#include "economy/RecordSetGrid.h"
#include "economy/frmStarterDecks.h"
#include "platform/Forms.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTableView>

namespace {
constexpr int kRows = 10000;

RecordSet cards() {
    RecordSet rs;
    for (const char* name : {"Card", "Level", "Total", "Deck", "Special"}) rs.appendField(QString::fromLatin1(name));
    const QStringList decks{QStringLiteral("Ashfall"), QStringLiteral("Stormwake"), QStringLiteral("Hollowroot")};
    rs.reserveRows(kRows);
    for (int i = 0; i < kRows; ++i) {
        rs.addRow();
        rs.Fields(0) = QStringLiteral("Card number %1 of the set").arg((i * 7919) % kRows);
        rs.Fields(1) = int((i * 31) % 10 + 1);
        rs.Fields(2) = int((i * 17) % 250);
        rs.Fields(3) = decks[i % decks.size()];
        rs.Fields(4) = (i % 9 == 0) ? QStringLiteral("Yes") : QStringLiteral("No");
    }
    return rs;
}

struct Shown {
    ClientFixture fixture{ClientFixture::Skin};
    frmStarterDecks* window = form<frmStarterDecks>();
    Shown() {
        window->show();
        QCoreApplication::processEvents();
    }
};
}  // namespace

static void BM_GridBindAndFit(benchmark::State& state) {
    Shown shown;
    const RecordSet rs = cards();
    for (auto _ : state) {
        shown.window->DataGrid->bind(rs);
        shown.window->DataGrid->AutoSizeGrid();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_GridBindAndFit)->Unit(benchmark::kMillisecond);

static void BM_PlainViewBind(benchmark::State& state) {
    Shown shown;
    const RecordSet rs = cards();
    QTableView view(shown.window);
    RecordSetModel model;
    view.setModel(&model);
    view.setGeometry(shown.window->DataGrid->geometry());
    view.show();
    for (auto _ : state) {
        model.setRecordSet(rs);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PlainViewBind)->Unit(benchmark::kMillisecond);

static void BM_GridHeaderSort(benchmark::State& state) {
    Shown shown;
    shown.window->DataGrid->bind(cards());
    for (auto _ : state) {
        // Each click turns the order round, so every round sorts.
        shown.window->DataGrid_Click(0, 3);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_GridHeaderSort)->Unit(benchmark::kMillisecond);

static void BM_PlainModelSort(benchmark::State& state) {
    Shown shown;
    QTableView view(shown.window);
    RecordSetModel model;
    view.setModel(&model);
    view.show();
    model.setRecordSet(cards());
    bool ascending = true;
    for (auto _ : state) {
        model.sort(2, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
        ascending = !ascending;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_PlainModelSort)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
