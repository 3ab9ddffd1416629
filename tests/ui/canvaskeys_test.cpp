#include "ui/canvaskeys.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace bx {
namespace {

std::vector<std::string> linesOf(const std::string& relativePath) {
    std::ifstream in(std::string(BRAMBLEX_SOURCE_DIR) + "/" + relativePath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// text with every `from` replaced by `to` (built anew: GCC 12 warns falsely on string::replace).
std::string replacedAll(const std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size())
        out.append(text, start, at - start).append(to);
    return out.append(text, start);
}

// The keys of a list item "- KEYS: what it does", KEYS as `a` / `b`, "a or b" or "a, b".
void addItemKeys(const std::string& line, std::set<std::string>& keys) {
    std::string names = line.substr(2, line.find(": ") - 2);
    for (const std::string_view separator : {" / ", " or ", ", "})
        names = replacedAll(names, separator, " ");
    std::istringstream words(names);
    for (std::string word; words >> word;) {
        std::erase(word, '`');
        keys.insert(word);
    }
}

// The list that follows the first line holding `heading` in the file.
std::set<std::string> listedKeys(const std::string& file, const std::string& heading) {
    std::set<std::string> keys;
    bool inList = false;
    for (const std::string& line : linesOf(file)) {
        if (!inList) {
            inList = line.find(heading) != std::string::npos;
        } else if (line.starts_with("- ")) {
            addItemKeys(line, keys);
        } else if (!keys.empty() && !line.starts_with("  ")) {
            break;
        }
    }
    return keys;
}

// The man page's KEYS section up to its first paragraph break: the bold words of .B and .BR.
std::set<std::string> manPageKeys(const std::string& file) {
    std::set<std::string> keys;
    bool inSection = false;
    for (std::string line : linesOf(file)) {
        line = replacedAll(line, "\\-", "-");
        if (line == ".SH KEYS")
            inSection = true;
        else if (inSection && line == ".PP")
            break;
        else if (inSection && line.starts_with(".B ")) {
            keys.insert(line.substr(3));
        } else if (inSection && line.starts_with(".BR ")) {
            // Bold and roman words in turn; a quoted word may hold blanks.
            bool bold = true;
            for (std::size_t at = 4; at < line.size(); bold = !bold) {
                const bool quoted = line[at] == '"';
                const std::size_t end = line.find(quoted ? '"' : ' ', at + 1);
                if (bold)
                    keys.insert(line.substr(at, end == std::string::npos ? end : end - at));
                at = end == std::string::npos ? line.size() : line.find_first_not_of(' ', end + 1);
            }
        }
    }
    return keys;
}

// Every key of the table in each list (by its name or another that does the same), and no
// key listed that the table lacks.
TEST(canvaskeys_test, readme_help_and_man_page_list_the_keys_of_the_table) {
    const std::pair<std::string, std::set<std::string>> lists[] = {
        {"README.md", listedKeys("README.md", "In the canvas window")},
        {"help/bramblex.hlp", listedKeys("help/bramblex.hlp", "== Keys")},
        {"man/bramblex2.1", manPageKeys("man/bramblex2.1")},
    };
    for (const auto& [file, listed] : lists) {
        for (const CanvasKey& key : canvasKeys())
            EXPECT_TRUE(listed.contains(std::string(key.key))) << file << " does not list " << key.key;
        for (const std::string& name : listed)
            EXPECT_NE(nullptr, canvasKeyOf(name)) << file << " lists " << name << ", which no key row has";
    }
}

} // namespace
} // namespace bx
