#pragma once
// The programs' help files: plain UTF-8 text of topics with context numbers, titles, keywords and
// simple body markup, plus a contents order. The format is described in help/README.md.
// Plain C++ so the parser is tested without a display.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bx {

struct HelpBlock {
    enum Kind { Paragraph, Bullet, Heading };
    Kind kind = Paragraph;
    std::string text; // lines of one block joined by single spaces
    bool operator==(const HelpBlock&) const = default;
};

struct HelpTopic {
    int context = 0;
    std::string title;
    std::vector<std::string> keywords;
    std::vector<int> seeAlso; // contexts of related topics, each one a topic of the file
    std::vector<HelpBlock> body;
};

class HelpFile {
public:
    const std::string& title() const { return title_; }
    // Topics in file order.
    const std::vector<HelpTopic>& topics() const { return topics_; }
    const HelpTopic* find(int context) const;
    // The contents: the topics of the "contents:" lines in their order, or every topic in file
    // order when the file has none.
    std::vector<const HelpTopic*> contents() const;
    // Topics matching every word of query, case-insensitively (ASCII letters): first those whose
    // title or keywords hold all words, then those that need the body text too; contents order
    // within each group. An empty query matches nothing.
    std::vector<const HelpTopic*> search(std::string_view query) const;

private:
    friend struct HelpFileParser;
    std::string title_;
    std::vector<HelpTopic> topics_;
    std::vector<int> contents_;
};

struct HelpParseResult {
    std::optional<HelpFile> file; // empty when the text is not a valid help file
    std::string error;            // what is wrong, for the user
    int line = 0;                 // 1-based line of the error, 0 when it concerns the whole file
};

HelpParseResult parseHelpFile(std::string_view text);
// Reads and parses a help file; a missing or unreadable file is an error with line 0.
HelpParseResult loadHelpFile(const std::string& path);

} // namespace bx
