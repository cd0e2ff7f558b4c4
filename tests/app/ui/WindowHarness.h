#pragma once

#include "app/ui/BasicSetPanel.h"
#include "app/ui/CodepageSetPanel.h"
#include "app/ui/DisplaySetPanel.h"
#include "app/ui/DisplayTestPanel.h"
#include "app/ui/DownloadFilePanel.h"
#include "app/ui/FirmwareUpdatesPanel.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/TavistoMain.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QLabel>
#include <QMessageBox>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace tavisto::testing {

// One message box as the operator would have seen it.
struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    bool fixedPitch; // the text is in a fixed-pitch font
};

// Stands in for the desktop: records every message box instead of showing it and
// answers from a queue (Ok, or Yes for a Yes/No box, when the queue is empty);
// records the file dialogs and answers them and the colour dialog from queues
// (cancelled when empty).
class BoxRecorder final : public ui::TDesktopDialogs {
public:
    QMessageBox::StandardButton showMessageBox(QMessageBox& box) override {
        const auto* label = box.findChild<const QLabel*>(QStringLiteral("qt_msgbox_label"));
        shown.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                         label && label->font().fixedPitch()});
        if (onShow)
            onShow();
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return box.standardButtons().testFlag(QMessageBox::Yes) ? QMessageBox::Yes
                                                                : QMessageBox::Ok;
    }
    QString chooseFile(QWidget*, const ui::TFileDialog& dialog) override {
        fileDialogs.push_back(dialog);
        return take(files, QString());
    }
    std::optional<QColor> chooseColor(QWidget*) override {
        ++colorDialogs;
        return take(colors, std::optional<QColor>());
    }

    std::vector<ShownBox> shown;
    std::deque<QMessageBox::StandardButton> answers;
    std::function<void()> onShow; // runs as each box is shown
    std::vector<ui::TFileDialog> fileDialogs;
    std::deque<QString> files; // empty: cancelled
    int colorDialogs = 0;
    std::deque<std::optional<QColor>> colors;

private:
    template <class T> static T take(std::deque<T>& queue, T none) {
        if (queue.empty())
            return none;
        T first = queue.front();
        queue.pop_front();
        return first;
    }
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

// Takes Connect's box out of `boxes`; stops the test with the box shown when Connect
// did not succeed alone.
inline void takeConnectedBox(BoxRecorder& boxes) {
    if (boxes.shown.size() != 1 || !boxes.shown[0].text.startsWith("Connected to"))
        qFatal("connect failed: %s",
               boxes.shown.empty() ? "no box" : qPrintable(boxes.shown.back().text));
    boxes = {};
}

// A main window on the real serial layer with the ports of `ports` and the desktop's
// dialogs in `boxes`, in the interface language `langId`.
inline std::unique_ptr<ui::TfrmTavistoMain> WindowWithPorts(PortList& ports, BoxRecorder& boxes,
                                                            std::uint16_t langId = 1033) {
    ui::TMainWindowSetup setup;
    setup.enumPorts = ports.lister();
    setup.dialogs = &boxes;
    setup.langId = langId;
    return std::make_unique<ui::TfrmTavistoMain>(std::move(setup));
}

} // namespace tavisto::testing
