#pragma once

#include "app/Operator.h"

#include <deque>
#include <string>
#include <vector>

namespace tavisto::testing {

struct Box {
    std::string text;
    int flags;
    bool operator==(const Box&) const = default;
};

// Records what the workflows show and answers their questions (Yes unless told).
class RecordingOperator final : public TOperator {
public:
    std::vector<Box> boxes;
    std::vector<std::string> status; // progress and status calls, in order
    std::deque<int> answers;         // answers to the next questions

    int ShowMsgBox(const std::string& text, int flags) override {
        boxes.push_back({text, flags});
        if (flags != kMbYesNoQuestion)
            return kIdOk;
        if (answers.empty())
            return kIdYes;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void BeginProgress(const std::string& text, int maximum, TProgressKind kind) override {
        status.push_back("begin " + text + " " + std::to_string(maximum) + " " +
                         std::to_string(static_cast<int>(kind)));
    }
    void EndProgress() override { status.push_back("end"); }
    void SetProgressMax(int value, int position) override {
        status.push_back("max " + std::to_string(value) + " " + std::to_string(position));
    }
    void SetProgress(int value, int position) override {
        status.push_back("progress " + std::to_string(value) + " " + std::to_string(position));
    }
    void ShowProgressItem(const std::string& text, const std::string& detail,
                          int position) override {
        status.push_back("item " + text + "|" + detail + "|" + std::to_string(position));
    }
    void ShowLogOnRichEdit(const std::string& text, bool error) override {
        status.push_back(std::string(error ? "log! " : "log ") + text);
    }
    void actBtnDisableExecute() override { status.push_back("disable"); }
    void actBtnEnableExecute() override { status.push_back("enable"); }

    const Box& lastBox() const {
        static const Box none{"(no box)", 0};
        return boxes.empty() ? none : boxes.back();
    }
};

} // namespace tavisto::testing
