// The installed guide keeps up with the command table: every command and every
// option that velkora-cli takes is described on one of its pages.
#include "cli/CommandTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string GuideText() {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(GUIDE_DIR)) {
        if (entry.path().extension() != ".html")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        text += bytes.str();
    }
    return text;
}

// True when word stands in text on its own: not as the start of a longer
// option or command ("--output" is not found in "--output-dir").
bool MentionsWord(const std::string& text, const std::string& word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        const bool endsWord =
            end == text.size() || !(std::isalnum(static_cast<unsigned char>(text[end])) ||
                                    text[end] == '-' || text[end] == '_');
        if (endsWord)
            return true;
    }
    return false;
}

TEST(GuideCoverage, EveryCommandAndOptionIsDescribed) {
    const std::string guide = GuideText();
    ASSERT_GT(guide.size(), 1000u) << "no guide pages in " << GUIDE_DIR;
    size_t commands = 0;
    for (const CliCommandFactory make : CommandTable()) {
        const auto command = make();
        const std::string name(command->Name());
        ++commands;
        EXPECT_TRUE(MentionsWord(guide, "<code>" + name)) << "command " << name;
        for (const CliOption& option : command->Syntax().options)
            EXPECT_TRUE(MentionsWord(guide, "--" + std::string(option.name)))
                << name << " --" << option.name;
    }
    EXPECT_GT(commands, 10u);
    for (const char* word : {"--version", "-V", "--help", "<code>help"})
        EXPECT_TRUE(MentionsWord(guide, word)) << word;
}

TEST(GuideCoverage, AWordIsNotFoundInsideALongerOne) {
    EXPECT_FALSE(MentionsWord("use --output-dir D", "--output"));
    EXPECT_TRUE(MentionsWord("use --output-dir D or --output F", "--output"));
    EXPECT_TRUE(MentionsWord("<code>new</code>", "<code>new"));
}

} // namespace
