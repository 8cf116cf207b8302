#pragma once

// The host's QtGui features without the X11 and Linux desktop ones, as on Windows.
#include_next <QtGui/qtgui-config.h>

#undef QT_FEATURE_accessibility_atspi_bridge
#define QT_FEATURE_accessibility_atspi_bridge -1
#undef QT_FEATURE_fontconfig
#define QT_FEATURE_fontconfig -1
#undef QT_FEATURE_xcb
#define QT_FEATURE_xcb -1
#undef QT_FEATURE_xcb_glx_plugin
#define QT_FEATURE_xcb_glx_plugin -1
