#include "platform/helpfile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "text/numbers.h"
#include "text/strings.h"

namespace bx {

namespace {

std::string_view trim(std::string_view s) {
    return trimmed(s, " \t\r");
}

constexpr std::string_view blanks = " \t\r\n\v\f";
constexpr std::string_view blanksAndCommas = " \t\r\n\v\f,";

// The pieces of s between blanks (and commas, where they separate too).
std::vector<std::string_view> pieces(std::string_view s, std::string_view separators) {
    std::vector<std::string_view> out;
    for (std::size_t from = s.find_first_not_of(separators); from != std::string_view::npos;) {
        const std::size_t end = std::min(s.find_first_of(separators, from), s.size());
        out.push_back(s.substr(from, end - from));
        from = s.find_first_not_of(separators, end);
    }
    return out;
}

std::vector<std::string> words(std::string_view s) {
    std::vector<std::string> out;
    for (std::string_view word : pieces(s, blanks))
        out.push_back(asciiLower(word));
    return out;
}

std::optional<int> contextNumber(std::string_view s) {
    const std::optional<uint64_t> value = parseUnsigned(s);
    if (!value || *value > static_cast<uint64_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(*value);
}

// Whole numbers separated by blanks or commas.
std::optional<std::vector<int>> contextList(std::string_view s) {
    std::vector<int> out;
    for (std::string_view item : pieces(s, blanksAndCommas)) {
        const auto n = contextNumber(item);
        if (!n)
            return std::nullopt;
        out.push_back(*n);
    }
    return out;
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

struct HelpFileParser {
    HelpFile file;
    std::set<int> seen;
    std::vector<int> contentsLines; // line of each contents entry, for errors found at the end
    std::vector<int> seeAlsoLines;  // line of each topic's @see, 0 when none
    HelpBlock* open = nullptr;      // the block that continuation lines join
    std::string error;
    int errorLine = 0;

    bool fail(int line, std::string message) {
        error = std::move(message);
        errorLine = line;
        return false;
    }

    bool header(int line, std::string_view text) {
        if (startsWith(text, "title:")) {
            if (!file.title_.empty())
                return fail(line, "The file's title is given twice.");
            file.title_ = std::string(trim(text.substr(6)));
            return true;
        }
        if (startsWith(text, "contents:")) {
            const auto list = contextList(text.substr(9));
            if (!list)
                return fail(line, "A contents line may hold only context numbers.");
            for (int context : *list) {
                file.contents_.push_back(context);
                contentsLines.push_back(line);
            }
            return true;
        }
        return fail(line, "Expected \"title:\", \"contents:\" or \"@topic\" before the first topic.");
    }

    bool topicLine(int line, std::string_view rest) {
        rest = trim(rest);
        const auto gap = rest.find_first_of(" \t");
        const auto number = contextNumber(rest.substr(0, gap));
        if (!number)
            return fail(line, "@topic needs a context number (0 or more) and a title.");
        const auto title = gap == std::string_view::npos ? std::string_view{} : trim(rest.substr(gap));
        if (title.empty())
            return fail(line, "The topic " + std::to_string(*number) + " has no title.");
        if (!seen.insert(*number).second)
            return fail(line, "The context number " + std::to_string(*number) + " is used twice.");
        file.topics_.push_back(HelpTopic{*number, std::string(title), {}, {}, {}});
        seeAlsoLines.push_back(0);
        open = nullptr;
        return true;
    }

    bool directive(int line, std::string_view text) {
        if (startsWith(text, "@topic ") || text == "@topic")
            return topicLine(line, text.substr(6));
        if (file.topics_.empty()) {
            std::string message = "\"";
            message += text.substr(0, text.find(' '));
            message += "\" outside a topic.";
            return fail(line, message);
        }
        HelpTopic& topic = file.topics_.back();
        if (startsWith(text, "@keywords")) {
            std::string_view rest = text.substr(9);
            while (!rest.empty()) {
                const auto comma = rest.find(',');
                const auto keyword = trim(rest.substr(0, comma));
                if (!keyword.empty())
                    topic.keywords.emplace_back(keyword);
                rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            }
            return true;
        }
        if (startsWith(text, "@see")) {
            const auto list = contextList(text.substr(4));
            if (!list)
                return fail(line, "@see may hold only context numbers.");
            topic.seeAlso.insert(topic.seeAlso.end(), list->begin(), list->end());
            seeAlsoLines.back() = line;
            return true;
        }
        return fail(line, "Unknown directive \"" + std::string(text.substr(0, text.find(' '))) + "\".");
    }

    void bodyLine(std::string_view raw) {
        const bool indented = !raw.empty() && (raw.front() == ' ' || raw.front() == '\t');
        const auto text = trim(raw);
        auto& body = file.topics_.back().body;
        if (startsWith(text, "- ") || startsWith(text, "* ")) {
            body.push_back({HelpBlock::Bullet, std::string(trim(text.substr(2)))});
            open = &body.back();
        } else if (startsWith(text, "== ")) {
            body.push_back({HelpBlock::Heading, std::string(trim(text.substr(3)))});
            open = nullptr;
        } else if (open && (open->kind == HelpBlock::Paragraph || indented)) {
            open->text += ' ';
            open->text += text;
        } else {
            body.push_back({HelpBlock::Paragraph, std::string(text)});
            open = &body.back();
        }
    }

    bool line(int number, std::string_view raw) {
        const auto text = trim(raw);
        if (!text.empty() && text.front() == '#')
            return true;
        if (text.empty()) {
            open = nullptr;
            return true;
        }
        if (text.front() == '@')
            return directive(number, text);
        if (file.topics_.empty())
            return header(number, text);
        bodyLine(raw);
        return true;
    }

    bool finish() {
        if (file.topics_.empty())
            return fail(0, "The help file holds no topics.");
        std::set<int> listed;
        for (size_t i = 0; i < file.contents_.size(); ++i) {
            const int context = file.contents_[i];
            if (!seen.count(context))
                return fail(contentsLines[i],
                            "The contents name " + std::to_string(context) + ", which is not a topic.");
            if (!listed.insert(context).second)
                return fail(contentsLines[i], "The contents name " + std::to_string(context) + " twice.");
        }
        for (size_t i = 0; i < file.topics_.size(); ++i)
            for (int context : file.topics_[i].seeAlso)
                if (!seen.count(context))
                    return fail(seeAlsoLines[i],
                                "@see names " + std::to_string(context) + ", which is not a topic.");
        return true;
    }
};

const HelpTopic* HelpFile::find(int context) const {
    const auto it = std::find_if(topics_.begin(), topics_.end(),
                                 [context](const HelpTopic& t) { return t.context == context; });
    return it == topics_.end() ? nullptr : &*it;
}

std::vector<const HelpTopic*> HelpFile::contents() const {
    std::vector<const HelpTopic*> out;
    if (contents_.empty()) {
        for (const auto& topic : topics_)
            out.push_back(&topic);
    } else {
        for (int context : contents_)
            out.push_back(find(context));
    }
    return out;
}

std::vector<const HelpTopic*> HelpFile::search(std::string_view query) const {
    const auto wanted = words(query);
    if (wanted.empty())
        return {};
    // Contents first, then the topics the contents leave out, in file order.
    auto order = contents();
    for (const auto& topic : topics_)
        if (std::find(order.begin(), order.end(), &topic) == order.end())
            order.push_back(&topic);

    const auto holdsAll = [&wanted](const std::string& haystack) {
        return std::all_of(wanted.begin(), wanted.end(), [&haystack](const std::string& w) {
            return haystack.find(w) != std::string::npos;
        });
    };
    std::vector<const HelpTopic*> strong, weak;
    for (const HelpTopic* topic : order) {
        std::string text = asciiLower(topic->title);
        for (const auto& keyword : topic->keywords)
            text += '\n' + asciiLower(keyword);
        if (holdsAll(text)) {
            strong.push_back(topic);
            continue;
        }
        for (const auto& block : topic->body)
            text += '\n' + asciiLower(block.text);
        if (holdsAll(text))
            weak.push_back(topic);
    }
    strong.insert(strong.end(), weak.begin(), weak.end());
    return strong;
}

HelpParseResult parseHelpFile(std::string_view text) {
    if (!isValidUtf8(text))
        return {std::nullopt, "The help file is not UTF-8 text.", 0};
    if (startsWith(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    HelpFileParser parser;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!parser.line(++number, line))
            return {std::nullopt, parser.error, parser.errorLine};
    }
    if (!parser.finish())
        return {std::nullopt, parser.error, parser.errorLine};
    return {std::move(parser.file), {}, 0};
}

HelpParseResult loadHelpFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {std::nullopt, "The help file cannot be found.", 0};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {std::nullopt, "The help file cannot be opened.", 0};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return {std::nullopt, "The help file cannot be read.", 0};
    return parseHelpFile(text.str());
}

} // namespace bx
