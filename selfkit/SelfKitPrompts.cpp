#include "selfkit/SelfKitPrompts.h"

#include "platform/ProcessStart.h"
#include "selfkit/SelfKitTexts.h"

#include <QFileDialog>
#include <QMessageBox>

#include <filesystem>
#include <system_error>

namespace {
const QString kBoxCaption = QStringLiteral("selfkit");
}

void CDesktopPrompts::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kBoxCaption, text);
}

void CDesktopPrompts::ShowWarning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kBoxCaption, text);
}

bool CDesktopPrompts::AskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, kBoxCaption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> CDesktopPrompts::ChooseSavePath(QWidget* parent, const QString& preset) {
    // No default extension and no overwrite question: the affiliate may pick
    // any name and rebuild over an earlier result.
    const QString chosen = QFileDialog::getSaveFileName(
        parent, QString(), preset, QString::fromLatin1(selfkit_text::kSaveFilter), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

bool CDesktopPrompts::StartPackage(const std::string& path) {
    // A bare name would be looked up in PATH; the package is the file just
    // written, relative to the current folder.
    std::error_code ec;
    const std::string program = std::filesystem::absolute(path, ec).string();
    return !ec && platform::StartDetached(program, {});
}
