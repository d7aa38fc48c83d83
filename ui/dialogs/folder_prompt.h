#pragma once
// The folder prompt of the open operation. Not a bare folder picker: it lists
// files as well as folders (so the user sees where the data files are), has an
// edit line for typing a path, and a status line naming the highlighted item.

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace ui {

class FolderPrompt : public QDialog {
    Q_OBJECT
public:
    /** startPath is highlighted first; when empty, the user's home folder. */
    FolderPrompt(const QString& instruction, const QString& startPath, QWidget* parent = nullptr);

    /** The path in the edit line (relative texts count from the highlighted folder), in
     * native form and without a trailing separator; a file stands for its folder. */
    QString selectedPath() const;

    QTreeView* tree() const { return m_tree; }
    QLineEdit* pathEdit() const { return m_pathEdit; }
    QLabel* statusLine() const { return m_statusLine; }
    QPushButton* okButton() const { return m_okButton; }

private:
    void highlight(const QModelIndex& index);
    QString highlightedFolder() const;

    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QLineEdit* m_pathEdit = nullptr;
    QLabel* m_statusLine = nullptr;
    QPushButton* m_okButton = nullptr;
};

/** Shortens a path to at most maxLength characters by putting "..." in place of its
 * leading folders: the longest tail of whole components that fits is kept; when even
 * the last component does not fit, it is cut at the end. */
QString shortenPath(const QString& path, int maxLength = 40);

/** The path without trailing separators, except for a root such as "/" or "C:\". */
QString withoutTrailingSeparator(const QString& path);

} // namespace ui
