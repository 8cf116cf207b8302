#pragma once

// The host's Qt configuration, corrected to what a Qt built for Windows with
// mingw-w64 declares, so that the portability check sees the Windows headers.
#include_next <QtCore/qconfig.h>

// No ELF symbol visibility and no relocation tricks in a DLL build.
#undef QT_VISIBILITY_AVAILABLE
#undef QT_REDUCE_RELOCATIONS
#undef QT_FEATURE_reduce_relocations
#define QT_FEATURE_reduce_relocations -1
// Windows builds of Qt come without D-Bus.
#undef QT_FEATURE_dbus
#define QT_FEATURE_dbus -1
