// Answers the core's questions from a script and records what was asked.
#pragma once

#include "core/platform/Questions.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace velmora::test {

class ScriptedQuestions : public platform::Questions {
public:
    struct Asked {
        std::string text;
        unsigned buttons;
    };
    std::vector<Asked> asked;
    // Each answer may run an action first (to change the file system mid-run).
    std::deque<std::pair<platform::ModalResult, std::function<void()>>> answers;

    void Answer(platform::ModalResult r, std::function<void()> before = {}) {
        answers.emplace_back(r, std::move(before));
    }
    platform::ModalResult Ask(platform::MsgIcon, const std::string& text,
                              unsigned buttons) override {
        asked.push_back({text, buttons});
        if (answers.empty()) return platform::ModalResult::mrCancel;
        auto [r, before] = answers.front();
        answers.pop_front();
        if (before) before();
        return r;
    }
};

class RecordingStatus : public platform::StatusSink {
public:
    std::vector<std::string> texts;
    void SetStatusText(const std::string& t) override { texts.push_back(t); }
};

} // namespace velmora::test
