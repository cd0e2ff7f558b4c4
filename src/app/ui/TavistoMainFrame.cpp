// The frame of the main window: connection group, tab area, button row, status
// bar, log pane and timers. The tab pages are the panels in *Panel.cpp.
#include "app/ui/BasicSetPanel.h"
#include "app/ui/CodepageSetPanel.h"
#include "app/ui/DisplaySetPanel.h"
#include "app/ui/DisplayTestPanel.h"
#include "app/ui/DownloadFilePanel.h"
#include "app/ui/FirmwareUpdatesPanel.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/TavistoMain.h"
#include "protocol/Session.h"
#include "settings/Vocabulary.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace tavisto::ui {

void TfrmTavistoMain::buildWindow() {
    setObjectName(QStringLiteral("frmTavistoMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    setFont(font);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(6, 4, 6, 2);
    column->setSpacing(4);
    column->addWidget(buildConnectionGroup());

    PageControl1 = named<QTabWidget>("PageControl1");
    TPanelHost& host = *this;
    tsBasicSet = new TBasicSetPanel(host);
    tsDisplaySet = new TDisplaySetPanel(host);
    tsCodepageSet = new TCodepageSetPanel(host);
    tsPictureManagement = new TPictureManagementPanel(host);
    tsDisplayTest = new TDisplayTestPanel(host);
    tsDownloadFile = new TDownloadFilePanel(host, buildLogPane());
    tsFirmwareUpdates = new TFirmwareUpdatesPanel(host);
    PageControl1->addTab(tsBasicSet, QStringLiteral("Basic Setting"));
    PageControl1->addTab(tsDisplaySet, QStringLiteral("Display Setting"));
    PageControl1->addTab(tsCodepageSet, QStringLiteral("CodePage Setting"));
    PageControl1->addTab(tsPictureManagement, QStringLiteral("Picture Management"));
    PageControl1->addTab(tsDisplayTest, QStringLiteral("Display Testing"));
    PageControl1->addTab(tsDownloadFile, QStringLiteral("Download File"));
    PageControl1->addTab(tsFirmwareUpdates, QStringLiteral("Firmware Updates"));
    column->addWidget(PageControl1, 1);
    // All seven tab headers fit across the window without scroll arrows.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));

    column->addWidget(buildButtonRow());
    setCentralWidget(central);
    buildStatusBar();
    buildStopButton();

    tmr1 = named<QTimer>("tmr1", this);
    tmr1->setInterval(1000);

    // The client area stays 856 x 671 below the menu bar (Stop, Tools, View), as a
    // native menu bar sits outside a window's client area.
    setFixedSize(856, 671 + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget* TfrmTavistoMain::buildConnectionGroup() {
    grp_Settings = named<QGroupBox>("grp_Settings", QStringLiteral("COM Settings"));
    lab_SerialPort = named<QLabel>("lab_SerialPort", QStringLiteral("Serial Port:"));
    // Editable, so that a device path that is not listed can be typed in.
    cbb_SerialPort = named<QComboBox>("cbb_SerialPort");
    cbb_SerialPort->setEditable(true);
    cbb_SerialPort->setInsertPolicy(QComboBox::NoInsert);
    cbb_SerialPort->setMinimumWidth(200);
    lab_BaudRate = named<QLabel>("lab_BaudRate", QStringLiteral("Baud Rate:"));
    cbb_BaudRate = named<QComboBox>("cbb_BaudRate");
    cbb_BaudRate->setMinimumWidth(90);
    cbb_BaudRate->setEnabled(false);
    labModel = named<QLabel>("labModel", QStringLiteral("Model:"));
    cbbDisplayMode = named<QComboBox>("cbbDisplayMode");
    cbbDisplayMode->setMinimumWidth(120);
    cbbDisplayMode->setEnabled(false);
    btnConnect = named<QPushButton>("btnConnect", QStringLiteral("Connect"));
    btnConnect->setMinimumWidth(100);
    FillList(cbb_BaudRate, PortBaudRates, [](const TBaudRates& row) { return row.BaudRateName; });
    cbb_BaudRate->setCurrentIndex(0);
    FillList(cbbDisplayMode, DisplayModels, [](const DisplayModel& model) { return model.name; });

    auto* row = new QHBoxLayout(grp_Settings);
    row->setContentsMargins(8, 4, 8, 6);
    row->addWidget(lab_SerialPort);
    row->addWidget(cbb_SerialPort, 1);
    row->addSpacing(12);
    row->addWidget(lab_BaudRate);
    row->addWidget(cbb_BaudRate);
    row->addSpacing(12);
    row->addWidget(labModel);
    row->addWidget(cbbDisplayMode);
    row->addSpacing(12);
    row->addWidget(btnConnect);
    return grp_Settings;
}

QWidget* TfrmTavistoMain::buildButtonRow() {
    btn_Default = named<QPushButton>("btn_Default", QStringLiteral("Default Setting"));
    btn_loadsettings = named<QPushButton>("btn_loadsettings", QStringLiteral("Load Setting"));
    btn_savesettings = named<QPushButton>("btn_savesettings", QStringLiteral("Save Setting"));
    btn_GetSetting = named<QPushButton>("btn_GetSetting", QStringLiteral("Get Setting"));
    btn_AllDownload = named<QPushButton>("btn_AllDownload", QStringLiteral("All Download"));
    btn_ResetDisplay = named<QPushButton>("btn_ResetDisplay", QStringLiteral("Reset Display"));
    btn_RestartDisplay =
        named<QPushButton>("btn_RestartDisplay", QStringLiteral("Restart Display"));
    btn_Exit = named<QPushButton>("btn_Exit", QStringLiteral("Exit"));

    auto* rowWidget = new QWidget;
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    for (QPushButton* button : {btn_Default, btn_loadsettings, btn_savesettings, btn_GetSetting,
                                btn_AllDownload, btn_ResetDisplay, btn_RestartDisplay, btn_Exit}) {
        button->setMinimumSize(96, 30);
        row->addWidget(button);
    }
    return rowWidget;
}

// Stop sits at the right end of the menu bar, clear of the tabs, the button row and
// the status bar's panels, and in reach whichever tab is shown.
void TfrmTavistoMain::buildStopButton() {
    btn_Stop = named<QPushButton>("btn_Stop", QStringLiteral("Stop"));
    btn_Stop->setToolTip(QStringLiteral("Esc"));
    btn_Stop->setEnabled(false);
    menuBar()->setCornerWidget(btn_Stop, Qt::TopRightCorner);
}

QTextEdit* TfrmTavistoMain::buildLogPane() {
    redt_log = named<QTextEdit>("redt_log");
    redt_log->setReadOnly(true);
    redt_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont logFont(QStringLiteral("Arial"));
    logFont.setPixelSize(14);
    redt_log->setFont(logFont);
    return redt_log;
}

void TfrmTavistoMain::buildStatusBar() {
    StatusBar1 = named<QStatusBar>("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    // Panel 0 (400 px) hosts the progress bar, placed over the whole panel less
    // two pixels of width.
    auto* panel0 = named<QWidget>("StatusBar1Panel0");
    panel0->setFixedWidth(400);
    auto* panel0Layout = new QHBoxLayout(panel0);
    panel0Layout->setContentsMargins(0, 0, 2, 0);
    cxProgressBar1 = named<QProgressBar>("cxProgressBar1");
    cxProgressBar1->setTextVisible(false);
    cxProgressBar1->setMaximumHeight(16);
    panel0Layout->addWidget(cxProgressBar1);
    StatusBar1->addWidget(panel0);

    const int widths[] = {0, 200, 100, 50};
    for (int panel = 1; panel <= 3; ++panel) {
        auto* label = new QLabel;
        label->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(panel));
        // The last panel runs to the end of the bar, as a status bar's last panel
        // does, so the seconds and the transfer rate beside them are not cut off.
        if (panel == 3)
            label->setMinimumWidth(widths[panel]);
        else
            label->setFixedWidth(widths[panel]);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // As tall empty as with a text, so the status bar (and the button row above
        // it) never changes height when an operation starts.
        label->setFixedHeight(QFontMetrics(font()).height() + 2 * label->frameWidth());
        StatusBar1->addWidget(label, panel == 3 ? 1 : 0);
        panels_[panel] = label;
    }
    // The last panel stretches; keep its frame clear of the window edge.
    StatusBar1->setContentsMargins(0, 0, 3, 0);
    setStatusBar(StatusBar1);
}

} // namespace tavisto::ui
