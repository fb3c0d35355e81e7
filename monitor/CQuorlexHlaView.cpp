#include "CQuorlexHlaView.h"

#include "HlaDetailText.h"
#include "engine/CQuorlexHlaDoc.h"

CQuorlexHlaView::CQuorlexHlaView(std::shared_ptr<CQuorlexHlaDoc> document, QWidget* parent)
    : CDetailView(document, parent), m_document(std::move(document))
{
    setObjectName("HlaDetailView");
    Refresh();
}

CDetailView::Pages CQuorlexHlaView::BuildPages() const
{
    const CQuorlexHlaDoc::Snapshot snapshot = m_document->TakeSnapshot();
    return {HlaDetailText::Page(snapshot), HlaDetailText::WholePage(snapshot)};
}
