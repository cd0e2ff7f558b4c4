#include "pictures/ui/ImageConvert.h"

#include "pictures/ByteFiles.h"
#include "pictures/PictureGeometry.h"
#include "pictures/ui/DesktopDialogs.h"
#include "pictures/ui/PreviewImage.h"
#include "pictures/ui/SelectionFrame.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <exception>

namespace tavisto {
namespace {

constexpr int kClientWidth = 884;
constexpr int kClientHeight = 662;
// The bar along the bottom (the size label and the buttons) starts below the tallest
// view a common picture gets: a 4:3 picture at the panel's width, 800 x 600, centred
// in rows 31 to 630.
constexpr int kBarTop = (kClientHeight + 600) / 2 + 2;
constexpr int kBarHeight = 26;

// `Panel1`: the area in which the view and the frame are centred; shows its caption
// where no picture covers it.
class PreviewPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Image Preview"));
    }
};

PictureRect toPictureRect(const QRect& r) {
    return PictureRect{r.x(), r.y(), r.width(), r.height()};
}

QRect toQRect(const PictureRect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

QString fileNameText(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

const char* const TfrmImageConvert::kOpenFilter =
    "All (*.png;*.jpg;*.bmp)|*.png;*.jpg;*.bmp|Portable Network Graphics (*.png)|*.png|"
    "JPEG Image File (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp";
const char* const TfrmImageConvert::kSaveFilter = "JPEG Image File (*.jpg)|*.jpg";

TfrmImageConvert::TfrmImageConvert(QWidget* owner, ui::TDesktopDialogs* dialogs)
    : QDialog(owner), dialogs_(dialogs) {
    if (!dialogs_) {
        nativeDialogs_ = std::make_unique<ui::TNativeDialogs>();
        dialogs_ = nativeDialogs_.get();
    }
    setObjectName(QStringLiteral("frmImageConvert"));
    setWindowTitle(QStringLiteral("Image Convert"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setGeometry(0, 0, kClientWidth, kClientHeight);

    Panel1 = new PreviewPanel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(kPreviewPanelSize.width, kPreviewPanelSize.height);
    Panel1->setBackgroundRole(QPalette::Window);
    Panel1->setAutoFillBackground(true);
    ScrollBox1->setWidget(Panel1);

    Image1 = new PreviewImage(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));

    panSelect = new SelectionFrame(Panel1);
    panSelect->setObjectName(QStringLiteral("panSelect"));
    connect(panSelect, &SelectionFrame::released, this, &TfrmImageConvert::ClampSelection);

    Panel4 = new QLabel(Panel1);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::Panel);
    Panel4->setFrameShadow(QFrame::Sunken);
    Panel4->setAlignment(Qt::AlignCenter);
    Panel4->setGeometry(12, kBarTop, 110, kBarHeight);

    actOpen = new QAction(QStringLiteral("O&pen"), this);
    actOpen->setObjectName(QStringLiteral("actOpen"));
    actEnter = new QAction(QStringLiteral("&OK"), this);
    actEnter->setObjectName(QStringLiteral("actEnter"));
    actSave = new QAction(QStringLiteral("Save"), this);
    actSave->setObjectName(QStringLiteral("actSave"));
    actEsc = new QAction(QStringLiteral("&Exit"), this);
    actEsc->setObjectName(QStringLiteral("actEsc"));
    addActions({actOpen, actEnter, actSave, actEsc});
    connect(actOpen, &QAction::triggered, this, &TfrmImageConvert::actOpenExecute);
    connect(actEnter, &QAction::triggered, this, &TfrmImageConvert::actEnterExecute);
    connect(actSave, &QAction::triggered, this, &TfrmImageConvert::actSaveExecute);
    connect(actEsc, &QAction::triggered, this, &TfrmImageConvert::actEscExecute);

    const struct {
        QPushButton** button;
        QAction* action;
        const char* name;
        int left;
    } buttons[] = {{&btnOpen, actOpen, "btnOpen", kClientWidth - 282},
                   {&btnOK, actEnter, "btnOK", kClientWidth - 190},
                   {&btnSave, actSave, "btnSave", kClientWidth - 98}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.action->text(), Panel1);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        button->setGeometry(b.left, kBarTop, 86, kBarHeight);
        connect(button, &QPushButton::clicked, b.action, &QAction::trigger);
        *b.button = button;
    }

    SetTarget(0, 1, 1);
}

TfrmImageConvert::~TfrmImageConvert() = default;

void TfrmImageConvert::SetTarget(int pictureNo, int width, int height) {
    nWidth = width;
    nHeigth = height;
    fBitmap = Bitmap(width, height);
    fPictureNo = pictureNo;
    Panel4->setText(QStringLiteral("%1*%2").arg(width).arg(height));
    FbOK = false;
}

void TfrmImageConvert::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TfrmImageConvert::FormShow() {
    panSelect->resize(nWidth, nHeigth);
    Image1->resize(nWidth, nHeigth);
    centreInPanel();
    ClampSelection();
}

void TfrmImageConvert::centreInPanel() {
    const PictureSize panel{Panel1->width(), Panel1->height()};
    Image1->setGeometry(toQRect(CentredRect(panel, {Image1->width(), Image1->height()})));
    panSelect->setGeometry(toQRect(CentredRect(panel, {panSelect->width(), panSelect->height()})));
    panSelect->raise();
    for (QPushButton* button : {btnOpen, btnOK, btnSave})
        button->raise();
    Panel4->raise();
}

void TfrmImageConvert::ClampSelection() {
    panSelect->setGeometry(toQRect(tavisto::ClampSelection(toPictureRect(panSelect->geometry()),
                                                           toPictureRect(Image1->geometry()))));
    panSelect->update();
}

void TfrmImageConvert::actOpenExecute() {
    ui::TFileDialog open;
    open.filter = QString::fromLatin1(kOpenFilter);
    const QString name = dialogs_->chooseFile(this, open);
    if (name.isEmpty())
        return;
    const std::string path = name.toStdString();
    const std::optional<PictureFormat> format = OpenFormatForFileName(path);
    if (!format) {
        showMessage(QMessageBox::Warning,
                    QStringLiteral("\"%1\" was not opened: only files ending in .png, .PNG, "
                                   ".jpg, .JPG, .bmp or .BMP can be opened.")
                        .arg(name));
        return;
    }
    std::shared_ptr<const OpenedPicture> opened;
    try {
        WaitCursor wait;
        opened = std::make_shared<const OpenedPicture>(
            OpenPictureForTarget(FileToBytes(path), *format, PictureSize{nWidth, nHeigth}));
    } catch (const std::exception& e) {
        showMessage(QMessageBox::Critical,
                    QStringLiteral("The picture \"%1\" cannot be opened.\n\n%2")
                        .arg(name, fileNameText(e.what())));
        return;
    }
    picture_ = std::move(opened);
    Image1->setPicture(picture_);
    Image1->resize(picture_->view.size.width, picture_->view.size.height);
    panSelect->resize(nWidth, nHeigth);
    centreInPanel();
}

Bitmap TfrmImageConvert::BuildResultBitmap() const {
    return BuildResult(*picture_, toPictureRect(Image1->geometry()),
                       toPictureRect(panSelect->geometry()));
}

void TfrmImageConvert::actEnterExecute() {
    if (picture_) {
        fBitmap = BuildResultBitmap();
        FbOK = true;
    }
    actEsc->trigger();
}

void TfrmImageConvert::actSaveExecute() {
    if (!picture_)
        return;
    const Bitmap result = BuildResultBitmap();
    ui::TFileDialog save;
    save.save = true;
    save.proposedName = QStringLiteral("Unnamed");
    save.filter = QString::fromLatin1(kSaveFilter);
    const QString name = dialogs_->chooseFile(this, save);
    if (name.isEmpty())
        return;
    try {
        if (!SaveResult(result, name.toStdString()))
            showMessage(QMessageBox::Warning,
                        QStringLiteral("Nothing was saved to \"%1\": the file name must end "
                                       "in .bin or .BIN (raw RGB565), .bmp or .BMP, or "
                                       ".jpg or .JPG.")
                            .arg(name));
    } catch (const std::exception& e) {
        showMessage(
            QMessageBox::Critical,
            QStringLiteral("The picture cannot be saved.\n\n%1").arg(fileNameText(e.what())));
    }
}

void TfrmImageConvert::showMessage(QMessageBox::Icon icon, const QString& text) {
    ui::ShowMessage(*dialogs_, this, icon, text);
}

void TfrmImageConvert::actEscExecute() {
    close();
}

bool OpenImageConvert(QWidget* owner, int pictureNo, Bitmap& target, ui::TDesktopDialogs* dialogs) {
    TfrmImageConvert dialog(owner, dialogs);
    dialog.SetTarget(pictureNo, target.width(), target.height());
    dialog.exec();
    if (dialog.FbOK)
        target = dialog.fBitmap;
    return dialog.FbOK;
}

} // namespace tavisto
