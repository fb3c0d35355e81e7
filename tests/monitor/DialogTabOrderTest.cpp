// Tab moves through every dialog in its reading order, so an operator who
// tabs from field to field fills the field he reads next to.
#include "CPreferencesSheet.h"
#include "CStartLogDlg.h"
#include "DialogTestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QKeyEvent>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

using namespace dialogtest;

// A control as the tests name it: its object name, or a button's text.
QString NameOf(const QWidget* widget)
{
    if (!widget)
        return "(none)";
    if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_"))
        return widget->objectName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().remove('&');
    return widget->metaObject()->className();
}

// The controls Tab visits from `first` on, pressing Tab as the user would
// until the focus comes back to `first`.
std::string TabOrderFrom(QWidget& first)
{
    first.setFocus(Qt::TabFocusReason);
    QStringList visited{NameOf(&first)};
    for (int presses = 0; presses < 50; ++presses) {
        QWidget* focused = first.window()->focusWidget();
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focused, &tab);
        focused = first.window()->focusWidget();
        if (focused == &first)
            break;
        visited << NameOf(focused);
    }
    return visited.join(", ").toStdString();
}

TEST(DialogTabOrder, StartLoggingFollowsTheDialogFromFileToFilters)
{
    TempProfile profile;
    profile->Write(Profile::Logging::FilterByEntity, 1);
    profile->Write(Profile::Logging::FilterByIP, 1);
    CStartLogDlg dialog(*profile);
    dialog.show();
    EXPECT_EQ(TabOrderFrom(Child<QWidget>(dialog, "Filename")),
              "Filename, Browse, AsciiText, Binary, SignalPortion, FilterByEntity, FilterSiteID, FilterAppID, "
              "FilterEntityID, FilterRadioID, FilterByIP, FilterIPAddress, OK, Cancel");
}

TEST(DialogTabOrder, EveryPreferencePageFollowsItsRows)
{
    TempProfile profile;
    profile->Write(Profile::Properties::UseMulticast, 1);
    profile->Write(Profile::Properties::HLAEnabled, 1);
    RecordingReporter reporter;
    CPreferencesSheet sheet(*profile, reporter);
    sheet.show();
    struct Page {
        int tab;
        QStringList order;   // the page's controls; the sheet's buttons and tabs follow
    };
    const Page pages[] = {
        {0, {"DISEnabled", "NetworkPort", "UseMulticast", "MulticastAdx"}},
        {1, {"HLAEnabled", "HLAFederation", "HLAFOMVersion"}},
        // The boxes stand in two columns, read one column after the other.
        {2,
         {"ShowFreq", "ShowXmits", "ShowSigs", "ShowWorldPosn", "ShowXmitState", "ShowCrypto", "ShowModulation",
          "ShowPower", "ShowSpreadSpectrum", "ShowSystem"}},
        {3, {"Timeout", "TreeType"}},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.tab);
        sheet.tabs().setCurrentIndex(page.tab);
        QWidget& first = Child<QWidget>(*sheet.tabs().currentWidget(), page.order.front().toLatin1().constData());
        EXPECT_EQ(TabOrderFrom(first),
                  (page.order + QStringList({"OK", "Cancel", "QTabBar"})).join(", ").toStdString());
    }
}

}   // namespace
