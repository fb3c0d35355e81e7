#include "CQuorlexView.h"

#include "engine/CQuorlexDoc.h"

CQuorlexView::CQuorlexView(std::shared_ptr<CQuorlexDoc> document, QWidget* parent)
    : CDetailView(document, parent), m_document(std::move(document))
{
    setObjectName("DisDetailView");
    Refresh();
}

void CQuorlexView::ToggleRawData()
{
    m_display = IsRawData() ? DisDisplay::Grid : DisDisplay::Raw;
    setToolTip(IsRawData() ? kRawTip : kGridTip);
    Refresh();
}

CDetailView::Pages CQuorlexView::BuildPages() const
{
    const CQuorlexDoc::Snapshot snapshot = m_document->TakeSnapshot();
    return {DisDetailText::Page(snapshot, m_display), DisDetailText::WholePage(snapshot, m_display)};
}
