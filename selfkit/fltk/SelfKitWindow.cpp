#include "selfkit/fltk/SelfKitWindow.h"

#include "platform/ProcessStart.h"
#include "selfkit/BuildRoad.h"
#include "selfkit/SelfKitTexts.h"
#include "selfkit/fltk/AboutWindow.h"
#include "selfkit/fltk/ControlTags.h"
#include "selfkit/fltk/MessageBox.h"
#include "selfkit/fltk/ProgramIcon.h"
#include "selfkit/fltk/ProgressWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Return_Button.H>

#include <chrono>
#include <filesystem>
#include <system_error>

using namespace selfkit_fltk;

namespace {

constexpr int kLabelW = 190; // the labels stand left of their fields
constexpr int kFieldX = 14 + kLabelW;
constexpr int kFieldW = 500; // room for a path of some sixty-five characters
constexpr int kBrowseW = 34;
constexpr int kRowH = 26;
constexpr int kRowGap = 10;
constexpr int kWidth = kFieldX + kFieldW + kBrowseW + 6 + 14;

int RowY(int row) {
    return 14 + row * (kRowH + kRowGap);
}

CSelfKitWindow* Owner(Fl_Widget* w) {
    return static_cast<CSelfKitWindow*>(w->window());
}

template <typename W> W* Tagged(W* widget, int id) {
    TagControl(widget, id);
    return widget;
}

} // namespace

CSelfKitWindow::CSelfKitWindow(CSelfKit& kit)
    : Fl_Double_Window(kWidth, RowY(4) + kRowH + 14, selfkit_text::kCaption), m_kit(kit) {
    using namespace selfkit_text;
    m_pService = Tagged(new Fl_Choice(kFieldX, RowY(0), 200, kRowH, kServiceLabel), kIdService);
    m_pAffiliate =
        Tagged(new Fl_Input(kFieldX, RowY(1), kFieldW, kRowH, kAffiliateLabel), kIdAffiliate);
    m_pHomepage =
        Tagged(new Fl_Input(kFieldX, RowY(2), kFieldW, kRowH, kHomepageLabel), kIdHomepage);
    m_pPath = Tagged(new Fl_Input(kFieldX, RowY(3), kFieldW, kRowH, kPathLabel), kIdPath);
    auto* browse =
        Tagged(new Fl_Button(kFieldX + kFieldW + 6, RowY(3), kBrowseW, kRowH, kBrowse), kIdBrowse);
    browse->callback([](Fl_Widget* w, void*) { Owner(w)->OnBrowse(); });

    const int buttonsY = RowY(4);
    auto* build = Tagged(
        new Fl_Return_Button(kWidth - 14 - 2 * 96 - 8, buttonsY, 96, kRowH, kBuild), kIdBuild);
    build->callback([](Fl_Widget* w, void*) { Owner(w)->OnBuild(); });
    auto* cancel = Tagged(new Fl_Button(kWidth - 14 - 96, buttonsY, 96, kRowH, kCancel), kIdCancel);
    cancel->callback([](Fl_Widget* w, void*) { Owner(w)->hide(); });
    // The template puts About into the window's system menu; a window of
    // this toolkit has none under X11, so the item stands here as a button.
    auto* about = Tagged(new Fl_Button(14, buttonsY, 150, kRowH, kAboutMenuItem), kIdAbout);
    about->callback([](Fl_Widget* w, void*) { Owner(w)->ShowAbout(); });
    end();

    // The close box and Escape end the program, as Cancel does; never while
    // a build runs.
    callback([](Fl_Widget* w, void*) {
        auto* self = static_cast<CSelfKitWindow*>(w);
        if (!self->m_bBuilding)
            self->hide();
    });
    icon(ProgramIcon(32));
}

CSelfKitWindow::~CSelfKitWindow() = default;

bool CSelfKitWindow::Initialize() {
    if (!StartSelfKit(m_kit, *this))
        return false;
    m_serviceNames = m_kit.Services().names;
    m_pService->clear();
    for (const std::string& name : m_serviceNames) {
        // A menu text reads "/", "\\", "&" and "_" as marks; names are plain
        // words of the service table, in any letter case, but stay safe.
        std::string item;
        for (char c : name) {
            if (c == '/' || c == '\\' || c == '&' || c == '_')
                item += '\\';
            item += c;
        }
        m_pService->add(item.c_str());
    }
    if (!m_serviceNames.empty())
        m_pService->value(0);
    return true;
}

CCustomBuildRequest CSelfKitWindow::Request() const {
    CCustomBuildRequest request;
    const int index = m_pService->value();
    if (index >= 0 && index < static_cast<int>(m_serviceNames.size()))
        request.strService = m_serviceNames[static_cast<size_t>(index)];
    request.strAffiliateId = m_pAffiliate->value();
    request.strHomePage = m_pHomepage->value();
    request.strOutputPath = m_pPath->value();
    return request;
}

void CSelfKitWindow::OnBuild() {
    if (m_bBuilding)
        return;
    m_lastStatus = RunBuildRoad(m_kit, Request(), *this);
}

void CSelfKitWindow::OnBrowse() {
    std::error_code ec;
    std::string folder = std::filesystem::current_path(ec).string();
    const std::string preset = folder + "/" + selfkit_text::kPresetFileName;
    if (const auto chosen = ChooseSavePath(preset))
        m_pPath->value(chosen->c_str());
}

std::optional<std::string> CSelfKitWindow::ChooseSavePath(const std::string& preset) {
    if (m_chooser)
        return m_chooser(preset);
    Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE);
    // No default extension and no overwrite question: the affiliate may pick
    // any name and rebuild over an earlier result.
    chooser.options(Fl_Native_File_Chooser::NO_OPTIONS);
    chooser.filter((std::string(selfkit_text::kSaveFilter) + "\t*.exe").c_str());
    const std::filesystem::path path(preset);
    chooser.directory(path.parent_path().c_str());
    chooser.preset_file(path.filename().c_str());
    if (chooser.show() != 0 || !chooser.filename() || !*chooser.filename())
        return std::nullopt;
    return std::string(chooser.filename());
}

void CSelfKitWindow::ShowAbout() {
    CAboutWindow about(*this);
    about.Run();
}

void CSelfKitWindow::ShowMessage(MessageKind kind, const std::string& text) {
    CMessageBox box(CMessageBox::IconOf(kind), text);
    box.Run();
}

bool CSelfKitWindow::AskYesNo(const std::string& text) {
    CMessageBox box(CMessageBox::Icon::Question, text);
    return box.Run();
}

void CSelfKitWindow::BeginProgress() {
    m_bBuilding = true;
    cursor(FL_CURSOR_WAIT);
    deactivate();
    m_pProgress = std::make_unique<CProgressWindow>();
    m_pProgress->icon(ProgramIcon(32));
    m_pProgress->position(x() + (w() - m_pProgress->w()) / 2, y() + (h() - m_pProgress->h()) / 2);
    // Shown while the main dialog is the newest window, so the window
    // manager is told it belongs to the main dialog.
    m_pProgress->show();
    Fl::flush();
}

void CSelfKitWindow::Pause(int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = Clock::now(); now < end; now = Clock::now())
        Fl::wait(std::chrono::duration<double>(end - now).count());
}

bool CSelfKitWindow::StepProgress(int position) {
    if (m_nStepPauseMs > 0)
        Pause(m_nStepPauseMs);
    m_pProgress->SetPosition(position);
    Fl::check();
    return !m_pProgress->TakeCancel();
}

void CSelfKitWindow::EndProgress() {
    if (m_pProgress) {
        m_pProgress->hide();
        m_pProgress.reset();
    }
    activate();
    cursor(FL_CURSOR_DEFAULT);
    m_bBuilding = false;
    Fl::flush();
}

bool CSelfKitWindow::StartPackage(const std::string& path) {
    // A bare name would be looked up in PATH; the package is the file just
    // written, relative to the current folder.
    std::error_code ec;
    const std::string program = std::filesystem::absolute(path, ec).string();
    return !ec && platform::StartDetached(program, {});
}
