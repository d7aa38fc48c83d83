#include "ui/controls/record_list_header.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <utility>

namespace ui {

RecordListHeader::RecordListHeader(QStringList captions, std::vector<int> widths, QWidget* parent)
    : QWidget(parent), m_captions(std::move(captions)), m_widths(std::move(widths)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void RecordListHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    int left = 0;
    const int sections = static_cast<int>(m_captions.size());
    for (int i = 0; i < sections; ++i) {
        QStyleOptionHeader option;
        option.initFrom(this);
        option.state |= QStyle::State_Raised;
        option.rect = QRect(left, 0, sectionWidth(i), height());
        option.section = i;
        option.text = m_captions.at(i);
        option.textAlignment = Qt::AlignCenter;
        option.position = sections == 1       ? QStyleOptionHeader::OnlyOneSection
                          : i == 0            ? QStyleOptionHeader::Beginning
                          : i == sections - 1 ? QStyleOptionHeader::End
                                              : QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        left += sectionWidth(i);
    }
    // Past the last section the header shows an empty face.
    if (left < width()) {
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = QRect(left, 0, width() - left, height());
        style()->drawControl(QStyle::CE_HeaderEmptyArea, &option, &painter, this);
    }
}

} // namespace ui
