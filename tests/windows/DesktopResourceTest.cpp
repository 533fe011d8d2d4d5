// velkora.exe's menus, keys, prompts and dialogs as Windows reads them from
// the resources of the built images of both machine types, against the
// desktop program's texts (app/AppTexts.h); and the templates it carries.
#include "app/AppTexts.h"
#include "app/ToolBarStrip.h"
#include "tests/windows/DialogTemplate.h"
#include "tests/windows/PeResources.h"
#include "ui/win32/VelkoraResourceIds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr uint16_t kBitmap = 2;      // RT_BITMAP
constexpr uint16_t kMenu = 4;        // RT_MENU
constexpr uint16_t kDialog = 5;      // RT_DIALOG
constexpr uint16_t kStrings = 6;     // RT_STRING
constexpr uint16_t kKeys = 9;        // RT_ACCELERATOR
constexpr uint16_t kManifest = 24;   // RT_MANIFEST
constexpr uint16_t kPopup = 0x10;    // MF_POPUP
constexpr uint16_t kLastItem = 0x80; // MF_END

struct Image {
    const char* name;
    const char* desktop;
    bool pe32Plus;
};

void PrintTo(const Image& image, std::ostream* os) {
    *os << image.name;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Reads the little-endian words of a resource; past its end it reads 0 and
// marks the reader as overrun.
class Words {
public:
    explicit Words(const std::string& bytes) : m_bytes(bytes) {}
    uint16_t Next() {
        if (m_pos + 2 > m_bytes.size()) {
            m_bOverrun = true;
            return 0;
        }
        const auto lo = static_cast<unsigned char>(m_bytes[m_pos]);
        const auto hi = static_cast<unsigned char>(m_bytes[m_pos + 1]);
        m_pos += 2;
        return static_cast<uint16_t>(lo | hi << 8);
    }
    // A NUL-ended UTF-16 text as UTF-8 (the resource texts here are ASCII,
    // anything else shows as '?').
    std::string Text() {
        std::string text;
        for (uint16_t c = Next(); c != 0 && !m_bOverrun; c = Next())
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return text;
    }
    // A counted UTF-16 text (string tables).
    std::string Counted() {
        std::string text;
        for (uint16_t n = Next(); n > 0 && !m_bOverrun; --n) {
            const uint16_t c = Next();
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return text;
    }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }
    bool Overrun() const { return m_bOverrun; }

private:
    const std::string& m_bytes;
    size_t m_pos = 0;
    bool m_bOverrun = false;
};

// A menu flattened: a popup gives its title (id kMenuTitle), a separator id 0.
std::vector<apptext::MenuItem> FlatMenu(const std::string& bytes, std::vector<std::string>& texts) {
    std::vector<apptext::MenuItem> items;
    Words words(bytes);
    words.Next(); // version
    words.Next(); // header size
    int open = 1; // levels whose last item has not been read
    while (open > 0 && !words.Overrun() && !words.AtEnd()) {
        const uint16_t flags = words.Next();
        const int id = (flags & kPopup) ? apptext::kMenuTitle : words.Next();
        texts.push_back(words.Text());
        items.push_back({id, {}});
        if (flags & kLastItem)
            --open;
        if (flags & kPopup)
            ++open;
    }
    for (size_t i = 0; i < items.size(); ++i)
        items[i].text = texts[i];
    return items;
}

std::string MenuText(const apptext::MenuItem& item) {
    if (item.id == 0 || item.id == apptext::kMenuTitle || !item.text.empty())
        return std::string(item.text);
    return std::string(apptext::CommandTexts(item.id).menu);
}

struct Key {
    uint16_t flags; // FVIRTKEY 1, FSHIFT 4, FCONTROL 8
    uint16_t key;
    uint16_t command;
    bool operator==(const Key&) const = default;
};

class DesktopResources : public testing::TestWithParam<Image> {
protected:
    void SetUp() override {
        auto loaded = PeResources::Load(GetParam().desktop);
        ASSERT_TRUE(loaded) << GetParam().desktop << " is not a PE image with resources";
        m_pe = std::move(*loaded);
    }
    std::string Resource(uint16_t type, uint16_t id) {
        const auto bytes = m_pe->Find(type, id);
        EXPECT_TRUE(bytes) << "resource " << type << "/" << id << " is missing";
        return bytes.value_or(std::string());
    }
    // The string of the string table under id; nothing when it is missing.
    std::optional<std::string> String(int id) {
        const auto block = m_pe->Find(kStrings, static_cast<uint16_t>(id / 16 + 1));
        if (!block)
            return std::nullopt;
        Words words(*block);
        std::string text;
        for (int i = 0; i <= id % 16; ++i)
            text = words.Counted();
        if (words.Overrun())
            return std::nullopt;
        return text;
    }
    std::optional<DialogTemplate> Dialog(uint16_t id) {
        return ParseDialogTemplate(Resource(kDialog, id));
    }
    std::optional<PeResources> m_pe;
};

void ExpectMenu(const std::string& bytes, const std::vector<apptext::MenuItem>& expected) {
    std::vector<std::string> texts;
    const std::vector<apptext::MenuItem> items = FlatMenu(bytes, texts);
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        EXPECT_EQ(items[i].id, expected[i].id);
        EXPECT_EQ(std::string(items[i].text), MenuText(expected[i]));
    }
}

} // namespace

TEST_P(DesktopResources, MainMenuHasTheProgramsMenusInOrder) {
    ExpectMenu(Resource(kMenu, IDR_MAINFRAME),
               std::vector<apptext::MenuItem>(std::begin(apptext::kMainMenu),
                                              std::end(apptext::kMainMenu)));
}

TEST_P(DesktopResources, ContextMenuOfTheListShowsItsOwnTexts) {
    // The popup's own (empty) title, then its items.
    std::vector<apptext::MenuItem> expected = {{apptext::kMenuTitle, ""}};
    expected.insert(expected.end(), std::begin(apptext::kAffiliateContextMenu),
                    std::end(apptext::kAffiliateContextMenu));
    ExpectMenu(Resource(kMenu, IDR_AFFILIATE_POPUP), expected);
    ExpectMenu(Resource(kMenu, IDR_LOG_POPUP), {{apptext::kMenuTitle, ""}, {ID_LOG_CLEAR, {}}});
}

TEST_P(DesktopResources, EveryCommandsPromptIsUnderItsId) {
    for (const apptext::CommandText& command : apptext::kCommandTexts) {
        SCOPED_TRACE(std::to_string(command.id));
        const std::optional<std::string> prompt = String(command.id);
        if (command.prompt.empty())
            EXPECT_FALSE(prompt && !prompt->empty());
        else
            EXPECT_EQ(prompt.value_or("<missing>"), command.prompt);
    }
    EXPECT_EQ(String(IDS_APP_TITLE).value_or("<missing>"), apptext::kAppTitle);
    EXPECT_EQ(String(IDS_IDLE_MESSAGE).value_or("<missing>"), apptext::kReady);
}

TEST_P(DesktopResources, KeysOfTheMainWindow) {
    const std::string bytes = Resource(kKeys, IDR_MAINFRAME);
    std::vector<Key> keys;
    Words words(bytes);
    for (uint16_t flags = 0; !(flags & kLastItem) && !words.AtEnd();) {
        flags = words.Next();
        const uint16_t key = words.Next();
        const uint16_t command = words.Next();
        words.Next(); // padding
        keys.push_back({static_cast<uint16_t>(flags & ~kLastItem), key, command});
    }
    const uint16_t virt = 1, shift = 4, control = 8;
    const std::vector<Key> expected = {{virt | control, 'N', ID_FILE_NEW},
                                       {virt | control, 'O', ID_FILE_OPEN},
                                       {virt | control, 'S', ID_FILE_SAVE},
                                       {virt | control, 'A', ID_SELECT_ALL},
                                       {virt, 0x2E, ID_DELETE_AFFILIATE},
                                       {virt | shift, 0x2E, ID_DELETE_AFFILIATE},
                                       {virt | control, 'X', ID_DELETE_AFFILIATE},
                                       {virt, 0x75, ID_NEXT_PANE},
                                       {virt | shift, 0x75, ID_PREV_PANE},
                                       {virt, 0x76, ID_BUILD_SELECTED},
                                       {virt, 0x77, ID_BUILD_ALL},
                                       {virt, 0x78, ID_RUN_SETUP}};
    EXPECT_EQ(keys, expected);
}

TEST_P(DesktopResources, WelcomeDialogOffersNewAndRecentFiles) {
    const auto dialog = Dialog(IDD_WELCOME);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, apptext::kWelcomeCaption);
    ASSERT_EQ(dialog->controls.size(), 5u);
    const std::string type(apptext::kDocumentTypeName);
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {IDC_WELCOME_CREATE, apptext::FormatText(apptext::kWelcomeCreate, {type})},
        {IDC_WELCOME_OPEN, apptext::FormatText(apptext::kWelcomeOpen, {type})},
        {IDC_WELCOME_FILES, ""},
        {1, std::string(apptext::kOk)},     // IDOK
        {2, std::string(apptext::kCancel)}, // IDCANCEL
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(dialog->controls[i].id, expected[i].first);
        EXPECT_EQ(dialog->controls[i].text, expected[i].second);
    }
}

TEST_P(DesktopResources, AboutBoxShowsIconTextAndOk) {
    const auto dialog = Dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, apptext::kAboutCaption);
    ASSERT_EQ(dialog->controls.size(), 3u);
    EXPECT_EQ(dialog->controls[0].id, IDC_ABOUT_ICON);
    EXPECT_EQ(dialog->controls[1].id, IDC_ABOUT_TEXT);
    EXPECT_EQ(dialog->controls[2].text, apptext::kOk);
}

TEST_P(DesktopResources, ToolbarStripsAreTwentyFourBitImagesOfEveryButton) {
    // A bitmap resource is the file without its 14-byte file header: the
    // information header, then the pixels.
    for (const uint16_t id : {IDB_TOOLBAR, IDB_TOOLBAR_DISABLED}) {
        SCOPED_TRACE("bitmap " + std::to_string(id));
        const std::string bytes = Resource(kBitmap, id);
        ASSERT_GE(bytes.size(), 40u);
        const auto le = [&bytes](size_t at, size_t size) {
            uint32_t value = 0;
            for (size_t i = size; i-- > 0;)
                value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
            return value;
        };
        EXPECT_EQ(le(0, 4), 40u);                                             // header size
        EXPECT_EQ(le(4, 4), static_cast<uint32_t>(24 * ToolBarImageCount())); // width
        EXPECT_EQ(le(8, 4), 24u);                                             // height
        EXPECT_EQ(le(14, 2), 24u);                                            // bits a pixel
        EXPECT_EQ(le(16, 4), 0u);                                             // uncompressed
        const size_t stride = (24 * ToolBarImageCount() * 3 + 3) / 4 * 4;
        EXPECT_GE(bytes.size(), 40 + stride * 24) << "the pixels are cut short";
        // The bottom-left pixel, first of the pixels, is the key colour.
        ASSERT_GE(bytes.size(), 43u);
        EXPECT_EQ(le(40, 3),
                  static_cast<uint32_t>(kToolBarKeyColour.red << 16 | kToolBarKeyColour.green << 8 |
                                        kToolBarKeyColour.blue));
    }
    EXPECT_NE(Resource(kBitmap, IDB_TOOLBAR), Resource(kBitmap, IDB_TOOLBAR_DISABLED));
}

TEST_P(DesktopResources, CarriesManifestAndTheTemplatesOfBothMachineTypes) {
    const std::string manifest = Resource(kManifest, 1);
    for (const char* line : {"Microsoft.Windows.Common-Controls", "asInvoker", "PerMonitorV2"})
        EXPECT_NE(manifest.find(line), std::string::npos) << line;
    // Launchers 131 (PE32) and 132 (PE32+), self creators 134 and 135, its
    // own machine type's as 130 and 129 again.
    const std::vector<std::pair<int, std::string>> templates = {
        {131, VELKORA_WIN32_LAUNCHER},
        {132, VELKORA_WIN64_LAUNCHER},
        {134, VELKORA_WIN32_SELFKIT},
        {135, VELKORA_WIN64_SELFKIT},
        {130, GetParam().pe32Plus ? VELKORA_WIN64_LAUNCHER : VELKORA_WIN32_LAUNCHER},
        {129, GetParam().pe32Plus ? VELKORA_WIN64_SELFKIT : VELKORA_WIN32_SELFKIT}};
    for (const auto& [id, file] : templates) {
        SCOPED_TRACE(std::to_string(id));
        const auto image = m_pe->Find("SFX_EXE", static_cast<uint16_t>(id));
        ASSERT_TRUE(image);
        EXPECT_TRUE(*image == FileBytes(file)) << "not the bytes of " << file;
    }
    EXPECT_EQ(m_pe->IsPe32Plus(), GetParam().pe32Plus);
}

INSTANTIATE_TEST_SUITE_P(Images, DesktopResources,
                         testing::Values(Image{"i686", VELKORA_WIN32_DESKTOP, false},
                                         Image{"x86_64", VELKORA_WIN64_DESKTOP, true}),
                         [](const testing::TestParamInfo<Image>& info) { return info.param.name; });
