#include "ui/dialogs/folder_prompt.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace ui {

namespace {
bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}
} // namespace

QString shortenPath(const QString& path, int maxLength) {
    if (path.size() <= maxLength)
        return path;
    const QString ellipsis = QStringLiteral("...");
    // Longest tail first: the tails start at each separator from the left.
    qsizetype lastSeparator = -1;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isSeparator(path[i]))
            continue;
        lastSeparator = i;
        if (i > 0 && ellipsis.size() + path.size() - i <= maxLength)
            return ellipsis + path.mid(i);
    }
    const QString tail = lastSeparator >= 0 ? path.mid(lastSeparator) : path;
    return (ellipsis + tail).left(qMax(maxLength, 0));
}

QString withoutTrailingSeparator(const QString& path) {
    QString result = path;
    while (result.size() > 1 && isSeparator(result.back()) &&
           !(result.size() == 3 && result[1] == u':'))
        result.chop(1);
    return result;
}

FolderPrompt::FolderPrompt(const QString& instruction, const QString& startPath, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(instruction);
    auto* layout = new QVBoxLayout(this);
    auto* instructionLabel = new QLabel(instruction, this);
    instructionLabel->setWordWrap(true);
    layout->addWidget(instructionLabel);

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    layout->addWidget(m_statusLine);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    m_model->setRootPath(QDir::rootPath());
    m_model->setReadOnly(true);

    m_tree = new QTreeView(this);
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setMinimumSize(320, 300);
    layout->addWidget(m_tree, 1);

    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName(QStringLiteral("pathEdit"));
    layout->addWidget(m_pathEdit);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    m_okButton->setText(QStringLiteral("OK"));
    m_okButton->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { highlight(current); });

    const QString start = startPath.isEmpty() ? QDir::homePath() : startPath;
    const QModelIndex startIndex = m_model->index(QDir::fromNativeSeparators(start));
    if (startIndex.isValid()) {
        m_tree->setCurrentIndex(startIndex);
        m_tree->expand(startIndex);
        // The folders on the way are read and sorted in the background; keep the start
        // in view as they arrive, until the user highlights something else.
        const QString startFolder = m_model->filePath(startIndex);
        const auto reveal = [this, startFolder] {
            const QModelIndex current = m_tree->currentIndex();
            if (current.isValid() && m_model->filePath(current) == startFolder)
                m_tree->scrollTo(current, QAbstractItemView::PositionAtCenter);
        };
        connect(m_model, &QFileSystemModel::directoryLoaded, this, reveal);
        connect(m_model, &QAbstractItemModel::layoutChanged, this, reveal);
        m_tree->scrollTo(startIndex, QAbstractItemView::PositionAtCenter);
    } else {
        m_pathEdit->setText(start);
    }
    m_pathEdit->setFocus();
}

void FolderPrompt::highlight(const QModelIndex& index) {
    const QString path = QDir::toNativeSeparators(m_model->filePath(index));
    m_pathEdit->setText(path);
    m_statusLine->setText(shortenPath(path));
}

QString FolderPrompt::highlightedFolder() const {
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid())
        return QDir::currentPath();
    const QFileInfo info(m_model->filePath(current));
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

QString FolderPrompt::selectedPath() const {
    const QString typed = m_pathEdit->text().trimmed();
    if (typed.isEmpty())
        return QString();
    QString path = QDir::fromNativeSeparators(typed);
    if (QDir::isRelativePath(path))
        path = QDir(highlightedFolder()).filePath(path);
    const QFileInfo info(path);
    // The instruction asks for the folder of the data files; choosing one of those
    // files means its folder.
    if (info.isFile())
        path = info.absolutePath();
    return QDir::toNativeSeparators(withoutTrailingSeparator(QDir::cleanPath(path)));
}

} // namespace ui
