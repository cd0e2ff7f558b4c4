#pragma once

#include "app/ui/TavistoMain.h"

#include <QMessageBox>
#include <QString>
#include <deque>
#include <memory>
#include <vector>

namespace tavisto::testing {

// One message box as the operator would have seen it.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Records every message box instead of showing it and answers from a queue
// (Ok, or Yes for a Yes/No box, when the queue is empty).
class BoxRecorder {
public:
    ui::MsgBoxPresenter presenter() {
        return [this](QMessageBox& box) {
            shown.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
            if (!answers.empty()) {
                const auto answer = answers.front();
                answers.pop_front();
                return answer;
            }
            return box.standardButtons().testFlag(QMessageBox::Yes) ? QMessageBox::Yes
                                                                    : QMessageBox::Ok;
        };
    }

    std::vector<ShownBox> shown;
    std::deque<QMessageBox::StandardButton> answers;
};

// A port list that can be made to fail.
struct PortList {
    std::vector<std::string> names;
    bool fails = false;

    ui::PortLister lister() {
        return [this](std::vector<std::string>& list, std::string& message) {
            if (fails) {
                message = "Error opening registry key for serial port list";
                return false;
            }
            list = names;
            message = "OK";
            return true;
        };
    }
};

} // namespace tavisto::testing
