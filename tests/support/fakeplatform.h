#pragma once
// Stand-ins for the host services, so window tests answer questions and watch help, the cursor
// and the browser without a desktop.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/browser.h"
#include "platform/colourpicker.h"
#include "platform/cursor.h"
#include "platform/filedialogs.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/programstarter.h"
#include "platform/screen.h"
#include "saverinstall/desktophosts.h"
#include "saverinstall/settingsstore.h"
#include "support/fakecommands.h"

namespace bx::test {

class FakeMessages : public MessageService {
public:
    std::vector<Question> asked;
    std::vector<Notice> notices;
    std::deque<Answer> answers; // consumed in order; then `otherwise`
    Answer otherwise = Answer::Yes;

    Answer ask(const Question& q) override {
        asked.push_back(q);
        if (answers.empty())
            return otherwise;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const Notice& n) override { notices.push_back(n); }
};

class FakeHelp : public HelpService {
public:
    struct Call {
        std::string file;
        int command;
        int context;
    };
    std::vector<Call> calls;
    void showHelp(const std::string& file, int command, int context) override {
        calls.push_back({file, command, context});
    }
};

class FakeCursor : public CursorCounter {
public:
    int counter = 0;
    int show(bool visible) override { return counter += visible ? 1 : -1; }
    int count() const override { return counter; }
    void restore() override { counter = 0; }
};

class FakeBrowser : public WebBrowser {
public:
    BrowserResult result = BrowserResult::Opened;
    std::vector<std::string> opened;
    BrowserResult open(const std::string& url) override {
        opened.push_back(url);
        return result;
    }
};

// Answers the file dialogs from lists, in order; an empty list (or nullopt) is a cancel.
class FakeFileDialogs : public FileDialogs {
public:
    std::vector<FileDialogRequest> opened, saved;
    std::deque<std::optional<std::string>> openAnswers, saveAnswers;
    std::vector<std::string> overwriteQuestions;  // title + "|" + text
    std::deque<OverwriteAnswer> overwriteAnswers; // then Yes

    std::optional<std::string> openFile(const FileDialogRequest& r) override {
        return answer(opened, openAnswers, r);
    }
    std::optional<std::string> saveFile(const FileDialogRequest& r) override {
        return answer(saved, saveAnswers, r);
    }
    OverwriteAnswer confirmOverwrite(const std::string& title, const std::string& text) override {
        overwriteQuestions.push_back(title + "|" + text);
        if (overwriteAnswers.empty())
            return OverwriteAnswer::Yes;
        const OverwriteAnswer a = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return a;
    }

private:
    static std::optional<std::string> answer(std::vector<FileDialogRequest>& log,
                                             std::deque<std::optional<std::string>>& answers,
                                             const FileDialogRequest& r) {
        log.push_back(r);
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Picks the listed colours in order; then cancels.
class FakeColourPicker : public ColourPicker {
public:
    std::deque<std::optional<int32_t>> answers;
    std::vector<int32_t> initials;
    std::optional<int32_t> pick(int32_t initial) override {
        initials.push_back(initial);
        if (answers.empty())
            return std::nullopt;
        const std::optional<int32_t> a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Records the programs it is asked to start; starts none.
class FakeProgramStarter : public ProgramStarter {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Start> started;
    bool result = true;
    bool start(const std::string& program, const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return result;
    }
};

class MemorySettingsStore : public SettingsStore {
public:
    using Key = std::tuple<std::string, std::string, std::string>; // application, section, key
    std::map<Key, std::string> values;
    std::optional<std::string> get(const std::string& a, const std::string& s,
                                   const std::string& k) const override {
        const auto it = values.find({a, s, k});
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void set(const std::string& a, const std::string& s, const std::string& k,
             const std::string& v) override {
        values[{a, s, k}] = v;
    }
};

struct FakePlatform {
    FakeMessages messages;
    FakeHelp help;
    FixedScreen screen{1024, 768};
    FakeCursor cursor;
    FakeBrowser browser;
    FakeFileDialogs files;
    FakeColourPicker colours;
    // Folders a test names; by default folders that do not exist, and no host installed.
    HostFolders folders{"/nonexistent/bramblex-test/home",
                        "/nonexistent/bramblex-test/config",
                        "/nonexistent/bramblex-test/data",
                        "/nonexistent/bramblex-test/libexec",
                        {}};
    FakeCommandRunner commands;
    FakeProgramStarter programs;
    MemorySettingsStore settings;
};

} // namespace bx::test
