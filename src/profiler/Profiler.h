#pragma once

#include "SystemRoot.h"

#include <QByteArray>
#include <QStringList>

// system_profiler's XML for the data types asked for, in that order; a type it does not know gets an
// empty "_items", as system_profiler does.
QByteArray profile(const QStringList &dataTypes, const SystemRoot &root);
