// What a detail view offers the main window's print commands.
#pragma once

// The main window's Print (Ctrl+P), Print Direct and Print Preview commands
// print the view of the active detail window, wherever the focus is; they
// are available while that view implements this.
class IPrintableView {
public:
    virtual ~IPrintableView() = default;
    // Print (57607): the print dialog, then the page.
    virtual void OnFilePrint() = 0;
    // Print Direct (57608): the default printer, no dialog.
    virtual void OnFilePrintDirect() = 0;
    // Print Preview (57609).
    virtual void OnFilePrintPreview() = 0;
};
