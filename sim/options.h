#pragma once
// The simulator's command line.

#include "sim/faults.h"
#include "sim/module_model.h"

#include <QString>
#include <QStringList>

namespace sim {

struct Options {
    QString device;  // an existing serial device, or
    QString ptyLink; // where to put the link to a new pseudo-terminal
    int station = 2;
    int baud = 19200;
    bool locked = false;
    FaultRates faults;
    quint32 seed = 0;
    Analog analog;
};

enum class ParseResult { Run, HelpShown, Error };

// Fills options from the arguments; on Error, error says what is wrong.
// --help prints the option list itself.
ParseResult parseOptions(const QStringList &arguments, Options &options, QString &error);

} // namespace sim
