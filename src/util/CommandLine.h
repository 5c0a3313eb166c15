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

// Adds the options, and -h beside --help.
void addOptions(QCommandLineParser &parser, std::span<const OptionText> options);
// The parser's complaint in the user's words: an unknown option, a value missing after one.
QString parseError(const QCommandLineParser &parser);
// The first option given twice, without its dashes; empty when none was.
QString repeatedOption(const QCommandLineParser &parser);
// "  --name VALUE   description", aligned.
QStringList optionHelpLines(std::span<const OptionText> options);

} // namespace commandline
