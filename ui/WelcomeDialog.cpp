#include "ui/WelcomeDialog.h"

#include "ui/ProjectText.h"
#include "ui/RecentFileList.h"
#include "ui/StringTable.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CWelcomeDialog::CWelcomeDialog(const QStringList& recentFiles, QWidget* parent)
    : QDialog(parent), m_files(recentFiles.mid(0, CRecentFileList::kSize)) {
    setWindowTitle(AppText(apptext::kWelcomeCaption));
    setObjectName("welcomeDialog");
    setMinimumWidth(380);
    m_create = new QRadioButton(
        VkFormat(apptext::kWelcomeCreate, AppText(apptext::kDocumentTypeName)), this);
    m_open = new QRadioButton(VkFormat(apptext::kWelcomeOpen, AppText(apptext::kDocumentTypeName)),
                              this);
    m_create->setChecked(true);
    m_list = new QListWidget(this);
    m_list->addItem(AppText(apptext::kWelcomeMoreFiles));
    for (const QString& f : m_files)
        m_list->addItem(CRecentFileList::DisplayName(f));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_create);
    layout->addWidget(m_open);
    layout->addWidget(m_list);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &CWelcomeDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CWelcomeDialog::reject);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CWelcomeDialog::OnSelectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    connect(m_create, &QRadioButton::clicked, this, &CWelcomeDialog::UpdateOk);
    connect(m_open, &QRadioButton::clicked, this, &CWelcomeDialog::UpdateOk);
    UpdateOk();
    if (parent)
        parent->installEventFilter(this);
}

void CWelcomeDialog::CentreOnParent() {
    const QWidget* owner = parentWidget();
    if (!owner || !owner->isVisible())
        return;
    // Before its first layout the dialog may not know its size yet.
    QRect frame = frameGeometry();
    if (frame.isEmpty())
        frame.setSize(size().expandedTo(sizeHint()));
    if (frame.isEmpty())
        return;
    frame.moveCenter(owner->frameGeometry().center());
    move(frame.topLeft());
}

void CWelcomeDialog::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (isVisible())
        CentreOnParent();
}

bool CWelcomeDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == parentWidget() && isVisible() &&
        (e->type() == QEvent::Resize || e->type() == QEvent::Move || e->type() == QEvent::Show))
        CentreOnParent();
    return QDialog::eventFilter(watched, e);
}

void CWelcomeDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    CentreOnParent();
}

bool CWelcomeDialog::OkEnabled() const {
    return m_buttons->button(QDialogButtonBox::Ok)->isEnabled();
}

void CWelcomeDialog::OnSelectionChanged() {
    if (!m_list->selectedItems().isEmpty())
        m_open->setChecked(true);
    UpdateOk();
}

void CWelcomeDialog::UpdateOk() {
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(WelcomeOkEnabled(m_create->isChecked(), SelectedRow()));
}

int CWelcomeDialog::SelectedRow() const {
    return m_list->selectedItems().isEmpty() ? -1 : m_list->currentRow();
}

void CWelcomeDialog::accept() {
    std::vector<std::string> files;
    for (const QString& file : m_files)
        files.push_back(ToProjectText(file));
    const WelcomeAnswer answer = WelcomeAnswerFor(m_create->isChecked(), SelectedRow(), files);
    if (answer.choice == WelcomeChoice::Nothing)
        return; // OK with the open button and no row does nothing
    m_choice = answer.choice;
    m_chosen = FromProjectText(answer.file);
    QDialog::accept();
}
