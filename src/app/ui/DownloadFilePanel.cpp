#include "app/ui/DownloadFilePanel.h"

#include "app/storage/SingleDownload.h"
#include "app/storage/StorageWorkflows.h"
#include "app/ui/ListFill.h"
#include "app/ui/Named.h"
#include "app/ui/PanelHost.h"
#include "pictures/ui/DesktopDialogs.h"
#include "protocol/DownloadTable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tavisto::ui {

TDownloadFilePanel::TDownloadFilePanel(TPanelHost& host, QTextEdit* log, QWidget* parent)
    : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("tsDownloadFile"));
    btn_CharacterSetDownAll =
        named<QPushButton>("btn_CharacterSetDownAll", QStringLiteral("Font Download"));
    cbbCharset = named<QComboBox>("cbbCharset");
    cbbCharset->setMinimumWidth(180);
    FillList(cbbCharset, DownFiles,
             [](const TDownFiles& row) { return std::string_view(row.Name); });
    btn_CharacterSetSelectFile =
        named<QPushButton>("btn_CharacterSetSelectFile", QStringLiteral("Select File"));
    pnlCharsetFilename = named<QLabel>("pnlCharsetFilename");
    pnlCharsetFilename->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlCharsetFilename->setMinimumHeight(26);
    edt_addr = named<QLineEdit>("edt_addr");
    edt_filename = named<QLineEdit>("edt_filename");
    btn_CharacterSetDownSingle =
        named<QPushButton>("btn_CharacterSetDownSingle", QStringLiteral("Download"));
    btn_Format = named<QPushButton>("btn_Format", QStringLiteral("Format"));
    // No item is chosen yet, so there is nothing to pick a file for or to send.
    btn_CharacterSetSelectFile->setEnabled(false);
    btn_CharacterSetDownSingle->setEnabled(false);

    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(8);
    controls->addWidget(btn_CharacterSetDownAll, 0, 0);
    controls->addWidget(btn_Format, 0, 3);
    controls->addWidget(cbbCharset, 1, 0);
    controls->addWidget(btn_CharacterSetSelectFile, 1, 1);
    controls->addWidget(pnlCharsetFilename, 1, 2, 1, 2);
    controls->addWidget(edt_addr, 2, 0);
    controls->addWidget(edt_filename, 2, 1, 1, 2);
    controls->addWidget(btn_CharacterSetDownSingle, 2, 3);
    controls->setColumnStretch(2, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(10);
    page->addLayout(controls);
    page->addWidget(log, 1);

    connect(cbbCharset, &QComboBox::currentIndexChanged, this,
            &TDownloadFilePanel::cbbCharsetChange);
    connect(btn_CharacterSetSelectFile, &QPushButton::clicked, this,
            &TDownloadFilePanel::btn_CharacterSetSelectFileClick);
    connect(btn_CharacterSetDownSingle, &QPushButton::clicked, this,
            &TDownloadFilePanel::btn_CharacterSetDownSingleClick);
    connect(btn_CharacterSetDownAll, &QPushButton::clicked, this,
            &TDownloadFilePanel::btn_CharacterSetDownAllClick);
    connect(btn_Format, &QPushButton::clicked, this, &TDownloadFilePanel::btn_FormatClick);
}

void TDownloadFilePanel::btn_CharacterSetDownAllClick() {
    tavisto::btn_CharacterSetDownAllClick(host_.connection(), host_.operatorView(),
                                          FindModel(host_.displayModel()), host_.transferRunner());
}

void TDownloadFilePanel::btn_FormatClick() {
    if (host_.busy())
        return;
    tavisto::btn_FormatClick(host_.connection(), host_.operatorView());
}

void TDownloadFilePanel::cbbCharsetChange() {
    const int index = cbbCharset->currentIndex();
    if (index < 0) {
        btn_CharacterSetSelectFile->setEnabled(false);
        btn_CharacterSetDownSingle->setEnabled(false);
        edt_addr->clear();
        edt_filename->clear();
        return;
    }
    const TDownFiles& row = DownFileAt(index + 1);
    btn_CharacterSetSelectFile->setEnabled(true);
    btn_CharacterSetDownSingle->setEnabled(!pnlCharsetFilename->text().isEmpty());
    edt_addr->setText(QString::fromLatin1(row.Address));
    edt_filename->setText(QString::fromLatin1(row.FileName));
}

void TDownloadFilePanel::btn_CharacterSetSelectFileClick() {
    TFileDialog dialog;
    dialog.filter = QString::fromLatin1(kDownloadFileFilter);
    const QString path = host_.dialogs().chooseFile(host_.dialogParent(), dialog);
    pnlCharsetFilename->setText(path);
    btn_CharacterSetDownSingle->setEnabled(!path.isEmpty());
}

void TDownloadFilePanel::btn_CharacterSetDownSingleClick() {
    const int index = cbbCharset->currentIndex();
    const QString file = pnlCharsetFilename->text();
    if (index < 0 || file.isEmpty())
        return; // the button is disabled then
    tavisto::btn_CharacterSetDownSingleClick(host_.connection(), host_.operatorView(),
                                             FindModel(host_.displayModel()),
                                             host_.transferRunner(), index + 1, file.toStdString());
}

} // namespace tavisto::ui
