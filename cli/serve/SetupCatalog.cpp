#include "cli/serve/SetupCatalog.h"

#include "cli/CliProject.h"
#include "model/AffProject.h"
#include "model/ProjectPaths.h"
#include "package/AffiliatePackage.h"
#include "package/LauncherImage.h"
#include "package/SetupTemplate.h"
#include "package/SfxPackage.h"
#include "package/Sha256.h"
#include "package/StampContent.h"
#include "package/StampTemplate.h"
#include "platform/FileSystem.h"
#include "platform/RawFile.h"

#include <optional>
#include <ostream>

namespace {

// The bytes of one file as they were read, and their digest.
struct FileSnapshot {
    std::string path;
    std::shared_ptr<const std::string> bytes;
    std::string sha256;
};

// What tells that a file changed: its modification time and its size.
struct FileFacts {
    std::string path;
    std::optional<int64_t> modified;
    int64_t size = -1;
    bool operator==(const FileFacts&) const = default;
};

FileFacts FactsOf(const std::string& path) {
    FileFacts facts{path, platform::RegularFileWriteTime(path), -1};
    if (const platform::RawFile file = platform::RawFile::OpenRead(path); file.IsOpen())
        facts.size = file.Size();
    return facts;
}

std::optional<FileSnapshot> ReadSnapshot(const std::string& path) {
    platform::RawFile file = platform::RawFile::OpenRead(path);
    if (!file.IsOpen() || !file.IsRegular())
        return std::nullopt;
    const int64_t size = file.Size();
    if (size < 0 || size > INT32_MAX)
        return std::nullopt;
    auto bytes = std::make_shared<std::string>(static_cast<size_t>(size), '\0');
    if (size > 0 && !file.ReadAll(bytes->data(), bytes->size()))
        return std::nullopt;
    // A file that grew while it was read is read again later (Changed).
    FileSnapshot snapshot{path, bytes, CSha256::HexOf(*bytes)};
    return snapshot;
}

} // namespace

struct CatalogState {
    CAffProject project;
    std::shared_ptr<const std::string> image;
    std::string imageSha256;
    FileSnapshot setup;
    std::shared_ptr<const CStampTemplate> stamp; // with a signed template
    FileSnapshot templateFile;
    std::vector<FileFacts> facts;
};

namespace {

std::string FileNameFor(const CatalogState& state, const CReseller& affiliate) {
    std::string name(projectpaths::FileNameOf(affiliate.m_strSetupPath));
    return name.empty() ? std::string(projectpaths::FileNameOf(state.setup.path)) : name;
}

const FileSnapshot* SnapshotOf(const CatalogState& state, const std::string& path) {
    if (path == state.setup.path)
        return &state.setup;
    if (state.stamp && path == state.templateFile.path)
        return &state.templateFile;
    return nullptr;
}

bool Compose(const CatalogState& state, const CReseller& affiliate, SetupComposition& composition) {
    if (state.stamp)
        return state.stamp->Compose(StampContentOf(AffiliateInfoFor(state.project, affiliate)),
                                    composition);
    auto package = std::make_unique<CSfxPackage>();
    if (!AddAffiliateInfoEntry(*package, state.project, affiliate) ||
        !package->AddFileOfSize(state.setup.path, static_cast<int64_t>(state.setup.bytes->size())))
        return false;
    composition = package->Compose(state.image);
    return true;
}

// The body's spans and its ETag, made from the bytes' identity: held bytes
// themselves (the launcher image by its digest), file ranges by their source's
// digest, offset and length. Never a time, so every instance agrees.
bool Resolve(const CatalogState& state, const SetupComposition& composition, ServedSetup& out) {
    CSha256 identity;
    const auto add = [&identity](std::string_view text) {
        identity.Update(text.data(), text.size());
    };
    for (const SetupPiece& piece : composition.pieces) {
        if (piece.bytes) {
            out.spans.emplace_back(piece.bytes->data(), piece.bytes->size());
            if (piece.bytes == state.image) {
                add("image " + state.imageSha256 + "\n");
            } else {
                add("bytes " + std::to_string(piece.bytes->size()) + "\n");
                add(*piece.bytes);
                out.holders.push_back(piece.bytes);
            }
        } else {
            if (piece.source >= composition.sources.size())
                return false;
            const FileSnapshot* source = SnapshotOf(state, composition.sources[piece.source]);
            if (source == nullptr || piece.offset < 0 || piece.length < 0 ||
                piece.offset + piece.length > static_cast<int64_t>(source->bytes->size()))
                return false;
            out.spans.emplace_back(source->bytes->data() + piece.offset,
                                   static_cast<size_t>(piece.length));
            add("range " + source->sha256 + " " + std::to_string(piece.offset) + " " +
                std::to_string(piece.length) + "\n");
        }
        out.size += piece.length;
    }
    out.etag = "\"" + CSha256::Hex(identity.Finish()).substr(0, 40) + "\"";
    return true;
}

} // namespace

CSetupCatalog::CSetupCatalog(std::string projectPath, std::string templatePath)
    : m_projectPath(std::move(projectPath)), m_templatePath(std::move(templatePath)) {}

CSetupCatalog::~CSetupCatalog() = default;

bool CSetupCatalog::Load(std::ostream& err) {
    auto state = std::make_shared<CatalogState>();
    if (!LoadCliProject(m_projectPath, state->project, err))
        return false;
    const CAffProject& project = state->project;
    const std::string setupPath = project.ResolveProjectPath(project.m_strSetupFile);
    std::optional<FileSnapshot> setup;
    if (!project.m_strSetupFile.empty())
        setup = ReadSnapshot(setupPath);
    if (!setup) {
        err << "Error! Can't open program setup file[" << project.m_strSetupFile << "].\n";
        return false;
    }
    state->setup = std::move(*setup);
    state->facts = {FactsOf(m_projectPath), FactsOf(setupPath)};
    if (m_templatePath.empty()) {
        state->image = LauncherImageForSetup(setupPath);
        if (!state->image) {
            err << "This program carries no launcher for the setup file '" << project.m_strSetupFile
                << "'.\n";
            return false;
        }
        state->imageSha256 = CSha256::HexOf(*state->image);
    } else {
        const std::string templatePath = project.ResolveProjectPath(m_templatePath);
        auto stamp = std::make_shared<CStampTemplate>();
        const std::string problem = OpenTemplateForStamping(project, templatePath, *stamp);
        if (!problem.empty()) {
            err << problem << "\n";
            return false;
        }
        std::optional<FileSnapshot> file = ReadSnapshot(stamp->Path());
        if (!file || static_cast<int64_t>(file->bytes->size()) != stamp->TemplateSize()) {
            err << "The template '" << templatePath << "' changed while it was read.\n";
            return false;
        }
        state->stamp = std::move(stamp);
        state->templateFile = std::move(*file);
        state->facts.push_back(FactsOf(templatePath));
    }
    const std::lock_guard lock(m_mutex);
    m_state = std::move(state);
    return true;
}

bool CSetupCatalog::Changed() const {
    const std::shared_ptr<const CatalogState> state = Current();
    if (!state)
        return false;
    for (const FileFacts& facts : state->facts)
        if (!(FactsOf(facts.path) == facts))
            return true;
    return false;
}

std::shared_ptr<const CatalogState> CSetupCatalog::Current() const {
    const std::lock_guard lock(m_mutex);
    return m_state;
}

SetupLookup CSetupCatalog::Find(const ServeRoute& route) const {
    SetupLookup lookup;
    const std::shared_ptr<const CatalogState> state = Current();
    if (!state)
        return lookup;
    const CReseller* found = nullptr;
    if (route.kind == ServeRoute::Kind::ByKey) {
        found = state->project.LookupReseller(route.key);
        if (found && !route.fileName.empty() && route.fileName != FileNameFor(*state, *found))
            found = nullptr;
    } else if (route.kind == ServeRoute::Kind::ByAffiliateId) {
        for (const uint16_t key : state->project.m_mapResellers.Keys()) {
            const CReseller* affiliate = state->project.LookupReseller(key);
            if (affiliate && affiliate->m_strAffiliateId == route.affiliateId) {
                found = affiliate;
                lookup.keys.push_back(key);
            }
        }
        if (lookup.keys.size() > 1) {
            lookup.status = SetupLookup::Status::Ambiguous;
            return lookup;
        }
    }
    if (found == nullptr)
        return lookup;
    SetupComposition composition;
    if (!Compose(*state, *found, composition) || !Resolve(*state, composition, lookup.setup)) {
        lookup.status = SetupLookup::Status::Failed;
        return lookup;
    }
    lookup.setup.holders.push_back(state);
    lookup.setup.fileName = FileNameFor(*state, *found);
    lookup.status = SetupLookup::Status::Found;
    return lookup;
}
