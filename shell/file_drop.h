#pragma once
// Files dropped onto the editor window. One data file opens as "Open" would open it: the
// question about unsaved changes first, the start folder remembered, the same checks and
// messages. Several files, a folder or anything but a local file get a notice and change
// nothing.

#include <QList>
#include <QObject>
#include <QUrl>

class QWidget;

namespace editor {
class Document;
}

namespace shell {

class FileDrop : public QObject {
    Q_OBJECT
public:
    /** Makes window take drops, also those that its controls refuse, and opens what is dropped
     * through document. window and document outlive this object. */
    FileDrop(QWidget& window, editor::Document& document);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(const QList<QUrl>& dropped);

    QWidget& m_window;
    editor::Document& m_document;
};

} // namespace shell
