// The detail views on a real (offscreen) display: what they show, how they
// follow their documents across threads, and what they print.
#include "AppTestSupport.h"
#include "CDetailCanvas.h"
#include "CDetailPainter.h"
#include "CDetailView.h"
#include "CQuorlexHlaView.h"
#include "CQuorlexView.h"
#include "IRawDataView.h"
#include "engine/CQuorlexDoc.h"
#include "engine/CQuorlexHlaDoc.h"

#include "engine/TestPdus.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

namespace {

using apptest::ProcessEventsUntil;
using Bytes = std::vector<std::uint8_t>;

std::shared_ptr<CQuorlexDoc> DisDocument()
{
    auto document = std::make_shared<CQuorlexDoc>(DisRadioId{1, 3001, 17, 2});
    TransmitterPdu t = testpdu::Transmitter();
    t.modulationParameterLength = 3;
    document->SetTransmitter(t, Bytes{1, 2, 3});
    document->SetTitle("10.0.0.5 - 1/3001/17/2");
    return document;
}

std::shared_ptr<CQuorlexHlaDoc> HlaDocument()
{
    auto document = std::make_shared<CQuorlexHlaDoc>(42);
    CRadioReceive radio;
    radio.SetObjectHandle(42);
    radio.SetObjectName("radio-42");
    const Bytes spread{1};
    radio.DecodeHlaAttribute(1u << 9, spread.data(), spread.size());
    document->SetRadio(radio);
    document->SetTitle("RadioTransmitter - radio-42");
    return document;
}

SignalPdu Signal(std::uint16_t bits)
{
    SignalPdu s = testpdu::Signal();
    s.dataLength = bits;
    return s;
}

std::string Cell(const CDetailView& view, std::size_t line, std::size_t cell)
{
    return line < view.Page().lines.size() ? view.Page().lines[line].cells[cell] : std::string("<none>");
}

// True when the image has pixels of more than one colour: something was drawn.
bool HasDrawing(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

TEST(DetailView, FactoryMakesTheViewOfTheDocumentsKind)
{
    std::unique_ptr<QWidget> dis(CDetailView::Create(DisDocument()));
    std::unique_ptr<QWidget> hla(CDetailView::Create(HlaDocument()));
    ASSERT_TRUE(dynamic_cast<CQuorlexView*>(dis.get()));
    ASSERT_TRUE(dynamic_cast<CQuorlexHlaView*>(hla.get()));
    // Raw Data is a command of the DIS view only.
    EXPECT_TRUE(dynamic_cast<IRawDataView*>(dis.get()));
    EXPECT_FALSE(dynamic_cast<IRawDataView*>(hla.get()));
}

TEST(DetailView, DisViewShowsTheGridAndTogglesToTheDumpAtOnce)
{
    CQuorlexView view(DisDocument());
    view.resize(600, 400);
    view.show();
    EXPECT_FALSE(view.IsRawData());
    EXPECT_EQ(view.Page().style, PageStyle::Grid);
    EXPECT_EQ(view.Page().lines.size(), 21u);
    EXPECT_EQ(Cell(view, 20, PageCell::LeftValue), "1  2  3  ");
    const QSize gridSize = view.Canvas()->size();
    EXPECT_EQ(gridSize, CDetailPainter(view.Page(), view.Canvas()).ContentSize());
    EXPECT_TRUE(HasDrawing(view.Canvas()->grab().toImage()));

    view.ToggleRawData();
    EXPECT_TRUE(view.IsRawData());
    EXPECT_EQ(view.Page().style, PageStyle::Dump);
    EXPECT_EQ(view.Page().lines.size(), 7u);   // 104 + 3 bytes
    const CDetailPainter dump(view.Page(), view.Canvas());
    EXPECT_GE(view.Canvas()->width(), 53 * dump.CharWidth());
    EXPECT_EQ(view.Canvas()->height(), dump.ContentSize().height());
    EXPECT_TRUE(HasDrawing(view.Canvas()->grab().toImage()));

    view.ToggleRawData();
    EXPECT_EQ(view.Page().style, PageStyle::Grid);
    EXPECT_EQ(view.Canvas()->size(), gridSize);
}

// What the grid and the dump show is what the window's tooltip (and the
// help page) says they show: the grid's numbers with a fraction in single
// precision, the dump the stored record in host byte order.
TEST(DetailView, TooltipAndHelpSayHowTheGridRoundsAndWhatTheDumpShows)
{
    auto document = std::make_shared<CQuorlexDoc>(DisRadioId{1, 3001, 17, 2});
    TransmitterPdu t = testpdu::Transmitter();
    t.header.length = 104;
    t.antennaLocation[0] = 1113194.9;
    document->SetTransmitter(t, Bytes{});
    CQuorlexView view(document);
    EXPECT_EQ(Cell(view, 1, PageCell::RightValue), "1113194.88");   // Antenna X, single precision
    const QString grid = view.toolTip();
    EXPECT_TRUE(grid.contains("single-precision")) << grid.toStdString();
    EXPECT_TRUE(grid.contains("1113194.9 shows as 1113194.88")) << grid.toStdString();

    view.ToggleRawData();
    std::string firstRow;
    for (const std::string& cell : view.Page().lines[0].cells)
        firstRow += cell;
    EXPECT_NE(firstRow.find("68 00 "), std::string::npos) << firstRow;   // the length as stored
    const QString raw = view.toolTip();
    EXPECT_TRUE(raw.contains("stored record")) << raw.toStdString();
    EXPECT_TRUE(raw.contains("host byte order")) << raw.toStdString();
    EXPECT_TRUE(raw.contains("68 00 where the network carries 00 68")) << raw.toStdString();
    view.ToggleRawData();
    EXPECT_EQ(view.toolTip(), grid);
    EXPECT_EQ(CQuorlexHlaView(HlaDocument()).toolTip(), grid) << "the HLA grid rounds alike";

    std::ifstream page(QLX_SOURCE_ROOT "/monitor/help/Main.html");
    const std::string help((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    EXPECT_NE(help.find("single-precision values rounded to two decimals"), std::string::npos);
    EXPECT_NE(help.find("host byte order"), std::string::npos);
    EXPECT_EQ(help.find("received bytes"), std::string::npos) << "the dump is not of the bytes as received";
}

TEST(DetailView, GridColumnsKeepValuesClearOfTheNextLabels)
{
    CQuorlexView view(DisDocument());
    const CDetailPainter layout(view.Page(), view.Canvas());
    const QFontMetrics labels(CDetailPainter::PlainFont(PageStyle::Grid), view.Canvas());
    const QFontMetrics values(CDetailPainter::BoldFont(PageStyle::Grid), view.Canvas());
    for (const PageLine& line : view.Page().lines) {
        EXPECT_LT(layout.ColumnX(0) + labels.horizontalAdvance(QString::fromStdString(line.cells[0])),
                  layout.ColumnX(1));
        if (!line.cells[2].empty()) {
            EXPECT_LT(layout.ColumnX(1) + values.horizontalAdvance(QString::fromStdString(line.cells[1])),
                      layout.ColumnX(2));
        }
        EXPECT_LT(layout.ColumnX(2) + labels.horizontalAdvance(QString::fromStdString(line.cells[2])),
                  layout.ColumnX(3));
    }
}

TEST(DetailView, ChangesFromAWorkerThreadAreShownByTheGuiThread)
{
    auto document = DisDocument();
    CQuorlexView view(document);
    EXPECT_EQ(view.Page().lines.size(), 21u);   // no signal yet

    std::thread worker([document] {
        for (std::uint16_t bits = 8; bits <= 96; bits += 8) {
            document->SetSignal(Signal(bits), testpdu::Counting(bits / 8));
            document->NotifyViews(DocumentHint::Signal);
        }
    });
    worker.join();
    // Nothing is drawn on the worker: the view changes only when the GUI
    // thread handles the queued refresh, and then shows the latest signal.
    EXPECT_EQ(view.Page().lines.size(), 21u);
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.Page().lines.size() == 31u; }));
    EXPECT_EQ(Cell(view, 29, PageCell::RightValue), "96");
    EXPECT_EQ(Cell(view, 30, PageCell::LeftValue), "00 01 02 03 04 05 06 07 08 09 0A 0B ");
}

TEST(DetailView, AViewClosedWhileAWorkerNotifiesIsLeftAlone)
{
    auto document = DisDocument();
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        TransmitterPdu t = testpdu::Transmitter();
        for (std::uint32_t i = 0; !stop; ++i) {
            t.header.timestamp = i;
            document->SetTransmitter(t, {});
            document->NotifyViews(DocumentHint::Transmitter);
            std::this_thread::yield();
        }
    });
    for (int round = 0; round < 20; ++round) {
        auto view = std::make_unique<CQuorlexView>(document);
        QCoreApplication::processEvents();
        view.reset();   // refreshes still queued for it are dropped
        QCoreApplication::processEvents();
    }
    stop = true;
    worker.join();
    QCoreApplication::processEvents();
}

TEST(DetailView, HlaViewShowsTheRadioAndTheSignalOnceOneArrived)
{
    auto document = HlaDocument();
    CQuorlexHlaView view(document);
    EXPECT_EQ(view.Page().lines.size(), 18u);
    EXPECT_EQ(Cell(view, 0, PageCell::RightValue), "radio-42");
    EXPECT_EQ(Cell(view, 13, PageCell::LeftValue), "1");   // Freq Hopping

    document->SetSignal(Signal(40 * 8), testpdu::Counting(40));
    document->NotifyViews(DocumentHint::Signal);
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.Page().lines.size() == 23u; }));
    EXPECT_EQ(Cell(view, 22, PageCell::LeftValue), "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F ");
    view.resize(500, 500);
    view.show();
    EXPECT_TRUE(HasDrawing(view.Canvas()->grab().toImage()));
}

class DetailPrint : public testing::Test {
protected:
    // Prints through the view into a PDF file and gives its bytes.
    QByteArray PrintToPdf(const CDetailView& view, const char* name)
    {
        const QString path = m_dir.filePath(name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        EXPECT_TRUE(view.PrintTo(printer));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    static int Pages(const QByteArray& pdf) { return static_cast<int>(pdf.count("/Type /Page\n")); }

    QTemporaryDir m_dir;
};

TEST_F(DetailPrint, BothViewsPrintToPdf)
{
    ASSERT_TRUE(m_dir.isValid());
    CQuorlexView dis(DisDocument());
    const QByteArray grid = PrintToPdf(dis, "dis-grid.pdf");
    EXPECT_TRUE(grid.startsWith("%PDF"));
    EXPECT_EQ(Pages(grid), 1);

    dis.ToggleRawData();
    const QByteArray dump = PrintToPdf(dis, "dis-dump.pdf");
    EXPECT_TRUE(dump.startsWith("%PDF"));
    EXPECT_EQ(Pages(dump), 1);

    CQuorlexHlaView hla(HlaDocument());
    const QByteArray hlaPdf = PrintToPdf(hla, "hla.pdf");
    EXPECT_TRUE(hlaPdf.startsWith("%PDF"));
    EXPECT_EQ(Pages(hlaPdf), 1);
}

TEST_F(DetailPrint, LongDumpsRunOnToFurtherSheets)
{
    ASSERT_TRUE(m_dir.isValid());
    auto document = DisDocument();
    document->SetSignal(Signal(8000 * 8), testpdu::Counting(8000));   // 502 dump lines
    CQuorlexView view(document);
    view.ToggleRawData();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.Page().lines.size() == 7u + 1 + 502; }));
    EXPECT_GT(Pages(PrintToPdf(view, "long.pdf")), 5);
}

TEST_F(DetailPrint, APrinterThatCannotStartReportsIt)
{
    CQuorlexView view(DisDocument());
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/nonexistent-directory/out.pdf");
    EXPECT_FALSE(view.PrintTo(printer));
}

// Printing to a file, the print dialog suggests the window's whole title,
// not the part before its last dot ("10.0.0.pdf").
TEST(DetailView, ThePrintDialogSuggestsTheWholeTitleAsTheFileName)
{
    EXPECT_EQ(CDetailView::PrintFileName("10.0.0.5 - 1/3001/17/2"), "10.0.0.5 - 1_3001_17_2.pdf");
    EXPECT_EQ(CDetailView::PrintFileName("host.example - qlxMon.host"), "host.example - qlxMon.host.pdf");
    EXPECT_EQ(CDetailView::PrintFileName(""), "print.pdf");

    CQuorlexView view(DisDocument());
    QString suggested;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto* fileName = dialog->findChild<QLineEdit*>("filename"))
            suggested = fileName->text();
        dialog->reject();
    });
    view.OnFilePrint();
    EXPECT_TRUE(suggested.endsWith("/10.0.0.5 - 1_3001_17_2.pdf")) << suggested.toStdString();
}

// Print Direct prints on the system's default printer; without one the
// user is told so (Qt would only have complained on standard error).
TEST(DetailView, PrintDirectWithoutAPrinterSaysSo)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this system has a printer";
    CQuorlexView view(DisDocument());
    apptest::QtMessages log;
    QString told;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    view.OnFilePrintDirect();
    EXPECT_EQ(told, CDetailView::kNoPrinter);
    EXPECT_EQ(told, "No printer is available.");
    EXPECT_EQ(log.Taken(), QStringList());
}

TEST(DetailView, OffersThePrintCommandsAndLeavesCtrlPToTheMainWindow)
{
    CQuorlexView view(DisDocument());
    QList<int> commands;
    for (QAction* action : view.actions()) {
        commands << action->data().toInt();
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    }
    EXPECT_EQ(commands, QList<int>({57607, 57608, 57609}));
}

TEST(DetailView, PrintPreviewShowsThePrintedSheets)
{
    CQuorlexView view(DisDocument());
    int previewPages = -1;
    // The preview is modal: look at it once it is up, then dismiss it.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
            previewPages = preview->pageCount();
        dialog->reject();
    });
    view.OnFilePrintPreview();
    EXPECT_EQ(previewPages, 1);
}

}   // namespace
