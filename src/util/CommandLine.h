#pragma once

#include <QString>
#include <QStringList>

#include <span>

class QCommandLineParser;

// What the commands share in reading their arguments: Japanese errors for Qt's parser, a repeated option
// caught, the option list of --help.
namespace commandline {

struct OptionText
{
    const char *name;
    const char *valueName; // nullptr for a switch
    const char *description;
};

// Adds the options (and -h beside --help) and parses the arguments; the complaint in the user's words
// (an unknown option, a value missing after one) when they cannot be parsed, empty when they can.
QString parse(QCommandLineParser &parser, std::span<const OptionText> options, const QStringList &arguments);
// The first option given twice, without its dashes; empty when none was.
QString repeatedOption(const QCommandLineParser &parser);
// "  --name VALUE   description", aligned.
QStringList optionHelpLines(std::span<const OptionText> options);

} // namespace commandline
