#include "ui/PathFields.h"

#include "model/ProjectPaths.h"
#include "platform/HostPath.h"
#include "ui/StringTable.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QPushButton* MakeBrowseButton(const char* id, QWidget* parent) {
    auto* button = new QPushButton(AppText(apptext::kBrowseButton), parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setFixedWidth(32);
    return button;
}

void AddPathField(QGridLayout* grid, int& row, const QString& label, QLineEdit* edit,
                  QPushButton* browse) {
    grid->addWidget(new QLabel(label, grid->parentWidget()), row++, 0, 1, 2);
    grid->addWidget(edit, row, 0);
    grid->addWidget(browse, row++, 1);
    // Tab goes from each field to its own "..." before the next field.
    QWidget::setTabOrder(edit, browse);
}

FileRequest SelfCreatorFileRequest(bool confirmOverwrite) {
    FileRequest request;
    request.initialPath = QString::fromStdString(projectpaths::JoinPath(
        platform::CurrentDirectory(), std::string(apptext::kSelfCreatorFileName),
        platform::HostPathStyle()));
    request.filters = ParseFilterText(AppText(apptext::kExecutableFilter));
    request.defaultSuffix = QStringLiteral("exe");
    request.confirmOverwrite = confirmOverwrite;
    return request;
}
