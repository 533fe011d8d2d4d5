#include "ui/UserPrompts.h"

#include "ui/FolderBrowserDialog.h"
#include "ui/StringTable.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QString Caption(const QString& caption) {
    if (!caption.isEmpty())
        return caption;
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? AppText(apptext::kMessageCaption) : name;
}

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Warning:
        break;
    }
    return QMessageBox::Warning;
}

// Qt reads the patterns from the last parenthesised group of a name filter;
// the description keeps its own text and the real patterns are appended (and
// hidden from view). "*.*" means every file here, also those without a dot.
QStringList ToQtFilters(const QList<FileFilter>& filters) {
    QStringList out;
    for (const FileFilter& f : filters) {
        QStringList patterns = f.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        out << f.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
    }
    return out;
}

QString RunFileDialog(QWidget* parent, const FileRequest& request, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // the file need not exist
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    const QStringList filters = ToQtFilters(request.filters);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.caption.isEmpty())
        dialog.setWindowTitle(request.caption);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty()) {
        const QFileInfo info(request.initialPath);
        if (info.isDir()) {
            dialog.setDirectory(info.absoluteFilePath());
        } else {
            dialog.setDirectory(info.absolutePath());
            dialog.selectFile(info.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void QtUserPrompts::Message(QWidget* parent, const QString& text, PromptIcon icon,
                            const QString& caption) {
    QMessageBox box(ToQtIcon(icon), Caption(caption), text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtUserPrompts::Question(QWidget* parent, const QString& text, PromptIcon icon,
                             const QString& caption) {
    QMessageBox box(ToQtIcon(icon), Caption(caption), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

QString QtUserPrompts::OpenFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, false);
}

QString QtUserPrompts::SaveFile(QWidget* parent, const FileRequest& request) {
    return RunFileDialog(parent, request, true);
}

QString QtUserPrompts::ChooseFolder(QWidget* parent, const FolderRequest& request) {
    return CFolderBrowserDialog::Browse(parent, request, *this);
}

IUserPrompts& DefaultUserPrompts() {
    static QtUserPrompts prompts;
    return prompts;
}

QList<FileFilter> ParseFilterText(const QString& text) {
    QList<FileFilter> filters;
    const QStringList parts = text.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        filters.append({parts[i], parts[i + 1]});
    }
    return filters;
}

QList<FileFilter> FromFileChoices(const std::vector<FileChoiceFilter>& choices) {
    QList<FileFilter> filters;
    for (const FileChoiceFilter& choice : choices)
        filters.append({QString::fromUtf8(choice.description.data(),
                                          static_cast<qsizetype>(choice.description.size())),
                        QString::fromUtf8(choice.patterns.data(),
                                          static_cast<qsizetype>(choice.patterns.size()))});
    return filters;
}
