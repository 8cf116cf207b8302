#pragma once

#include <QtGlobal>

// Whether a process of that id is running. Ids of 0 and below never name a
// single process and read as not running.
bool processIsRunning(qint64 pid);
