#pragma once

#include "package/LauncherChoice.h"

#include <string>

// Template ids of the Windows self creators beside kSfxTemplateSelfkit (129,
// the self creator of the writing program's own system).
inline constexpr int kSfxTemplateSelfkitWindows32 = 134; // selfkit.exe, i686 (PE32)
inline constexpr int kSfxTemplateSelfkitWindows64 = 135; // selfkit.exe, x86_64 (PE32+)

// The self creator a product's affiliates need, by the kind of the product's
// setup file, chosen as the launcher is: the affiliates of a Windows product
// are on Windows. A PE setup gets the Windows self creator of its own machine
// type, an installer database the one of its platform (as the launcher), anything else the self
// creator of the writing program's own system (129).
int WantedSelfCreatorTemplate(ProgramKind setupKind);

// The self creator template for a product whose setup is setupPath: the
// wanted one where the program carries it, else 129.
int SelfCreatorTemplateForSetup(const std::string& setupPath);
