#include "app/ui/VirtualScreenWindow.h"

#include "tests/app/ui/WindowTestMain.h"

#include <QAction>
#include <QMainWindow>
#include <QTest>

using namespace tavisto;
using ui::TScreenPicture;
using ui::TVirtualScreenWindow;

class VirtualScreenWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The view asks the display for its screen only while it is open; the View menu's
    // entry (Ctrl+D) opens it with the screen drawn at once, scaled to fit with its
    // proportions kept, and a changed screen replaces the picture.
    void asksOnlyWhileOpenAndKeepsTheProportions() {
        int asked = 0;
        int shade = 10;
        QMainWindow main;
        TVirtualScreenWindow view(
            [&](TScreenPicture& picture) {
                ++asked;
                const int shown = picture.rgb.empty() ? -1 : picture.rgb[0];
                if (shown == shade)
                    return false; // unchanged
                picture.width = 800;
                picture.height = 480;
                picture.rgb.assign(800 * 480 * 3, static_cast<std::uint8_t>(shade));
                return true;
            },
            &main);
        ui::AddVirtualDisplayMenu(main, view, false);
        main.show();
        QTest::qWait(3 * TVirtualScreenWindow::kRefreshMs);
        QCOMPARE(asked, 0);

        auto* open = main.findChild<QAction*>(QStringLiteral("actVirtualDisplay"));
        QVERIFY(open);
        QCOMPARE(open->text(), QStringLiteral("Virtual display"));
        QCOMPARE(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        open->trigger();
        QVERIFY(view.isVisible());
        QCOMPARE(view.picture().size(), QSize(800, 480));
        QCOMPARE(view.picture().pixelColor(0, 0), QColor(10, 10, 10));

        view.resize(400, 400);
        QCOMPARE(view.pictureRect(), QRect(0, 80, 400, 240));

        shade = 200;
        QTRY_COMPARE(view.picture().pixelColor(0, 0), QColor(200, 200, 200));

        view.hide();
        const int closedAt = asked;
        QTest::qWait(3 * TVirtualScreenWindow::kRefreshMs);
        QCOMPARE(asked, closedAt);
    }
};

TAVISTO_WINDOW_TEST(VirtualScreenWindowTest)
#include "VirtualScreenWindowTest.moc"
