#include "package/SelfCreatorBuilder.h"

#include "model/AffProject.h"
#include "model/DerivedFileName.h"
#include "model/FormatText.h"
#include "model/PortableFileName.h"
#include "model/ProjectPaths.h"
#include "package/BuildLogSink.h"
#include "package/OutputConflict.h"
#include "package/OutputFolders.h"
#include "package/PackageTrailer.h"
#include "package/ProductInfoFile.h"
#include "package/RegistrationList.h"
#include "package/SelfCreatorChoice.h"
#include "package/SetupTemplate.h"
#include "package/SfxPackage.h"
#include "package/StampTemplate.h"
#include "platform/Beep.h"
#include "platform/EmbeddedImage.h"
#include "platform/HostPath.h"

namespace {

// Entry 0's name, in the form the information file has always had inside
// packages.
constexpr const char* kInfoEntryName = "_aff0.ino";

std::string Resolve(const CAffProject& project, const std::string& path) {
    if (path.empty() || project.BaseDirectory().empty())
        return path;
    return project.ResolveProjectPath(path);
}

// The output folder followed by the default name; a folder that is not set
// gives the bare name, which lands in the project's folder rather than at the
// root of the file system.
std::string DefaultOutputPath(const std::string& outputDir, int templateId) {
    const platform::EmbeddedImage image = platform::FindEmbeddedImage("SFX_EXE", templateId);
    const ProgramKind kind =
        image ? ProgramKindOfBytes(image.data, image.size) : ProgramKind::Other;
    const bool windows = kind == ProgramKind::Windows32 || kind == ProgramKind::Windows64;
    return projectpaths::JoinPath(outputDir, PortableFileName(SelfCreatorFileName(windows)),
                                  platform::HostPathStyle());
}

// What the self creator must not replace: the project file, the product's
// setup file and every affiliate's package.
BuildInputs InputsOf(const CAffProject& project) {
    BuildInputs inputs;
    inputs.projectFile = project.m_strProjectPath;
    inputs.setupFile = Resolve(project, project.m_strSetupFile);
    project.m_mapResellers.ForEach([&](uint16_t, const CReseller& r) {
        if (!r.m_strSetupPath.empty())
            inputs.otherOutputs.push_back(Resolve(project, r.m_strSetupPath));
    });
    return inputs;
}

} // namespace

CSelfCreatorBuilder::CSelfCreatorBuilder(IBuildLogSink& log, platform::Clock clock)
    : m_log(log), m_clock(std::move(clock)) {}

SelfCreatorResult CSelfCreatorBuilder::Build(CAffProject& project) {
    const auto fail = [this](const std::string& line, SelfCreatorResult result) {
        m_log.AppendError(line);
        platform::Beep();
        return result;
    };

    m_log.Clear();
    m_log.Append(FormatText(
        "***Start building [%s] ",
        platform::FormatLocalTime(m_clock ? m_clock() : platform::SystemNow(), "%H:%M:%S")));

    // The product information file is made in memory: nothing is left in the
    // temporary folder, whatever ends the build.
    const CProductInfo info{project.m_strUuid, ComposeRegistrationList(project)};
    m_log.Append("");
    m_log.Append("Writing program info...");

    CSfxPackage package;
    if (!CanEncodeProductInfo(info) || !package.AddBytes(kInfoEntryName, EncodeProductInfo(info)))
        return fail("Internal Error! Can't write program information!",
                    SelfCreatorResult::InfoAddFailed);

    m_log.Append(FormatText("Reading setup file '%s'", project.m_strSetupFile));
    const std::string setupPath = Resolve(project, project.m_strSetupFile);
    if (!m_strSignedTemplate.empty()) {
        m_log.Append(FormatText("Reading signed template '%s'", m_strSignedTemplate));
        const std::string templatePath = Resolve(project, m_strSignedTemplate);
        CStampTemplate stampTemplate;
        const std::string problem = OpenTemplateForStamping(project, templatePath, stampTemplate);
        if (!problem.empty())
            return fail(problem, SelfCreatorResult::TemplateRefused);
        if (!package.AddFile(templatePath))
            return fail(FormatText("Error! Can't open signed template[%s].", m_strSignedTemplate),
                        SelfCreatorResult::TemplateRefused);
    } else if (setupPath.empty() || !package.AddFile(setupPath)) {
        return fail(FormatText("Error! Can't open program setup file[%s].", project.m_strSetupFile),
                    SelfCreatorResult::SetupAddFailed);
    }

    m_log.Append("Creating setup file...");
    const int templateId = SelfCreatorTemplateForSetup(setupPath);
    if (project.m_strSelfCreatorPath.empty())
        project.m_strSelfCreatorPath = DefaultOutputPath(project.m_strOutputDir, templateId);
    const std::string& outputPath = project.m_strSelfCreatorPath;
    const std::string resolvedOutput = Resolve(project, outputPath);

    const OutputConflict conflict = FindOutputConflict(resolvedOutput, InputsOf(project));
    if (conflict != OutputConflict::None)
        return fail(OutputConflictLine(conflict, outputPath), SelfCreatorResult::OutputRefused);

    CreateOutputFolders(resolvedOutput);
    const SfxResult built = package.Build(templateId, resolvedOutput);
    if (built != SFX_OK)
        return fail(
            FormatText("Error! Can't build selfmanaged stand-alone software.[%s].", outputPath),
            SelfCreatorResult::BuildFailed);
    m_log.Append(FormatText("File '%s' created successfully.", outputPath));
    platform::Beep();
    return SelfCreatorResult::Built;
}
