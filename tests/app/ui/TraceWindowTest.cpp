#include "app/ui/TraceWindow.h"

#include "tests/app/ui/WindowHarness.h"
#include "tests/app/ui/WindowTestMain.h"
#include "tests/support/TempFolder.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <cstdlib>
#include <thread>

using namespace tavisto;
using namespace tavisto::testing;
using ui::TfrmTavistoMain;
using ui::TTraceWindow;

class TraceWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TfrmTavistoMain> make(std::uint16_t langId = 1033) {
        return WindowWithPorts(ports, boxes, langId);
    }

    static QStringList paneLines(const TTraceWindow& trace) {
        return trace.lines()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    BoxRecorder boxes;
    PortList ports;

private slots:
    void init() {
        boxes = {};
        ports = {};
    }

    // Ctrl+T opens the trace beside the main window, which keeps its size; lines
    // traced before it opened are there, and the standard error lines stay as they were.
    void ctrlTOpensTheTraceWithEveryLineSoFar() {
        auto w = make();
        std::vector<std::string> sunk;
        w->connection().trace.setSink([&](const std::string& line) { sunk.push_back(line); });
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* trace = w->findChild<TTraceWindow*>();
        QVERIFY(trace);
        QVERIFY(!trace->isVisible());

        // Traced from another thread, as the transfer receiver does.
        std::thread([&] {
            w->connection().trace.TraceLine("----> 02071601");
            w->connection().trace.TraceLine("<---- 4B54333500");
        }).join();
        QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
        QVERIFY(trace->isVisible());
        QVERIFY(trace->isWindow());
        QCOMPARE(w->size(), QSize(856, 671 + w->menuBar()->sizeHint().height()));
        // Over the main window, not in a corner of the screen (which, offscreen, is a
        // little smaller than the main window: the trace window is kept on it).
        const QPoint offset = trace->frameGeometry().center() - w->frameGeometry().center();
        QVERIFY2(std::abs(offset.x()) <= 16 && std::abs(offset.y()) <= 16,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

        QTRY_COMPARE(paneLines(*trace).size(), 2);
        const QStringList lines = paneLines(*trace);
        const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d  "));
        QVERIFY2(time.match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QCOMPARE(lines[0].mid(12), QStringLiteral("  sent      02 07 16 01  |....|"));
        QCOMPARE(lines[1].mid(12), QStringLiteral("  received  4B 54 33 35 00  |KT35.|"));
        QCOMPARE(sunk, (std::vector<std::string>{"----> 02071601", "<---- 4B54333500"}));

        // Pressed again, it stays the one window.
        QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(w->findChildren<TTraceWindow*>().size(), 1);
    }

    void saveWritesThePaneAndSaysWhyItCannot() {
        auto w = make();
        auto* trace = w->findChild<TTraceWindow*>();
        w->connection().trace.TraceLine("----> 0C");
        QTRY_COMPARE(paneLines(*trace).size(), 1);

        TempFolder folder;
        const QString path = QString::fromStdString((folder.path() / "trace.txt").string());
        boxes.files.push_back(path);
        trace->saveButton()->click();
        QCOMPARE(QString::fromStdString(folder.read("trace.txt")),
                 trace->lines()->toPlainText() + QLatin1Char('\n'));
        QVERIFY(boxes.fileDialogs.back().save);
        QVERIFY(boxes.shown.empty());

        // A folder cannot be saved over: the box says so and nothing is lost.
        boxes.files.push_back(QString::fromStdString(folder.path().string()));
        trace->saveButton()->click();
        QCOMPARE(boxes.shown.size(), std::size_t{1});
        QCOMPARE(boxes.shown[0].icon, QMessageBox::Critical);
        QVERIFY2(boxes.shown[0].text.contains(QString::fromStdString(folder.path().string())),
                 qPrintable(boxes.shown[0].text));
        QCOMPARE(paneLines(*trace).size(), 1);

        // Cancelled: nothing written, nothing shown.
        trace->saveButton()->click();
        QCOMPARE(boxes.shown.size(), std::size_t{1});
    }

    // The trace window speaks the main window's language.
    void captionsFollowTheInterfaceLanguage() {
        auto english = make();
        auto* trace = english->findChild<TTraceWindow*>();
        QCOMPARE(trace->saveButton()->text(), QStringLiteral("Save..."));
        auto chinese = make(2052);
        trace = chinese->findChild<TTraceWindow*>();
        QCOMPARE(trace->saveButton()->text(), QStringLiteral("保存..."));
        QCOMPARE(trace->clearButton()->text(), QStringLiteral("清除"));
        trace->saveButton()->click(); // cancelled
        QCOMPARE(boxes.fileDialogs.back().filter, QStringLiteral("文本文件|*.txt|所有文件|*"));
    }

    // The windows go with lines still queued for the trace pane.
    void closingWithLinesQueued() {
        auto w = make();
        Trace& trace = w->connection().trace;
        std::thread tracer([&] {
            for (int i = 0; i < 2000; ++i)
                trace.TraceLine("<---- 00");
        });
        tracer.join();
        w.reset();
        QCoreApplication::processEvents();
    }
};

TAVISTO_WINDOW_TEST(TraceWindowTest)
#include "TraceWindowTest.moc"
