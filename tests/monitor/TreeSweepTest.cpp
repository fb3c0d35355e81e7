// A sweep of many radios from an expanded transmitter tree ("*") keeps the
// GUI thread answering: it runs in slices, between which a probe timer fires
// and a termination request is served; the radios that stay keep their
// expansion and selection, the others are told gone and deleted in slices.
// The verdicts count events (slices, probe firings), never time; how long
// the thread is held is measured by bench_tree_updates.
#include "AppTestSupport.h"
#include "CTerminationSignals.h"
#include "CTransmitterBar.h"
#include "CTransmitterTree.h"
#include "TreeTestRadios.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>

namespace {

using namespace treetest;
using apptest::ProcessEventsUntil;

constexpr int kSenders = 4;

struct SweepCase {
    const char* name;
    std::int32_t treeType;
    int radios;
};

void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.name; }

class TreeSweep : public testing::TestWithParam<SweepCase> {
protected:
    // Radio k: sender k % 4, site 1 + k / 2000, application, entity and
    // radio numbers below it.
    static DisRadioId Id(int k)
    {
        return {static_cast<std::uint16_t>(1 + k / 2000), static_cast<std::uint16_t>(1 + k / 100 % 20),
                static_cast<std::uint16_t>(1 + k / 4 % 25), static_cast<std::uint16_t>(1 + k % 4)};
    }
    static std::string Sender(int k) { return "198.51.100." + std::to_string(1 + k % kSenders); }
    void Hear(CTransmitterTree& tree, int k) { tree.InsertDisRadio(DisRadio(Id(k), Sender(k))); }

    Host host;
};

TEST_P(TreeSweep, RunsInSlicesThatLetTheEventLoopServeTimersAndTermination)
{
    const SweepCase& c = GetParam();
    host.quickView = QuickViewFlags{true, true};   // frequency and transmit count below each radio
    std::unique_ptr<CTransmitterTree> tree(CTransmitterTree::Create(c.treeType, host.Make()));
    tree->resize(400, 600);
    tree->show();
    for (int k = 0; k < c.radios; ++k)
        Hear(*tree, k);
    tree->setCurrentItem(tree->disRoot());
    QTest::keyClick(tree.get(), Qt::Key_Asterisk);   // the operator expands everything
    QApplication::processEvents();

    // A sweep that finds every radio heard changes nothing; the next period
    // hears every other radio.
    tree->Sweep();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !tree->IsSweeping(); }, 120000));
    EXPECT_TRUE(host.swept.empty());
    for (int k = 0; k < c.radios; k += 2)
        Hear(*tree, k);
    CTransmitterTreeItem* kept = tree->disRoot()->childItem(0);
    while (kept->role() != CTransmitterTreeItem::Role::DisRadio)
        kept = kept->childItem(0);
    ASSERT_TRUE(kept->isExpanded());
    tree->setCurrentItem(kept);
    const QString keptText = kept->itemText();

    int probes = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] { ++probes; });
    CTerminationSignals termination;
    bool servedWhileSweeping = false;
    QObject::connect(&termination, &CTerminationSignals::terminationRequested,
                     [&] { servedWhileSweeping = tree->IsSweeping(); });

    const std::uint64_t slicesBefore = tree->sweep().sliceCount();
    host.swept.clear();
    tree->Sweep();
    ASSERT_TRUE(tree->IsSweeping()) << "too few radios for a sweep in slices";
    EXPECT_LT(host.swept.size(), static_cast<std::size_t>(c.radios / 2)) << "told as the slices weigh them";
    probe.start();
    ASSERT_EQ(raise(SIGTERM), 0);   // would end the test program without the handler
    ASSERT_TRUE(ProcessEventsUntil([&] { return !tree->IsSweeping(); }, 120000));
    probe.stop();
    const std::uint64_t slices = tree->sweep().sliceCount() - slicesBefore;

    // Between two slices the event loop served the probe, and the SIGTERM
    // came through while the sweep still ran.
    EXPECT_GE(slices, 3u);
    EXPECT_GE(probes, static_cast<int>(slices) - 1);
    EXPECT_TRUE(servedWhileSweeping);

    // The silent half went, each told once, and no group is left empty.
    EXPECT_EQ(tree->sweep().radiosDropped(), static_cast<std::uint64_t>(c.radios / 2));
    EXPECT_EQ(host.swept.size(), static_cast<std::size_t>(c.radios / 2));
    int radiosLeft = 0;
    std::function<void(const QTreeWidgetItem*)> count = [&](const QTreeWidgetItem* item) {
        const auto* treeItem = static_cast<const CTransmitterTreeItem*>(item);
        if (treeItem->role() == CTransmitterTreeItem::Role::DisRadio) {
            ++radiosLeft;
            EXPECT_TRUE(item->isExpanded()) << treeItem->itemText().toStdString();
            return;
        }
        EXPECT_GT(item->childCount(), 0) << treeItem->itemText().toStdString();
        for (int i = 0; i < item->childCount(); ++i)
            count(item->child(i));
    };
    for (int i = 0; i < tree->disRoot()->childCount(); ++i)
        count(tree->disRoot()->child(i));
    EXPECT_EQ(radiosLeft, c.radios - c.radios / 2);
    EXPECT_TRUE(tree->disRoot()->isExpanded());
    ASSERT_NE(tree->SelectedItem(), nullptr);
    EXPECT_EQ(tree->SelectedItem()->itemText(), keptText);

    // The dropped items are deleted in slices of their own.
    ASSERT_TRUE(ProcessEventsUntil([&] { return tree->disposal().isIdle(); }, 120000));
    EXPECT_GE(tree->disposal().sliceCount(), 2u);

    // A later sweep of the rest empties the DIS root; the roots stay.
    tree->Sweep();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !tree->IsSweeping(); }, 120000));
    EXPECT_EQ(tree->disRoot()->childCount(), 0);
    EXPECT_EQ(tree->SelectedItem(), nullptr) << "nothing stands in for a radio that went";
    EXPECT_EQ(host.swept.size(), static_cast<std::size_t>(c.radios));
}

INSTANTIATE_TEST_SUITE_P(Trees, TreeSweep,
                         testing::Values(SweepCase{"BySender", 0, 6000}, SweepCase{"ByEntity", 1, 6000}),
                         [](const auto& info) { return std::string(info.param.name); });

// Radios updated (and HLA radios removed) while a sweep runs reach the tree
// once it is over, and a sweep asked for meanwhile follows it: nothing is
// lost or shown twice.
TEST(TreeSweepHeld, ChangesThatComeDuringASweepWaitForIt)
{
    Host host;
    CTransmitterBar bar;
    bar.Attach(host.Make());
    auto known = [&](const DisRadioId& id) {
        host.disRadios[id.Packed()] = DisRadio(id, "198.51.100.1");
        return RadioRef::Dis(id);
    };
    for (int k = 0; k < 6000; ++k)
        bar.UpdateReceiver(
            known({1, static_cast<std::uint16_t>(1 + k / 1000), static_cast<std::uint16_t>(1 + k % 1000), 1}));
    host.hlaRadios[5] = HlaRadio(5, "Radio 5", "hostA");
    bar.UpdateReceiver(RadioRef::Hla(5));
    bar.FlushUpdates();
    CTransmitterTree* tree = bar.tree();
    tree->expandAll();
    bar.Sweep();   // all heard
    ASSERT_TRUE(ProcessEventsUntil([&] { return !tree->IsSweeping(); }, 120000));
    int finished = 0;
    QObject::connect(tree, &CTransmitterTree::sweepFinished, [&] { ++finished; });

    bar.Sweep();   // none heard: all go, in slices
    ASSERT_TRUE(tree->IsSweeping());
    bar.UpdateReceiver(known({2, 1, 1, 1}));   // a new radio
    bar.FlushUpdates();
    bar.RemoveHlaRadio(host.hlaRadios[5]);
    EXPECT_NE(tree->HlaRadioItem(5), nullptr) << "held until the sweep is over";
    bar.Sweep();   // asked for again while it runs
    ASSERT_TRUE(ProcessEventsUntil([&] { return finished == 2; }, 120000));
    EXPECT_FALSE(tree->IsSweeping());
    EXPECT_EQ(host.swept.size(), 6000u);
    EXPECT_EQ(tree->HlaRadioItem(5), nullptr);
    // The new radio was shown after the first sweep and heard in the period
    // the second one weighed.
    ASSERT_EQ(tree->disRoot()->childCount(), 1);
    ASSERT_EQ(tree->disRoot()->childItem(0)->childCount(), 1);
    EXPECT_EQ(tree->disRoot()->childItem(0)->childItem(0)->itemText(), "2/1/1/1");
}

}   // namespace
