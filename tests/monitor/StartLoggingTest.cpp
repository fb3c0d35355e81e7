#include "CIpAddressEdit.h"
#include "CLoggingController.h"
#include "CStartLogDlg.h"
#include "CStopLoggingDlg.h"
#include "DialogTestSupport.h"
#include "StartLogLogic.h"
#include "engine/CPduLogger.h"
#include "engine/PduView.h"
#include "monitor/engine/TestPdus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace dialogtest;
namespace Logging = Profile::Logging;

// --- The dialog's logic ---------------------------------------------------------------------------------------

TEST(StartLogLogic, OpensWithTheProfileAndFillsFiltersOnlyWhenOn)
{
    TempProfile profile;
    profile->Write(Logging::Filename, "/tmp/x.log");
    profile->Write(Logging::FilterSiteID, 7);
    profile->Write(Logging::FilterIPAddress, "10.0.0.5");
    profile->Write(Logging::SignalPortion, "last half of");
    StartLogLogic logic(*profile);
    StartLogControls controls = logic.Init();
    EXPECT_EQ(controls.fileName, "/tmp/x.log");
    EXPECT_FALSE(controls.binary);
    EXPECT_EQ(controls.signalPortion, "last half of");
    EXPECT_TRUE(controls.portionEnabled);
    EXPECT_FALSE(controls.filterByEntity);
    EXPECT_EQ(controls.entityTexts[0], "");
    EXPECT_EQ(controls.ipAddress, "");

    controls.entityTexts[0] = "99";
    logic.SetFilterByEntity(controls, true);
    EXPECT_EQ(controls.entityTexts[0], "7");
    EXPECT_EQ(controls.entityTexts[3], "0");
    logic.SetFilterByIp(controls, true);
    EXPECT_EQ(controls.ipAddress, "10.0.0.5");
}

TEST(StartLogLogic, BinaryForcesEntireWithoutWritingThePortion)
{
    TempProfile profile;
    profile->Write(Logging::SignalPortion, "first half of");
    StartLogLogic logic(*profile);
    StartLogControls controls = logic.Init();
    logic.ChoosePortion(controls, "last quarter of");
    logic.SetBinary(controls, true);
    EXPECT_EQ(controls.signalPortion, "entire");
    EXPECT_FALSE(controls.portionEnabled);
    controls.fileName = "b.log";
    const PduLogSettings settings = logic.Ok(controls);
    EXPECT_TRUE(settings.binary);
    EXPECT_EQ(profile->Read(Logging::FileMode), 1);
    EXPECT_EQ(profile->Read(Logging::SignalPortion), "first half of");

    // Back in text mode the list shows the portion chosen there.
    logic.SetBinary(controls, false);
    EXPECT_EQ(controls.signalPortion, "last quarter of");
    EXPECT_TRUE(controls.portionEnabled);
}

TEST(StartLogLogic, OkStoresFiltersThatAreOn)
{
    TempProfile profile;
    StartLogLogic logic(*profile);
    StartLogControls controls = logic.Init();
    controls.fileName = "t.log";
    controls.filterByEntity = true;
    controls.entityTexts = {"1", "x", "70000", " 4"};   // not numbers (or too big) read as 0
    const PduLogSettings settings = logic.Ok(controls);
    EXPECT_EQ(settings.entity, (DisRadioId{1, 0, 0, 4}));
    EXPECT_EQ(settings.signalPortion, "first 5% of");
    EXPECT_EQ(profile->Read(Logging::FilterByEntity), 1);
    EXPECT_EQ(profile->Read(Logging::FilterRadioID), 4);
    EXPECT_EQ(profile->Read(Logging::FilterByIP), 0);
    EXPECT_FALSE(profile.StoredKeys().contains("Logging/FilterIPAddress"));
    EXPECT_TRUE(profile.StoredKeys().contains("Logging/SignalPortion"));
}

TEST(StartLogDialog, ControlsFollowTheChecksAndTheMode)
{
    TempProfile profile;
    profile->Write(Logging::FilterAppID, 12);
    CStartLogDlg dialog(*profile);
    EXPECT_EQ(dialog.windowTitle(), "Start Logging");
    auto& site = Child<QLineEdit>(dialog, "FilterSiteID");
    auto& app = Child<QLineEdit>(dialog, "FilterAppID");
    auto& ip = Child<CIpAddressEdit>(dialog, "FilterIPAddress");
    auto& portion = Child<QComboBox>(dialog, "SignalPortion");
    EXPECT_FALSE(site.isEnabled());
    EXPECT_FALSE(ip.isEnabled());
    EXPECT_EQ(portion.count(), 7);
    EXPECT_EQ(portion.currentText(), "first 5% of");

    Child<QCheckBox>(dialog, "FilterByEntity").click();
    EXPECT_TRUE(site.isEnabled());
    EXPECT_EQ(app.text(), "12");
    Child<QCheckBox>(dialog, "FilterByIP").click();
    EXPECT_TRUE(ip.isEnabled());

    Child<QRadioButton>(dialog, "Binary").click();
    EXPECT_EQ(portion.currentText(), "entire");
    EXPECT_FALSE(portion.isEnabled());
    Child<QRadioButton>(dialog, "AsciiText").click();
    EXPECT_EQ(portion.currentText(), "first 5% of");
    EXPECT_TRUE(portion.isEnabled());
}

// --- A session through the command ----------------------------------------------------------------------------

class LoggingCommand : public testing::Test {
protected:
    TempProfile profile;
    RecordingReporter reporter;
    CPduLogger logger;
    CLoggingController controller{logger, *profile, reporter};

    QString PathOf(const char* name) const { return profile.dir() + '/' + name; }

    static std::string ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("(cannot read)");
    }
};

struct HeldPdu {
    testpdu::Buffer buffer;
    TransmitterPduView view;
    explicit HeldPdu(const DisRadioId& radio)
        : buffer(testpdu::Bytes(testpdu::Transmitter(radio), {1, 2, 3})),
          view(*ViewTransmitterPdu(buffer.data.get(), buffer.size))
    {
    }
};

TEST_F(LoggingCommand, SessionStartedThroughTheDialogWritesTheFile)
{
    const QString path = PathOf("session.log");
    OnNextModal<CStartLogDlg>([&](CStartLogDlg& dialog) {
        Child<QLineEdit>(dialog, "Filename").setText(path);
        Child<QRadioButton>(dialog, "Binary").click();
        Child<QCheckBox>(dialog, "FilterByEntity").click();
        const char* ids[] = {"1", "3001", "17", "2"};
        for (int i = 0; const char* name : {"FilterSiteID", "FilterAppID", "FilterEntityID", "FilterRadioID"})
            Child<QLineEdit>(dialog, name).setText(ids[i++]);
        Press(dialog, QDialogButtonBox::Ok);
    });
    controller.OnLogStartLogging();
    ASSERT_TRUE(logger.IsLogging());
    ASSERT_NE(controller.stopWindow(), nullptr);
    EXPECT_TRUE(controller.stopWindow()->isVisible());
    EXPECT_EQ(controller.stopWindow()->windowTitle(), "Logging...");

    HeldPdu wanted({1, 3001, 17, 2}), other({1, 3001, 17, 3});
    logger.LogTransmitterPdu(wanted.view, "10.0.0.5");
    logger.LogTransmitterPdu(other.view, "10.0.0.5");
    logger.LogTransmitterPdu(wanted.view, "10.0.0.6");

    Child<QPushButton>(*controller.stopWindow(), "StopLogging").click();
    EXPECT_FALSE(logger.IsLogging());
    EXPECT_EQ(controller.stopWindow(), nullptr);
    const std::string record(wanted.view.recordBytes.begin(), wanted.view.recordBytes.end());
    EXPECT_EQ(ReadAll(path), record + record);
    EXPECT_TRUE(reporter.errors.isEmpty());
}

TEST_F(LoggingCommand, FileThatCannotBeOpenedShowsTheErrorAndTheDialogAgain)
{
    const QString bad = PathOf("no-such-dir/x.log");
    const QString good = PathOf("good.log");
    QString secondShows;
    OnNextModal<CStartLogDlg>([&](CStartLogDlg& dialog) {
        Child<QLineEdit>(dialog, "Filename").setText(bad);
        OnNextModal<CStartLogDlg>([&](CStartLogDlg& again) {
            secondShows = Child<QLineEdit>(again, "Filename").text();
            Child<QLineEdit>(again, "Filename").setText(good);
            Press(again, QDialogButtonBox::Ok);
        });
        Press(dialog, QDialogButtonBox::Ok);
    });
    controller.OnLogStartLogging();
    ASSERT_EQ(reporter.errors.size(), 1);
    EXPECT_TRUE(reporter.errors[0].contains(bad)) << reporter.errors[0].toStdString();
    EXPECT_EQ(secondShows, bad);   // the values just entered
    EXPECT_TRUE(logger.IsLogging());
    EXPECT_TRUE(QFile::exists(good));

    // The command again stops the capture.
    controller.OnLogStartLogging();
    EXPECT_FALSE(logger.IsLogging());
    EXPECT_EQ(controller.stopWindow(), nullptr);
}

// OK empties the log file: for a file that holds something the user is
// asked first, unless Browse asked already.
TEST(StartLogLogic, AsksBeforeEmptyingAFileThatHoldsSomething)
{
    QTemporaryDir dir;
    const QString full = dir.filePath("full.log"), empty = dir.filePath("empty.log");
    {
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("1.65 MB of radio traffic");
        QFile none(empty);
        ASSERT_TRUE(none.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(StartLogLogic::AsksBeforeOverwriting(full, ""));
    EXPECT_FALSE(StartLogLogic::AsksBeforeOverwriting(full, full)) << "Browse asked already";
    EXPECT_TRUE(StartLogLogic::AsksBeforeOverwriting(full, empty));
    EXPECT_FALSE(StartLogLogic::AsksBeforeOverwriting(empty, ""));
    EXPECT_FALSE(StartLogLogic::AsksBeforeOverwriting(dir.filePath("new.log"), ""));
    EXPECT_FALSE(StartLogLogic::AsksBeforeOverwriting("", ""));
    EXPECT_EQ(StartLogLogic::OverwriteQuestion(full), "full.log already exists.\nDo you want to replace it?");
}

TEST_F(LoggingCommand, OkOnAFileThatHoldsSomethingAsksAndNoKeepsIt)
{
    const QString path = PathOf("precious.log");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("yesterday's exercise");
    }
    profile->Write(Logging::Filename, path);   // the dialog offers the last file again

    // No: the dialog stays, with the file name, and Cancel then leaves the file alone.
    QString question, stillOffered;
    OnNextModal<CStartLogDlg>([&](CStartLogDlg& dialog) {
        OnNextModal<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            OnNextModal<CStartLogDlg>([&](CStartLogDlg& same) {
                stillOffered = Child<QLineEdit>(same, "Filename").text();
                Press(same, QDialogButtonBox::Cancel);
            });
            box.button(QMessageBox::No)->click();
        });
        Press(dialog, QDialogButtonBox::Ok);
    });
    controller.OnLogStartLogging();
    EXPECT_EQ(question, "precious.log already exists.\nDo you want to replace it?");
    EXPECT_EQ(stillOffered, path);
    EXPECT_FALSE(logger.IsLogging());
    EXPECT_EQ(ReadAll(path), "yesterday's exercise");

    // Yes: the log starts afresh in it.
    OnNextModal<CStartLogDlg>([&](CStartLogDlg& dialog) {
        OnNextModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
        Press(dialog, QDialogButtonBox::Ok);
    });
    controller.OnLogStartLogging();
    EXPECT_TRUE(logger.IsLogging());
    controller.StopLogging();
    EXPECT_EQ(ReadAll(path), "");
}

TEST_F(LoggingCommand, CancelStartsNothing)
{
    OnNextModal<CStartLogDlg>([](CStartLogDlg& dialog) { Press(dialog, QDialogButtonBox::Cancel); });
    controller.OnLogStartLogging();
    EXPECT_FALSE(logger.IsLogging());
    EXPECT_EQ(controller.stopWindow(), nullptr);
    EXPECT_EQ(profile.StoredKeys(), QStringList());
}

}   // namespace
