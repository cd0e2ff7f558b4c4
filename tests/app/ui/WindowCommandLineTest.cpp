#include "app/ui/WindowCommandLine.h"

#include "tests/app/ui/WindowTestMain.h"

#include <QTest>

using namespace tavisto;
using ui::ParseWindowArguments;
using ui::WindowInfoText;

class WindowCommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void simulateTakesAModelName() {
        TWindowArguments args;
        std::string error;
        QVERIFY(ParseWindowArguments({}, args, error));
        QVERIFY(!args.simulateModel);
        QVERIFY(ParseWindowArguments({"--simulate", "KT350-MK"}, args, error));
        QCOMPARE(args.simulateModel, std::optional<int>(5));
        QVERIFY(ParseWindowArguments({"--simulate", "KT350--MKA"}, args, error));
        QCOMPARE(args.simulateModel, std::optional<int>(0));
        QVERIFY2(ParseWindowArguments({"--simulate=KT750-MK"}, args, error), error.c_str());
        QCOMPARE(args.simulateModel, std::optional<int>(6));
    }

    void badCommandLines() {
        TWindowArguments args;
        std::string error;
        QVERIFY(!ParseWindowArguments({"--simulate"}, args, error));
        QVERIFY2(error.find("KT750-MK") != std::string::npos, error.c_str()); // lists the models
        QVERIFY(!ParseWindowArguments({"--simulate", "kt350-mk"}, args, error));
        QVERIFY(!ParseWindowArguments({"--simulate", "5"}, args, error));
        QVERIFY(!ParseWindowArguments({"--model", "KT350-MK"}, args, error));
        QCOMPARE(error, std::string("unknown option: --model"));
    }

    void helpAndVersionAnswerWhereverTheyStand() {
        QVERIFY(!WindowInfoText({}));
        QVERIFY(!WindowInfoText({"--simulate", "KT350-MK"}));
        QCOMPARE(WindowInfoText({"--version"}), std::optional<std::string>("Tavisto v3.2\n"));
        // Qt's own options are single-dash words, not rows of short ones: "-stylesheet"
        // holds an 'h' but asks for no help.
        QVERIFY(!WindowInfoText({"-stylesheet", "dark.qss", "-platform", "offscreen"}));
        for (const QStringList& args :
             {QStringList{"--help"}, QStringList{"-h"},
              QStringList{"--simulate", "KT350-MK", "--help"}, QStringList{"--bogus", "--help"},
              QStringList{"-platform", "offscreen", "-h"}}) {
            const auto text = WindowInfoText(args);
            QVERIFY2(text, qPrintable(args.join(' ')));
            QVERIFY2(text->starts_with("usage: tavisto [--simulate MODEL]"), text->c_str());
            QVERIFY(text->find("KT350--MKA, KT350--MKB") != std::string::npos);
            // Every line fits a terminal.
            std::size_t start = 0;
            for (std::size_t end; (end = text->find('\n', start)) != std::string::npos;
                 start = end + 1)
                QVERIFY2(end - start <= 80u, text->substr(start, end - start).c_str());
        }
    }
};

TAVISTO_WINDOW_TEST(WindowCommandLineTest)
#include "WindowCommandLineTest.moc"
