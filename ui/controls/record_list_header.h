#pragma once
// The record list's header: fixed sections with centred captions. It is
// inert, so it is painted rather than built on QHeaderView, which would bring
// resizing, clicking and a model along.

#include <QStringList>
#include <QWidget>

#include <vector>

namespace ui {

class RecordListHeader : public QWidget {
    Q_OBJECT
public:
    RecordListHeader(QStringList captions, std::vector<int> widths, QWidget* parent = nullptr);

    QStringList captions() const { return m_captions; }
    int sectionWidth(int section) const { return m_widths.at(static_cast<size_t>(section)); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_captions;
    std::vector<int> m_widths;
};

} // namespace ui
