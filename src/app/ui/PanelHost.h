#pragma once

#include "app/Operator.h"
#include "app/settings/SettingsForm.h"
#include "app/transfer/TransferRunner.h"
#include "link/Connection.h"
#include "settings/DisplayInfo.h"

#include <functional>

class QWidget;

namespace tavisto::ui {

class TDesktopDialogs;

// Work on the settings form and the settings record.
using TFormWork = std::function<void(TSettingsForm& form, TDisplayInfo& info)>;

// What a tab panel uses of the main window around it: the connection, the operator
// services, the desktop dialogs, the transfer engine, and the settings form that spans every tab.
class TPanelHost {
public:
    virtual TConnection& connection() = 0;
    virtual TOperator& operatorView() = 0;
    virtual TDesktopDialogs& dialogs() = 0;
    // The window that dialogs are shown over.
    virtual QWidget* dialogParent() = 0;
    // The transfer engine and its threads, one for the whole run.
    virtual TTransferRunner& transferRunner() = 0;
    // The model index Connect found (the selected model), -1 before any Connect.
    virtual int displayModel() const = 0;
    // A workflow is running; editing aids wait for it.
    virtual bool busy() const = 0;
    // Runs an editing aid: reads every tab's controls into the form, runs `edit`,
    // and shows the form again. Ignored while a workflow runs.
    virtual void editForm(const TFormWork& edit) = 0;
    // As editForm, for work that talks to the display: the switched controls are
    // disabled meanwhile, and the form is shown again before every message box so
    // the operator sees what the work has changed so far.
    virtual void runOnForm(const TFormWork& work) = 0;

protected:
    ~TPanelHost() = default;
};

// Runs one of the setting commands, `command(connection, form, info, operator)`, on
// the form as runOnForm does: the handler of every "Setting" button of the tabs.
template <typename Command> void RunSettingCommand(TPanelHost& host, Command command) {
    host.runOnForm([&host, command](TSettingsForm& form, TDisplayInfo& info) {
        command(host.connection(), form, info, host.operatorView());
    });
}

} // namespace tavisto::ui
