#include "app/ui/VirtualScreenWindow.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

namespace tavisto::ui {

TVirtualScreenWindow::TVirtualScreenWindow(TScreenSource source, QWidget* parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
    setObjectName(QStringLiteral("VirtualScreenWindow"));
    setWindowTitle(QStringLiteral("Virtual display"));
    setMinimumSize(240, 136);
    resize(800, 480);
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &TVirtualScreenWindow::refresh);
}

void TVirtualScreenWindow::present() {
    show();
    raise();
    activateWindow();
}

bool TVirtualScreenWindow::refresh() {
    if (!source_ || !source_(screen_))
        return false;
    // The image shares the bytes of screen_, which stay until the next change.
    picture_ = QImage(screen_.rgb.data(), screen_.width, screen_.height, screen_.width * 3,
                      QImage::Format_RGB888);
    update();
    return true;
}

QRect TVirtualScreenWindow::pictureRect() const {
    if (picture_.isNull())
        return {};
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    return {QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted};
}

void TVirtualScreenWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (picture_.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), picture_);
}

void TVirtualScreenWindow::showEvent(QShowEvent* event) {
    refresh();
    timer_.start();
    QWidget::showEvent(event);
}

void TVirtualScreenWindow::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void AddVirtualDisplayMenu(QMainWindow& window, TVirtualScreenWindow& screen) {
    QMenu* view = window.menuBar()->addMenu(QStringLiteral("&View"));
    QAction* show = view->addAction(QStringLiteral("Virtual display"));
    show->setObjectName(QStringLiteral("actVirtualDisplay"));
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    show->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(show, &QAction::triggered, &screen, &TVirtualScreenWindow::present);
}

} // namespace tavisto::ui
