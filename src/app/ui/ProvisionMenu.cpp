#include "app/ui/ProvisionMenu.h"

#include "app/provision/ProfileWriter.h"
#include "app/ui/FormBinding.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/ProvisionDialog.h"
#include "app/ui/ProvisionTexts.h"
#include "app/ui/TavistoMain.h"
#include "protocol/PictureSlots.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

namespace tavisto::ui {

namespace {

// The window's form as Save Setting would write it, the connected model (none before
// Connect), and the pictures loaded into the checked slots, as profile-from writes a
// display's: the same profile the command line would run.
bool writeWindowProfile(TfrmTavistoMain& window, const std::filesystem::path& folder,
                        std::filesystem::path& profile, std::string& error) {
    provision::ProfileSource source;
    TSettingsForm form;
    ReadSettingsForm(window, form);
    source.info = window.DisplayInfo;
    CollectSettings(form, source.info);
    // The tab area is enabled only once Connect found a model.
    if (window.PageControl1->isEnabled())
        source.model = window.cbbDisplayMode->currentText().toStdString();
    const TPictureManagementPanel& pictures = *window.tsPictureManagement;
    for (int slot = kFirstPictureSlot; slot <= kLastPictureSlot; ++slot) {
        const Bitmap& picture = pictures.slotContents().picture(slot);
        if (pictures.slotCheckBox(slot)->isChecked() && !picture.empty())
            source.pictures.emplace_back(slot, picture);
    }
    profile = folder / "window-profile.json";
    std::filesystem::path settingsFile;
    return provision::WriteProfile(profile, source, settingsFile, error);
}

} // namespace

void AddProvisionMenu(TfrmTavistoMain& window, link::PortOpener& opener, Clock& clock) {
    const std::uint16_t langId = window.connection().SystemLangId;
    QMenu* tools = window.menuBar()->addMenu(ProvisionText("&Tools", langId));
    QAction* open = tools->addAction(ProvisionText("Provision\u2026", langId));
    open->setObjectName(QStringLiteral("actProvision"));
    QObject::connect(open, &QAction::triggered, &window, [&window, &opener, &clock, langId] {
        std::vector<std::string> ports;
        for (int i = 0; i < window.cbb_SerialPort->count(); ++i)
            ports.push_back(window.cbb_SerialPort->itemText(i).toStdString());
        auto* dialog =
            new TProvisionDialog({ports,
                                  [&window](const std::filesystem::path& folder,
                                            std::filesystem::path& profile, std::string& error) {
                                      return writeWindowProfile(window, folder, profile, error);
                                  },
                                  opener, clock, langId, window.dialogs()},
                                 &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
    });
}

} // namespace tavisto::ui
