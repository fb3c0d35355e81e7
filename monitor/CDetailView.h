// What the DIS and HLA detail views share: a scroll area over a canvas that
// shows the document as a page of text, refreshed on the GUI thread from a
// snapshot whenever the document changes, and printing of that page (Print
// with the print dialog, Print Direct, Print Preview; the main window's
// commands and Ctrl+P reach the active window's view, its context menu this
// view).
//
// Documents tell their views on the thread that changed them (a DIS worker
// for DIS radios). The view registers a small adapter that only queues a
// refresh to the GUI thread, at most one at a time; the refresh takes the
// snapshot (under the document's lock) and builds the page from it, so
// nothing is ever drawn from a buffer a writer is replacing.
#pragma once

#include "DetailPage.h"
#include "IPrintableView.h"

#include <QScrollArea>
#include <QString>

#include <memory>

class CDetailCanvas;
class CDetailDoc;
class QAction;
class QPrinter;

class CDetailView : public QScrollArea, public IPrintableView {
    Q_OBJECT
public:
    ~CDetailView() override;

    // The view of a document's kind (the main frame's view factory).
    static QWidget* Create(const std::shared_ptr<CDetailDoc>& document);

    // What the view shows now.
    const DetailPage& Page() const;
    CDetailCanvas* Canvas() const { return m_canvas; }

    // Takes a snapshot of the document and shows it. GUI thread.
    void Refresh();

    // The whole page, with room for the signal part before a signal came: a
    // new window opens at this size where there is room.
    QSize sizeHint() const override;

    // Prints the page to a printer that is set up already (Print Direct, a
    // PDF file, the preview); false when the printer cannot be started.
    bool PrintTo(QPrinter& printer) const;

    // The file the print dialog suggests for printing to a file: the whole
    // window title (a '/' of a radio key becomes '_'), as a PDF file.
    static QString PrintFileName(const QString& title);
    static constexpr const char* kNoPrinter = "No printer is available.";
    // What the field grid and the dump show (the view's tooltip).
    static constexpr const char* kGridTip =
        "The grid shows numbers with a fraction (antenna positions, bandwidth, power) as the radio record's "
        "single-precision values, rounded to two decimals: an antenna X of 1113194.9 shows as 1113194.88. "
        "The quick-view lines in the tree and the log show the exact values.";
    static constexpr const char* kRawTip =
        "Raw Data shows the stored record, not the bytes as they came: the PDU's fixed part converted to this "
        "computer's byte order (host byte order), then its parameters or data. A PDU length of 104 shows as "
        "68 00 where the network carries 00 68.";

public slots:
    void OnFilePrint() override;
    void OnFilePrintDirect() override;
    void OnFilePrintPreview() override;

protected:
    explicit CDetailView(std::shared_ptr<CDetailDoc> document, QWidget* parent);

    // The pages of the current snapshot; subclasses take the snapshot.
    struct Pages {
        DetailPage shown;
        DetailPage whole;   // with room for a signal part
    };
    virtual Pages BuildPages() const = 0;

    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class Link;

    QAction* AddCommand(int commandId, const QString& text, void (CDetailView::*handler)());
    QString PrintTitle() const;
    // Prints on a printer that is set up, telling the user when it fails.
    void PrintOrTell(QPrinter& printer);
    void SuggestFileName(QWidget& printDialog) const;

    std::shared_ptr<CDetailDoc> m_document;
    std::shared_ptr<Link> m_link;
    CDetailCanvas* m_canvas;
    QSize m_wholeSize;
    QAction* m_print;
    QAction* m_printDirect;
    QAction* m_printPreview;
};
