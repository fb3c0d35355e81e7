#include "CMainFrameLink.h"
#include "CMainFrame.h"
#include "FakeTransmitterBar.h"
#include "engine/CProfile.h"
#include "engine/CQuorlexHlaDoc.h"

#include <QApplication>
#include <QMdiArea>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

class MainFrameLinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_profile = std::make_unique<CProfile>(m_dir.filePath("profile.ini"));
        frame = std::make_unique<CMainFrame>(*m_profile);
        frame->SetTransmitterBar(new QWidget, &bar);
        link = std::make_shared<CMainFrameLink>(*frame);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CProfile> m_profile;
    std::unique_ptr<CMainFrame> frame;
    FakeTransmitterBar bar;
    std::shared_ptr<CMainFrameLink> link;
};

TEST_F(MainFrameLinkTest, UpdatesFromAWorkerArriveOncePerRadioInOrder)
{
    const RadioRef a = RadioRef::Dis({1, 2, 3, 4});
    const RadioRef b = RadioRef::Hla(1);   // an HLA handle that equals no DIS key
    const RadioRef c = RadioRef::Dis({1, 2, 3, 5});
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            link->PostReceiverUpdate(a);
            link->PostReceiverUpdate(b);
            link->PostReceiverUpdate(a);
        }
    });
    worker.join();
    EXPECT_TRUE(bar.updates.isEmpty());   // only on the GUI thread's event loop
    QApplication::processEvents();
    EXPECT_EQ(bar.updates, QList<RadioRef>({a, b}));

    // A radio that changes again after delivery is delivered again.
    link->PostReceiverUpdate(c);
    link->PostReceiverUpdate(a);
    QApplication::processEvents();
    EXPECT_EQ(bar.updates, QList<RadioRef>({a, b, c, a}));
}

TEST_F(MainFrameLinkTest, NothingReachesTheFrameAfterDisconnect)
{
    link->PostReceiverUpdate(RadioRef::Dis({1, 1, 1, 1}));   // queued before
    link->Disconnect();
    link->PostReceiverUpdate(RadioRef::Dis({1, 1, 1, 2}));
    auto document = std::make_shared<CQuorlexHlaDoc>(7);
    link->OpenDocumentWindow(document);
    QApplication::processEvents();
    EXPECT_TRUE(bar.updates.isEmpty());
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainFrameLinkTest, DocumentWindowsFollowTheirDocuments)
{
    auto document = std::make_shared<CQuorlexHlaDoc>(7);
    document->SetTitle("host - radio 7");
    link->OpenDocumentWindow(document);
    CChildFrame* child = frame->FindChild(*document);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->kind(), RadioKind::Hla);
    EXPECT_EQ(child->windowTitle(), "host - radio 7");

    // A new title reaches the window through the event loop, whichever
    // thread set it.
    std::thread([&] {
        document->SetTitle("host - radio 7b");
        document->NotifyViews(DocumentHint::Title);
    }).join();
    QApplication::processEvents();
    EXPECT_EQ(child->windowTitle(), "host - radio 7b");

    std::shared_ptr<CDetailDoc> closed;
    QObject::connect(frame.get(), &CMainFrame::detailWindowClosed,
                     [&](const std::shared_ptr<CDetailDoc>& doc) { closed = doc; });
    link->CloseDocumentWindow(document);
    for (int i = 0; i < 3 && !frame->mdiArea()->subWindowList().isEmpty(); ++i) {
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(closed, document);
    // The window's title follower is gone from the document with the window.
    EXPECT_NO_THROW(document->NotifyViews(DocumentHint::Title));
}

}   // namespace
