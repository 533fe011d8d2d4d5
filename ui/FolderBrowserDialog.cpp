#include "ui/FolderBrowserDialog.h"

#include "app/FolderCheck.h"
#include "model/FolderPathForm.h"
#include "ui/OkCancelRow.h"
#include "ui/ProjectText.h"
#include "ui/QtAppPrompts.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kMaxTypedPath = 259;

} // namespace

CFolderBrowserDialog::CFolderBrowserDialog(QWidget* parent, const FolderRequest& request,
                                           IUserPrompts& prompts)
    : QDialog(parent), m_prompts(prompts) {
    setObjectName(QStringLiteral("folderBrowser"));
    setWindowTitle(request.caption);

    auto* instruction = new QLabel(request.instruction, this);
    instruction->setObjectName(QStringLiteral("instruction"));
    m_pPath = new QLineEdit(this);
    m_pPath->setObjectName(QStringLiteral("pathEdit"));
    m_pPath->setMaxLength(kMaxTypedPath);

    m_pModel = new QFileSystemModel(this);
    m_pModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_pModel->setRootPath(QDir::rootPath());
    m_pTree = new QTreeView(this);
    m_pTree->setObjectName(QStringLiteral("folderTree"));
    m_pTree->setModel(m_pModel);
    for (int c = 1; c < m_pModel->columnCount(); ++c)
        m_pTree->hideColumn(c);
    m_pTree->header()->hide();
    // Long folder names widen the column and the tree scrolls sideways.
    m_pTree->header()->setStretchLastSection(false);
    m_pTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_pTree->setMinimumSize(460, 360);

    const OkCancelRow buttons = MakeOkCancelRow(this);
    m_pOk = buttons.ok;

    // The typed-path field sits directly above the tree, as wide as it, with
    // 4 pixels between them.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    auto* treeBlock = new QVBoxLayout;
    treeBlock->setSpacing(4);
    treeBlock->addWidget(m_pPath);
    treeBlock->addWidget(m_pTree);
    layout->addLayout(treeBlock);
    layout->addLayout(buttons.layout);

    connect(m_pPath, &QLineEdit::textEdited, this, &CFolderBrowserDialog::OnPathEdited);
    connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFolderBrowserDialog::OnTreeSelectionChanged);

    const QString initial =
        request.initialFolder.isEmpty() ? QDir::currentPath() : request.initialFolder;
    const QModelIndex index = m_pModel->index(initial);
    if (index.isValid()) {
        m_strTreePath = m_pModel->filePath(index);
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
            m_pTree->expand(up);
            m_initialChain << m_pModel->filePath(up);
        }
        m_pTree->setCurrentIndex(index);
        m_pTree->scrollTo(index);
    }
    // The model reads folders in the background: each folder on the way to
    // the initial one that arrives moves the rows, so the selection is
    // brought back into view then.
    connect(m_pModel, &QFileSystemModel::directoryLoaded, this, [this](const QString& folder) {
        if (m_initialChain.contains(folder))
            ScrollSelectionIntoView();
    });
    // A typed initial folder that does not exist yet still stands in the field.
    m_pPath->setText(index.isValid() ? m_pModel->filePath(index) : initial.left(kMaxTypedPath));
    m_pOk->setEnabled(!m_pPath->text().isEmpty());
}

QString CFolderBrowserDialog::Browse(QWidget* parent, const FolderRequest& request,
                                     IUserPrompts& prompts) {
    CFolderBrowserDialog dialog(parent, request, prompts);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.Path();
}

void CFolderBrowserDialog::ScrollSelectionIntoView() {
    const QModelIndex current = m_pTree->currentIndex();
    if (current.isValid())
        m_pTree->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void CFolderBrowserDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    ScrollSelectionIntoView();
}

QString CFolderBrowserDialog::Path() const {
    return m_pPath->text().left(kMaxTypedPath);
}

void CFolderBrowserDialog::OnTreeSelectionChanged() {
    const QString path = m_pModel->filePath(m_pTree->currentIndex());
    // The model reports a new current index also when it merely re-sorts a
    // folder it finished reading; only a different folder replaces the text.
    if (path == m_strTreePath)
        return;
    m_strTreePath = path;
    // Only folders of the file system can be chosen.
    if (BeginsWithFolderRoot(ToProjectText(path), platform::HostPathStyle())) {
        m_pPath->setText(path);
        m_pOk->setEnabled(true);
    } else {
        m_pPath->clear();
        m_pOk->setEnabled(false);
    }
}

void CFolderBrowserDialog::OnPathEdited(const QString& text) {
    m_pOk->setEnabled(!text.isEmpty());
}

void CFolderBrowserDialog::accept() {
    // The chooser's messages stand over the chooser itself.
    static const CQtAppPrompts::SaveQuestion kNoSaveQuestion;
    CQtAppPrompts prompts(
        m_prompts, [this] { return this; }, kNoSaveQuestion);
    if (CheckChosenFolder(ToProjectText(Path()), prompts) != FolderCheckResult::Accepted) {
        m_pPath->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}
