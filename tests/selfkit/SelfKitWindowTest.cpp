// The self creator's Linux dialog, in process on a virtual X server: the
// form, the build road through the real windows and boxes, Cancel in the
// "Building" window, and the About box.

#include "tests/support/SelfCreatorFixtures.h"

// Before the X11 headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "model/RegistrationServices.h"
#include "selfkit/SelfKitTexts.h"
#include "selfkit/fltk/AboutWindow.h"
#include "selfkit/fltk/ControlTags.h"
#include "selfkit/fltk/MessageBox.h"
#include "selfkit/fltk/PlainText.h"
#include "selfkit/fltk/ProgressWindow.h"
#include "selfkit/fltk/SelfKitWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace selfkit_fltk;

namespace {

// The display is opened only when tests run, not when they are listed.
class DisplayEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        Display* display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display (run under tests/selfkit/with-xvfb.sh)";
        fl_open_display(display);
    }
};

// The window of the X server that the window manager is told w belongs to.
Window TransientOwner(Fl_Window* w) {
    Window owner = 0;
    XGetTransientForHint(fl_display, fl_xid(w), &owner);
    return owner;
}

// What a box showed and how it was answered.
struct SeenBox {
    CMessageBox::Icon icon;
    std::string text;
    bool ownedByMain;
};

// Answers the modal windows as the affiliate would: it runs between the
// toolkit's events whenever a window waits for an answer.
class Responder {
public:
    explicit Responder(Fl_Window* main) : m_main(main) {
        Fl::add_check(&Responder::Check, this);
        Fl::add_timeout(0.02, &Responder::Tick, this);
    }
    ~Responder() {
        Fl::remove_check(&Responder::Check, this);
        Fl::remove_timeout(&Responder::Tick, this);
        Fl::remove_timeout(&Responder::RunAbout, this);
    }

    bool answerYes = false;
    // Called while the "Building" window is open, with the position shown.
    std::function<void(CProgressWindow&)> onProgress;
    // Called once when the About box is open.
    std::function<void(CAboutWindow&)> onAbout;

    std::vector<SeenBox> boxes;
    std::vector<std::string> percents;
    bool progressOwnedByMain = false;

private:
    static void Tick(void* self) {
        // Keeps the loop of a waiting box turning.
        Fl::repeat_timeout(0.02, &Responder::Tick, self);
    }
    static void Check(void* self) { static_cast<Responder*>(self)->Act(); }

    void Act() {
        Fl_Window* modal = Fl::modal();
        if (!modal || !modal->shown())
            return;
        if (auto* box = dynamic_cast<CMessageBox*>(modal)) {
            const bool question = box->IconKind() == CMessageBox::Icon::Question;
            boxes.push_back({box->IconKind(), box->Text(), TransientOwner(box) != 0});
            Fl_Button* answer = question && !answerYes ? box->RejectButton() : box->AcceptButton();
            answer->do_callback();
        } else if (auto* progress = dynamic_cast<CProgressWindow*>(modal)) {
            if (percents.empty() || percents.back() != progress->PercentText())
                percents.push_back(progress->PercentText());
            progressOwnedByMain = TransientOwner(progress) == fl_xid(m_main);
            if (onProgress)
                onProgress(*progress);
        } else if (auto* about = dynamic_cast<CAboutWindow*>(modal)) {
            if (onAbout) {
                // Outside this check, so that the boxes it opens are answered.
                m_pAbout = about;
                m_aboutAct = std::move(onAbout);
                onAbout = nullptr;
                Fl::add_timeout(0.0, &Responder::RunAbout, this);
            }
        }
    }
    static void RunAbout(void* data) {
        auto* self = static_cast<Responder*>(data);
        self->m_aboutAct(*self->m_pAbout);
    }

    CAboutWindow* m_pAbout = nullptr;
    std::function<void(CAboutWindow&)> m_aboutAct;

    Fl_Window* m_main;
};

class SelfKitWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MakeSelfCreator(work, work / "VelkSMNG.exe",
                                    ProductInfoBytes(kTestUuid, "ShareIt;5678;RegNow;1234;"),
                                    "#!SETUP"));
        window.SetStepPause(0);
        ASSERT_TRUE(window.Initialize());
        window.show();
        Fl::flush();
    }

    Fl_Input* Field(int id) { return static_cast<Fl_Input*>(FindControl(&window, id)); }
    void Press(int id) { FindControl(&window, id)->do_callback(); }
    void Fill(const std::string& affiliate, const std::string& path) {
        Field(kIdAffiliate)->value(affiliate.c_str());
        Field(kIdHomepage)->value("https://affiliate.example/");
        Field(kIdPath)->value(path.c_str());
    }

    ScratchFolder work;
    ScratchFolder temp;
    ScratchFolder target;
    CSelfKit kit{work / "VelkSMNG.exe", temp.Path()};
    CSelfKitWindow window{kit};
};

TEST_F(SelfKitWindowFixture, TheFormHasItsLabelsIdsAndOrder) {
    EXPECT_STREQ(window.label(), "Create Your Custom Build Now!");
    // The focus moves through the children in this order.
    std::vector<int> ids;
    for (int i = 0; i < window.children(); ++i)
        if (const int id = ControlId(window.child(i)))
            ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<int>{kIdService, kIdAffiliate, kIdHomepage, kIdPath, kIdBrowse,
                                     kIdBuild, kIdCancel, kIdAbout}));
    EXPECT_STREQ(FindControl(&window, kIdService)->label(), "Registration Service:  ");
    EXPECT_STREQ(Field(kIdAffiliate)->label(), "Affiliate ID:  ");
    EXPECT_STREQ(Field(kIdHomepage)->label(), "Homepage:  ");
    EXPECT_STREQ(Field(kIdPath)->label(), "Custom Build Pathname:  ");
    EXPECT_STREQ(FindControl(&window, kIdBrowse)->label(), "...");
    EXPECT_STREQ(FindControl(&window, kIdBuild)->label(), "Build");
    EXPECT_STREQ(FindControl(&window, kIdCancel)->label(), "Cancel");
    EXPECT_STREQ(FindControl(&window, kIdAbout)->label(), "&About selfkit...");
    EXPECT_TRUE(FindControl(&window, kIdAbout)->visible_r());

    // Services in alphabetical order, the first selected; fields empty.
    auto* service = static_cast<Fl_Choice*>(FindControl(&window, kIdService));
    ASSERT_EQ(service->size(), 3); // two items and the menu's end
    EXPECT_STREQ(service->menu()[0].label(), "RegNow");
    EXPECT_STREQ(service->menu()[1].label(), "ShareIt");
    EXPECT_EQ(service->value(), 0);
    for (int id : {kIdAffiliate, kIdHomepage, kIdPath})
        EXPECT_STREQ(Field(id)->value(), "");

    // A normal path fits into the pathname field.
    const std::string path = "/home/affiliate/Downloads/Products/TidyNotes-aff-2211-setup.exe";
    fl_font(Field(kIdPath)->textfont(), Field(kIdPath)->textsize());
    EXPECT_GE(Field(kIdPath)->w(), static_cast<int>(fl_width(path.c_str())) + 8);
}

TEST_F(SelfKitWindowFixture, ABuildShowsProgressSuccessThenAsksToRun) {
    window.SetStepPause(1); // the window is seen at " 0 %" too
    auto* service = static_cast<Fl_Choice*>(FindControl(&window, kIdService));
    service->value(1); // ShareIt
    Fill("A&B=@1", target / "new/folder/custom.exe");
    Responder responder(&window);
    Press(kIdBuild);

    EXPECT_EQ(window.LastBuildStatus(), SelfKitStatus::Ok);
    EXPECT_EQ(responder.percents,
              (std::vector<std::string>{" 0 %", "20%", "60%", "70%", "80%", "90%", "100%"}));
    EXPECT_TRUE(responder.progressOwnedByMain);
    ASSERT_EQ(responder.boxes.size(), 2u);
    EXPECT_EQ(responder.boxes[0].icon, CMessageBox::Icon::Information);
    EXPECT_EQ(responder.boxes[0].text, "Custom setup file has been created successfully!");
    EXPECT_TRUE(responder.boxes[0].ownedByMain);
    EXPECT_EQ(responder.boxes[1].icon, CMessageBox::Icon::Question);
    EXPECT_EQ(responder.boxes[1].text, "Do you want to run the setup file now?");

    EXPECT_TRUE(std::filesystem::exists(target / "new/folder/custom.exe"));
    // The affiliate ID reaches the link, encoded where a query value needs it.
    const std::string info = InfoEntryOf(target / "new/folder/custom.exe");
    EXPECT_NE(info.find(std::string(ServiceTable()[kServiceShareIt].endpoint) +
                        "?productid=5678&resellerid=A%26B%3D@1"),
              std::string::npos);
    EXPECT_EQ(window.ProgressWindow(), nullptr);
    EXPECT_TRUE(window.active());
}

TEST_F(SelfKitWindowFixture, CancelInTheBuildingWindowStopsAndTheDialogStaysUsable) {
    Fill("A", target / "custom.exe");
    {
        Responder responder(&window);
        responder.onProgress = [](CProgressWindow& progress) {
            if (progress.Position() == 2)
                progress.CancelButton()->do_callback();
        };
        Press(kIdBuild);
        EXPECT_EQ(window.LastBuildStatus(), SelfKitStatus::Cancelled);
        EXPECT_TRUE(responder.boxes.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(target / "custom.exe"));
    EXPECT_EQ(window.ProgressWindow(), nullptr);
    EXPECT_TRUE(window.active());

    Responder again(&window);
    Press(kIdBuild);
    EXPECT_EQ(window.LastBuildStatus(), SelfKitStatus::Ok);
    EXPECT_TRUE(std::filesystem::exists(target / "custom.exe"));
}

// Failures and refusals carry the warning icon; only the success informs.
TEST_F(SelfKitWindowFixture, FailuresAreWarningsAndTheDialogStays) {
    Fill("A", "");
    Responder responder(&window);
    Press(kIdBuild);
    EXPECT_EQ(window.LastBuildStatus(), SelfKitStatus::BuildFailed);

    Field(kIdPath)->value(kit.SetupFilePath().c_str());
    Press(kIdBuild);
    EXPECT_EQ(window.LastBuildStatus(), SelfKitStatus::OutputIsWorkFile);

    ASSERT_EQ(responder.boxes.size(), 2u);
    EXPECT_EQ(responder.boxes[0].icon, CMessageBox::Icon::Warning);
    EXPECT_EQ(responder.boxes[0].text, "Error! Can't build affiliate setup file [].");
    EXPECT_EQ(responder.boxes[1].icon, CMessageBox::Icon::Warning);
    EXPECT_TRUE(window.active());
    EXPECT_TRUE(window.shown());
}

TEST_F(SelfKitWindowFixture, BrowseReplacesOnlyThePathname) {
    Fill("A", "old");
    std::string preset;
    window.SetSaveChooser([&preset](const std::string& p) {
        preset = p;
        return std::optional<std::string>("/chosen/setup.exe");
    });
    Press(kIdBrowse);
    EXPECT_EQ(preset, std::filesystem::current_path().string() + "/setup.exe");
    EXPECT_STREQ(Field(kIdPath)->value(), "/chosen/setup.exe");
    EXPECT_STREQ(Field(kIdAffiliate)->value(), "A");

    window.SetSaveChooser([](const std::string&) { return std::optional<std::string>(); });
    Press(kIdBrowse);
    EXPECT_STREQ(Field(kIdPath)->value(), "/chosen/setup.exe");
}

// The About box from its button; its link, with nothing on this desktop to
// open it, warns with the reason.
TEST_F(SelfKitWindowFixture, TheAboutBoxWarnsWhenItsLinkCannotBeOpened) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const char* oldBrowser = std::getenv("BROWSER");
    const std::string savedBrowser = oldBrowser ? oldBrowser : "";
    ::setenv("PATH", (work / "empty-bin").c_str(), 1);
    ::setenv("BROWSER", (work / "no-such-browser").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (work / "config-dirs").c_str(), 1);
    ::setenv("XDG_DATA_DIRS", (work / "data-dirs").c_str(), 1);

    Responder responder(&window);
    std::string caption;
    std::string text;
    responder.onAbout = [&](CAboutWindow& about) {
        caption = about.label();
        text = about.TextBox()->Text();
        about.LinkButton()->do_callback(); // the warning box is answered in turn
        about.OkButton()->do_callback();
    };
    Press(kIdAbout);
    ::setenv("PATH", oldPath.c_str(), 1);
    if (oldBrowser)
        ::setenv("BROWSER", savedBrowser.c_str(), 1);
    else
        ::unsetenv("BROWSER");

    EXPECT_EQ(caption, "About selfkit");
    EXPECT_EQ(text, "Velkora Self Maker \nVersion 1.0");
    ASSERT_EQ(responder.boxes.size(), 1u);
    EXPECT_EQ(responder.boxes[0].icon, CMessageBox::Icon::Warning);
    EXPECT_EQ(responder.boxes[0].text.rfind("Unable to open hyperlink:\n\n", 0), 0u);
    EXPECT_TRUE(responder.boxes[0].ownedByMain);
}

TEST(SelfKitWindowStart, ABareProgramSaysTheFileIsCorrupted) {
    ScratchFolder work;
    ScratchFolder temp;
    WriteBytes(work / "bare", std::string(2048, 'x'));
    CSelfKit kit(work / "bare", temp.Path());
    CSelfKitWindow window(kit);
    Responder responder(&window);
    EXPECT_FALSE(window.Initialize());
    ASSERT_EQ(responder.boxes.size(), 1u);
    EXPECT_EQ(responder.boxes[0].icon, CMessageBox::Icon::Warning);
    EXPECT_EQ(responder.boxes[0].text, "File corrupted, please download it again!");
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);
    return RUN_ALL_TESTS();
}
