// Filling the tree widget: Rebuild and Refresh against plain items built in the same run.
#include "dump_builder.h"
#include "dump_image.h"

#include "dump_tree.h"

#include "ratio_reporter.h"
#include "tree_adapter.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTreeWidget>

namespace {

korvel::qt::TreeIcons& Icons() {
    static korvel::qt::TreeIcons icons = korvel::qt::LoadTreeIcons();
    return icons;
}

const korvel::DumpImage& FullImage() {
    static korvel::DumpImage image;
    static const bool loaded = image.Load(korvel::testing::FullDump(1)).ok();
    (void)loaded;
    return image;
}

// The same 504 items a 12-bank tree has, with their texts and nothing else.
void BM_PlainItems(benchmark::State& state) {
    QTreeWidget tree;
    for (auto _ : state) {
        tree.setUpdatesEnabled(false);
        tree.clear();
        QList<QTreeWidgetItem*> banks;
        for (int b = 0; b < 12; ++b) {
            auto* bank = new QTreeWidgetItem(QStringList(QStringLiteral("Bank %1").arg(b + 1)));
            QList<QTreeWidgetItem*> children{
                new QTreeWidgetItem(QStringList(QStringLiteral("Playlist")))};
            for (int t = 0; t < 8; ++t) {
                auto* track =
                    new QTreeWidgetItem(QStringList(QStringLiteral("Track %1").arg(t + 1)));
                QList<QTreeWidgetItem*> patterns;
                for (int p = 0; p < 4; ++p) {
                    patterns.append(
                        new QTreeWidgetItem(QStringList(QStringLiteral("Pattern %1").arg(p + 1))));
                }
                track->addChildren(patterns);
                children.append(track);
            }
            bank->addChildren(children);
            banks.append(bank);
        }
        tree.addTopLevelItems(banks);
        tree.setUpdatesEnabled(true);
    }
}

void BM_Rebuild(benchmark::State& state) {
    QTreeWidget tree;
    korvel::qt::TreeAdapter adapter(&tree, Icons(), 0, nullptr);
    for (auto _ : state) {
        adapter.Rebuild(korvel::ui::Rebuild(FullImage()));
    }
}

// One pattern copied in (or deleted again) between refreshes, as after one transfer.
void BM_RefreshAfterOnePatternCopy(benchmark::State& state) {
    QTreeWidget tree;
    korvel::qt::TreeAdapter adapter(&tree, Icons(), 0, nullptr);
    korvel::DumpImage image;
    korvel::ui::Forest forest = korvel::ui::Rebuild(image);
    adapter.Rebuild(forest);
    bool copy = true;
    for (auto _ : state) {
        if (copy) {
            (void)image.CopyPattern(FullImage(), 4, 1, 2, 7, 3, 1);
        } else {
            (void)image.DeletePattern(7, 3, 1);
        }
        copy = !copy;
        adapter.Apply(forest, korvel::ui::Refresh(image, forest));
    }
}

BENCHMARK(BM_PlainItems);
BENCHMARK(BM_Rebuild);
BENCHMARK(BM_RefreshAfterOnePatternCopy);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return korvel::bench::RunWithRatios(argc, argv,
                                        {{"BM_Rebuild", "BM_PlainItems", 1.2},
                                         {"BM_RefreshAfterOnePatternCopy", "BM_Rebuild", 0.15}});
}
