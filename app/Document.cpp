#include "app/Document.h"

#include "app/AppTexts.h"

#include "app/AppPrompts.h"
#include "app/DocumentDialogs.h"
#include "app/DocumentEvents.h"
#include "app/RecentFiles.h"
#include "model/AffiliateEditor.h"
#include "model/NewProduct.h"
#include "model/ProjectFile.h"
#include "package/BuildLogSink.h"
#include "platform/FileError.h"
#include "platform/FileLock.h"

#include <filesystem>
#include <iterator>
#include <system_error>

namespace {

using apptext::FormatText;

std::filesystem::path PathOf(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(PathOf(path), error);
    return error ? path : TextOf(absolute.lexically_normal());
}

std::string FileNameOf(const std::string& path) {
    return TextOf(PathOf(path).filename());
}

std::vector<FileChoiceFilter> ProjectFilters() {
    return {{std::string(apptext::kProjectFileType), "*.vkp"},
            {std::string(apptext::kAllFilesType), "*.*"}};
}

// Why Save could not take the file's lock. A folder that cannot be written
// gives the file error a save there would give.
std::string LockFailureText(platform::FileLockOutcome outcome, const platform::FileStatus& status,
                            const std::string& target) {
    const std::string name = FileNameOf(target);
    if (outcome == platform::FileLockOutcome::Busy)
        return FormatText(apptext::kFileBeingChanged, {name});
    std::string fileError = platform::FileErrorText(status.error, target);
    if (outcome == platform::FileLockOutcome::Failed && !fileError.empty())
        return fileError;
    const std::string lockFile = platform::LockFilePathFor(target);
    return FormatText(apptext::kLockFileUnusable, {name, lockFile});
}

} // namespace

Document::Document(IAppPrompts& prompts, IDocumentDialogs& dialogs, RecentFiles& recentFiles,
                   IDocumentEvents& events)
    : m_prompts(prompts), m_dialogs(dialogs), m_recentFiles(recentFiles), m_events(events),
      m_title(apptext::kUntitled) {}

std::string Document::Caption() const {
    return m_title + std::string(apptext::kCaptionSeparator) + std::string(apptext::kAppTitle);
}

void Document::SetModifiedFlag(bool modified) {
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    m_events.ModifiedChanged(modified);
}

void Document::SetTitle(const std::string& title) {
    m_title = title;
    m_events.TitleChanged();
}

void Document::SetPathName(const std::string& path) {
    m_pathName = AbsolutePath(path);
    m_project.SetProjectPath(m_pathName);
    // The project's folder is also the current directory, as relative paths
    // typed by the user mean paths beside the project.
    std::error_code error;
    std::filesystem::current_path(PathOf(m_pathName).parent_path(), error);
    SetTitle(FileNameOf(m_pathName));
    m_recentFiles.Add(m_pathName);
    m_events.RecentFilesChanged();
}

std::string Document::ShownName() const {
    return m_pathName.empty() ? m_title : FileNameOf(m_pathName);
}

bool Document::SaveModified(bool* discarded) {
    if (discarded)
        *discarded = false;
    if (!m_bModified)
        return true;
    switch (m_prompts.AskSaveChanges(FormatText(apptext::kSaveChanges, {ShownName()}))) {
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::No:
        if (discarded)
            *discarded = true;
        return true;
    case SaveAnswer::Yes:
        break;
    }
    return OnFileSave();
}

void Document::Reset() {
    // The project keeps its folder as base directory for relative paths until
    // it is saved elsewhere.
    m_project.Clear();
    m_pathName.clear();
    m_fileCheck.Forget();
    m_declinedReload.reset();
    SetTitle(std::string(apptext::kUntitled));
    SetModifiedFlag(false);
    m_events.ProjectReplaced();
}

void Document::OnFileNew() {
    if (!SaveModified())
        return;
    NewDocument();
}

void Document::NewDocument() {
    Reset();
    NewProjectAnswers answers;
    if (!m_dialogs.RunNewProjectWizard(answers))
        return; // an empty project without a UUID, not modified
    m_project.m_strTitle = answers.title;
    m_project.m_strWebSite = answers.webSite;
    m_project.m_strVersion = answers.version;
    m_project.m_strSetupFile = answers.setupFile;
    m_project.m_strOutputDir = answers.outputDir;
    m_project.m_strSelfCreatorPath = answers.selfCreatorPath;
    StartNewProduct(m_project, answers.service, answers.productId, answers.purchaseLink);
    m_events.RowsChanged();
    SetModifiedFlag(true);
    if (m_prompts.Question(std::string(apptext::kAddAffiliateNow), PromptIcon::Question,
                           std::string(apptext::kAddAffiliateNowCaption)))
        OnAddAffiliate();
}

void Document::OnAddAffiliate() {
    CReseller record;
    if (!m_dialogs.EditNewAffiliate(m_project, record))
        return;
    StampChanged(record, Now());
    if (m_project.AddReseller(record) != CAffProject::AddResult::Added) {
        m_prompts.Message(std::string(apptext::kNoMoreAffiliates), PromptIcon::Warning);
        return;
    }
    SetModifiedFlag(true);
    m_events.RowsChanged();
}

bool Document::EditAffiliateCell(CReseller& affiliate, int column, const std::string& text) {
    static constexpr AffiliateField kColumnFields[] = {
        AffiliateField::Name, AffiliateField::AffiliateId, AffiliateField::WebSite,
        AffiliateField::Email, AffiliateField::PurchaseLink};
    if (column < 0 || column >= static_cast<int>(std::size(kColumnFields)))
        return false;
    const FieldEdit edit =
        CAffiliateEditor(m_project, &affiliate).EditField(affiliate, kColumnFields[column], text);
    if (edit.result == FieldEdit::Result::Refused)
        m_prompts.Message(edit.message);
    if (edit.result != FieldEdit::Result::Changed)
        return false;
    StampChanged(affiliate, Now());
    return true;
}

void Document::StoreEditedAffiliate(CReseller& affiliate, const AffiliateFields& fields) {
    CAffiliateEditor(m_project, &affiliate).StoreRecord(fields, affiliate);
    StampChanged(affiliate, Now());
    SetModifiedFlag(true);
}

void Document::AffiliatesAdded() {
    SetModifiedFlag(true);
    m_events.RowsChanged();
}

void Document::OnProductSettings() {
    if (m_dialogs.EditProductSettings(m_project))
        SetModifiedFlag(true);
}

void Document::OnProgramUuid() {
    if (m_dialogs.EditProgramUuid(m_project.m_strUuid))
        SetModifiedFlag(true);
}

bool Document::OnFileOpen() {
    FileChoice request;
    request.filters = ProjectFilters();
    request.defaultSuffix = "vkp";
    const std::string path = m_prompts.OpenFile(request);
    if (path.empty())
        return false;
    return OpenDocument(path);
}

bool Document::OpenDocument(const std::string& path) {
    bool discarded = false;
    if (!SaveModified(&discarded))
        return false;
    return OpenFile(path, discarded);
}

bool Document::OpenRecentFile(const std::string& path) {
    bool discarded = false;
    if (!SaveModified(&discarded))
        return false;
    if (OpenFile(path, discarded))
        return true;
    m_recentFiles.Remove(path);
    m_events.RecentFilesChanged();
    return false;
}

bool Document::OpenFile(const std::string& path, bool discarded) {
    CAffProject loaded;
    std::string bytes;
    const ProjectFileResult result = LoadProjectFile(path, loaded, bytes);
    if (result.code == ProjectFileResult::Code::FileError && !discarded) {
        // The file cannot be read at all: the project stays as it was.
        m_prompts.Message(result.message, PromptIcon::Warning);
        return false;
    }
    if (!result.Ok()) {
        m_prompts.Message(result.message, PromptIcon::Warning);
        NewDocument();
        return false;
    }
    TakeLoaded(std::move(loaded), path, bytes);
    if (result.readAsWindows1252 && m_log)
        m_log->Append(LegacyTextNotice(path));
    return true;
}

void Document::TakeLoaded(CAffProject&& loaded, const std::string& path, const std::string& bytes) {
    m_project = std::move(loaded);
    SetModifiedFlag(false);
    SetPathName(path);
    m_fileCheck.Remember(m_pathName, bytes);
    m_declinedReload.reset();
    m_events.ProjectReplaced();
}

void Document::OfferReloadIfChanged(bool dialogOpen) {
    if (m_pathName.empty() || m_bOfferingReload || dialogOpen)
        return;
    if (m_fileCheck.Check() != FileChangeCheck::State::Changed)
        return;
    const std::optional<FileIdentity> onDisk = m_fileCheck.CurrentIdentity();
    if (!onDisk || onDisk == m_declinedReload)
        return;
    // The question itself moves the window to the back and to the front.
    m_bOfferingReload = true;
    std::string text = FormatText(apptext::kReloadChangedFile, {FileNameOf(m_pathName)});
    if (m_bModified)
        text += apptext::kReloadLosesChanges;
    const bool reload = m_prompts.Question(text);
    m_bOfferingReload = false;
    if (!reload) {
        m_declinedReload = onDisk;
        return;
    }
    // A file that cannot be read now leaves the window's project as it is.
    CAffProject loaded;
    std::string bytes;
    const ProjectFileResult result = LoadProjectFile(m_pathName, loaded, bytes);
    if (!result.Ok()) {
        m_prompts.Message(result.message, PromptIcon::Warning);
        return;
    }
    TakeLoaded(std::move(loaded), m_pathName, bytes);
}

std::string Document::ProposedFileName() const {
    if (!m_pathName.empty())
        return m_pathName;
    std::string name = m_title;
    const size_t cut = name.find_first_of(" #%;/\\");
    if (cut != std::string::npos)
        name.resize(cut);
    return name + ".vkp";
}

bool Document::OnFileSave() {
    if (m_pathName.empty())
        return OnFileSaveAs();
    return DoSave(m_pathName);
}

bool Document::OnFileSaveAs() {
    FileChoice request;
    request.initialPath = ProposedFileName();
    request.filters = ProjectFilters();
    request.defaultSuffix = "vkp";
    request.confirmOverwrite = true;
    const std::string path = m_prompts.SaveFile(request);
    if (path.empty())
        return false;
    return DoSave(path);
}

// Asked before the file this window loaded is replaced: false when another
// program changed it meanwhile and the user does not want it overwritten.
bool Document::MayReplaceFileOnDisk(const std::string& path) {
    if (m_fileCheck.Path() != path || m_fileCheck.Check() != FileChangeCheck::State::Changed)
        return true;
    if (m_prompts.Question(FormatText(apptext::kOverwriteChangedFile, {FileNameOf(m_pathName)})))
        return true;
    m_declinedReload = m_fileCheck.CurrentIdentity(); // seen; not offered for reloading
    return false;
}

bool Document::DoSave(const std::string& path) {
    const std::string target = AbsolutePath(path);
    // The same lock as every other writer of the file, from the look at the
    // file to the rename.
    platform::FileLockOutcome outcome{};
    platform::FileStatus lockStatus;
    const platform::FileLock lock =
        platform::FileLock::Acquire(target, saveLockWait, outcome, lockStatus);
    if (outcome != platform::FileLockOutcome::Locked) {
        m_prompts.Message(LockFailureText(outcome, lockStatus, target), PromptIcon::Warning);
        return false;
    }
    if (!MayReplaceFileOnDisk(target))
        return false;
    if (m_pathName.empty()) {
        // A new project's paths were chosen before it had a folder: those
        // inside the folder it now gets are stored relative to it.
        m_project.SetProjectPath(target);
        m_project.StorePathsRelative();
    }
    // The writer replaces the file atomically: a failed save leaves no file of
    // its own behind and the previous file untouched.
    std::string written;
    const ProjectFileResult result = SaveProjectFile(target, m_project, written);
    if (!result.Ok()) {
        m_prompts.Message(result.message, PromptIcon::Warning);
        return false;
    }
    SetModifiedFlag(false);
    SetPathName(target);
    m_fileCheck.Remember(target, written);
    m_declinedReload.reset();
    return true;
}
