#include "model/DerivedFileName.h"

#include "model/ProjectPaths.h"

namespace {

bool IsRefusedByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\';
}

} // namespace

std::string SafeFileNamePart(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsRefusedByte(static_cast<unsigned char>(out[i])))
            out[i] = '_';
        else if (out[i] == '.' && i + 1 < out.size() && out[i + 1] == '.')
            out[i] = out[i + 1] = '_';
    }
    return out;
}

std::string DerivedSetupFileName(const std::string& productSetupFile, const std::string& name,
                                 ProgramStart setupStart) {
    const auto parts = projectpaths::SplitExtension(projectpaths::FileNameOf(productSetupFile));
    // Each part passes the rule on its own: a name ending in a dot keeps the
    // extension's dot, and the product's own file name is cleaned as well.
    std::string file = SafeFileNamePart(parts.title);
    file += '_';
    file += SafeFileNamePart(name);
    file += CarriedByWindowsLauncher(setupStart) ? std::string(".exe")
                                                 : SafeFileNamePart(parts.extension);
    return file;
}

std::string SelfCreatorFileName(bool windowsProgram) {
    return windowsProgram ? "VelkSMNG.exe" : "VelkSMNG";
}
