#include "recordinghost.h"

namespace bx::test {

Answer RecordingHost::ask(const Question& q) {
    questions.push_back(q);
    if (answers.empty())
        return defaultAnswer;
    const Answer a = answers.front();
    answers.erase(answers.begin());
    return a;
}

void RecordingHost::processEvents() {
    ++eventsProcessed;
    if (onProcessEvents)
        onProcessEvents();
}

} // namespace bx::test
