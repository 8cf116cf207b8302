#pragma once

#include <QStringList>
#include <QTextStream>

// tollwise-skin: unpack, pack and inspect skin bitmaps.
//   unpack IN OUT.png
//   pack IN OUT.ubm [--format N] [--no-compress] [--palette stored|standard]
//   info IN
// Returns the exit code: 0 done, 1 the file could not be read or written,
// 2 the command line was wrong.
[[nodiscard]] int runSkinCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);
