#pragma once

#include "app/provision/Profile.h"
#include "app/provision/ProvisionWorker.h"
#include "link/Clock.h"
#include "link/SerialPort.h"

#include <QDialog>
#include <QTemporaryDir>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tavisto::ui {

class TDesktopDialogs;
class TProvisionRelay;

// Writes the window's current settings form and picture slots as a profile in
// `folder`; `profile` receives the profile's path. False with `error` saying why.
using TWindowProfileWriter = std::function<bool(
    const std::filesystem::path& folder, std::filesystem::path& profile, std::string& error)>;

// What the Provision dialog is opened with.
struct TProvisionDialogSetup {
    std::vector<std::string> ports; // the window's port list
    TWindowProfileWriter windowProfile;
    link::PortOpener& opener;
    Clock& clock; // used by the workers' threads
    std::uint16_t langId = 0;
    TDesktopDialogs& dialogs;
};

// "Provision": provisions the displays on the chosen ports at once, from the window's
// current settings and pictures or from a profile file, with a row per port (port,
// model, step, progress, time left, result). The workers run on threads of their own
// and report through queued signals; Stop stops each at its next safe point, and the
// dialog closes only once its run has stopped. "Save report…" writes the JSON report
// of the last run.
class TProvisionDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { ColPort, ColModel, ColStep, ColProgress, ColLeft, ColResult, ColumnCount };

    TProvisionDialog(TProvisionDialogSetup setup, QWidget* parent = nullptr);
    ~TProvisionDialog() override;

    void btnStartClick();
    void btnStopClick();
    void btnSaveReportClick();
    void btnBrowseClick();
    bool running() const { return worker_.joinable(); }
    // The results of the last run, in the order of its ports.
    const std::vector<provision::PortResult>& results() const { return results_; }

    QRadioButton* rbWindow = nullptr;
    QRadioButton* rbFile = nullptr;
    QLineEdit* edtProfile = nullptr;
    QPushButton* btnBrowse = nullptr;
    QCheckBox* chkAllPorts = nullptr;
    QTableWidget* tblPorts = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnSaveReport = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lblState = nullptr;
    QPlainTextEdit* memLog = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QString text(const char* english) const;
    void buildDialog();
    int rowOf(const QString& port) const;
    std::vector<std::string> chosenPorts() const;
    bool loadProfile(std::string& error);
    void setRunning(bool running);
    void clearRow(int row);
    void showError(const QString& message);

    void stepStarted(const QString& port, const QString& step);
    void identified(const QString& port, const QString& model, const QString& firmware);
    void progressed(const QString& port, int percent, const QString& rate, const QString& left);
    void noted(const QString& port, const QString& line);
    void portEnded(const QString& port, const provision::PortResult& result);
    void runEnded(const std::vector<provision::PortResult>& results);

    TProvisionDialogSetup setup_;
    TProvisionRelay* relay_ = nullptr;
    QTemporaryDir windowProfileFolder_;
    std::unique_ptr<provision::Profile> profile_; // read whole before the run starts
    std::string profileFile_;                     // as the report names it
    std::atomic<bool> stop_{false};
    std::thread worker_;
    bool closeWhenStopped_ = false;
    std::vector<provision::PortResult> results_;
};

} // namespace tavisto::ui
