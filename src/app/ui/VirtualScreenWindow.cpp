#include "app/ui/VirtualScreenWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tavisto::ui {

namespace {

QString virtualDisplayText(bool chinese) {
    return chinese ? QStringLiteral("虚拟客显") : QStringLiteral("Virtual display");
}

// The port list's mark of an entry, shown after its text in the open list.
constexpr int kPortMarkRole = Qt::UserRole + 1;

class TPortMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString mark = index.data(kPortMarkRole).toString();
        if (!mark.isEmpty())
            option->text += QStringLiteral("  (") + mark + QLatin1Char(')');
    }
};

} // namespace

TVirtualScreenWindow::TVirtualScreenWindow(TScreenSource source, QWidget* parent,
                                           Qt::WindowFlags flags)
    : QWidget(parent, flags), source_(std::move(source)) {
    setObjectName(QStringLiteral("VirtualScreenWindow"));
    SelectLanguage(false);
    setMinimumSize(240, 136);
    resize(800, 480);
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &TVirtualScreenWindow::refresh);
}

void TVirtualScreenWindow::SelectLanguage(bool chinese) {
    setWindowTitle(virtualDisplayText(chinese));
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

QMenu* ViewMenu(QMainWindow& window, bool chinese) {
    if (auto* view = window.menuBar()->findChild<QMenu*>(QStringLiteral("mnuView")))
        return view;
    QMenu* view =
        window.menuBar()->addMenu(chinese ? QStringLiteral("视图(&V)") : QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    return view;
}

void AddVirtualDisplayMenu(QMainWindow& window, TVirtualScreenWindow& screen, bool chinese) {
    screen.SelectLanguage(chinese);
    QAction* show = ViewMenu(window, chinese)->addAction(virtualDisplayText(chinese));
    show->setObjectName(QStringLiteral("actVirtualDisplay"));
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    show->setShortcutContext(Qt::ApplicationShortcut);
    QObject::connect(show, &QAction::triggered, &screen, &TVirtualScreenWindow::present);
}

void MarkVirtualDisplayPort(QComboBox& ports, const QString& port, bool chinese) {
    const int row = ports.findText(port);
    if (row < 0)
        return;
    const QString mark = virtualDisplayText(chinese);
    ports.setItemData(row, mark, kPortMarkRole);
    ports.setItemData(row, mark, Qt::ToolTipRole);
    ports.setItemDelegate(new TPortMarkDelegate(&ports));
    const QString shown = port + QStringLiteral("  (") + mark + QLatin1Char(')');
    ports.view()->setMinimumWidth(ports.fontMetrics().horizontalAdvance(shown) + 40);
}

} // namespace tavisto::ui
