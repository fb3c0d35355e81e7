#include "CDetailView.h"

#include "CDetailCanvas.h"
#include "CDetailPainter.h"
#include "CGuiPost.h"
#include "CQuorlexHlaView.h"
#include "CQuorlexView.h"
#include "DetailPrint.h"
#include "QuorlexCommands.h"
#include "engine/CQuorlexDoc.h"
#include "engine/CQuorlexHlaDoc.h"
#include "engine/IDocumentView.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>

#include <atomic>

// Registered with the document in the view's place: documents may keep it
// alive a moment longer on a worker thread, so it holds nothing of the view
// but a disarmable post. Changes coming faster than the GUI refreshes are
// folded into one refresh.
class CDetailView::Link final : public IDocumentView {
public:
    explicit Link(CDetailView* view) : m_view(view), m_post(view) {}

    void OnDocumentChanged(DocumentHint hint) override
    {
        if (hint == DocumentHint::Title)   // the frame follows the title
            return;
        if (!m_pending.exchange(true))
            m_post.Post([view = m_view] { view->Refresh(); });
    }
    // GUI thread, before the snapshot: a change after this posts again.
    void Taken() { m_pending = false; }
    void Disarm() { m_post.Disarm(); }

private:
    CDetailView* m_view;
    CGuiPost m_post;
    std::atomic<bool> m_pending{false};
};

QWidget* CDetailView::Create(const std::shared_ptr<CDetailDoc>& document)
{
    if (auto dis = std::dynamic_pointer_cast<CQuorlexDoc>(document))
        return new CQuorlexView(std::move(dis));
    if (auto hla = std::dynamic_pointer_cast<CQuorlexHlaDoc>(document))
        return new CQuorlexHlaView(std::move(hla));
    return nullptr;
}

CDetailView::CDetailView(std::shared_ptr<CDetailDoc> document, QWidget* parent)
    : QScrollArea(parent), m_document(std::move(document)), m_link(std::make_shared<Link>(this)),
      m_canvas(new CDetailCanvas)
{
    setObjectName("DetailView");
    setBackgroundRole(QPalette::Base);
    setWidgetResizable(false);
    setWidget(m_canvas);
    setToolTip(kGridTip);

    // Ctrl+P is the main window's: it prints the active window from anywhere.
    using namespace QuorlexCommand;
    m_print = AddCommand(FilePrint, "&Print...", &CDetailView::OnFilePrint);
    m_printDirect = AddCommand(FilePrintDirect, "Print &Direct", &CDetailView::OnFilePrintDirect);
    m_printPreview = AddCommand(FilePrintPreview, "Print Pre&view...", &CDetailView::OnFilePrintPreview);

    // Refreshes are queued, so the subclass is complete before the first.
    m_document->AddView(m_link);
}

CDetailView::~CDetailView()
{
    m_link->Disarm();
    m_document->RemoveView(m_link.get());
}

QAction* CDetailView::AddCommand(int commandId, const QString& text, void (CDetailView::*handler)())
{
    auto* action = new QAction(text, this);
    action->setData(commandId);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    return action;
}

const DetailPage& CDetailView::Page() const { return m_canvas->Page(); }

void CDetailView::Refresh()
{
    m_link->Taken();
    Pages pages = BuildPages();
    m_wholeSize = CDetailPainter(pages.whole, m_canvas).ContentSize();
    m_canvas->SetPage(std::move(pages.shown));
    horizontalScrollBar()->setSingleStep(m_canvas->CharWidth());
    verticalScrollBar()->setSingleStep(m_canvas->LineHeight());
    updateGeometry();
}

QSize CDetailView::sizeHint() const
{
    // A scroll area's own hint stops at a few dozen lines of text, less than
    // a detail page may need.
    const int frame = 2 * frameWidth();
    return m_wholeSize.expandedTo(m_canvas->size()) + QSize(frame, frame);
}

QString CDetailView::PrintTitle() const { return QString::fromStdString(m_document->GetTitle()); }

bool CDetailView::PrintTo(QPrinter& printer) const { return PrintDetailPage(Page(), PrintTitle(), printer); }

QString CDetailView::PrintFileName(const QString& title)
{
    QString name = title.isEmpty() ? QString("print") : title;
    name.replace('/', '_');
    return name + ".pdf";
}

void CDetailView::SuggestFileName(QWidget& printDialog) const
{
    // The dialog's own suggestion cuts the title at its last dot ("10.0.0.pdf"
    // for "10.0.0.5 - 1/3001/17/2"), or names no file at all; its directory stays.
    auto* fileName = printDialog.findChild<QLineEdit*>("filename");
    if (!fileName)
        return;
    const QString shown = fileName->text();
    QString directory = shown.isEmpty() || shown.endsWith('/') ? shown : QFileInfo(shown).path();
    if (!directory.isEmpty() && !directory.endsWith('/'))
        directory += '/';
    fileName->setText(directory + PrintFileName(PrintTitle()));
}

void CDetailView::PrintOrTell(QPrinter& printer)
{
    if (!PrintTo(printer))
        QMessageBox::warning(
            this, "Quorlex",
            QString("The page could not be printed on %1.")
                .arg(printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()));
}

void CDetailView::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintTitle());
    QPrintDialog dialog(&printer, this);
    SuggestFileName(dialog);
    if (dialog.exec() == QDialog::Accepted)
        PrintOrTell(printer);
}

void CDetailView::OnFilePrintDirect()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintTitle());
    // Without a printer of the system's, QPrinter falls back to a PDF file
    // that nobody named.
    if (printer.outputFormat() != QPrinter::NativeFormat) {
        QMessageBox::warning(this, "Quorlex", kNoPrinter);
        return;
    }
    PrintOrTell(printer);
}

void CDetailView::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PrintTitle());
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintTo(*target); });
    preview.exec();
}

void CDetailView::contextMenuEvent(QContextMenuEvent* event)
{
    // The menus carry no print command; the view offers its own.
    QMenu menu(this);
    menu.addAction(m_print);
    menu.addAction(m_printDirect);
    menu.addAction(m_printPreview);
    menu.exec(event->globalPos());
}
