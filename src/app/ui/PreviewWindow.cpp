#include "app/ui/PreviewWindow.h"

#include "app/connect/InterfaceLanguage.h"
#include "app/ui/FormBinding.h"
#include "app/ui/PictureManagementPanel.h"
#include "app/ui/ScreenPreview.h"
#include "app/ui/TavistoMain.h"
#include "app/ui/VirtualScreenWindow.h"
#include "protocol/ModelTable.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <chrono>
#include <memory>
#include <optional>

namespace tavisto::ui {

TPreviewWindow::TPreviewWindow(TPreviewSource source, std::function<int()> connectedModel,
                               bool chinese, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)),
      connectedModel_(std::move(connectedModel)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(chinese ? QStringLiteral("预览") : QStringLiteral("Preview"));
    // The same words as the connection group's model label.
    modelLabel_ = new QLabel(chinese ? QStringLiteral("型号：") : QStringLiteral("Model:"));
    modelList_ = new QComboBox;
    modelList_->setObjectName(QStringLiteral("cbbPreviewModel"));
    for (const DisplayModel& row : DisplayModels)
        modelList_->addItem(
            QStringLiteral("%1  (%2 × %3)")
                .arg(QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size())))
                .arg(row.panel.width)
                .arg(row.panel.height));
    // The models most displays are: 800 x 480, files by name.
    modelList_->setCurrentIndex(5);
    screen_ = new TVirtualScreenWindow([this](TScreenPicture& picture) { return draw(picture); },
                                       this, Qt::Widget);
    screen_->setObjectName(QStringLiteral("PreviewScreen"));

    auto* row = new QHBoxLayout;
    row->addWidget(modelLabel_);
    row->addWidget(modelList_);
    row->addStretch();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addLayout(row);
    column->addWidget(screen_, 1);
    resize(504, 336);

    connect(modelList_, &QComboBox::currentIndexChanged, screen_, &TVirtualScreenWindow::refresh);
}

int TPreviewWindow::model() const {
    return modelList_->currentIndex();
}

bool TPreviewWindow::draw(TScreenPicture& picture) {
    // Each Connect that finds a model moves the list to it; the operator may still
    // pick another one afterwards.
    const int connected = connectedModel_ ? connectedModel_() : -1;
    if (connected != followed_) {
        followed_ = connected;
        if (connected >= 0) {
            const QSignalBlocker quiet(modelList_);
            modelList_->setCurrentIndex(connected);
        }
    }
    return source_ && source_(model(), picture);
}

void TPreviewWindow::present() {
    if (!placed_ && parentWidget()) {
        // Beside the main window when the screen has room for it there.
        placed_ = true;
        const QRect main = parentWidget()->frameGeometry();
        const QScreen* screen = parentWidget()->screen();
        const QRect room = screen ? screen->availableGeometry() : QRect();
        const QPoint right(main.right() + 8, main.top());
        const QPoint left(main.left() - 8 - width(), main.top());
        if (room.contains(QRect(right, size())))
            move(right);
        else if (room.contains(QRect(left, size())))
            move(left);
    }
    show();
    raise();
    activateWindow();
}

TPreviewWindow* AddPreviewMenu(TfrmTavistoMain& window) {
    using Clock = std::chrono::steady_clock;
    // The preview's own start: the welcome lines scroll from there.
    struct Feed {
        TScreenPreview preview;
        Clock::time_point started = Clock::now();
        std::optional<Clock::time_point> due; // when a scrolling line moves next
    };
    auto feed = std::make_shared<Feed>();
    TPreviewSource source = [&window, feed](int model, TScreenPicture& picture) {
        // What All Download would send: the form collected into a copy of the record.
        TSettingsForm form;
        ReadSettingsForm(window, form);
        TDisplayInfo info = window.DisplayInfo;
        CollectSettings(form, info);
        const auto now = Clock::now();
        const bool changed =
            feed->preview.update(info, model, window.tsPictureManagement->slotContents());
        if (!changed && !(feed->due && now >= *feed->due))
            return false;
        const auto since =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - feed->started);
        feed->preview.draw(since, picture);
        const auto next = feed->preview.changesWithin(since);
        feed->due = next ? std::optional(now + *next) : std::nullopt;
        return true;
    };

    const bool chinese = UsesChineseTexts(window.connection().SystemLangId);
    auto* preview = new TPreviewWindow(
        std::move(source), [&window] { return window.cbbDisplayMode->currentIndex(); }, chinese,
        &window);
    QAction* show = ViewMenu(window, chinese)
                        ->addAction(chinese ? QStringLiteral("预览") : QStringLiteral("Preview"));
    show->setObjectName(QStringLiteral("actPreview"));
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    show->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(show, &QAction::triggered, preview, &TPreviewWindow::present);
    return preview;
}

} // namespace tavisto::ui
