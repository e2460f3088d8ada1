// tile-heron-export: exports a saved project without a display, through the
// same export as the window. Qt Core only, for its argument parser and the
// file watch of --watch; no GUI library is loaded, so it runs where no
// display exists.

#include "app/DataFolder.h"
#include "project/CommandLineHost.h"
#include "project/ExportWatch.h"
#include "project/ProjectExport.h"
#include "toolkit/QtText.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <iostream>
#include <variant>

namespace {

using th::project::ExportOverrides;

std::string s(const QString& text)
{
    return th::toolkit::utf8Text(text);
}

struct Options {
    QCommandLineOption sheet{"sheet", "Where the sheet goes.", "PATH"};
    QCommandLineOption depth{"depth", "Bits a pixel: 32, 24, 18, 12, 8, 4 or 1.", "BITS"};
    QCommandLineOption background{"background", "What transparency becomes: black or magenta.", "COLOUR"};
    QCommandLineOption powerOfTwo{"power-of-two", "Round each side of the sheet up to a power of two."};
    QCommandLineOption retina{"retina", "Halve every position and size the script shows."};
    QCommandLineOption sheetNumber{"sheet-number", "The script's th.SheetNumber, 0 to 9999.", "N"};
    QCommandLineOption templateName{"template", "A template of the script library, by name.", "NAME"};
    QCommandLineOption templateFile{"template-file", "A template file.", "PATH"};
    QCommandLineOption script{"script", "Where the script goes.", "PATH"};
    QCommandLineOption clipboard{"clipboard-to-stdout",
                                 "Write a clipboard template's script to the output, and the written files' "
                                 "lines to the error output."};
    QCommandLineOption watch{"watch", "Export again each time a picture of the project or the project file "
                                      "changes, one line per export, until Ctrl+C."};
};

// The overrides, or the reason the arguments are bad.
std::variant<ExportOverrides, std::string> overridesFrom(QCommandLineParser& parser, const Options& o)
{
    if (!parser.parse(QCoreApplication::arguments()))
        return s(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return std::string("Name exactly one project file.");
    if (parser.isSet(o.templateName) && parser.isSet(o.templateFile))
        return std::string("Give --template or --template-file, not both.");
    if (parser.isSet(o.script) && parser.isSet(o.clipboard))
        return std::string("Give --script or --clipboard-to-stdout, not both.");

    ExportOverrides overrides;
    overrides.projectFile = s(parser.positionalArguments().front());
    if (parser.isSet(o.sheet))
        overrides.sheetPath = s(parser.value(o.sheet));
    if (parser.isSet(o.depth)) {
        const int bits = parser.value(o.depth).toInt();
        for (const auto& choice : th::exporting::kDepthChoices)
            if (int(choice.depth) == bits)
                overrides.depth = choice.depth;
        if (!overrides.depth)
            return "Unknown depth " + s(parser.value(o.depth)) + "; use 32, 24, 18, 12, 8, 4 or 1.";
    }
    if (parser.isSet(o.background)) {
        const QString colour = parser.value(o.background);
        if (colour == QLatin1String("black"))
            overrides.background = th::exporting::kBlackBackground;
        else if (colour == QLatin1String("magenta"))
            overrides.background = th::exporting::kMagentaBackground;
        else
            return "Unknown background " + s(colour) + "; use black or magenta.";
    }
    overrides.powerOfTwo = parser.isSet(o.powerOfTwo);
    overrides.retina = parser.isSet(o.retina);
    if (parser.isSet(o.sheetNumber)) {
        bool number = false;
        const int value = parser.value(o.sheetNumber).toInt(&number);
        if (!number || value < 0 || value > 9999)
            return "The sheet number must be a whole number from 0 to 9999, not " + s(parser.value(o.sheetNumber)) + ".";
        overrides.sheetNumber = value;
    }
    if (parser.isSet(o.templateName))
        overrides.templateName = s(parser.value(o.templateName));
    if (parser.isSet(o.templateFile))
        overrides.templateFile = s(parser.value(o.templateFile));
    if (parser.isSet(o.script))
        overrides.scriptPath = s(parser.value(o.script));
    overrides.clipboardToStdout = parser.isSet(o.clipboard);
    return overrides;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tile-heron-export"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Exports the sprite sheet and script of a Tile Heron project. Every choice not given "
                       "comes from the project's last export."));
    const Options options;
    parser.addOptions({options.sheet, options.depth, options.background, options.powerOfTwo, options.retina,
                       options.sheetNumber, options.templateName, options.templateFile, options.script,
                       options.clipboard, options.watch});
    parser.addPositionalArgument(QStringLiteral("PROJECT.theron"), QStringLiteral("The project to export."));

    const auto parsed = overridesFrom(parser, options);
    if (const std::string* problem = std::get_if<std::string>(&parsed)) {
        std::cerr << *problem << "\n\n" << s(parser.helpText());
        return th::project::kBadArguments;
    }
    th::project::CommandLineHost host(std::cout, std::cerr, std::get<ExportOverrides>(parsed).clipboardToStdout);
    const std::string dataFolder = th::app::dataFolderFor(host.homeFolder(), host.hostVersion());
    if (parser.isSet(options.watch))
        return th::project::watchAndExport(std::get<ExportOverrides>(parsed), host, dataFolder, std::cout, std::cerr);
    return th::project::exportProject(std::get<ExportOverrides>(parsed), host, dataFolder, std::cout, std::cerr);
}
