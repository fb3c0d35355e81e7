#include "CTransmitterTree.h"
#include "CTransmitterTreeDis.h"
#include "CTransmitterTreeIP.h"
#include "QuorlexCommands.h"
#include "TreeTestRadios.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace treetest;
using Role = CTransmitterTreeItem::Role;

class TransmitterTreeTest : public testing::Test {
protected:
    // Only the frequency line unless a test asks for more.
    TransmitterTreeTest() { host.quickView = QuickViewFlags{true, false}; }

    std::unique_ptr<CTransmitterTree> Make(std::int32_t type)
    {
        host.treeType = type;
        return std::unique_ptr<CTransmitterTree>(CTransmitterTree::Create(type, host.Make()));
    }

    Host host;
};

// --- Grouping -------------------------------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, IpTreeGroupsBySenderInNumericOrder)
{
    auto tree = Make(0);
    tree->InsertDisRadio(DisRadio({1, 2, 3, 10}, "198.51.100.10"));
    tree->InsertDisRadio(DisRadio({1, 2, 3, 9}, "198.51.100.10"));
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.9"));
    tree->InsertDisRadio(DisRadio({1, 2, 3, 9}, "198.51.100.10"));   // an update adds nothing
    // The same radio heard from a second sender is listed there too.
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.10"));
    EXPECT_EQ(Dump(*tree, true).toStdString(), "Quorlex [root]\n"
                                               "  DIS Port 3000 [port]\n"
                                               "    198.51.100.9 [group]\n"
                                               "      1/2/3/4 [radio]\n"
                                               "        freq:   4.295 GHz\n"
                                               "    198.51.100.10 [group]\n"
                                               "      1/2/3/4 [radio]\n"
                                               "        freq:   4.295 GHz\n"
                                               "      1/2/3/9 [radio]\n"
                                               "        freq:   4.295 GHz\n"
                                               "      1/2/3/10 [radio]\n"
                                               "        freq:   4.295 GHz\n"
                                               "  HLA Fed: DefaultFed [port]");
    EXPECT_TRUE(tree->disRoot()->isExpanded());
}

TEST_F(TransmitterTreeTest, DisTreeGroupsBySiteApplicationAndEntity)
{
    auto tree = Make(1);
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1"));
    const QString first = Dump(*tree);
    EXPECT_EQ(first.toStdString(), "Quorlex [root]\n"
                                   "  DIS Port 3000 [port]\n"
                                   "    Site 1 [group]\n"
                                   "      App 2 [group]\n"
                                   "        Entity 3 [group]\n"
                                   "          1/2/3/4 [radio]\n"
                                   "  HLA Fed: DefaultFed [port]");
    // Radio 5 of the same entity adds only its own item, after radio 4.
    tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1"));
    EXPECT_EQ(Dump(*tree).toStdString(),
              first.toStdString().insert(first.indexOf("\n  HLA"), "\n          1/2/3/5 [radio]"));

    // Numeric order at every level, whatever the arrival order.
    tree->InsertDisRadio(DisRadio({10, 2, 3, 4}, "198.51.100.1"));
    tree->InsertDisRadio(DisRadio({9, 20, 3, 4}, "198.51.100.1"));
    tree->InsertDisRadio(DisRadio({9, 3, 30, 4}, "198.51.100.1"));
    tree->InsertDisRadio(DisRadio({9, 3, 4, 4}, "198.51.100.1"));
    QStringList sites, apps, entities;
    for (int i = 0; i < tree->disRoot()->childCount(); ++i)
        sites << tree->disRoot()->childItem(i)->itemText();
    const CTransmitterTreeItem* site9 = tree->disRoot()->childItem(1);
    for (int i = 0; i < site9->childCount(); ++i)
        apps << site9->childItem(i)->itemText();
    const CTransmitterTreeItem* app3 = site9->childItem(0);
    for (int i = 0; i < app3->childCount(); ++i)
        entities << app3->childItem(i)->itemText();
    EXPECT_EQ(sites, QStringList({"Site 1", "Site 9", "Site 10"}));
    EXPECT_EQ(apps, QStringList({"App 3", "App 20"}));
    EXPECT_EQ(entities, QStringList({"Entity 4", "Entity 30"}));
}

struct OrderCase {
    std::int32_t treeType;
    const char* a;
    const char* b;
    int order;
};

class TransmitterTreeOrder : public TransmitterTreeTest, public testing::WithParamInterface<OrderCase> {};

TEST_P(TransmitterTreeOrder, ComparesSiblingTextsNumerically)
{
    auto tree = Make(GetParam().treeType);
    const CTransmitterTreeItem a(Role::DisGroup, GetParam().a, TreeImage::Group);
    const CTransmitterTreeItem b(Role::DisGroup, GetParam().b, TreeImage::Group);
    EXPECT_EQ(tree->CompareItems(a, b), GetParam().order);
    EXPECT_EQ(tree->CompareItems(b, a), -GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Table, TransmitterTreeOrder,
                         testing::Values(OrderCase{0, "10.0.0.9", "10.0.0.10", -1},
                                         OrderCase{0, "9.255.255.255", "10.0.0.0", -1},
                                         OrderCase{0, "1/2/3/4", "1/2/3/5", -1},
                                         OrderCase{0, "1/2/30/1", "1/10/3/4", -1},
                                         OrderCase{0, "1/2/3/4", "1/2/3/4", 0},
                                         OrderCase{0, "hostA", "hostB", 0},   // left to natural text order
                                         OrderCase{1, "1/2/3/4", "1/2/3/5", -1},
                                         OrderCase{1, "Entity 9", "Entity 10", -1}, OrderCase{1, "App 2", "App 11", -1},
                                         OrderCase{1, "Site 100", "Site 20", 1}, OrderCase{1, "Site 1", "App 2", 0}));

// --- Pictures -------------------------------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, ActiveRadioLightsEveryGroupAboveItUntilItStops)
{
    auto tree = Make(1);
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1", kOff));
    tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1", kOn));
    tree->InsertDisRadio(DisRadio({1, 2, 7, 1}, "198.51.100.1", kOff));
    EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n"
                                         "  DIS Port 3000 [port]\n"
                                         "    Site 1 [active group]\n"
                                         "      App 2 [active group]\n"
                                         "        Entity 3 [active group]\n"
                                         "          1/2/3/4 [radio]\n"
                                         "          1/2/3/5 [active radio]\n"
                                         "        Entity 7 [group]\n"
                                         "          1/2/7/1 [radio]\n"
                                         "  HLA Fed: DefaultFed [port]");
    tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1", kOff));
    EXPECT_EQ(Dump(*tree).count("active"), 0);
}

TEST_F(TransmitterTreeTest, IpTreeShowsLocalSendersWithTheirOwnPicture)
{
    auto tree = Make(0);
    // Loopback is this host; the documentation range is nobody's.
    ASSERT_TRUE(tree->IsLocalAddress("127.0.0.1"));
    ASSERT_FALSE(tree->IsLocalAddress("198.51.100.1") || tree->IsLocalAddress("198.51.100.2"))
        << "this host uses 198.51.100.0/24";
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "127.0.0.1", kOn));
    tree->InsertDisRadio(DisRadio({1, 1, 1, 2}, "198.51.100.1", kOn));
    tree->InsertDisRadio(DisRadio({1, 1, 1, 3}, "198.51.100.2", kOff));
    EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n"
                                         "  DIS Port 3000 [port]\n"
                                         "    127.0.0.1 [local active sender]\n"
                                         "      1/1/1/1 [active radio]\n"
                                         "    198.51.100.1 [active group]\n"
                                         "      1/1/1/2 [active radio]\n"
                                         "    198.51.100.2 [group]\n"
                                         "      1/1/1/3 [radio]\n"
                                         "  HLA Fed: DefaultFed [port]");
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "127.0.0.1", kOff));
    EXPECT_EQ(tree->disRoot()->childItem(0)->image(), TreeImage::LocalSender);
}

// --- Quick-view lines -----------------------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, QuickViewLinesFollowTheFlagsAtTheNextUpdate)
{
    auto tree = Make(0);
    host.quickView = QuickViewFlags{};   // frequency and transmit count
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1", kOn, 2));
    const CTransmitterTreeItem* radio = tree->disRoot()->childItem(0)->childItem(0);
    auto lines = [&] {
        QStringList texts;
        for (int i = 0; i < radio->childCount(); ++i)
            texts << radio->childItem(i)->itemText();
        return texts;
    };
    EXPECT_EQ(lines(), QStringList({"freq:   4.295 GHz", "xmits: 2"}));

    // Power goes on: its line takes its place in the table's order.
    host.quickView.showPower = true;
    host.quickView.showSigs = true;
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1", kOn, 3));
    EXPECT_EQ(lines(), QStringList({"freq:   4.295 GHz", "xmits: 3", "sigs: 0", "power: 40.5"}));

    host.quickView.showPower = false;
    host.quickView.showFreq = false;
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1", kOn, 4));
    EXPECT_EQ(lines(), QStringList({"xmits: 4", "sigs: 0"}));

    // Every line on, in the table's order.
    host.quickView = QuickViewFlags{true, true, true, true, true, true, true, true, true, true};
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1", kOn, 5));
    ASSERT_EQ(radio->childCount(), QuickViewLines::kCount);
    for (int i = 0; i < QuickViewLines::kCount; ++i)
        EXPECT_TRUE(
            radio->childItem(i)->itemText().startsWith(QuickViewLines::kLines[static_cast<std::size_t>(i)].key));
}

// --- HLA radios -----------------------------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, HlaRadiosAreGroupedByHostAndMoveWhenTheirHostArrives)
{
    for (std::int32_t type : {0, 1}) {
        SCOPED_TRACE(type);
        host.quickView = QuickViewFlags{};   // frequency and xmits; HLA radios have no xmits line
        auto tree = Make(type);
        tree->UpdateHlaRadio(HlaRadio(7, CRadioReceive::kInvalidName));   // not named yet: not shown
        tree->UpdateHlaRadio(HlaRadio(5, "Radio 10"));
        tree->UpdateHlaRadio(HlaRadio(6, "Radio 9", "", kOn));
        EXPECT_EQ(Dump(*tree, true).toStdString(), "Quorlex [root]\n"
                                                   "  DIS Port 3000 [port]\n"
                                                   "  HLA Fed: DefaultFed [port]\n"
                                                   "    RadioTransmitter [group]\n"
                                                   "      Radio 9 [active radio]\n"
                                                   "        freq: 251.000 MHz\n"
                                                   "      Radio 10 [radio]\n"
                                                   "        freq: 251.000 MHz");
        EXPECT_EQ(tree->HlaRadioItem(6)->itemData(), 6);

        // Radio 9's federate host arrives: it moves, selection and all, and
        // leaves no copy behind.
        tree->setCurrentItem(tree->HlaRadioItem(6));
        tree->UpdateHlaRadio(HlaRadio(6, "Radio 9", "hostB", kOn));
        tree->UpdateHlaRadio(HlaRadio(5, "Radio 10", "hostA"));
        EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n"
                                             "  DIS Port 3000 [port]\n"
                                             "  HLA Fed: DefaultFed [port]\n"
                                             "    hostA [group]\n"
                                             "      Radio 10 [radio]\n"
                                             "    hostB [group]\n"
                                             "      Radio 9 [active radio]");
        EXPECT_EQ(tree->SelectedItem(), tree->HlaRadioItem(6));
        EXPECT_TRUE(tree->IsSelectionUnderHla());

        // Its name may change; it stays where it is.
        tree->UpdateHlaRadio(HlaRadio(5, "Radio 10b", "hostA"));
        EXPECT_EQ(tree->HlaRadioItem(5)->itemText(), "Radio 10b");

        tree->RemoveHlaRadio(HlaRadio(6, "Radio 9", "hostB"));
        tree->RemoveHlaRadio(HlaRadio(99, "unknown", "hostA"));   // not in the tree: nothing happens
        EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n"
                                             "  DIS Port 3000 [port]\n"
                                             "  HLA Fed: DefaultFed [port]\n"
                                             "    hostA [group]\n"
                                             "      Radio 10b [radio]");
        EXPECT_EQ(tree->HlaRadioItem(6), nullptr);
        // HLA radios are never swept.
        tree->Sweep();
        tree->Sweep();
        EXPECT_NE(tree->HlaRadioItem(5), nullptr);
    }
}

// --- Sweep ----------------------------------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, SweepDropsSilentRadiosTheirWindowsAndEmptyGroups)
{
    for (std::int32_t type : {0, 1}) {
        SCOPED_TRACE(type);
        host.swept.clear();
        auto tree = Make(type);
        tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1"));
        tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1"));
        tree->InsertDisRadio(DisRadio({7, 8, 9, 1}, "198.51.100.2"));
        tree->Sweep();   // everything was heard in this period
        EXPECT_EQ(tree->seenCount(), 0);
        EXPECT_TRUE(host.swept.empty());

        // Only 1/2/3/5 speaks in the next period.
        tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1"));
        tree->Sweep();
        EXPECT_EQ(host.swept, (std::vector<std::string>{"7/8/9/1", "1/2/3/4"}));
        const std::string expected = type == 0 ? "Quorlex [root]\n"
                                                 "  DIS Port 3000 [port]\n"
                                                 "    198.51.100.1 [group]\n"
                                                 "      1/2/3/5 [radio]\n"
                                                 "  HLA Fed: DefaultFed [port]"
                                               : "Quorlex [root]\n"
                                                 "  DIS Port 3000 [port]\n"
                                                 "    Site 1 [group]\n"
                                                 "      App 2 [group]\n"
                                                 "        Entity 3 [group]\n"
                                                 "          1/2/3/5 [radio]\n"
                                                 "  HLA Fed: DefaultFed [port]";
        EXPECT_EQ(Dump(*tree).toStdString(), expected);

        tree->Sweep();
        EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n  DIS Port 3000 [port]\n  HLA Fed: DefaultFed [port]");
    }
}

TEST_F(TransmitterTreeTest, SeenListHoldsEachRadioOnceBetweenSweeps)
{
    auto tree = Make(0);
    for (int i = 0; i < 1000; ++i)
        tree->InsertDisRadio(DisRadio({1, 1, 1, static_cast<std::uint16_t>(i % 3)}, "198.51.100.1"));
    EXPECT_EQ(tree->seenCount(), 3);
}

TEST_F(TransmitterTreeTest, SweepKeepsTheWindowOfARadioThatChangedSender)
{
    auto tree = Make(0);
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1"));
    tree->Sweep();
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.2"));
    tree->Sweep();
    // The old sender's entry goes; the radio still speaks from the new one.
    EXPECT_TRUE(host.swept.empty());
    EXPECT_EQ(tree->disRoot()->childCount(), 1);
    EXPECT_EQ(tree->disRoot()->childItem(0)->itemText(), "198.51.100.2");
}

TEST_F(TransmitterTreeTest, SweepKeepsTheSelectionOfASurvivorAndActiveCountsRight)
{
    auto tree = Make(1);
    tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1", kOn));
    tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1", kOff));
    tree->Sweep();
    tree->InsertDisRadio(DisRadio({1, 2, 3, 5}, "198.51.100.1", kOff));
    tree->Sweep();   // the transmitting radio goes: the groups above stop showing activity
    EXPECT_EQ(Dump(*tree).count("active"), 0);
}

// --- Roots, reset and context menu ----------------------------------------------------------------------------

TEST_F(TransmitterTreeTest, RootsFollowTheMonitoringStateInForce)
{
    host.monitoring = {true, 3001, false, "Fed"};
    auto tree = Make(0);
    EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n  DIS Port 3001 [port]");
    EXPECT_TRUE(tree->rootItem()->isExpanded());
    tree->UpdateHlaRadio(HlaRadio(5, "Radio 1", "hostA"));   // HLA is off: nowhere to go
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1"));

    // The port changed in the preferences; DIS stays on as it was started.
    host.monitoring = {true, 4000, true, "Fed"};
    tree->ResetTree();
    EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n  DIS Port 4000 [port]\n  HLA Fed: Fed [port]");

    host.monitoring = {false, 4000, true, "Fed"};
    tree->ResetTree();
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1"));
    tree->Sweep();
    EXPECT_EQ(Dump(*tree).toStdString(), "Quorlex [root]\n  HLA Fed: Fed [port]");
}

TEST_F(TransmitterTreeTest, ContextMenuByDepthAndRoot)
{
    using namespace QuorlexCommand;
    using Commands = QList<CTransmitterTree::ContextCommand>;
    const Commands details{{"View Details", ViewDetails}};
    const Commands all{{"View All", ViewAllDetails}};
    for (std::int32_t type : {0, 1}) {
        SCOPED_TRACE(type);
        auto tree = Make(type);
        tree->InsertDisRadio(DisRadio({1, 2, 3, 4}, "198.51.100.1"));
        tree->UpdateHlaRadio(HlaRadio(5, "Radio 1", "hostA"));

        // Down the DIS side to the radio's quick-view line.
        const int radioDepth = type == 0 ? 3 : 5;
        QTreeWidgetItem* item = tree->disRoot();
        EXPECT_EQ(tree->ContextCommands(item), Commands({{"Edit", EditPreferences}}));
        for (int depth = 2; depth <= radioDepth + 1; ++depth) {
            item = item->child(0);
            const Commands expected = depth == radioDepth ? details : depth == radioDepth - 1 ? all : Commands{};
            EXPECT_EQ(tree->ContextCommands(item), expected) << depth;
        }
        EXPECT_TRUE(tree->ContextCommands(tree->rootItem()).isEmpty());

        // The HLA side: its radios stand at depth 3 in both trees.
        EXPECT_EQ(tree->ContextCommands(tree->hlaRoot()),
                  Commands({{"Edit", EditPreferences}, {"Refresh Objects", ViewRefresh}}));
        EXPECT_EQ(tree->ContextCommands(tree->hlaRoot()->child(0)), all);
        EXPECT_EQ(tree->ContextCommands(tree->HlaRadioItem(5)), details);
    }
}

TEST_F(TransmitterTreeTest, SelectionUnderHlaClimbsToTheRootsChild)
{
    auto tree = Make(0);
    tree->UpdateHlaRadio(HlaRadio(5, "Radio 1", "hostA"));
    tree->InsertDisRadio(DisRadio({1, 1, 1, 1}, "198.51.100.1"));
    tree->setCurrentItem(tree->HlaRadioItem(5)->child(0));
    EXPECT_TRUE(tree->IsSelectionUnderHla());
    tree->setCurrentItem(tree->disRoot()->child(0)->child(0));
    EXPECT_FALSE(tree->IsSelectionUnderHla());
    tree->setCurrentItem(tree->rootItem());
    EXPECT_FALSE(tree->IsSelectionUnderHla());
    EXPECT_EQ(CTransmitterTree::Depth(tree->rootItem()), 0);
}

}   // namespace
