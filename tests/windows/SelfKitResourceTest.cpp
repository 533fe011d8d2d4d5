// The dialogs of selfkit.exe as Windows creates them from its resources:
// control ids, classes, captions and order, read from the built images of
// both machine types, and the launcher each carries.
#include "package/LauncherChoice.h"
#include "selfkit/SelfKitTexts.h"
#include "tests/windows/DialogChecks.h"
#include "tests/windows/DialogTemplate.h"
#include "tests/windows/PeResources.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using dialog_checks::ExpectControls;
using dialog_checks::Expected;
using dialog_checks::ExpectLaidOut;

constexpr uint16_t kDialog = 5;     // RT_DIALOG
constexpr uint16_t kGroupIcon = 14; // RT_GROUP_ICON
constexpr uint16_t kManifest = 24;  // RT_MANIFEST
constexpr uint32_t kVisible = 0x10000000;
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kDisabled = 0x08000000;

struct Image {
    const char* name;
    const char* selfkit;
    const char* launcher; // the launcher of the same machine type
    bool pe32Plus;
};

void PrintTo(const Image& image, std::ostream* os) {
    *os << image.name;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SelfKitResources : public ::testing::TestWithParam<Image> {
protected:
    void SetUp() override {
        auto loaded = PeResources::Load(GetParam().selfkit);
        ASSERT_TRUE(loaded) << GetParam().selfkit << " is not a PE image with resources";
        m_pe = std::move(*loaded);
    }

    DialogTemplate Dialog(uint16_t id) {
        const auto bytes = m_pe->Find(kDialog, id);
        EXPECT_TRUE(bytes) << "no dialog " << id;
        const auto dialog = bytes ? ParseDialogTemplate(*bytes) : std::nullopt;
        EXPECT_TRUE(dialog) << "dialog " << id << " is not a whole DIALOGEX template";
        return dialog.value_or(DialogTemplate{});
    }

    std::optional<PeResources> m_pe;
};

TEST_P(SelfKitResources, MainDialogHasTheFormInOrder) {
    using namespace selfkit_text;
    const DialogTemplate dialog = Dialog(100);
    EXPECT_EQ(dialog.caption, kCaption);
    EXPECT_EQ(dialog.font, "8 MS Shell Dlg");
    ExpectControls(dialog, {{"Static", -1, kServiceLabel},
                            {"ComboBox", 1002, ""},
                            {"Static", -1, kAffiliateLabel},
                            {"Edit", 1000, ""},
                            {"Static", -1, kHomepageLabel},
                            {"Edit", 1005, ""},
                            {"Static", -1, kPathLabel},
                            {"Edit", 1003, ""},
                            {"Button", 1004, kBrowse},
                            {"Button", 1, kBuild},
                            {"Button", 2, kCancel}});
    ExpectLaidOut(dialog);
}

TEST_P(SelfKitResources, MainDialogControlsBehaveAsAForm) {
    const DialogTemplate dialog = Dialog(100);
    ASSERT_EQ(dialog.controls.size(), 11u);
    const auto& c = dialog.controls;
    EXPECT_EQ(c[1].style & 0x3, 0x3u) << "the service list is a drop-down list, not editable";
    EXPECT_EQ(c[1].style & 0x100, 0u) << "the list keeps the order it is given (CBS_SORT)";
    EXPECT_EQ(c[9].style & 0xF, 0x1u) << "Build is the default button";
    for (int i : {1, 3, 5, 7, 8, 9, 10}) {
        EXPECT_NE(c[i].style & kTabStop, 0u) << "control " << i << " is reached with Tab";
        EXPECT_EQ(c[i].style & kDisabled, 0u) << "control " << i << " starts enabled";
    }
    // The path field holds a normal path: some 50 average characters at 4
    // dialog units each.
    EXPECT_GE(c[7].cx, 200);
    EXPECT_GE(c[3].cx, c[7].cx) << "the other fields are no narrower than the path field";
    // The window menu carries the About item, so the dialog has one.
    EXPECT_NE(dialog.style & 0x00080000, 0u) << "WS_SYSMENU";
}

TEST_P(SelfKitResources, ProgressDialogShowsBarPercentAndCancel) {
    const DialogTemplate dialog = Dialog(101);
    EXPECT_EQ(dialog.caption, selfkit_text::kProgressCaption);
    ExpectControls(dialog, {{"msctls_progress32", 1010, ""},
                            {"Static", 1011, selfkit_text::kProgressInitial},
                            {"Button", 2, selfkit_text::kCancel}});
    // Shown by the program once it is owned by the main dialog.
    EXPECT_EQ(dialog.style & kVisible, 0u);
    ExpectLaidOut(dialog);
}

TEST_P(SelfKitResources, AboutBoxShowsIconTextAndLink) {
    const DialogTemplate dialog = Dialog(102);
    EXPECT_EQ(dialog.caption, selfkit_text::kAboutCaption);
    ExpectControls(dialog, {{"Static", 1020, "#128"},
                            {"Static", 1021, selfkit_text::kAboutText},
                            {"Static", 1022, selfkit_text::kVendorAddress},
                            {"Button", 1, "OK"}});
    ASSERT_EQ(dialog.controls.size(), 4u);
    EXPECT_NE(dialog.controls[2].style & 0x100, 0u) << "the link reports clicks (SS_NOTIFY)";
    ExpectLaidOut(dialog);
}

TEST_P(SelfKitResources, CarriesIconManifestAndItsLauncher) {
    EXPECT_EQ(m_pe->IsPe32Plus(), GetParam().pe32Plus);
    EXPECT_TRUE(m_pe->Find(kGroupIcon, 128)) << "no program icon";
    const auto manifest = m_pe->Find(kManifest, 1);
    ASSERT_TRUE(manifest);
    EXPECT_NE(manifest->find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest->find("Microsoft.Windows.Common-Controls"), std::string::npos);

    const auto launcher = m_pe->Find("SFX_EXE", 130);
    ASSERT_TRUE(launcher) << "no template 130";
    EXPECT_TRUE(*launcher == FileBytes(GetParam().launcher))
        << "template 130 is not the launcher of the same machine type";
    EXPECT_FALSE(m_pe->Find("SFX_EXE", 129)) << "a self creator never carries itself";
    if (GetParam().pe32Plus) {
        // The 64-bit self creator writes 32-bit custom setups for 32-bit setups.
        const auto launcher32 = m_pe->Find("SFX_EXE", 131);
        ASSERT_TRUE(launcher32);
        EXPECT_EQ(ProgramKindOfBytes(reinterpret_cast<const unsigned char*>(launcher32->data()),
                                     launcher32->size()),
                  ProgramKind::Windows32);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Images, SelfKitResources,
    ::testing::Values(Image{"i686", VELKORA_WIN32_SELFKIT, VELKORA_WIN32_LAUNCHER, false},
                      Image{"x86_64", VELKORA_WIN64_SELFKIT, VELKORA_WIN64_LAUNCHER, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PeResources, RefusesWhatIsNoPeImage) {
    const std::string path = ::testing::TempDir() + "/not-pe.exe";
    for (const std::string& bytes :
         {std::string(), std::string("MZ"), std::string("MZ") + std::string(62, '\0'),
          std::string("\x7f"
                      "ELF") +
              std::string(200, '\0')}) {
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_FALSE(PeResources::Load(path)) << bytes.size() << " bytes";
    }
}

TEST(DialogTemplate, RefusesCutTemplates) {
    const auto pe = PeResources::Load(VELKORA_WIN64_SELFKIT);
    ASSERT_TRUE(pe);
    const auto bytes = pe->Find(kDialog, 100);
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(ParseDialogTemplate(*bytes));
    // Cut inside the last control's text: no partial template is taken.
    for (size_t keep : {size_t{0}, size_t{3}, size_t{26}, bytes->size() - 12})
        EXPECT_FALSE(ParseDialogTemplate(bytes->substr(0, keep))) << keep << " bytes";
}

} // namespace
