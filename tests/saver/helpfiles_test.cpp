// The saver's help file and its contents file are valid help files that agree on their topics.
#include <gtest/gtest.h>

#include "platform/helpfile.h"

namespace bx {
namespace {

TEST(saver_helpfiles_test, help_and_contents_parse_and_name_the_same_topics) {
    const HelpParseResult help = loadHelpFile(BRAMBLEX_SOURCE_DIR "/help/bramblexss.hlp");
    const HelpParseResult contents = loadHelpFile(BRAMBLEX_SOURCE_DIR "/help/bramblexss.cnt");
    ASSERT_TRUE(help.file) << help.error << " line " << help.line;
    ASSERT_TRUE(contents.file) << contents.error << " line " << contents.line;
    ASSERT_TRUE(help.file->find(0)); // the Help menu opens context 0
    ASSERT_EQ(help.file->contents().size(), contents.file->contents().size());
    for (std::size_t i = 0; i < help.file->contents().size(); ++i) {
        EXPECT_EQ(help.file->contents()[i]->context, contents.file->contents()[i]->context);
        EXPECT_EQ(help.file->contents()[i]->title, contents.file->contents()[i]->title);
    }
}

} // namespace
} // namespace bx
