#include "CQuorlexHlaView.h"

#include "HlaDetailText.h"
#include "core/CQuorlexHlaDoc.h"

CQuorlexHlaView::CQuorlexHlaView(std::shared_ptr<CQuorlexHlaDoc> document, QWidget* parent)
    : CDetailView(document, parent), m_document(std::move(document))
{
    setObjectName("HlaDetailView");
    Refresh();
}

DetailPage CQuorlexHlaView::BuildPage() const
{
    return HlaDetailText::Page(m_document->TakeSnapshot());
}
