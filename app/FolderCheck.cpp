#include "app/FolderCheck.h"

#include "app/AppTexts.h"
#include "model/FolderPathForm.h"
#include "platform/FolderChain.h"

FolderCheckResult CheckChosenFolder(const std::string& path, IAppPrompts& prompts,
                                    platform::PathStyle style) {
    const std::optional<FolderPathParts> parts = SplitFolderPath(path, style);
    if (!parts) {
        prompts.Message(apptext::FormatText(apptext::kFolderInvalid, {path}), PromptIcon::Warning);
        return FolderCheckResult::Invalid;
    }
    if (platform::IsExistingFolder(path))
        return FolderCheckResult::Accepted;
    if (!prompts.Question(apptext::FormatText(apptext::kFolderCreate, {path}),
                          PromptIcon::Question))
        return FolderCheckResult::Declined;
    if (!platform::CreateFolderChain(parts->root, parts->names).made) {
        prompts.Message(apptext::FormatText(apptext::kFolderNotCreated, {path}),
                        PromptIcon::Warning);
        return FolderCheckResult::NotCreated;
    }
    return FolderCheckResult::Accepted;
}

FolderCheckResult CheckChosenFolder(const std::string& path, IAppPrompts& prompts) {
    return CheckChosenFolder(path, prompts, platform::HostPathStyle());
}
