#include "package/SelfCreatorChoice.h"

#include "package/SfxPackage.h"
#include "platform/EmbeddedImage.h"

int WantedSelfCreatorTemplate(ProgramKind setupKind) {
    switch (setupKind) {
    case ProgramKind::Windows32:
    case ProgramKind::Installer:
        return kSfxTemplateSelfkitWindows32;
    case ProgramKind::Windows64:
    case ProgramKind::Installer64:
        return kSfxTemplateSelfkitWindows64;
    case ProgramKind::Elf:
    case ProgramKind::Script:
    case ProgramKind::Other:
        break;
    }
    return kSfxTemplateSelfkit;
}

int SelfCreatorTemplateForSetup(const std::string& setupPath) {
    const int wanted = WantedSelfCreatorTemplate(ProgramKindOfFile(setupPath));
    return platform::FindEmbeddedImage("SFX_EXE", wanted) ? wanted : kSfxTemplateSelfkit;
}
