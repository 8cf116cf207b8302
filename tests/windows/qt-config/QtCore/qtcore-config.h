#pragma once

// The host's QtCore features without the Linux-only ones, as on Windows.
#include_next <QtCore/qtcore-config.h>

#undef QT_FEATURE_eventfd
#define QT_FEATURE_eventfd -1
#undef QT_FEATURE_glib
#define QT_FEATURE_glib -1
#undef QT_FEATURE_inotify
#define QT_FEATURE_inotify -1
#undef QT_THREADSAFE_CLOEXEC
