#include "app/ui/WindowCommandLine.h"

#include <QCommandLineParser>

namespace tavisto::ui {

namespace {

// Parses `args` (those after the program name) with the window's options; false when
// an option is unknown or lacks its value. The options found are readable either way.
bool parse(QCommandLineParser& parser, const QStringList& args) {
    // "-h" is the short help; a single dash before a word ("-platform") is one option,
    // so that Qt's own options never read as a row of short ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    parser.addOption(
        QCommandLineOption(QStringLiteral("simulate"), QString(), QStringLiteral("MODEL")));
    return parser.parse(QStringList{QStringLiteral("tavisto")} + args);
}

std::string optionText(const QString& name) {
    return (name.size() == 1 ? "-" : "--") + name.toStdString();
}

} // namespace

std::optional<std::string> WindowInfoText(const QStringList& args) {
    QCommandLineParser parser;
    parse(parser, args);
    for (const QString& name : parser.optionNames()) {
        if (name == QLatin1String("version"))
            return WindowVersionText();
        if (name == QLatin1String("help") || name == QLatin1String("h"))
            return WindowHelpText();
    }
    return std::nullopt;
}

bool ParseWindowArguments(const QStringList& args, TWindowArguments& out, std::string& error) {
    out = {};
    QCommandLineParser parser;
    const bool parsed = parse(parser, args);
    if (!parser.unknownOptionNames().isEmpty()) {
        error = "unknown option: " + optionText(parser.unknownOptionNames().front());
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = "unknown option: " + parser.positionalArguments().front().toStdString();
        return false;
    }
    // The one option with a value is the one that can lack it.
    if (!parsed)
        return SetSimulateModel(std::nullopt, out, error);
    if (parser.isSet(QStringLiteral("simulate")))
        return SetSimulateModel(parser.value(QStringLiteral("simulate")).toStdString(), out, error);
    return true;
}

} // namespace tavisto::ui
