#pragma once
// Stand-ins for the host services, so window tests answer questions and watch help, the cursor
// and the browser without a desktop.
#include <deque>
#include <string>
#include <vector>

#include "platform/browser.h"
#include "platform/cursor.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/screen.h"

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

struct FakePlatform {
    FakeMessages messages;
    FakeHelp help;
    FixedScreen screen{1024, 768};
    FakeCursor cursor;
    FakeBrowser browser;
};

} // namespace bx::test
