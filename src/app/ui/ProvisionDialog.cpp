#include "app/ui/ProvisionDialog.h"

#include "app/provision/ParallelRun.h"
#include "app/provision/ProvisionReport.h"
#include "app/ui/Named.h"
#include "app/ui/ProvisionRelay.h"
#include "app/ui/ProvisionTexts.h"
#include "app/ui/QtText.h"
#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "pictures/ui/DesktopDialogs.h"
#include "resources/EmbeddedResources.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tavisto::ui {

TProvisionDialog::TProvisionDialog(TProvisionDialogSetup setup, QWidget* parent)
    : QDialog(parent), setup_(std::move(setup)) {
    relay_ = new TProvisionRelay(this);
    // The workers emit on their threads; the rows change on this one.
    connect(relay_, &TProvisionRelay::stepStartedOn, this, &TProvisionDialog::stepStarted,
            Qt::QueuedConnection);
    connect(relay_, &TProvisionRelay::identifiedOn, this, &TProvisionDialog::identified,
            Qt::QueuedConnection);
    connect(relay_, &TProvisionRelay::progressOn, this, &TProvisionDialog::progressed,
            Qt::QueuedConnection);
    connect(relay_, &TProvisionRelay::noteOn, this, &TProvisionDialog::noted, Qt::QueuedConnection);
    connect(relay_, &TProvisionRelay::portEndedOn, this, &TProvisionDialog::portEnded,
            Qt::QueuedConnection);
    connect(relay_, &TProvisionRelay::runEndedWith, this, &TProvisionDialog::runEnded,
            Qt::QueuedConnection);
    buildDialog();
    setRunning(false);
}

// Only a window that goes while its run is on gets here running (closing asks first):
// the workers stop at their safe points before the profile they read goes.
TProvisionDialog::~TProvisionDialog() {
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

QString TProvisionDialog::text(const char* english) const {
    return ProvisionText(english, setup_.langId);
}

void TProvisionDialog::buildDialog() {
    setObjectName(QStringLiteral("frmProvision"));
    setWindowTitle(text("Provision"));
    auto* column = new QVBoxLayout(this);

    auto* profileGroup = new QGroupBox(text("Profile"));
    auto* profileRows = new QVBoxLayout(profileGroup);
    rbWindow = named<QRadioButton>("rbWindow", text("The window's settings and pictures"));
    rbWindow->setChecked(true);
    profileRows->addWidget(rbWindow);
    auto* fileRow = new QHBoxLayout;
    rbFile = named<QRadioButton>("rbFile", text("Profile file:"));
    edtProfile = named<QLineEdit>("edtProfile");
    btnBrowse = named<QPushButton>("btnBrowse", text("Browse\u2026"));
    fileRow->addWidget(rbFile);
    fileRow->addWidget(edtProfile, 1);
    fileRow->addWidget(btnBrowse);
    profileRows->addLayout(fileRow);
    column->addWidget(profileGroup);

    auto* portGroup = new QGroupBox(text("Ports"));
    auto* portRows = new QVBoxLayout(portGroup);
    chkAllPorts = named<QCheckBox>("chkAllPorts", text("All ports"));
    chkAllPorts->setChecked(true);
    portRows->addWidget(chkAllPorts);
    tblPorts = named<QTableWidget>("tblPorts", static_cast<int>(setup_.ports.size()), ColumnCount);
    tblPorts->setHorizontalHeaderLabels({text("Port"), text("Model"), text("Step"),
                                         text("Progress"), text("Time left"), text("Result")});
    tblPorts->verticalHeader()->hide();
    tblPorts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPorts->setSelectionMode(QAbstractItemView::NoSelection);
    tblPorts->setFocusPolicy(Qt::NoFocus);
    tblPorts->setWordWrap(true);
    tblPorts->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < tblPorts->rowCount(); ++row) {
        auto* port = new QTableWidgetItem(qs(setup_.ports[static_cast<std::size_t>(row)]));
        port->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        port->setCheckState(Qt::Checked);
        tblPorts->setItem(row, ColPort, port);
        for (int col = ColModel; col < ColumnCount; ++col)
            tblPorts->setItem(row, col, new QTableWidgetItem);
        auto* bar = new QProgressBar;
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        tblPorts->setCellWidget(row, ColProgress, bar);
    }
    tblPorts->resizeColumnToContents(ColPort);
    // A long port name is cut rather than pushing the result off the row.
    tblPorts->setColumnWidth(ColPort, std::clamp(tblPorts->columnWidth(ColPort) + 24, 120, 220));
    tblPorts->setColumnWidth(ColModel, 100);
    tblPorts->setColumnWidth(ColStep, 80);
    tblPorts->setColumnWidth(ColProgress, 110);
    tblPorts->setColumnWidth(ColLeft, 80);
    portRows->addWidget(tblPorts, 1);
    column->addWidget(portGroup, 1);

    memLog = named<QPlainTextEdit>("memLog");
    memLog->setReadOnly(true);
    memLog->setMaximumBlockCount(2000);
    memLog->setFixedHeight(90);
    column->addWidget(memLog);

    auto* buttons = new QHBoxLayout;
    lblState = named<QLabel>("lblState");
    btnStart = named<QPushButton>("btnStart", text("Start"));
    btnStop = named<QPushButton>("btnStop", text("Stop"));
    btnSaveReport = named<QPushButton>("btnSaveReport", text("Save report\u2026"));
    btnClose = named<QPushButton>("btnClose", text("Close"));
    buttons->addWidget(lblState, 1);
    for (QPushButton* button : {btnStart, btnStop, btnSaveReport, btnClose}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    resize(900, 480);

    connect(btnStart, &QPushButton::clicked, this, &TProvisionDialog::btnStartClick);
    connect(btnStop, &QPushButton::clicked, this, &TProvisionDialog::btnStopClick);
    connect(btnSaveReport, &QPushButton::clicked, this, &TProvisionDialog::btnSaveReportClick);
    connect(btnBrowse, &QPushButton::clicked, this, &TProvisionDialog::btnBrowseClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(edtProfile, &QLineEdit::textEdited, this, [this] { rbFile->setChecked(true); });
    connect(chkAllPorts, &QCheckBox::clicked, this, [this](bool all) {
        for (int row = 0; row < tblPorts->rowCount(); ++row)
            tblPorts->item(row, ColPort)->setCheckState(all ? Qt::Checked : Qt::Unchecked);
    });
    connect(tblPorts, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != ColPort)
            return;
        const QSignalBlocker quiet(chkAllPorts);
        chkAllPorts->setChecked(chosenPorts().size() == setup_.ports.size());
    });
}

int TProvisionDialog::rowOf(const QString& port) const {
    for (int row = 0; row < tblPorts->rowCount(); ++row) {
        if (tblPorts->item(row, ColPort)->text() == port)
            return row;
    }
    return -1;
}

std::vector<std::string> TProvisionDialog::chosenPorts() const {
    std::vector<std::string> ports;
    for (int row = 0; row < tblPorts->rowCount(); ++row) {
        if (tblPorts->item(row, ColPort)->checkState() == Qt::Checked)
            ports.push_back(setup_.ports[static_cast<std::size_t>(row)]);
    }
    return ports;
}

void TProvisionDialog::showError(const QString& message) {
    ShowMessage(setup_.dialogs, this, QMessageBox::Critical, message);
}

void TProvisionDialog::btnBrowseClick() {
    TFileDialog dialog;
    dialog.filter = QStringLiteral("JSON Files(*.json)|*.json");
    const QString file = setup_.dialogs.chooseFile(this, dialog);
    if (file.isEmpty())
        return;
    edtProfile->setText(file);
    rbFile->setChecked(true);
}

// The profile is read whole, with every file it names, and checked as the command
// line checks it before any port opens.
bool TProvisionDialog::loadProfile(std::string& error) {
    std::filesystem::path file;
    if (rbWindow->isChecked()) {
        if (!windowProfileFolder_.isValid()) {
            error = "cannot make a folder for the window's profile: " +
                    windowProfileFolder_.errorString().toStdString();
            return false;
        }
        if (!setup_.windowProfile(PathFromUtf8(windowProfileFolder_.path().toStdString()), file,
                                  error))
            return false;
    } else {
        if (edtProfile->text().trimmed().isEmpty()) {
            error = text("Choose a profile file.").toStdString();
            return false;
        }
        file = PathFromUtf8(edtProfile->text().trimmed().toStdString());
    }
    auto profile = std::make_unique<provision::Profile>();
    if (!provision::LoadProfile(file, *profile, error))
        return false;
    profile_ = std::move(profile);
    profileFile_ = Utf8FromPath(file);
    return true;
}

void TProvisionDialog::clearRow(int row) {
    for (int col = ColModel; col < ColumnCount; ++col) {
        tblPorts->item(row, col)->setText({});
        tblPorts->item(row, col)->setToolTip({});
        tblPorts->item(row, col)->setForeground(palette().text());
    }
    auto* bar = static_cast<QProgressBar*>(tblPorts->cellWidget(row, ColProgress));
    bar->setValue(0);
    bar->setTextVisible(false);
    tblPorts->resizeRowToContents(row);
}

void TProvisionDialog::btnStartClick() {
    if (running())
        return;
    const std::vector<std::string> ports = chosenPorts();
    if (ports.empty()) {
        showError(text("Choose at least one port."));
        return;
    }
    std::string error;
    if (!loadProfile(error)) {
        showError(qs(error) + QStringLiteral("\n") + text("Nothing was sent."));
        return;
    }
    for (int row = 0; row < tblPorts->rowCount(); ++row) {
        clearRow(row);
        if (tblPorts->item(row, ColPort)->checkState() == Qt::Checked)
            tblPorts->item(row, ColStep)->setText(ProvisionWord("waiting", setup_.langId));
    }
    memLog->clear();
    results_.clear();
    stop_ = false;
    closeWhenStopped_ = false;
    setRunning(true);
    lblState->setText(text("Running\u2026"));
    const provision::WorkerEnvironment environment{setup_.opener, setup_.clock, setup_.langId,
                                                   [](const std::string& name) {
                                                       return EmbeddedResourceBytes(name);
                                                   }};
    worker_ = std::thread([this, ports, environment] {
        relay_->runEnded(
            provision::ProvisionPorts(ports, *profile_, environment, 0, stop_, *relay_));
    });
}

void TProvisionDialog::btnStopClick() {
    if (!running())
        return;
    stop_ = true;
    btnStop->setEnabled(false);
    lblState->setText(text("Stopping\u2026"));
}

void TProvisionDialog::btnSaveReportClick() {
    TFileDialog dialog;
    dialog.save = true;
    dialog.proposedName = QStringLiteral("report.json");
    dialog.filter = QStringLiteral("JSON Files(*.json)|*.json");
    const QString file = setup_.dialogs.chooseFile(this, dialog);
    if (file.isEmpty())
        return;
    std::string message;
    if (!SaveFile(PathFromUtf8(file.toStdString()), provision::ReportJson(profileFile_, results_),
                  message)) {
        showError(qs(message));
        return;
    }
    lblState->setText(text("Report saved: ") + file);
}

void TProvisionDialog::setRunning(bool running) {
    for (QWidget* control : std::initializer_list<QWidget*>{rbWindow, rbFile, edtProfile, btnBrowse,
                                                            chkAllPorts, btnStart})
        control->setEnabled(!running);
    for (int row = 0; row < tblPorts->rowCount(); ++row) {
        QTableWidgetItem* port = tblPorts->item(row, ColPort);
        port->setFlags(running ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    btnStop->setEnabled(running);
    btnSaveReport->setEnabled(!running && !results_.empty());
}

void TProvisionDialog::stepStarted(const QString& port, const QString& step) {
    const int row = rowOf(port);
    if (row < 0)
        return;
    tblPorts->item(row, ColStep)->setText(ProvisionWord(step.toStdString(), setup_.langId));
    tblPorts->item(row, ColLeft)->setText({});
    // The bar shows a percentage only while a step transfers something.
    auto* bar = static_cast<QProgressBar*>(tblPorts->cellWidget(row, ColProgress));
    bar->setValue(0);
    bar->setTextVisible(false);
}

void TProvisionDialog::identified(const QString& port, const QString& model,
                                  const QString& firmware) {
    const int row = rowOf(port);
    if (row < 0)
        return;
    tblPorts->item(row, ColModel)
        ->setText(firmware.isEmpty() ? model : model + QStringLiteral(" ") + firmware);
}

void TProvisionDialog::progressed(const QString& port, int percent, const QString& rate,
                                  const QString& left) {
    const int row = rowOf(port);
    if (row < 0)
        return;
    auto* bar = static_cast<QProgressBar*>(tblPorts->cellWidget(row, ColProgress));
    bar->setValue(percent);
    bar->setTextVisible(true);
    bar->setToolTip(rate);
    tblPorts->item(row, ColLeft)->setText(left);
}

void TProvisionDialog::noted(const QString& port, const QString& line) {
    memLog->appendPlainText(port + QStringLiteral(": ") + line);
}

// A failed row names its cause from the port's result: its first error, which names
// the step.
void TProvisionDialog::portEnded(const QString& port, const provision::PortResult& result) {
    const int row = rowOf(port);
    if (row < 0)
        return;
    tblPorts->item(row, ColStep)->setText({});
    tblPorts->item(row, ColLeft)->setText({});
    if (result.result == provision::kSucceeded) {
        auto* bar = static_cast<QProgressBar*>(tblPorts->cellWidget(row, ColProgress));
        bar->setValue(100);
        bar->setTextVisible(true);
    }
    QString shown = ProvisionWord(result.result, setup_.langId);
    if (!result.error.empty())
        shown += QStringLiteral(": ") + qs(result.error);
    QTableWidgetItem* item = tblPorts->item(row, ColResult);
    item->setText(shown);
    item->setToolTip(shown);
    if (result.result != provision::kSucceeded)
        item->setForeground(Qt::red);
    tblPorts->resizeRowToContents(row);
}

void TProvisionDialog::runEnded(const std::vector<provision::PortResult>& results) {
    if (worker_.joinable())
        worker_.join();
    results_ = results;
    const bool stopped = stop_.load();
    setRunning(false);
    lblState->setText(
        stopped ? text("Stopped: every port stopped at a safe point; each display is at its own "
                       "speed.")
                : text("Finished."));
    if (closeWhenStopped_)
        close();
}

void TProvisionDialog::closeEvent(QCloseEvent* event) {
    if (!running()) {
        event->accept();
        return;
    }
    event->ignore();
    QMessageBox box;
    PrepareMessageBox(box,
                      text("Provisioning is still running. Stop it, and close once every port "
                           "has stopped?"),
                      QMessageBox::Question, true);
    if (setup_.dialogs.showMessageBox(box) != QMessageBox::Yes)
        return;
    closeWhenStopped_ = true;
    btnStopClick();
}

// Esc goes the way of the close button.
void TProvisionDialog::reject() {
    close();
}

} // namespace tavisto::ui
