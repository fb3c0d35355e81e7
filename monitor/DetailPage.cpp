#include "DetailPage.h"

#include <iterator>

void DetailPage::AppendPart(std::vector<PageLine> part)
{
    if (!lines.empty())
        lines.emplace_back();
    lines.insert(lines.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
}
