#include "platform/helpfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/question.h"

namespace bx {
namespace {

const char* const goodFile = R"(# a comment
title: Test Help
contents: 20, 10

@topic 10 Resetting
@keywords reset, New World
@see 20
First line of a paragraph
second line of it.

- a bullet
  that goes on
* another bullet
== A heading
Closing words about profiles.

@topic 20 Profiles and files
@keywords profile
Profiles hold the world.

@topic 30 Hidden page
Only reached by its number; mentions zebras.
)";

HelpFile parsed(const char* text) {
    auto result = parseHelpFile(text);
    EXPECT_TRUE(result.file) << result.error << " line " << result.line;
    return result.file ? *result.file : HelpFile{};
}

TEST(helpfile_test, header_and_topics_are_read) {
    const HelpFile file = parsed(goodFile);
    EXPECT_EQ("Test Help", file.title());
    ASSERT_EQ(3u, file.topics().size());
    const HelpTopic* reset = file.find(10);
    ASSERT_TRUE(reset);
    EXPECT_EQ("Resetting", reset->title);
    EXPECT_EQ((std::vector<std::string>{"reset", "New World"}), reset->keywords);
    EXPECT_EQ(std::vector<int>{20}, reset->seeAlso);
    EXPECT_EQ(nullptr, file.find(11));
}

TEST(helpfile_test, body_markup_gives_paragraphs_bullets_and_headings) {
    const HelpFile file = parsed(goodFile);
    const std::vector<HelpBlock> expected{
        {HelpBlock::Paragraph, "First line of a paragraph second line of it."},
        {HelpBlock::Bullet, "a bullet that goes on"},
        {HelpBlock::Bullet, "another bullet"},
        {HelpBlock::Heading, "A heading"},
        {HelpBlock::Paragraph, "Closing words about profiles."},
    };
    EXPECT_EQ(expected, file.find(10)->body);
}

TEST(helpfile_test, contents_follow_the_contents_lines_or_else_the_file) {
    const HelpFile file = parsed(goodFile);
    const auto contents = file.contents();
    ASSERT_EQ(2u, contents.size());
    EXPECT_EQ(20, contents[0]->context);
    EXPECT_EQ(10, contents[1]->context);

    const HelpFile plain = parsed("@topic 5 A\n@topic 3 B\n");
    const auto all = plain.contents();
    ASSERT_EQ(2u, all.size());
    EXPECT_EQ(5, all[0]->context);
    EXPECT_EQ(3, all[1]->context);
}

TEST(helpfile_test, search_matches_titles_and_keywords_before_body_text) {
    const HelpFile file = parsed(goodFile);
    const auto contexts = [&file](const char* query) {
        std::vector<int> out;
        for (const HelpTopic* topic : file.search(query))
            out.push_back(topic->context);
        return out;
    };
    EXPECT_EQ(std::vector<int>{10}, contexts("new WORLD"));  // keyword, any case
    EXPECT_EQ((std::vector<int>{20, 10}), contexts("prof")); // 20 by keyword, 10 by its body
    EXPECT_EQ(std::vector<int>{30}, contexts("zebras"));     // left out of the contents, still found
    EXPECT_EQ(std::vector<int>{}, contexts("reset zebras")); // every word must match
    EXPECT_EQ(std::vector<int>{}, contexts("   "));
}

TEST(helpfile_test, crlf_lines_and_a_byte_order_mark_are_accepted) {
    const HelpFile file = parsed("\xEF\xBB\xBFtitle: T\r\n@topic 1 One\r\nText\r\n");
    EXPECT_EQ("T", file.title());
    EXPECT_EQ("One", file.find(1)->title);
    EXPECT_EQ("Text", file.find(1)->body.at(0).text);
}

struct BrokenCase {
    const char* name;
    const char* text;
    int line;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class broken_help_file : public testing::TestWithParam<BrokenCase> {};

TEST_P(broken_help_file, is_rejected_at_its_line) {
    const auto result = parseHelpFile(GetParam().text);
    EXPECT_FALSE(result.file);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(GetParam().line, result.line) << result.error;
}

INSTANTIATE_TEST_SUITE_P(
    helpfile_test, broken_help_file,
    testing::Values(BrokenCase{"empty", "", 0}, BrokenCase{"only_header", "title: T\n", 0},
                    BrokenCase{"text_before_topics", "title: T\nhello\n@topic 1 A\n", 2},
                    BrokenCase{"title_twice", "title: A\ntitle: B\n@topic 1 A\n", 2},
                    BrokenCase{"context_not_a_number", "@topic x1 A\n", 1},
                    BrokenCase{"negative_context", "@topic -1 A\n", 1},
                    BrokenCase{"missing_title", "@topic 1 A\n@topic 2\n", 2},
                    BrokenCase{"duplicate_context", "@topic 1 A\n@topic 1 B\n", 2},
                    BrokenCase{"keywords_before_topics", "@keywords a\n@topic 1 A\n", 1},
                    BrokenCase{"unknown_directive", "@topic 1 A\n@sea 2\n", 2},
                    BrokenCase{"see_not_a_number", "@topic 1 A\n@see two\n", 2},
                    BrokenCase{"see_unknown_topic", "@topic 1 A\n@see 2\n", 2},
                    BrokenCase{"contents_unknown_topic", "contents: 1 2\n@topic 1 A\n", 1},
                    BrokenCase{"contents_twice", "contents: 1\ncontents: 1\n@topic 1 A\n", 2},
                    BrokenCase{"contents_not_numbers", "contents: 1 b\n@topic 1 A\n", 1},
                    BrokenCase{"not_utf8", "@topic 1 A\nCaf\xE9\n", 0},
                    BrokenCase{"cut_utf8", "@topic 1 A\nCaf\xC3", 0},
                    BrokenCase{"overlong_utf8", "@topic 1 A\n\xC0\xAF\n", 0},
                    BrokenCase{"surrogate_utf8", "@topic 1 A\n\xED\xA0\x80\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(helpfile_test, missing_file_and_folder_are_errors) {
    EXPECT_FALSE(loadHelpFile("/nonexistent/bramblex.hlp").file);
    const auto folder = loadHelpFile(std::filesystem::temp_directory_path().string());
    EXPECT_FALSE(folder.file);
    EXPECT_FALSE(folder.error.empty());
}

// The shipped help file must answer every help context the simulator's message boxes name,
// and the page shown without a context.
TEST(helpfile_test, shipped_file_has_every_context_the_simulator_uses) {
    const auto result = loadHelpFile(BRAMBLEX_SOURCE_DIR "/help/bramblex.hlp");
    ASSERT_TRUE(result.file) << result.error << " line " << result.line;
    for (int context : {0, help::reset, help::deadWorld, help::resetToDefaults, help::acceptOrSaveOptions,
                        help::loadProfile, help::profileVersion, help::testScreensaver,
                        help::installScreensaver, help::systemIni})
        EXPECT_TRUE(result.file->find(context)) << context;
    EXPECT_EQ(result.file->topics().size(), result.file->contents().size())
        << "every topic is in the contents";
}

} // namespace
} // namespace bx
