#include "CQuorlexView.h"

#include "core/CQuorlexDoc.h"

CQuorlexView::CQuorlexView(std::shared_ptr<CQuorlexDoc> document, QWidget* parent)
    : CDetailView(document, parent), m_document(std::move(document))
{
    setObjectName("DisDetailView");
    Refresh();
}

void CQuorlexView::ToggleRawData()
{
    m_display = IsRawData() ? DisDisplay::Grid : DisDisplay::Raw;
    Refresh();
}

DetailPage CQuorlexView::BuildPage() const
{
    return DisDetailText::Page(m_document->TakeSnapshot(), m_display);
}
