#pragma once

class QProcess;

// Makes the process die with the test run, so a run that is cut short
// leaves no X server or program behind.
void endWithTestRun(QProcess &process);
