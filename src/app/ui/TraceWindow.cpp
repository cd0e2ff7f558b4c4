#include "app/ui/TraceWindow.h"

#include "app/trace/TraceText.h"
#include "files/FileWrite.h"
#include "files/Utf8Path.h"
#include "pictures/ui/DesktopDialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace tavisto::ui {

TTraceWindow::TTraceWindow(Trace& trace, TDesktopDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmTrace"));
    resize(820, 420);

    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName(QStringLiteral("mmoTrace"));
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setMaximumBlockCount(kMaxLines);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    save_ = new QPushButton(this);
    save_->setObjectName(QStringLiteral("btnSaveTrace"));
    clear_ = new QPushButton(this);
    clear_->setObjectName(QStringLiteral("btnClearTrace"));
    close_ = new QPushButton(this);
    auto* close = close_;
    SelectLanguage(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(clear_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_);
    layout->addLayout(buttons);

    connect(save_, &QPushButton::clicked, this, &TTraceWindow::saveClick);
    connect(clear_, &QPushButton::clicked, lines_, &QPlainTextEdit::clear);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // Lines come from whichever thread traces them (the transfer receiver included);
    // they reach the widget through this window's event queue. A line still queued
    // when the window goes is dropped with it.
    subscription_ = trace.subscribe([this](const TraceEntry& entry) {
        const QString line = QString::fromStdString(ReadableTraceLine(entry));
        QMetaObject::invokeMethod(
            this, [this, line] { append(line); }, Qt::QueuedConnection);
    });
}

TTraceWindow::~TTraceWindow() {
    subscription_.reset();
}

void TTraceWindow::present() {
    // The first time it opens over the main window, where the operator looks, rather
    // than where the window system puts a new window; later it stays where it was put.
    if (!placed_ && parentWidget()) {
        placed_ = true;
        const QWidget* owner = parentWidget()->window();
        // Its size as it will open: the layout may widen it to fit its buttons.
        if (layout())
            layout()->activate();
        QRect frame(QPoint(), size());
        frame.moveCenter(owner->frameGeometry().center());
        if (const QScreen* screen = owner->screen()) {
            const QRect room = screen->availableGeometry();
            frame.moveLeft(std::clamp(frame.left(), room.left(),
                                      std::max(room.left(), room.right() - frame.width() + 1)));
            frame.moveTop(std::clamp(frame.top(), room.top(),
                                     std::max(room.top(), room.bottom() - frame.height() + 1)));
        }
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void TTraceWindow::SelectLanguage(bool chinese) {
    chinese_ = chinese;
    setWindowTitle(chinese ? QStringLiteral("Tavisto 通信跟踪") : QStringLiteral("Tavisto Trace"));
    save_->setText(chinese ? QStringLiteral("保存...") : QStringLiteral("Save..."));
    clear_->setText(chinese ? QStringLiteral("清除") : QStringLiteral("Clear"));
    close_->setText(chinese ? QStringLiteral("关闭") : QStringLiteral("Close"));
}

void TTraceWindow::append(const QString& line) {
    lines_->appendPlainText(line);
}

void TTraceWindow::saveClick() {
    TFileDialog dialog;
    dialog.save = true;
    dialog.proposedName = QStringLiteral("tavisto-trace.txt");
    dialog.filter = chinese_ ? QStringLiteral("文本文件|*.txt|所有文件|*")
                             : QStringLiteral("Text files|*.txt|All files|*");
    const QString path = dialogs_.chooseFile(this, dialog);
    if (path.isEmpty())
        return;
    QString text = lines_->toPlainText();
    if (!text.isEmpty())
        text += QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    std::string message;
    if (!SaveFile(PathFromUtf8(path.toStdString()), Bytes(bytes.constData(), bytes.size()),
                  message))
        ShowMessage(dialogs_, this, QMessageBox::Critical, QString::fromStdString(message));
}

} // namespace tavisto::ui
