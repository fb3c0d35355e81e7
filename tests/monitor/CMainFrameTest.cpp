#include "CMainFrame.h"

#include <QApplication>
#include <QMdiArea>
#include <gtest/gtest.h>

namespace {

TEST(CMainFrame, OpensAndClosesCleanly)
{
    CMainFrame frame;
    frame.show();
    QApplication::processEvents();
    EXPECT_TRUE(frame.isVisible());
    EXPECT_NE(frame.mdiArea(), nullptr);
    EXPECT_TRUE(frame.close());
    QApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());
}

} // namespace
